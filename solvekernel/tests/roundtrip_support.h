#pragma once
// The kernel between the formula library's two Aplan notations, as the hosts
// use it: a request is written by the Aplan writer from lexeme texts (each
// formula as the formula control holds it: read and normalised), the reply is
// read back by the Aplan reader into lexeme text, and a reply that becomes a
// solution step must also give an operation tree.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "kernel_fixture.h"

namespace kerneltest {

// The Aplan text of a formula given as lexeme text; the test fails when the
// formula does not read or normalise, or a part of it has no full Aplan form
// (a host never sends such a formula).
std::string writeAplan(std::string_view lexemText);

// A request of bracketed groups as the hosts build them: "(" + written
// group + ")" joined by "," ("(n),(whole),(sel)", "(sel),(entered)").
std::string groupsRequest(const std::vector<std::string>& lexemTexts);

// The reply as lexeme text, through the Aplan reader; "<unreadable: ...>"
// when the reader or the lexeme reader refuses it.
std::string readReply(const std::string& reply);

// The lexeme text of a formula as the control keeps it (read and
// normalised: bracket characters paired into bracket templates, a number
// and a fraction merged into a mixed number); "<reason>" when it does not
// read or normalise.
std::string normalisedText(std::string_view lexemText);

// Whether a lexeme text reads into a formula that normalises and builds an
// operation tree, as a new solution step must.
::testing::AssertionResult buildsOperationTree(const std::string& lexemText);

// How a reply is taken by its host.
enum class ReplyUse {
    Step,     // a formula that becomes a solution step (read, operation tree)
    Formula,  // a formula that is shown (read back)
    Text,     // plain text: a verdict, drill digits, a precision, an interval
};

// One row of a round-trip table: the request's groups as lexeme texts, and
// what the reply must give: lexeme text read back (Step, Formula), the
// text itself (Text), or kNoResult.
struct RoundTrip {
    std::vector<std::string> groups;
    std::string expected;
};

// Asks each row of a table (request built by `compose` from the written
// groups) and checks the reply by its use.
using Compose = std::function<std::string(const std::vector<std::string>& lexemTexts)>;
void checkTable(const Kernel& kernel, int code, ReplyUse use, const std::vector<RoundTrip>& rows,
                const Compose& compose = groupsRequest);

// The request of a picked part (one group, written bare), and of a drop: the
// dragged part, the operation word, the target part ("a+!b").
std::string partRequest(const std::vector<std::string>& lexemTexts);
std::string dropRequest(const std::vector<std::string>& lexemTexts, std::string_view word);
// "(whole)," + the picked part written bare (collecting in a letter).
std::string wholeAndPartRequest(const std::vector<std::string>& lexemTexts);

}  // namespace kerneltest
