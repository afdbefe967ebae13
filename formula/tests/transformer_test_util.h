#pragma once
// Helpers of the transformer tests: an environment in transformer mode laid
// out on the fake canvas, a listener that records the events (and may
// answer them at once, as hosts do), and points of the formula's lexemes.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formula/env/formula_env.h"
#include "formula/transform/transform_listener.h"
#include "formula/transform/transformer.h"

namespace formula::test {

class RecordingListener : public ITransformListener {
public:
    // Each event as text: "lclick", "rclick 1 a+!b", "dblclick 1 a+!b",
    // "dragdrop 1 a|b", "transformed".
    std::vector<std::string> events;
    // Called after an event is recorded (answers from inside the event).
    std::function<void(const std::string&)> answer;

    void OnOperationLClick() override;
    void OnOperationRClick(int vertex, const std::string& data) override;
    void OnOperationDblClick(int vertex, const std::string& data) override;
    void OnOperationDragDrop(int vertex, const std::string& sourceData, const std::string& destinationData) override;
    void OnFormulaTransformed() override;

private:
    void Record(std::string event);
};

struct TransformerFixture {
    CFormulaEnv env;
    std::vector<std::string> messages;
    RecordingListener listener;
    std::unique_ptr<CTransformer> transformer;

    // The formula in transformer mode, laid out. Throws std::invalid_argument
    // when the text cannot be read or has no tree.
    explicit TransformerFixture(std::string_view text);
    void Relayout();
    std::string Text() const { return env.GetLexemText(); }

    // The n-th (from 0) visible node, depth first, whose lexeme's text is
    // `text`; null when there is none.
    COperationNode* Node(std::string_view text, int nth = 0) const;
    // The centre of that node's lexeme box (laid out first).
    Point At(std::string_view text, int nth = 0);

    // A press on one node and a release on another (a drag and its drop).
    void DragTo(std::string_view from, int fromNth, std::string_view to, int toNth);
};

}  // namespace formula::test
