#pragma once
// Scripted solutions of the task book's tasks: what a pupil does in
// Stepwell, item by item, and what the kernel must answer.
#include <string>
#include <vector>

namespace moduledata {

// One action: the guide item (its guid, or "2101" for the begin dialog), the
// part the pupil selected (empty: the whole formula; answers take the last
// step), the formula entered in the item's dialog, and the expected reply as
// lexeme text ("2", "0", ... for verdicts; the interval fields for the
// number axis).
struct ScriptStep {
    std::string item;
    std::string selection;
    std::string entered;
    std::string reply;
};

// The solution of one job: the page and ids it belongs to, the start
// formula (the job's FORMULA, or what the pupil enters in the begin
// dialog), the steps, and a wrong answer the answer check must refuse.
// A begin-dialog job also names a correct rewriting of its hidden formula
// and a wrong equation.
struct Script {
    std::string page;  // below taskbook/doc/
    int task = 0;
    int job = 0;
    std::string start;
    std::vector<ScriptStep> steps;
    std::string wrongAnswer;
    std::string rewriting = {};
    std::string wrongStart = {};
};

const std::vector<Script>& taskScripts();

}  // namespace moduledata
