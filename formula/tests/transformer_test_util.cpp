#include "formula/tests/transformer_test_util.h"

#include <stdexcept>

#include "formula/layout/fake_canvas.h"
#include "formula/optree/operation_tree.h"

namespace formula::test {

void RecordingListener::Record(std::string event)
{
    events.push_back(event);
    if (answer) {
        answer(event);
    }
}

void RecordingListener::OnOperationLClick()
{
    Record("lclick");
}

void RecordingListener::OnOperationRClick(int vertex, const std::string& data)
{
    Record("rclick " + std::to_string(vertex) + " " + data);
}

void RecordingListener::OnOperationDblClick(int vertex, const std::string& data)
{
    Record("dblclick " + std::to_string(vertex) + " " + data);
}

void RecordingListener::OnOperationDragDrop(int vertex, const std::string& sourceData,
                                            const std::string& destinationData)
{
    Record("dragdrop " + std::to_string(vertex) + " " + sourceData + "|" + destinationData);
}

void RecordingListener::OnFormulaTransformed()
{
    Record("transformed");
}

TransformerFixture::TransformerFixture(std::string_view text)
{
    env.SetMessageSink([this](std::string_view message, MessageIcon) { messages.emplace_back(message); });
    EnvError error;
    if (!env.SetLexemText(text, error)) {
        throw std::invalid_argument("cannot read " + std::string(text) + ": " + error.message);
    }
    if (!env.SetTransformerMode()) {
        throw std::invalid_argument("no tree for " + std::string(text));
    }
    transformer = std::make_unique<CTransformer>(env, &listener);
    Relayout();
}

void TransformerFixture::Relayout()
{
    FakeCanvas canvas;
    env.Layout(canvas);
}

namespace {

COperationNode* Find(COperationNode* node, std::string_view text, int& nth)
{
    if (!node) {
        return nullptr;
    }
    const CLexem* lexem = node->Lexeme();
    if (lexem && !IsPresetSign(lexem) && lexem->LexemText() == text && nth-- == 0) {
        return node;
    }
    for (int i = 0; i < node->ChildCount(); ++i) {
        if (COperationNode* found = Find(node->Child(i), text, nth)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

COperationNode* TransformerFixture::Node(std::string_view text, int nth) const
{
    // Operands between two signs have two nodes: count lexemes once.
    COperationNode* root = env.TreeRoot();
    std::vector<const CLexem*> seen;
    for (int k = 0;; ++k) {
        int n = k;
        COperationNode* node = Find(root, text, n);
        if (!node) {
            return nullptr;
        }
        bool repeated = false;
        for (const CLexem* lexem : seen) {
            repeated = repeated || lexem == node->Lexeme();
        }
        if (repeated) {
            continue;
        }
        if (static_cast<int>(seen.size()) == nth) {
            return node;
        }
        seen.push_back(node->Lexeme());
    }
}

Point TransformerFixture::At(std::string_view text, int nth)
{
    if (env.LayoutStale()) {
        Relayout();
    }
    COperationNode* node = Node(text, nth);
    if (!node) {
        throw std::invalid_argument("no node " + std::string(text));
    }
    const Box& box = node->Lexeme()->GetBox();
    return {box.x + box.width / 2, box.y + box.height / 2};
}

void TransformerFixture::DragTo(std::string_view from, int fromNth, std::string_view to, int toNth)
{
    const Point source = At(from, fromNth);
    const Point target = At(to, toNth);
    transformer->OnLeftDown(source, false);
    transformer->DragEnter(source);
    transformer->DragOver(target);
    transformer->Drop(target);
    if (env.LayoutStale()) {
        Relayout();
    }
}

}  // namespace formula::test
