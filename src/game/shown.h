// How values from a game file and the paths of files appear in messages: every control or
// format character written as its code, so that no value can add a line to a message or
// drive a terminal, and paths with the system's separators.
#pragma once

#include <QString>
#include <QStringView>

namespace tfp {

// `text` with each control or format character (a line break, an escape, a direction
// override ...) written as its code ("\x0a", "\u202e"), except those in `kept`.
[[nodiscard]] QString shownText(const QString& text, QStringView kept = {});

// A file's path as a message names it: the system's separators, shown as any value.
[[nodiscard]] QString shownPath(const QString& path);

// False when `path` cannot name a file on this system: it came from bytes that the
// system's encoding cannot read (which arrive as U+FFFD) or holds what cannot be encoded
// back. No file can be opened or created by such a name.
[[nodiscard]] bool fileNameFitsSystem(const QString& path);

} // namespace tfp
