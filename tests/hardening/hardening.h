// Shared pieces of the hardening tests: a game that never ends, a recorder for messages,
// file bytes, loading a game back and folders made read-only.
#pragma once

#include "game/gamefile.h"
#include "game/gamerecord.h"
#include "game/interaction.h"
#include "game/versions.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

namespace tfp::hardening {

// A Basic scenario whose ending turn lies far beyond any number of checks a test makes.
inline GameRecord endlessGame(const QString& path)
{
    GameRecord game;
    game.Version = getAppVersion();
    game.GameName = QStringLiteral("Hill 112");
    game.Player1Name = QStringLiteral("Ben");
    game.Player2Name = QStringLiteral("Ada");
    game.TotalTurns = 99;
    game.TurnVariance = 5;
    game.CurrentTurn = 0;
    game.EndingTurn = 32000;
    game.GameType = GameType::Scenario;
    game.SecurityMode = SecurityMode::Basic;
    game.CurrentPlayer = kNoPlayer;
    game.DestinationPlayer = kNoPlayer;
    game.FilePath = path;
    return game;
}

// Answers no password and keeps every message shown.
class MessageRecorder final : public Interaction
{
public:
    void showMessage(const Message& message) override { messages.append(message); }
    QString askPassword(const QString&, const QString&) override { return {}; }

    QList<Message> messages;
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

#ifdef TFP_CLI_PATH
inline QString cliPath()
{
    return QStringLiteral(TFP_CLI_PATH);
}
#endif

inline bool loadGame(const QString& path, GameRecord& record, QString& why)
{
    record = GameRecord();
    record.FilePath = path;
    FileErrorInfo error;
    if (!getData(record, error)) {
        why = error.Description;
        return false;
    }
    return true;
}

// True when a folder made read-only still lets this process create files in it (root, or
// a process with CAP_DAC_OVERRIDE; on Windows, where a folder's read-only attribute does
// not stop anyone).
inline bool readOnlyFolderIsWritable(const QString& folder)
{
    QFile probe(QDir(folder).filePath(QStringLiteral("probe")));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

inline bool makeReadOnly(const QString& folder)
{
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                             QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                             QFileDevice::ReadOther | QFileDevice::ExeOther);
}

inline bool makeWritable(const QString& folder)
{
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
}

} // namespace tfp::hardening
