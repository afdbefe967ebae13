#pragma once
// The "type" names of the MathML "char" element: relation signs and special
// atoms by their Symbol code, and the other empty signs of the extension.
// Writer and reader look both directions up here.
#include <string_view>

namespace formula::mathml {

struct CharType {
    int code;
    std::string_view type;
};

inline constexpr CharType kSignTypes[] = {
    {94, "smartPerpendicular"}, {163, "LessEqual"},  {174, "arrow"},       {176, "smartGradus"},
    {177, "plusMinus"},         {179, "MoreEqual"},  {185, "NotE"},        {199, "smartCross"},
    {200, "smartUnion"},        {204, "belongSet"},  {205, "belongEquSet"}, {206, "smartLH"},
    {207, "smartNotLH"},        {208, "smartAngle"}, {219, "smartVOO"},    {220, "smartLO"},
    {222, "smartRO"},
};

inline constexpr CharType kAtomTypes[] = {
    {68, "saDelta"}, {97, "saAlpha"}, {98, "saBetta"}, {101, "saEps"},  {103, "saGamma"},
    {109, "saMu"},   {112, "saPi"},   {165, "saInf"},  {194, "saReal"}, {198, "saEset"},
};

// An atom the table does not know; a relation sign the tables do not know.
inline constexpr std::string_view kUnknownAtomType = "SPEC_ATOM";
inline constexpr std::string_view kUnknownSignType = "SPEC_SIGN";
// Read as the perpendicular sign, never written.
inline constexpr std::string_view kPerpendicularAlias = "Perpendicular";
inline constexpr std::string_view kIntegralType = "integral";
inline constexpr std::string_view kSummaType = "ssSumma";
inline constexpr std::string_view kTrueType = "true";
inline constexpr std::string_view kFalseType = "false";

template <std::size_t N>
constexpr std::string_view TypeOf(const CharType (&table)[N], int code)
{
    for (const CharType& row : table) {
        if (row.code == code) {
            return row.type;
        }
    }
    return {};
}

// -1 when the table does not know the type.
template <std::size_t N>
constexpr int CodeOf(const CharType (&table)[N], std::string_view type)
{
    for (const CharType& row : table) {
        if (row.type == type) {
            return row.code;
        }
    }
    return -1;
}

}  // namespace formula::mathml
