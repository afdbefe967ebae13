// The condition viewer placed by a host through CPremiscopeCtrl, created by
// CLSID from the temporary machine hive with the real formula control
// registered beside it: tasks of the sample task book, the caption, the
// live formulas, the job's answers, the squared paper and the scroll strip
// driven by the mouse and the wheel. Screenshots: premiscope_*.png.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/xml.h"
#include "solvehost/premiscope_ctrl.h"
#include "solvehost/symbrant_ctrl.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace solvehost;
namespace xml = platform::xml;

constexpr platform::com::OLE_COLOR kRed = 0x0000FF;
const QColor kGrey(128, 128, 128);

std::string absolute(const char* path)
{
    return std::filesystem::absolute(path).lexically_normal().string();
}

std::string pagePath(const std::string& page)
{
    return std::string(STAGE_DIR) + "/modules/tessaly/lang/ua/taskbook/doc/" + page;
}

class Viewer : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(platform::com::registerLibrary(absolute(PREMISCOPE_LIBRARY)), platform::S_OK);
        ASSERT_EQ(platform::com::registerLibrary(absolute(FORMAVEL_LIBRARY)), platform::S_OK);
    }
    void TearDown() override
    {
        viewer.reset();
        parent.reset();
        testsupport::resetHives();
    }

    void place(int width, int height)
    {
        parent = std::make_unique<QWidget>();
        parent->resize(width, height);
        viewer = std::make_unique<CPremiscopeCtrl>();
        ASSERT_TRUE(viewer->Create("viewer", WS_CHILD | WS_VISIBLE, QRect(0, 0, width, height), parent.get(), 7));
        parent->show();
        QApplication::processEvents();
    }

    QWidget* window() const { return viewer->GetControlWindow(); }
    QString caption() const
    {
        const QLabel* label = window()->findChild<QLabel*>("caption");
        return label ? label->text() : QString("(none)");
    }
    std::vector<CSymbrantCtrl*> formulas() const
    {
        // The wrapper has no meta-object of its own: findChildren would
        // answer every widget.
        std::vector<CSymbrantCtrl*> found;
        for (QWidget* child : window()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (auto* formula = dynamic_cast<CSymbrantCtrl*>(child))
                found.push_back(formula);
        }
        return found;
    }
    QImage shot(const char* name = nullptr) const
    {
        QApplication::processEvents();
        QImage image = window()->grab().toImage();
        if (name)
            image.save(QString(PREMISCOPE_PNG_DIR) + "/premiscope_" + name + ".png");
        return image;
    }
    void wheel(int delta)
    {
        const QPointF at(window()->width() / 2, window()->height() / 2);
        QWheelEvent event(at, window()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(window(), &event);
    }

    std::unique_ptr<QWidget> parent;
    std::unique_ptr<CPremiscopeCtrl> viewer;
};

// A task long enough to scroll in a low viewer.
std::string longTask()
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "word" + std::to_string(i) + " <FORMULALINK id=\"1\"/> ";
    return "<TASK num=\"7\"><CONDITION><TEXT>" + text +
           "</TEXT><FSTORAGE><FORMULA id=\"1\"><math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi>"
           "<mo>+</mo><mn>1</mn></math></FORMULA></FSTORAGE><JOBSLIST><JOB asTask=\"yes\"><START id=\"1\"/>"
           "</JOB></JOBSLIST></CONDITION></TASK>";
}

TEST_F(Viewer, ShowsEveryTaskOfTheSampleTaskBook)
{
    place(420, 300);
    EXPECT_EQ(caption(), QString("Завдання"));
    int tasks = 0;
    int starts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(pagePath(""))) {
        SCOPED_TRACE(entry.path().string());
        const xml::Document page = xml::Document::loadFile(entry.path().string());
        for (const xml::Node& node : xml::selectList(*page.root(), "//TASK")) {
            SCOPED_TRACE(node.attribute("id").value_or("?"));
            ASSERT_TRUE(viewer->SetCondition(node.xml()));
            ++tasks;
            const std::optional<std::string> num = node.attribute("num");
            EXPECT_EQ(caption(), QString::fromStdString(num ? "Завдання " + *num + "." : "Завдання."));
            // Every formula of the statement is a live formula control.
            const std::size_t links =
                xml::selectList(node,
                                "CONDITION/TEXT/*[self::FORMULALINK or self::FORMULA or local-name()='math'] | "
                                "(CONDITION/JOBSLIST/JOB[@asTask='yes'])[1]/*[self::FORMULALINK or self::FORMULA]")
                    .size();
            EXPECT_EQ(formulas().size(), links);
            for (CSymbrantCtrl* formula : formulas())
                EXPECT_NE(formula->GetMathMLText().find("<math"), std::string::npos);
            EXPECT_GT(viewer->GetOptimalHeight(), 30u + 10u);

            const std::string start = viewer->GetStartFormula();
            if (!start.empty()) {
                ++starts;
                CSymbrantCtrl reader;
                ASSERT_TRUE(reader.Create("start", WS_CHILD, QRect(0, 0, 200, 60), parent.get(), 9));
                EXPECT_TRUE(reader.SetMathMLText(start)) << start;
            }
        }
    }
    EXPECT_GT(tasks, 10);
    EXPECT_GT(starts, 0);
}

TEST_F(Viewer, AnswersAboutAHidansJob)
{
    place(420, 300);
    const xml::Document page = xml::Document::loadFile(pagePath("textproblems.xml"));
    const std::optional<xml::Node> task =
        xml::selectSingle(*page.root(), "//TASK[CONDITION/JOBSLIST/JOB/@checkType='hidans']");
    ASSERT_TRUE(task);
    ASSERT_TRUE(viewer->SetCondition(task->xml()));
    shot("hidans");
    EXPECT_TRUE(viewer->IsNeedUserInputToBegin());
    const std::string aplan = xml::evaluateString(*task, "string(CONDITION/JOBSLIST/JOB[@asTask='yes']/@aplan)");
    ASSERT_FALSE(aplan.empty());
    EXPECT_EQ(viewer->GetTaskJobAttribute("aplan"), aplan);
    for (const char* role : {"HIDDENFORMULA", "ANSWER"}) {
        SCOPED_TRACE(role);
        const std::string id = xml::evaluateString(
            *task, std::string("string(CONDITION/JOBSLIST/JOB[@asTask='yes']/") + role + "/@id)");
        const std::optional<xml::Node> math = xml::selectSingle(
            *task, "CONDITION/FSTORAGE/FORMULA[@id=$id]/*[local-name()='math']", {{"id", id}});
        ASSERT_TRUE(math);
        EXPECT_EQ(viewer->GetTaskJobFormulaByType(role), math->xml());
    }
    EXPECT_EQ(viewer->GetTaskJobAttribute("@x"), "");
    EXPECT_EQ(viewer->GetTaskJobFormulaByType("a/b"), "");
}

TEST_F(Viewer, FailuresAnswerFalseAndKeepTheWindowWhole)
{
    place(300, 200);
    EXPECT_FALSE(viewer->SetCondition("not xml"));
    EXPECT_EQ(caption(), QString("Завдання"));
    // A link to a missing id: FALSE, the caption already replaced.
    EXPECT_FALSE(viewer->SetCondition(
        "<TASK num=\"4\"><CONDITION><TEXT>a <FORMULALINK id=\"9\"/></TEXT></CONDITION></TASK>"));
    EXPECT_EQ(caption(), QString("Завдання 4."));
    // What was read before the failure is laid out below the caption.
    EXPECT_FALSE(viewer->SetCondition("<TASK><CONDITION><TEXT>a <FORMULA><math><mi>x</mi></math></FORMULA> b "
                                      "<FORMULALINK id=\"9\"/></TEXT></CONDITION></TASK>"));
    ASSERT_EQ(formulas().size(), 1u);
    EXPECT_GE(formulas().front()->geometry().top(), 30);
    EXPECT_GT(formulas().front()->geometry().left(), 10);
    EXPECT_EQ(viewer->GetStartFormula(), "");
    EXPECT_FALSE(viewer->IsNeedUserInputToBegin());
    shot();
}

TEST_F(Viewer, OptimalHeightIsCaptionAndContent)
{
    place(420, 600);
    ASSERT_TRUE(viewer->SetCondition("<TASK><CONDITION><TEXT>one</TEXT></CONDITION></TASK>"));
    const std::uint32_t oneLine = viewer->GetOptimalHeight();
    // Caption 30, top margin 10 twice, bottom margin 0, one line of words.
    EXPECT_EQ(oneLine, 30u + 20u + static_cast<std::uint32_t>(QFontMetrics(window()->font()).height()));
    ASSERT_TRUE(viewer->SetCondition(longTask()));
    const std::uint32_t many = viewer->GetOptimalHeight();
    EXPECT_GT(oneLine, 30u);
    EXPECT_GT(many, oneLine + 100);
    // The last formula's bottom lies within caption + content.
    int bottom = 0;
    for (CSymbrantCtrl* formula : formulas())
        bottom = std::max(bottom, formula->geometry().bottom());
    EXPECT_LE(bottom, static_cast<int>(many));
    EXPECT_GT(bottom, static_cast<int>(many) - 40);
}

TEST_F(Viewer, PaperCaptionAndStripTakeTheGridColour)
{
    place(300, 200);
    shot("empty");
    ASSERT_TRUE(viewer->SetCondition(longTask()));
    const int w = window()->width();
    const int h = window()->height();
    QImage image = shot("long");
    // Squares, caption and thumb at the top of the strip; the track black below.
    EXPECT_EQ(image.pixelColor(2, 60), kGrey);
    EXPECT_EQ(image.pixelColor(2, 2), kGrey);
    EXPECT_EQ(image.pixelColor(w - 5, 34), kGrey);
    EXPECT_EQ(image.pixelColor(w - 5, h - 4), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(2, 45), QColor(Qt::white));

    viewer->SetGridColor(kRed);
    image = shot("red");
    EXPECT_EQ(image.pixelColor(2, 60), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(w - 5, 34), QColor(Qt::red));

    viewer->SetBackColor(0xE0FFFF);
    image = shot();
    EXPECT_EQ(image.pixelColor(2, 45), QColor(0xFF, 0xFF, 0xE0));

    // Words (the first line, left of its first formula) and the caption's
    // text in ForeColor.
    auto bluePixels = [](const QImage& picture, QRect area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                count += c.blue() > 180 && c.red() < 90 && c.green() < 90;
            }
        return count;
    };
    const int firstFormulaLeft = formulas().front()->geometry().left();
    const QRect words(10, 35, firstFormulaLeft - 12, 30);
    const QRect captionText(w / 2 - 30, 5, 60, 20);
    EXPECT_EQ(bluePixels(image, words), 0);
    viewer->SetForeColor(0xFF0000);
    image = shot();
    EXPECT_GT(bluePixels(image, words), 5);
    EXPECT_GT(bluePixels(image, captionText), 5);
}

TEST_F(Viewer, WheelAndMouseScrollTheContent)
{
    place(300, 200);
    ASSERT_TRUE(viewer->SetCondition(longTask()));
    const int w = window()->width();
    const int h = window()->height();
    const int content = static_cast<int>(viewer->GetOptimalHeight()) - 30;
    ASSERT_GT(content, h);
    auto firstFormulaTop = [this] {
        int top = 1 << 20;
        for (CSymbrantCtrl* formula : formulas())
            top = std::min(top, formula->geometry().top());
        return top;
    };
    const int top0 = firstFormulaTop();

    // A notch scrolls 30 pixels; the wheel stops at the end and at the start.
    wheel(-120);
    EXPECT_EQ(firstFormulaTop(), top0 - 30);
    for (int i = 0; i < 100; ++i)
        wheel(-120);
    const int bottomEnd = firstFormulaTop();
    EXPECT_EQ(bottomEnd, top0 - (content - (h - 30)));
    QImage image = shot("scrolled");
    EXPECT_EQ(image.pixelColor(w - 5, h - 4), kGrey);
    // Formulas scrolled up pass under the caption: its strip stays whole.
    for (int x = 0; x < w; x += 3)
        ASSERT_EQ(image.pixelColor(x, 3), kGrey) << x;
    EXPECT_EQ(image.pixelColor(w - 5, 34), QColor(Qt::black));
    for (int i = 0; i < 100; ++i)
        wheel(120);
    EXPECT_EQ(firstFormulaTop(), top0);

    // A press below the thumb brings its bottom under the mouse.
    const int pressY = 30 + (h - 30) * 3 / 4;
    QTest::mousePress(window(), Qt::LeftButton, Qt::NoModifier, QPoint(w - 5, pressY));
    image = shot();
    EXPECT_EQ(image.pixelColor(w - 5, pressY - 2), kGrey);
    EXPECT_EQ(image.pixelColor(w - 5, pressY + 3), QColor(Qt::black));
    // Dragging up moves the content back towards its start.
    const int pressedTop = firstFormulaTop();
    EXPECT_LT(pressedTop, top0);
    QTest::mouseMove(window(), QPoint(w - 5, pressY - 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(w - 5, pressY - 20), window()->mapToGlobal(QPointF(w - 5, pressY - 20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window(), &move);
    EXPECT_GT(firstFormulaTop(), pressedTop);
    QTest::mouseRelease(window(), Qt::LeftButton, Qt::NoModifier, QPoint(w - 5, pressY - 20));
    const int released = firstFormulaTop();
    QMouseEvent after(QEvent::MouseMove, QPointF(w - 5, 40), window()->mapToGlobal(QPointF(w - 5, 40)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window(), &after);
    EXPECT_EQ(firstFormulaTop(), released);
}

TEST_F(Viewer, ContentThatFitsHasNoStripAndDoesNotScroll)
{
    place(420, 400);
    ASSERT_TRUE(viewer->SetCondition("<TASK><CONDITION><TEXT>short <FORMULA><math><mi>x</mi></math></FORMULA></TEXT>"
                                     "</CONDITION></TASK>"));
    const int top0 = formulas().front()->geometry().top();
    wheel(-120);
    EXPECT_EQ(formulas().front()->geometry().top(), top0);
    QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier, QPoint(415, 300));
    EXPECT_EQ(formulas().front()->geometry().top(), top0);
    const QImage image = shot("fits");
    EXPECT_EQ(image.pixelColor(415, 395), QColor(Qt::white));
}

TEST_F(Viewer, ALowViewerPaintsBeforeAnyCondition)
{
    place(200, 20);
    const QImage image = shot();
    EXPECT_EQ(image.size(), QSize(200, 20));
    wheel(-120);
    QTest::mouseClick(window(), Qt::LeftButton, Qt::NoModifier, QPoint(195, 10));
    shot();
}

TEST_F(Viewer, GuiFontEnlargesTheWordsAndReadsBackAsNone)
{
    place(420, 300);
    ASSERT_TRUE(viewer->SetCondition("<TASK><CONDITION><TEXT>many words in the statement of a task that wraps "
                                     "over the lines of a narrow viewer window</TEXT></CONDITION></TASK>"));
    const std::uint32_t before = viewer->GetOptimalHeight();
    viewer->SetGuiFont({.name = "Times New Roman", .size = 28.0, .weight = 700});
    ASSERT_TRUE(viewer->SetCondition("<TASK><CONDITION><TEXT>many words in the statement of a task that wraps "
                                     "over the lines of a narrow viewer window</TEXT></CONDITION></TASK>"));
    EXPECT_GT(viewer->GetOptimalHeight(), before);
    shot("font");
    // Reading the GUI font gives none.
    platform::com::DispatchDriver driver(platform::com::ComPtr<platform::com::IDispatch>(viewer->GetControl()));
    EXPECT_FALSE(driver.getProperty<platform::com::ComPtr<platform::com::IDispatch>>(premiscope::disp::GuiFont));
}

}  // namespace

namespace {

using namespace platform::com;

TEST_F(Viewer, MadeByProgIdAnswersTrueAsMinusOneAndSavesTheStockProperties)
{
    ComPtr<IDispatch> object;
    ASSERT_EQ(createInstance("PremiscopeTessaly.PremiscopeCtrlTessaly.2", object), platform::S_OK);
    DispatchDriver control(object);
    // Windowless: the document is read, nothing is drawn.
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(premiscope::disp::SetCondition,
                                           std::string("<T><CONDITION><JOBSLIST><JOB asTask=\"yes\" check=\"yes\"/>"
                                                       "</JOBSLIST></CONDITION></T>")),
              VARIANT_TRUE);
    EXPECT_EQ(control.invoke<VARIANT_BOOL>(premiscope::disp::IsNeedUserInputToBegin), VARIANT_TRUE);
    EXPECT_EQ(control.getProperty<OLE_COLOR>(premiscope::disp::GridColor), OLE_COLOR{0x808080});
    EXPECT_EQ(control.getProperty<OLE_COLOR>(premiscope::disp::BackColor), OLE_COLOR{0xFFFFFF});
    EXPECT_EQ(control.getProperty<OLE_COLOR>(premiscope::disp::ForeColor), OLE_COLOR{0});

    control.setProperty(premiscope::disp::BackColor, OLE_COLOR{0x112233});
    control.setProperty(premiscope::disp::GridColor, OLE_COLOR{0x445566});
    control.setProperty(-512, makeFont({.name = "Arial", .size = 11.0}));
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(object.query(persist), platform::S_OK);
    PropertyBag bag;
    ASSERT_EQ(persist->Save(bag), platform::S_OK);
    std::vector<std::string> names;
    for (const auto& [name, value] : bag.entries())
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"Version", "BackColor", "ForeColor", "Font"}));
    std::string version;
    ASSERT_TRUE(bag.read("Version", version));
    EXPECT_EQ(version, "1.0.0");

    ComPtr<IDispatch> second;
    ASSERT_EQ(createInstance(premiscope::CLSID_Premiscope, second), platform::S_OK);
    ComPtr<IPersistPropertyBag> loader;
    ASSERT_EQ(second.query(loader), platform::S_OK);
    ASSERT_EQ(loader->Load(bag), platform::S_OK);
    DispatchDriver loaded(second);
    EXPECT_EQ(loaded.getProperty<OLE_COLOR>(premiscope::disp::BackColor), OLE_COLOR{0x112233});
    EXPECT_EQ(loaded.getProperty<OLE_COLOR>(premiscope::disp::GridColor), OLE_COLOR{0x808080});
    FontDescription font;
    ASSERT_EQ(readFontDescription(loaded.getProperty<ComPtr<IDispatch>>(-512).get(), &font), platform::S_OK);
    EXPECT_EQ(font.name, "Arial");
}

}  // namespace
