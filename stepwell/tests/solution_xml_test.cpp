#include <gtest/gtest.h>

#include "platform/xml.h"
#include "stepwell/model/received_task.h"
#include "stepwell/model/solution_xml.h"

namespace stepwell {
namespace {

const std::string kMathX = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi></math>";
const std::string kMathY = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>y</mi></math>";
const std::string kTask = "<TASK id=\"7\" type=\"linear\" title=\"Задача\"><CONDITION><TEXT>t</TEXT></CONDITION></TASK>";

std::vector<std::string> writeAll(const std::vector<StepRecord>& steps)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < steps.size(); ++i)
        out.push_back(WriteStep(steps[i], static_cast<int>(i + 1)));
    return out;
}

TEST(SolutionXml, TaskDocumentOfEveryKindIsExact)
{
    const std::vector<StepRecord> steps = {
        {StepKind::Single, -1, 2, "Початок", kMathX, "", ""},
        {StepKind::Double, 2, 1, "Виконайте", kMathY, kMathX, "Отримано\nдва"},
        {StepKind::Answer, 1, 1, "Відповідь " + kMathY + " & < >", kMathY, "", ""},
    };
    std::string document;
    ASSERT_TRUE(BuildTaskDocument(kTask, writeAll(steps), document));
    EXPECT_EQ(document,
              "<?xml version='1.0'?>\n<?xml-stylesheet type=\"text/xsl\" href=\"task.xslt\"?>"
              "<TASK id=\"7\" type=\"linear\" title=\"Задача\"><CONDITION><TEXT>t</TEXT></CONDITION><SOLUTION>"
              "<STEP type=\"single\" id=\"1\" result=\"-1\" executor=\"2\"><DESCRIPTION>Початок</DESCRIPTION><EXPR>" +
                  kMathX +
                  "</EXPR></STEP>"
                  "<STEP type=\"double\" id=\"2\" result=\"2\" executor=\"1\"><DESCRIPTION>Виконайте</DESCRIPTION>"
                  "<USERTR>" +
                  kMathX + "</USERTR><RECEIVE>Отримано<BR/>два</RECEIVE><EXPR>" + kMathY +
                  "</EXPR></STEP>"
                  "<STEP type=\"answer\" id=\"3\" result=\"1\" executor=\"1\"><DESCRIPTION>Відповідь " +
                  kMathY + " &amp; &lt; &gt;</DESCRIPTION><EXPR>" + kMathY +
                  "</EXPR></STEP></SOLUTION></TASK>");
}

TEST(SolutionXml, DocumentWithoutStepsOrWithoutTaskEnd)
{
    std::string document;
    ASSERT_TRUE(BuildTaskDocument(kTask, {}, document));
    EXPECT_EQ(document, std::string(kTaskDocumentHeader) + kTask);
    EXPECT_EQ(document.find("SOLUTION"), std::string::npos);

    const std::string open = "<TASK id=\"7\"><CONDITION/>";
    EXPECT_FALSE(BuildTaskDocument(open, {WriteStep({}, 1)}, document));
    EXPECT_EQ(document, std::string(kTaskDocumentHeader) + open);
}

TEST(SolutionXml, DescriptionTextTable)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a & b < c > d", "a &amp; b &lt; c &gt; d"},
        {"два\nрядки", "два<BR/>рядки"},
        {"два\r\nрядки", "два<BR/>рядки"},
        {"слово " + kMathX + " слово", "слово " + kMathX + " слово"},
        {"<math>1</math>", "<math>1</math>"},
        {"<math x>unclosed", "&lt;math x&gt;unclosed"},
        {"<math x></math>", "&lt;math x&gt;&lt;/math&gt;"},
        {"<mathematics>", "&lt;mathematics&gt;"},
        {std::string("bell\x07"), "bell"},
        // What XML text cannot hold is U+FFFD: a byte that starts no
        // sequence, a cut-short or overlong one, a surrogate, U+FFFF.
        {"a\xFF b\xD0", "a\uFFFD b\uFFFD"},
        {"\xC0\xAF\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xEF\xBF\xBF\xEF\xBF\xBE\xF0\x9D\x91\xA5", "\uFFFD\uFFFD\U0001D465"},
        // Characters are cleaned before formulas are looked for: what reads
        // back must write the same formula again.
        {"<mat\x01h><mi>y</mi></math>", "<math><mi>y</mi></math>"},
        {"<math a=\"\xFF\"><mi>y</mi></math>", "<math a=\"&#xFFFD;\"><mi>y</mi></math>"},
        // An empty formula reads back with its end tag.
        {"<math c=\"2\"></math> x", "<math c=\"2\"/> x"},
    };
    for (const auto& [text, written] : cases) {
        EXPECT_EQ(WriteDescriptionText(text), written) << text;
        // Every description written into a step reads back and writes again
        // to the same bytes.
        StepRecord step;
        step.description = text;
        const std::string solution = "<SOLUTION>" + WriteStep(step, 1) + "</SOLUTION>";
        std::vector<StepRecord> read;
        EXPECT_NO_THROW(read = ReadSolution(solution)) << text;
        ASSERT_EQ(read.size(), 1u) << text;
        EXPECT_EQ("<SOLUTION>" + WriteStep(read[0], 1) + "</SOLUTION>", solution) << text;
    }
}

TEST(SolutionXml, ReadsEveryKindAndSkipsUnknownTypes)
{
    const std::string solution =
        "<SOLUTION><STEP type=\"single\" id=\"1\" result=\"-1\" executor=\"2\"><DESCRIPTION>a &amp; b<BR/>c " + kMathY +
        "</DESCRIPTION><EXPR>" + kMathX +
        "</EXPR></STEP><STEP type=\"mystery\" id=\"2\" result=\"2\" executor=\"1\"><DESCRIPTION/><EXPR/></STEP>"
        "<STEP type=\"double\" id=\"3\" result=\"2\" executor=\"7\"><DESCRIPTION>d</DESCRIPTION><USERTR>" +
        kMathY + "</USERTR><RECEIVE>r&lt;1</RECEIVE><EXPR>" + kMathX +
        "</EXPR></STEP><STEP type=\"answer\" result=\"1\" executor=\"1\"><DESCRIPTION></DESCRIPTION><EXPR>" + kMathY +
        "</EXPR></STEP></SOLUTION>";
    const std::vector<StepRecord> expected = {
        {StepKind::Single, -1, 2, "a & b\nc " + kMathY, kMathX, "", ""},
        {StepKind::Double, 2, 1, "d", kMathX, kMathY, "r<1"},
        {StepKind::Answer, 1, 1, "", kMathY, "", ""},
    };
    EXPECT_EQ(ReadSolution(solution), expected);

    EXPECT_THROW(ReadSolution("<SOLUTION><STEP></SOLUTION>"), platform::xml::Error);
}

TEST(SolutionXml, ReceivedWrittenReceivedWrittenIsByteIdentical)
{
    const std::string received =
        "<?xml version='1.0'?>\r\n<TASK id=\"7\" type=\"linear\" title=\"Задача\">\r\n<CONDITION><TEXT>t</TEXT>"
        "</CONDITION>\r\n<SOLUTION>\r\n\t<STEP type=\"single\" id=\"1\" result=\"-1\" executor=\"2\">"
        "<DESCRIPTION>Слово <math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>a</mi><mo>&lt;</mo><mn>1</mn></math>"
        " слово<BR/>другий рядок &amp; &lt;не формула&gt;</DESCRIPTION><EXPR>" +
        kMathX +
        "</EXPR></STEP>\r\n\t<STEP type=\"double\" id=\"2\" result=\"-1\" executor=\"1\"><DESCRIPTION>Виконайте"
        "</DESCRIPTION><USERTR>" +
        kMathX + "</USERTR><RECEIVE>a<BR/>b</RECEIVE><EXPR>" + kMathY + "</EXPR></STEP>\r\n</SOLUTION></TASK>";

    auto roundTrip = [](const std::string& text) {
        const std::optional<ReceivedTask> cut = CutReceivedText(text);
        EXPECT_TRUE(cut.has_value());
        std::string document;
        EXPECT_TRUE(BuildTaskDocument(cut->task, writeAll(ReadSolution(cut->solution)), document));
        return document;
    };
    const std::string first = roundTrip(received);
    const std::string second = roundTrip(first);
    EXPECT_EQ(first, second);
    const std::vector<StepRecord> steps = ReadSolution(CutReceivedText(first)->solution);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].description,
              "Слово <math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>a</mi><mo>&lt;</mo><mn>1</mn></math>"
              " слово\nдругий рядок & <не формула>");
    EXPECT_EQ(steps[1].received, "a\nb");
}

}  // namespace
}  // namespace stepwell
