// libFuzzer target over the HTML text drawer: the first line of the input is
// read as a style sheet, the rest as the text, measured and then drawn into a
// small picture, once with its first link hot. Nothing may crash or hang.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "shared/html/html_drawer.h"

// Qt keeps the fonts it has loaded, with fontconfig's and HarfBuzz's data,
// in caches for the life of the process (library statics, not leaks of the
// drawer); the leak checker is told so, and full unwinding reaches the names
// that tell them apart.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:QFontEngine\nleak:QFontDatabase\nleak:QFontCache\nleak:libfontconfig\nleak:libharfbuzz\n"
           "leak:libfreetype\n";
}
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype newline = input.indexOf(u'\n');
    shared::CHtmlDrawer drawer;
    QString text = input;
    if (newline >= 0) {
        drawer.SetCssStyles(input.left(newline));
        text = input.mid(newline + 1);
    }
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QSize measured = drawer.DrawHtmlOnBitmap(painter, text);
    if (measured.width() < 0 || measured.height() < 0)
        std::abort();
    drawer.DrawHtml(painter, text, image.rect());
    drawer.SetHotLink(0);
    drawer.DrawHtml(painter, text, image.rect());
    for (const shared::HtmlHotArea& area : drawer.hotAreas()) {
        if (area.kind != 1 && area.kind != 2)
            std::abort();
    }
    return 0;
}
