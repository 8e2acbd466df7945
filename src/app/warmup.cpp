#include "warmup.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#ifdef TFP_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace tfp::app {
namespace {

// Loads the font configuration: the configuration files and every font folder's cache.
// Fontconfig keeps it for the whole process, so Qt's own listing of the fonts, on the
// second thread once the application object exists, finds it ready; listing the fonts
// here as well would only do that work twice. Without fontconfig (Windows, macOS) there
// is nothing to prepare.
void warmUpFonts()
{
#ifdef TFP_HAVE_FONTCONFIG
    static_cast<void>(FcInit());
#endif
}

} // namespace

StartupWarmUp::StartupWarmUp() : m_fonts(warmUpFonts) {}

void StartupWarmUp::applicationCreated(const QFont& windowFont)
{
    if (m_fonts.joinable())
        m_fonts.join();
    // The thread makes a font of its own from the description: a copy would share its
    // private part, which Qt caches into without locking, with the main thread's.
    m_fonts = std::thread([description = windowFont.toString()] {
        static_cast<void>(QFontDatabase::families());
        QFont font;
        if (font.fromString(description))
            static_cast<void>(QFontMetrics(font).height());
    });
}

StartupWarmUp::~StartupWarmUp()
{
    if (m_fonts.joinable())
        m_fonts.join();
}

} // namespace tfp::app
