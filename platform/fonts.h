#pragma once
// Face names that documents and settings carry (the Windows faces) and the
// families installed here that stand in for them.
#include <string_view>

#include <QFont>

namespace platform::fonts {

// The logical pixels per inch of every drawing target: points become pixels
// as points * 96 / 72.
constexpr int kPixelsPerInch = 96;

// The installed family for a face name: Times New Roman and Times give
// Liberation Serif, Arial and the Sans Serif dialog faces Liberation Sans,
// Courier New and Courier Liberation Mono, Verdana DejaVu Sans, System (the
// stock font of dialogs and device contexts) Liberation Sans, Symbol DejaVu
// Sans (its characters are mapped to Unicode by whoever draws them). Names
// compare without regard to ASCII case; any other name is answered as it is
// and left to fontconfig.
std::string_view familyFor(std::string_view face);

// The system's default GUI font: Liberation Sans at pixel size 11 (a GDI
// height of -11). Frames that want it larger or bold start from it.
QFont defaultGuiFont();

// A font asked for by cell height, as GDI's fonts are: the largest pixel size
// whose line height fits cellHeight (at least 1); an averageWidth above 0
// stretches the glyphs to that average character width, 0 keeps them natural.
void applyCellHeight(QFont& font, int cellHeight, int averageWidth);

// face, cell height, average width and weight (400 normal, 700 bold; 0 or less
// is normal) as a font of the installed family, unkerned.
QFont gdiFont(std::string_view face, int cellHeight, int averageWidth, int weight);

// The stock System font: bold, cell height 16.
QFont systemFont();

}  // namespace platform::fonts
