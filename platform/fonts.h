#pragma once
// Face names that documents and settings carry (the Windows faces) and the
// families installed here that stand in for them.
#include <string_view>

#include <QFont>

namespace platform::fonts {

// The installed family for a face name: Times New Roman and Times give
// Liberation Serif, Arial and the Sans Serif dialog faces Liberation Sans,
// Courier New Liberation Mono, Symbol DejaVu Sans (its characters are mapped
// to Unicode by whoever draws them). Names compare without regard to ASCII
// case; any other name is answered as it is and left to fontconfig.
std::string_view familyFor(std::string_view face);

// The system's default GUI font: Liberation Sans at pixel size 11 (a GDI
// height of -11). Frames that want it larger or bold start from it.
QFont defaultGuiFont();

}  // namespace platform::fonts
