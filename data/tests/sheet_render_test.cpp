// The sheets drawn by the browser engine of the suite (Qt WebEngine, offscreen):
// a page of every formula construct through the MathML sheet, an animation
// page as the animation window shows it (AnimXml with its stylesheet
// instruction, transformed by the engine itself), and a printed task. The
// pictures are written to render/ in the build folder to be looked at.
#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "formula/model/chars.h"
#include "formula/model/parse_context.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/mathml_names.h"
#include "formula/notation/mathml_writer.h"
#include "formula/tests/formula_test_util.h"
#include "mathml_constructs.h"
#include "platform/html/html_view.h"
#include "platform/xml.h"
#include "testsupport/temp_dir.h"

namespace moduledata {
namespace {

namespace xml = platform::xml;

std::string stage(const std::string& relative) { return std::string(TESSALY_STAGE_DIR) + "/" + relative; }

std::string mathmlOf(const std::string& lexemText)
{
    auto root = formula::test::Read(lexemText);
    formula::ParseContext context;
    root->Normalize(context);
    return formula::MathMLDocument(*root);
}

// Shows the page in the suite's web view, waits for it and its layout, and
// returns the picture.
QImage render(const std::string& path, const QSize& size)
{
    platform::html::HtmlView view;
    view.resize(size);
    view.show();
    view.navigate(path);
    EXPECT_TRUE(view.waitForLoad()) << path;
    // Time for the engine to lay out and paint the frame.
    QEventLoop loop;
    QTimer::singleShot(1500, &loop, &QEventLoop::quit);
    loop.exec();
    return view.grab().toImage();
}

// Dark pixels (text) in the picture, and how many.
int darkPixels(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 96;
    return dark;
}

std::string outputFolder()
{
    const std::string folder = std::string(TESSALY_RENDER_DIR) + "/";
    std::filesystem::create_directories(folder);
    return folder;
}

TEST(SheetRendering, EveryConstructOnOnePage)
{
    // A page through the MathML sheet of the stage: each construct's lexeme
    // text beside its formula.
    testsupport::TempDir dir;
    std::string input = "<constructs>";
    for (const auto& [text, expected] : mathmlConstructs()) {
        std::string escaped;
        for (char c : text)
            escaped += c == '&' ? std::string("&amp;") : c == '<' ? std::string("&lt;") : std::string(1, c);
        input += "<c text=\"" + escaped + "\">" + mathmlOf(text) + "</c>";
    }
    // Every sign and atom of the control's extension, six to a row.
    std::vector<std::string> rows(1);
    for (const auto& row : formula::mathml::kSignTypes) {
        if (std::count(rows.back().begin(), rows.back().end(), ';') == 6)
            rows.emplace_back();
        rows.back() += "a" + formula::CRelationSign(row.code).LexemText() + "b;";
    }
    rows.emplace_back();
    for (const auto& row : formula::mathml::kAtomTypes)
        rows.back() += formula::CSpecAtom(row.code).LexemText() + ";";
    for (const std::string& row : rows) {
        std::string escaped;
        for (char c : row)
            escaped += c == '&' ? std::string("&amp;") : c == '<' ? std::string("&lt;") : std::string(1, c);
        input += "<c text=\"" + escaped.substr(0, 40) + "...\">" + mathmlOf(row) + "</c>";
    }
    input += "</constructs>";
    const std::string wrapper =
        "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
        "<xsl:include href=\"" + QUrl::fromLocalFile(QString::fromStdString(stage("kernel/data/common/mathml.xslt")))
                                     .toString().toStdString() + "\"/>"
        "<xsl:output method=\"html\" encoding=\"UTF-8\"/>"
        "<xsl:template match=\"/\"><html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"/>"
        "<xsl:call-template name=\"mathml-css\"/><style>body{background:white;font-size:15pt;margin:10px}"
        "table{border-collapse:collapse}td{border-bottom:1px solid #ccc;padding:3px 10px}"
        "td.t{font:10pt monospace;color:#555}</style></head><body><table>"
        "<xsl:for-each select=\"constructs/c\"><tr><td class=\"t\"><xsl:value-of select=\"@text\"/></td>"
        "<td><xsl:apply-templates select=\"*\"/></td></tr></xsl:for-each></table></body></html></xsl:template>"
        "</xsl:stylesheet>";
    const std::string sheetPath = dir.write("constructs.xslt", wrapper);
    const std::string html = xml::transformToText(xml::Document::loadText(input), sheetPath);
    const std::string page = dir.write("constructs.html", html);
    const QImage image = render(page, QSize(900, 1400));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(darkPixels(image), 3000);
    EXPECT_TRUE(image.save(QString::fromStdString(outputFolder() + "mathml_constructs.png")));
}

// AnimXml in a temporary kernel/temp beside the stage's sheets, opened by
// the engine as the animation window opens it: the engine applies the
// stylesheet named in the file.
TEST(SheetRendering, AnimationFrame)
{
    const std::string anim = stage("kernel/temp/anim.xml");
    std::ofstream(anim) << "<?xml version=\"1.0\"?>\n<?xml-stylesheet type = \"text/xsl\" href = \"guideanim.xslt\"?>\n"
                           "<ANIM file=\"quadratic\"></ANIM>\n";
    const QImage image = render(anim, QSize(850, 650));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(darkPixels(image), 2000);
    EXPECT_TRUE(image.save(QString::fromStdString(outputFolder() + "animation_frame.png")));
    std::filesystem::remove(anim);
}

TEST(SheetRendering, PrintedTask)
{
    const xml::Document task =
        xml::Document::loadFile(stage("modules/tessaly/libalgt/tasks/task_2.xml"));
    testsupport::TempDir dir;
    const std::string html = xml::transformToText(task, stage("kernel/data/lang/ua/taskbaseprintLang.xslt"));
    const std::string page = dir.write("task.html", html);
    const QImage image = render(page, QSize(900, 800));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(darkPixels(image), 3000);
    EXPECT_TRUE(image.save(QString::fromStdString(outputFolder() + "printed_task.png")));
}

}  // namespace
}  // namespace moduledata
