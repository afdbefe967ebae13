// libFuzzer target over typing in the editor. The first byte picks the start
// formula and the school class; every further byte is a step: a printable
// 7-bit character is typed, 0x80-0x89 press an editing key, 0x8A-0x8F undo
// or redo, any other byte gives a palette command. After every step the
// cursor path is whole and the formula's text reads back; at the end the
// formula's texts are written, it reaches a fixed point through the tree
// (text -> tree -> text -> tree -> text, the last two equal), and undo
// returns to the start.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

#include "formula/env/formula_env.h"
#include "formula/env/tool_table.h"
#include "formula/layout/fake_canvas.h"
#include "formula/tests/env_test_util.h"

namespace {

using formula::CFormulaEnv;
using formula::EnvError;

const char* const kStarts[] = {
    "",
    "2*x+3=7",
    "@hor_frac$x+1$2#-@index_up$y$2#=5",
    "@system$x+y=5$x-y=1#",
    "0,1(6)+@mixed_frac$2$1$3#",
    "@func$sin$x#*(a+b)",
    "x=1@#y=2",
};
const int kSchoolClasses[] = {0, 7, 9};
const int kKeys[] = {formula::vk::Back, formula::vk::Delete, formula::vk::Return, formula::vk::Home,
                     formula::vk::End,  formula::vk::Left,   formula::vk::Right,  formula::vk::Up,
                     formula::vk::Down, formula::vk::Insert};
constexpr std::size_t kMaxSteps = 300;

bool Reads(const std::string& text)
{
    CFormulaEnv copy;
    EnvError error;
    return copy.SetLexemText(text, error);
}

std::string Rebuilt(const std::string& text)
{
    CFormulaEnv env;
    EnvError error;
    if (!env.SetLexemText(text, error)) {
        std::abort();
    }
    env.UseOperationTree(true);
    env.RebuildTree();
    return env.GetLexemText();
}

void Step(CFormulaEnv& env, std::uint8_t byte)
{
    if (byte >= 0x20 && byte < 0x7F) {
        env.OnChar(static_cast<char>(byte));
    } else if (byte >= 0x80 && byte < 0x80 + std::size(kKeys)) {
        env.OnKeyDown({kKeys[byte - 0x80]});
    } else if (byte >= 0x8A && byte < 0x90) {
        if (byte % 2 == 0) {
            env.Undo();
        } else {
            env.Redo();
        }
    } else {
        const auto tools = formula::Tools();
        env.InsertTool(tools[byte % tools.size()].lexType);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    formula::SetSchoolClass(kSchoolClasses[(data[0] / std::size(kStarts)) % std::size(kSchoolClasses)]);
    formula::test::EditorFixture f(kStarts[data[0] % std::size(kStarts)]);
    CFormulaEnv& env = f.env;
    const std::string start = env.GetLexemText();
    formula::FakeCanvas canvas;
    for (std::size_t i = 1; i < size && i <= kMaxSteps; ++i) {
        if (env.LayoutStale()) {
            env.Layout(canvas);
        }
        Step(env, data[i]);
        if (!formula::test::PathIsWhole(env) || !Reads(env.GetLexemText())) {
            std::abort();
        }
    }
    env.GetAplanText();
    env.GetMathMLText();
    env.IsFormulaValid();
    const std::string once = Rebuilt(env.GetLexemText());
    if (Rebuilt(once) != once) {
        std::abort();
    }
    while (env.Undo()) {
    }
    if (env.GetLexemText() != start) {
        std::abort();
    }
    return 0;
}
