// libFuzzer target over the HTML drawer's style values: the input is read as
// a style sheet and each of its rules' declarations, and its pieces as
// lengths and colours. Nothing may crash or hang; every length read as a
// font size from the 1 to 7 table stays within it.
#include <QColor>
#include <QGuiApplication>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "shared/html/html_style.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    shared::HtmlLengthUnits units;
    units.xHeight = 7;
    units.emHeight = 15;
    const shared::HtmlStyleSheet sheet = shared::ParseHtmlStyleSheet(text, units);
    for (auto it = sheet.cbegin(); it != sheet.cend(); ++it) {
        if (it.value().name != it.key())
            std::abort();
    }
    shared::HtmlStyle style;
    shared::ApplyHtmlDeclarations(style, text, units);
    for (const QString& piece : text.split(u' ')) {
        const int size = shared::ReadHtmlLength(piece, 16, true, units);
        (void)size;
        if (!shared::ReadHtmlColour(piece, QColor(1, 2, 3)).isValid())
            std::abort();
        (void)shared::ReadHtmlEffect(piece);
    }
    return 0;
}
