// What the main window shows after a rule ran: the status panel and the large command
// button. The rules return these; the window and the terminal program render them.
#pragma once

#include <optional>
#include <QString>

namespace tfp {

enum class StatusColour
{
    Green,
    Yellow,
    Red
};

// The traffic-light pictures of the command button (their resource numbers).
enum class Light
{
    Green = 101,
    Yellow = 102,
    Red = 103
};

enum class SoundCue
{
    None,
    Event,
    NextTurn,
    EndGame
};

struct StatusView
{
    QString title;
    QString message;
    StatusColour colour = StatusColour::Green;

    friend bool operator==(const StatusView&, const StatusView&) = default;
};

struct ButtonView
{
    QString caption;
    bool enabled = false;
    std::optional<Light> picture; // nullopt: the picture stays as it is

    friend bool operator==(const ButtonView&, const ButtonView&) = default;
};

} // namespace tfp
