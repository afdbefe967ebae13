#include "roundtrip_support.h"

#include "formula/model/errors.h"
#include "formula/model/parse_context.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/aplan_writer.h"
#include "formula/notation/lexem_parser.h"
#include "formula/optree/operation_tree.h"
#include "formula/tests/formula_test_util.h"

namespace kerneltest {

namespace {

// The formula of a lexeme text, normalised as the control keeps it; null
// (with the reason) when it does not read or normalise.
std::unique_ptr<formula::CAggregateTemplate> readFormula(std::string_view lexemText, std::string& why)
{
    try {
        auto root = formula::test::Read(lexemText);
        formula::ParseContext context;
        root->Normalize(context);
        if (context.invalid) {
            why = "does not normalise";
            return nullptr;
        }
        return root;
    } catch (const formula::CMEException& error) {
        why = error.Message();
        return nullptr;
    }
}

}  // namespace

std::string writeAplan(std::string_view lexemText)
{
    std::string why;
    auto root = readFormula(lexemText, why);
    if (!root) {
        ADD_FAILURE() << "\"" << lexemText << "\": " << why;
        return {};
    }
    bool incomplete = false;
    std::string text = formula::AplanText(*root, &incomplete);
    EXPECT_FALSE(incomplete) << "\"" << lexemText << "\" has a part without an Aplan form: " << text;
    return text;
}

std::string groupsRequest(const std::vector<std::string>& lexemTexts)
{
    std::string request;
    for (const std::string& text : lexemTexts)
        request += (request.empty() ? "(" : ",(") + writeAplan(text) + ")";
    return request;
}

std::string partRequest(const std::vector<std::string>& lexemTexts)
{
    EXPECT_EQ(lexemTexts.size(), 1u);
    return lexemTexts.empty() ? std::string() : writeAplan(lexemTexts[0]);
}

std::string dropRequest(const std::vector<std::string>& lexemTexts, std::string_view word)
{
    EXPECT_EQ(lexemTexts.size(), 2u);
    if (lexemTexts.size() != 2)
        return {};
    return writeAplan(lexemTexts[0]) + std::string(word) + writeAplan(lexemTexts[1]);
}

std::string wholeAndPartRequest(const std::vector<std::string>& lexemTexts)
{
    EXPECT_EQ(lexemTexts.size(), 2u);
    if (lexemTexts.size() != 2)
        return {};
    return "(" + writeAplan(lexemTexts[0]) + ")," + writeAplan(lexemTexts[1]);
}

std::string readReply(const std::string& reply)
{
    try {
        std::string lexemText;
        formula::CLexemParser::ConvertAplanText(reply, lexemText);
        // The lexeme reader takes it as it stands.
        const std::string again = formula::test::ReadWrite(lexemText);
        if (again != lexemText)
            return "<read as \"" + again + "\": " + lexemText + ">";
        return lexemText;
    } catch (const formula::CMEException& error) {
        return "<unreadable: " + error.Message() + ">";
    }
}

std::string normalisedText(std::string_view lexemText)
{
    std::string why;
    auto root = readFormula(lexemText, why);
    return root ? root->LexemText() : "<" + why + ">";
}

::testing::AssertionResult buildsOperationTree(const std::string& lexemText)
{
    std::string why;
    auto root = readFormula(lexemText, why);
    if (!root)
        return ::testing::AssertionFailure() << "\"" << lexemText << "\": " << why;
    if (!formula::BuildFormulaTree(*root))
        return ::testing::AssertionFailure() << "\"" << lexemText << "\" builds no operation tree";
    return ::testing::AssertionSuccess();
}

void checkTable(const Kernel& kernel, int code, ReplyUse use, const std::vector<RoundTrip>& rows,
                const Compose& compose)
{
    for (const RoundTrip& row : rows) {
        const std::string request = compose(row.groups);
        SCOPED_TRACE(std::to_string(code) + " " + request);
        const std::string reply = kernel.ask(code, request);
        if (row.expected == kNoResult || use == ReplyUse::Text) {
            EXPECT_EQ(reply, row.expected);
            continue;
        }
        EXPECT_TRUE(wellFormedReply(reply, true));
        const std::string lexemText = readReply(reply);
        EXPECT_EQ(lexemText, row.expected) << "reply " << reply;
        if (use == ReplyUse::Step) {
            EXPECT_TRUE(buildsOperationTree(lexemText)) << "reply " << reply;
        }
    }
}

}  // namespace kerneltest
