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

// False when `path` is not a name as the system's encoding gives it: it holds U+FFFD, which
// stands for bytes that encoding could not read, a lone surrogate, or (outside Windows, where
// names are UTF-16) a character that cannot be encoded back. No file is opened or created by
// such a name: it would not be the file the player named.
[[nodiscard]] bool fileNameFitsSystem(const QString& path);

} // namespace tfp
