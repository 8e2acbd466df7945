// Parses arbitrary bytes (as Latin-1 text) as a window placement. Beyond not crashing: the
// X and Y it finds, written back with FormatPlacement, parse to themselves.
#include "shell/placement.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text =
        QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const tfp::shell::WindowPlacement placement = tfp::shell::ParsePlacement(text);

    const QString written = tfp::shell::FormatPlacement(placement.X, placement.Y);
    const tfp::shell::WindowPlacement again = tfp::shell::ParsePlacement(written);
    if (again != tfp::shell::WindowPlacement{placement.X, placement.Y, -1, -1, 0})
        std::abort();
    return 0;
}
