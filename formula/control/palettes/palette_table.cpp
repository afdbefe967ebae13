#include "formula/control/palettes/palette_table.h"

#include "formula/env/tool_table.h"
#include "formula/model/messages.h"

namespace formula {
namespace {

constexpr int kNarrow = 24;
constexpr int kWide = 50;

constexpr PaletteButtonInfo kTemplateButtons[] = {
    {264, ClassGate::Any, 1023, {}, " (/)", kNarrow},
    {277, ClassGate::Any, 1024, {}, " (Alt+X)", kNarrow},
    {279, ClassGate::Any, 1025, {}, " (Alt+Q)", kNarrow},
    {211, ClassGate::Any, 1030, {}, " (Alt+E)", kNarrow},
    {290, ClassGate::Any, 1031, {}, " (Alt+D)", kNarrow},
    {273, ClassGate::Any, 1028, {}, " (Alt+S)", kNarrow},
    {275, ClassGate::Any, 1029, {}, " (Alt+A)", kNarrow},
    {269, ClassGate::Any, 1027, {}, " (^)", kNarrow},
    {271, ClassGate::Any, 1026, {}, " (_)", kNarrow},
    {242, ClassGate::FromClass8, 1037, {}, " (Alt+N)", kNarrow},
    {267, ClassGate::FromClass8, 1052, {}, "(Alt+R)", kNarrow},
    {227, ClassGate::FromClass9, 1032, {}, " (Alt+L)", kNarrow},
    {229, ClassGate::FromClass9, 1033, {}, " (Alt+M)", kNarrow},
    {223, ClassGate::FromClass9, 1038, {}, " (Alt+G)", kNarrow},
    {219, ClassGate::FromClass9, 1044, {}, " (Alt+J)", kNarrow},
    {224, ClassGate::FromClass9, 1039, {}, " (Alt+U)", kNarrow},
    {225, ClassGate::FromClass9, 1040, {}, " (Alt+I)", kNarrow},
    {239, ClassGate::FromClass9, 1049, {}, " (Alt+B)", kNarrow},
    {241, ClassGate::FromClass9, 1050, {}, " (Alt+W)", kNarrow},
    {228, ClassGate::FromClass9, 1053, {}, " (Alt+O)", kNarrow},
    {240, ClassGate::FromClass9, 1055, {}, " (Alt+T)", kNarrow},
    {243, ClassGate::FromClass9, 1056, {}, " (Alt+F)", kNarrow},
    {230, ClassGate::FromClass9, 1054, {}, " (Alt+P)", kNarrow},
    {231, ClassGate::FromClass11, 1048, {}, {}, kNarrow},
    {214, ClassGate::FromClass11, 0, "Power Root", {}, kNarrow},
    {235, ClassGate::FromClass11, 0, "Lim", {}, kNarrow},
    {216, ClassGate::FromClass11, 0, "Integral", {}, kNarrow},
    {237, ClassGate::FromClass11, 0, "Delta", {}, kNarrow},
    {218, ClassGate::FromClass11, 0, "Eps", {}, kNarrow},
    {238, ClassGate::FromClass11, 0, "Mu", {}, kNarrow},
    {244, ClassGate::FromClass11, 0, "SP", {}, kNarrow},
    {245, ClassGate::FromClass11, 0, "IL", {}, kNarrow},
    {246, ClassGate::FromClass11, 0, "belongSet", {}, kNarrow},
    {247, ClassGate::FromClass11, 0, "belongEquSet", {}, kNarrow},
    {248, ClassGate::FromClass11, 0, "summa", {}, kNarrow},
    {249, ClassGate::FromClass11, 0, "undefined integral", {}, kNarrow},
    {250, ClassGate::FromClass11, 0, "NDerivative", {}, kNarrow},
    {215, ClassGate::NoClassOnly, 1042, {}, {}, kNarrow},
    {213, ClassGate::NoClassOnly, 1041, {}, {}, kNarrow},
    {217, ClassGate::NoClassOnly, 1043, {}, {}, kNarrow},
    {226, ClassGate::NoClassOnly, 1045, {}, {}, kNarrow},
    {236, ClassGate::NoClassOnly, 1046, {}, {}, kNarrow},
    {232, ClassGate::NoClassOnly, 1047, {}, {}, kNarrow},
    {234, ClassGate::NoClassOnly, 1048, {}, {}, kNarrow},
};

constexpr PaletteButtonInfo kFunctionButtons[] = {
    {317, ClassGate::FromClass10, 1057, {}, "sin", kNarrow},
    {318, ClassGate::FromClass10, 1058, {}, "cos", kNarrow},
    {319, ClassGate::FromClass10, 1059, {}, "tg", kNarrow},
    {320, ClassGate::FromClass10, 1060, {}, "ctg", kNarrow},
    {321, ClassGate::FromClass10, 1061, {}, "arcsin", kWide},
    {322, ClassGate::FromClass10, 1062, {}, "arccos", kWide},
    {323, ClassGate::FromClass10, 1063, {}, "arctg", kWide},
    {324, ClassGate::FromClass10, 1064, {}, "arcctg", kWide},
    {325, ClassGate::FromClass10, 1065, {}, "a", kNarrow},
    {326, ClassGate::FromClass10, 1066, {}, "b", kNarrow},
    {328, ClassGate::FromClass10, 1067, {}, "y", kNarrow},
    {327, ClassGate::FromClass10, 1068, {}, "pi", kNarrow},
    {330, ClassGate::FromClass10, 0, "sin in power", "sin^", kNarrow},
    {329, ClassGate::FromClass10, 0, "cos in power", "cos^", kNarrow},
    {332, ClassGate::FromClass10, 0, "tg in power", "tg^", kNarrow},
    {331, ClassGate::FromClass10, 0, "ctg in power", "ctg^", kNarrow},
    {334, ClassGate::FromClass10, 0, {}, "log", kNarrow},
    {333, ClassGate::FromClass10, 0, {}, "lg", kNarrow},
    {335, ClassGate::FromClass10, 0, {}, "ln", kNarrow},
};

bool GateAdmits(ClassGate gate, int schoolClass)
{
    if (schoolClass == 0) {
        return true;
    }
    switch (gate) {
    case ClassGate::Any:
        return true;
    case ClassGate::FromClass8:
        return schoolClass >= 8;
    case ClassGate::FromClass9:
        return schoolClass >= 9;
    case ClassGate::FromClass10:
        return schoolClass >= 10;
    case ClassGate::FromClass11:
        return schoolClass >= 11;
    case ClassGate::NoClassOnly:
        return false;
    }
    return false;
}

}  // namespace

std::span<const PaletteButtonInfo> PaletteButtons(PaletteKind kind)
{
    switch (kind) {
    case PaletteKind::Templates:
        return kTemplateButtons;
    case PaletteKind::Functions:
        return kFunctionButtons;
    }
    return {};
}

bool ButtonShown(const PaletteButtonInfo& button, int schoolClass)
{
    // A button whose element the class refuses would insert nothing.
    const ToolInfo* tool = FindTool(button.toolId);
    return tool && GateAdmits(button.gate, schoolClass) && ToolAllowed(*tool, schoolClass);
}

std::string ButtonToolTip(const PaletteButtonInfo& button)
{
    std::string tip(button.nameId != 0 ? GetMessageText(button.nameId) : button.literalName);
    tip += button.text;
    return tip;
}

}  // namespace formula
