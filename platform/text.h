#pragma once
// Text conversions the suite needs at its edges: the Windows-1251 code page
// (the pupil network wire and old files), and number texts that never depend
// on the C locale (Qt switches it to the environment's).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform::text {

// UTF-8 -> Windows-1251; a character the code page lacks (and a malformed
// UTF-8 sequence) becomes '?'.
std::string cp1251FromUtf8(std::string_view utf8);
// Windows-1251 -> UTF-8; the one unassigned byte (0x98) becomes U+FFFD.
std::string utf8FromCp1251(std::string_view bytes);
// DOS code page 866 (the OEM code page of Cyrillic DOS) -> UTF-8.
std::string utf8FromCp866(std::string_view bytes);
// True when the text is well-formed UTF-8.
bool isValidUtf8(std::string_view text);
// Decodes the UTF-8 sequence at text[pos] and moves pos past it; none for a
// malformed, overlong, surrogate or cut-short sequence (pos then moves past
// its first byte only).
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos);

// Like printf("%.*f", decimals, value), always with '.'.
std::string formatFixed(double value, int decimals);
// Like printf("%.*g", significant, value), always with '.'.
std::string formatGeneral(double value, int significant = 6);
std::string formatInt(long long value);

// The whole text must be a number (no leading or trailing blanks); '.' only.
std::optional<double> parseDouble(std::string_view text);
std::optional<long long> parseInt(std::string_view text);
// Like atoi/atof: leading blanks skipped, the longest numeric prefix taken,
// 0 when there is none. For formats whose writers relied on that leniency.
long long leadingInt(std::string_view text);
double leadingDouble(std::string_view text);

// The value of a hexadecimal digit (either case); -1 for anything else.
constexpr int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// ASCII-only case folding (paths and registry names compare this way).
std::string asciiLower(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace platform::text
