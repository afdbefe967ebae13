#include "formula/tests/env_test_util.h"

#include <stdexcept>

#include "formula/edit/formula_editor.h"
#include "formula/layout/fake_canvas.h"
#include "formula/model/chars.h"
#include "formula/model/templates/template.h"

namespace formula::test {

EditorFixture::EditorFixture(std::string_view text)
{
    env.SetMessageSink([this](std::string_view message, MessageIcon) { messages.emplace_back(message); });
    EnvError error;
    if (!env.SetLexemText(text, error)) {
        throw std::invalid_argument("cannot read " + std::string(text) + ": " + error.message);
    }
    env.SetEditorMode();
}

namespace {

int KeyCode(std::string_view name)
{
    struct Key {
        std::string_view name;
        int code;
    };
    constexpr Key kKeys[] = {
        {"BS", vk::Back},     {"DEL", vk::Delete}, {"ENTER", vk::Return}, {"HOME", vk::Home},
        {"END", vk::End},     {"LEFT", vk::Left},  {"RIGHT", vk::Right},  {"UP", vk::Up},
        {"DOWN", vk::Down},   {"INS", vk::Insert},
    };
    for (const Key& key : kKeys) {
        if (key.name == name) {
            return key.code;
        }
    }
    throw std::invalid_argument("unknown key " + std::string(name));
}

}  // namespace

void Type(CFormulaEnv& env, std::string_view script)
{
    // Laid out before every key, as the control paints after each one: the
    // cursor moves read the boxes (the widest line of a multi-row template).
    FakeCanvas canvas;
    for (std::size_t i = 0; i < script.size(); ++i) {
        if (env.LayoutStale()) {
            env.Layout(canvas);
        }
        if (script[i] == '{') {
            const std::size_t close = script.find('}', i);
            if (close == std::string_view::npos) {
                throw std::invalid_argument("unclosed key in script");
            }
            env.OnKeyDown({KeyCode(script.substr(i + 1, close - i - 1))});
            i = close;
            continue;
        }
        env.OnChar(script[i]);
    }
}

std::string CaretText(CFormulaEnv& env)
{
    CFormulaEditor* editor = env.Editor();
    if (!editor) {
        return "<no editor>";
    }
    const int index = editor->NearestRow();
    if (index == 0) {
        return "<no row>";
    }
    CLexemRow* row = AsRow(editor->Entry(index).lexem);
    const int pos = editor->Entry(index).pos;
    row->CLexemRow::InsertAfter(pos, std::make_unique<CCharLexem>('|'));
    std::string text = env.GetLexemText();
    row->Detach(pos + 1);
    return text;
}

bool PathIsWhole(CFormulaEnv& env)
{
    const CFormulaEditor* editor = env.Editor();
    if (!editor || editor->IsEmpty() || editor->Entry(1).lexem != &env.Root()) {
        return false;
    }
    for (int i = 1; i < editor->Depth(); ++i) {
        const CursorEntry& entry = editor->Entry(i);
        const CLexem* next = editor->Entry(i + 1).lexem;
        if (const CLexemRow* row = AsRow(entry.lexem)) {
            if (row->Child(entry.pos) != next) {
                return false;
            }
        } else if (const CTemplate* tmpl = AsTemplate(entry.lexem)) {
            if (tmpl->CursorRow(entry.pos) != next) {
                return false;
            }
        } else {
            return false;
        }
    }
    const CursorEntry& top = editor->Entry(editor->Depth());
    if (const CLexemRow* row = AsRow(top.lexem)) {
        return row->Child(top.pos) != nullptr;
    }
    return true;
}

}  // namespace formula::test
