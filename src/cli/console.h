// The terminal program's standard streams on Windows: a standard handle that is a console is
// written and read with the console's wide calls, so that names and passwords keep their
// accents whatever the console's code page. Pipes and files, and other systems, take UTF-8.
#pragma once

#include <cstdio>
#include <memory>
#include <QIODevice>

namespace tfp::cli {

// A device for `stream` (stdin, stdout or stderr) that takes and gives UTF-8, when the stream
// is a Windows console; nullptr otherwise, where the stream itself carries UTF-8.
[[nodiscard]] std::unique_ptr<QIODevice> openConsole(FILE* stream);

} // namespace tfp::cli
