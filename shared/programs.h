#pragma once
// The programs of the suite that can be reached by a text: their kind
// numbers, the window class names their main windows listen under, and the
// copy-data codes each accepts. Senders (CProgramLauncher) and receivers
// (the main windows) both read this one table.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace shared {

// Copy-data codes.
namespace CopyDataCode {
constexpr int ReckonryText = 0;
constexpr int OpenTask = 1;          // Stepwell: a task to open
constexpr int OpenLibraryTask = 3;   // Stepwell: the same, from a library page
constexpr int CurvanceGraphTask = 4;
constexpr int CurvanceAxisTask = 5;
constexpr int SavedFormulaTask = 6;  // back to Coursewright or Tutelary
constexpr int SavedGraphicTask = 8;
}  // namespace CopyDataCode

// Program kinds.
namespace ProgramKind {
constexpr int Stepwell = 1;
constexpr int Curvance = 2;
constexpr int Coursewright = 4;
constexpr int Tutelary = 5;
constexpr int Reckonry = 6;
}  // namespace ProgramKind

struct ProgramEntry {
    int kind;
    std::string_view name;         // also the program file under kernel/bin
    bool hasProgramFile;           // false: reached only while it runs
    std::array<int, 2> codes;      // the accepted copy-data codes
    std::size_t codeCount;
};

inline constexpr std::array<ProgramEntry, 5> kPrograms{{
    {ProgramKind::Stepwell, "Stepwell", true, {CopyDataCode::OpenTask, CopyDataCode::OpenLibraryTask}, 2},
    {ProgramKind::Curvance, "Curvance", true, {CopyDataCode::CurvanceGraphTask, CopyDataCode::CurvanceAxisTask}, 2},
    {ProgramKind::Coursewright, "Coursewright", false,
     {CopyDataCode::SavedFormulaTask, CopyDataCode::SavedGraphicTask}, 2},
    {ProgramKind::Tutelary, "Tutelary", true, {CopyDataCode::SavedFormulaTask, CopyDataCode::SavedGraphicTask}, 2},
    {ProgramKind::Reckonry, "Reckonry", true, {CopyDataCode::ReckonryText, 0}, 1},
}};

// The entry of a kind; none for a kind that cannot be reached.
inline const ProgramEntry* FindProgram(int kind)
{
    for (const ProgramEntry& entry : kPrograms)
        if (entry.kind == kind)
            return &entry;
    return nullptr;
}

inline bool AcceptsCode(const ProgramEntry& entry, int code)
{
    for (std::size_t i = 0; i < entry.codeCount; ++i)
        if (entry.codes[i] == code)
            return true;
    return false;
}

// "<Name>_tessaly_WindowClassName"; empty for a kind that cannot be reached.
inline std::string WindowClassName(int kind)
{
    const ProgramEntry* entry = FindProgram(kind);
    return entry ? std::string(entry->name) + "_tessaly_WindowClassName" : std::string();
}

}  // namespace shared
