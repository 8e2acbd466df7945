#include "warmup.h"

#include <QFontDatabase>
#include <QStringList>

#ifdef TFP_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace tfp::app {
namespace {

// Loads the font configuration and lists the fonts once. Fontconfig keeps what it read for
// the whole process, so the first text the window lays out finds it ready. Without
// fontconfig (Windows, macOS) there is nothing to prepare.
void warmUpFonts()
{
#ifdef TFP_HAVE_FONTCONFIG
    if (FcInit() == FcFalse)
        return;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, nullptr);
    if (pattern && objects) {
        if (FcFontSet* fonts = FcFontList(nullptr, pattern, objects))
            FcFontSetDestroy(fonts);
    }
    if (objects)
        FcObjectSetDestroy(objects);
    if (pattern)
        FcPatternDestroy(pattern);
#endif
}

} // namespace

StartupWarmUp::StartupWarmUp() : m_fonts(warmUpFonts) {}

void StartupWarmUp::applicationCreated()
{
    if (m_fonts.joinable())
        m_fonts.join();
    m_fonts = std::thread([] { static_cast<void>(QFontDatabase::families()); });
}

StartupWarmUp::~StartupWarmUp()
{
    if (m_fonts.joinable())
        m_fonts.join();
}

} // namespace tfp::app
