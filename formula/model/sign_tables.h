#pragma once
// Tables of the leaves: operator signs by character, relation and set signs
// and special atoms by their code in the Symbol font (Adobe Symbol encoding),
// with the names the lexeme text uses. Each table is the single place its
// names and codes live; both directions are looked up in it.
#include <string_view>

namespace formula {

// Priority classes of signs: a higher class binds looser.
namespace priority {
inline constexpr int Intersection = 2;
inline constexpr int Union = 3;
inline constexpr int Membership = 4;
inline constexpr int Percent = 54;
inline constexpr int Division = 55;
inline constexpr int Product = 56;
inline constexpr int Additive = 57;
inline constexpr int Relation = 58;
}  // namespace priority

struct OperatorSignInfo {
    char ch;
    int priorityClass;
    int symbolCode;
    bool commutative;
    std::string_view inverseText;
};

// '/' is drawn with the Symbol slash (47).
inline constexpr OperatorSignInfo kOperatorSigns[] = {
    {'%', priority::Percent, 37, true, ""},
    {'*', priority::Product, 183, true, "/"},
    {'+', priority::Additive, 43, true, "-"},
    {'-', priority::Additive, 45, false, "+"},
    {'/', priority::Division, 47, false, "*"},
    {':', priority::Division, 58, false, "*"},
    {'<', priority::Relation, '<', true, ""},
    {'=', priority::Relation, '=', true, ""},
    {'>', priority::Relation, '>', true, ""},
    {'?', priority::Relation, 63, true, ""},
};

struct RelationInfo {
    int code;
    std::string_view name;
    int priorityClass;
};

inline constexpr RelationInfo kRelations[] = {
    {94, "perp", priority::Additive},
    {163, "<=", priority::Relation},
    {174, "->", priority::Additive},
    {176, "deg", priority::Additive},
    {177, "+-", priority::Additive},
    {179, ">=", priority::Relation},
    {185, "nequ", priority::Relation},
    {199, "intsct", priority::Intersection},
    {200, "unite", priority::Union},
    {204, "belongSet", priority::Additive},
    {205, "belongEquSet", priority::Additive},
    {206, "blng", priority::Membership},
    {207, "nblng", priority::Membership},
    {208, "corn", priority::Additive},
    {219, "dbarrow", priority::Additive},
    {220, "rlarrow", priority::Additive},
    {222, "lrarrow", priority::Additive},
};

struct AtomInfo {
    int code;
    std::string_view name;
};

inline constexpr AtomInfo kAtoms[] = {
    {68, "delta"}, {97, "alpha"}, {98, "betta"}, {101, "eps"}, {103, "gamma"},
    {109, "mu"},   {112, "pi"},   {165, "inf"},  {194, "real"}, {198, "eset"},
};

// Atom codes that a relation sign may carry; it then takes the atom's name.
inline constexpr int kRelationAtomCodes[] = {97, 98, 103, 112, 165, 194, 198};

namespace symbol {
inline constexpr int Arrow = 174;
inline constexpr int LessOrEqual = 163;
inline constexpr int GreaterOrEqual = 179;
inline constexpr int Intersection = 199;
inline constexpr int Union = 200;
inline constexpr int Belongs = 206;
inline constexpr int NotBelongs = 207;
inline constexpr int EmptySet = 198;
inline constexpr int RealSet = 194;
inline constexpr int Infinity = 165;
inline constexpr int Unknown = 63;
}  // namespace symbol

// Null for a character that makes no operator sign.
const OperatorSignInfo* FindOperatorSign(char c);
bool IsOperatorSignChar(char c);

// Code to name: "Unknown" for an unknown atom, "???" for an unknown relation.
std::string_view GetAtomName(int code);
std::string_view GetRelationName(int code);
// Name to code: 63 for an unknown atom name. A relation name: "<=" 163,
// ">=" 179, another two-character name ending in "=" 95, a known relation or
// relation atom name its code, any other its first character.
int GetAtomCode(std::string_view name);
int GetRelationCode(std::string_view name);
// Priority class of a relation code (58 for codes outside the table).
int GetRelationClass(int code);

}  // namespace formula
