#pragma once
// The 8-bit codes a canvas draws, as Unicode: the Adobe Symbol encoding (the
// "Symbol" face) and the Windows-1251 code page (every other face).
namespace formula {

// U+FFFD for a code the encoding leaves unassigned.
char32_t SymbolToUnicode(unsigned char code);
char32_t Cp1251ToUnicode(unsigned char code);

}  // namespace formula
