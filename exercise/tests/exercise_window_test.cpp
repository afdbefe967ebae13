// The drill's window with the real formula control in a temporary install
// root: the start's ends, the panel's layout and scrolling, the row's
// layout, and checking against a scripted kernel.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "exercise/esf_bitmap.h"
#include "exercise/exercise_app.h"
#include "exercise/exercise_task_wnd.h"
#include "exercise/tests/drill_fixture.h"
#include "exercise/zip/tests/zip_fixture.h"
#include "exercise/zip/zip_package.h"
#include "platform/tests/shown_buttons.h"
#include "shared/language.h"

namespace exercise {
namespace {

namespace fs = std::filesystem;
using testing::DrillRoot;
using testing::lang;
using testing::texts;

const char* const kCheckComplete = "checkComplete";

class DrillWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = std::make_unique<DrillRoot>();
        ASSERT_TRUE(shared::LoadLanguageFile(root->path() + "kernel/data/lang/ua/exercise.lng"));
    }
    void TearDown() override
    {
        frame.reset();
        root.reset();
    }

    // A frame over the scripted kernel, showing exercise `number`.
    void open(int number, QSize size = QSize(800, 900))
    {
        frame = std::make_unique<testing::ScriptedFrame>(number, root->modulePath(), "ua");
        frame->Create();
        frame->resize(size);
        frame->show();
        QApplication::processEvents();
    }
    CExercisePanel& panel() { return *frame->Panel(); }
    std::vector<int> lights()
    {
        std::vector<int> out;
        for (CExerciseTaskWnd* row : panel().Rows())
            out.push_back(row->GetLightState());
        return out;
    }
    void answerAll(const std::vector<std::string>& answers)
    {
        for (std::size_t i = 0; i < answers.size(); ++i)
            panel().Rows()[i]->Answer().SetLexemText(answers[i]);
    }

    std::unique_ptr<DrillRoot> root;
    std::unique_ptr<testing::ScriptedFrame> frame;
};

TEST_F(DrillWindow, TheStartEndsWithItsMessage)
{
    const auto start = [&](const std::string& line) {
        root->recorder.messages.clear();
        CExerciseApp app;
        return app.InitInstance(line);
    };
    // The command line.
    EXPECT_EQ(start("x/t:12"), nullptr);
    ASSERT_EQ(root->recorder.messages.size(), 1u);
    EXPECT_EQ(root->recorder.messages[0].text, "Параметри запуска вказані невірно");
    EXPECT_EQ(root->recorder.messages[0].icon, platform::MessageIcon::Error);
    // Nobody logged in.
    root->setPersonified(false);
    EXPECT_EQ(start("Rivodadi /t:1"), nullptr);
    EXPECT_EQ(texts(root->recorder), std::vector<std::string>{lang("needPerson")});
    root->setPersonified(true);
    // No language file.
    fs::rename(root->path() + "kernel/data/lang/ua/exercise.lng", root->path() + "exercise.lng.away");
    EXPECT_EQ(start("Rivodadi /t:1"), nullptr);
    EXPECT_EQ(texts(root->recorder), std::vector<std::string>{"Error when loading the language resource file"});
    fs::rename(root->path() + "exercise.lng.away", root->path() + "kernel/data/lang/ua/exercise.lng");
    // Everything in place: the window opens with its pictures, no message.
    auto frame = start("/r/kernel/bin/Rivodadi /t:1");
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(root->recorder.messages.empty());
    EXPECT_EQ(frame->GetExerciseNumber(), 1);
    EXPECT_EQ(frame->Panel()->Rows().size(), 3u);
    EXPECT_TRUE(esfPictures().green.IsLoaded());
    EXPECT_EQ(frame->windowTitle().toStdString(), lang("appTitle"));
    EXPECT_FALSE(frame->windowIcon().pixmap(32, 32).isNull());
    EXPECT_EQ(frame->minimumSize(), QSize(600, 450));
    // The start put Qt's own texts into Ukrainian: the standard buttons of
    // the program's boxes read so.
    EXPECT_THAT(platform::test::shownButtonTexts(platform::MessageButtons::YesNoCancel),
                ::testing::UnorderedElementsAre("Так", "Ні", "Скасувати"));
}

TEST_F(DrillWindow, AMissingKernelOrPictureArchiveStillOpensTheWindow)
{
    const auto esf = [&] { return root->path() + "kernel/data/resources/exercise.esf"; };
    // The pupil reads the drill's own texts; the developer's account of the
    // fault goes to the error stream.
    struct Case {
        const char* what;
        std::function<void()> damage;
        std::function<std::string()> message;  // of the root the case damaged
        const char* error;
    };
    const auto noPictures = [&] { return "Не вдалося прочитати файл малюнків вправ:\n" + esf(); };
    const Case cases[] = {
        {"no kernel", [&] { fs::remove(root->path() + "kernel/solvekernel/tarvik.so"); },
         [] { return std::string("Сервер обчислень не запущено: перевірте встановлення."); },
         "CKernelFuncMgr::m_pSolveKernel->initClew error"},
        {"no archive", [&] { fs::remove(esf()); }, noPictures, "Cannot read the picture archive "},
        {"damaged archive", [&] { fs::resize_file(esf(), 100); }, noPictures, "Cannot read the picture archive "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        c.damage();
        root->recorder.messages.clear();
        CExerciseApp app;
        ::testing::internal::CaptureStderr();
        auto frame = app.InitInstance("Rivodadi /t:1");
        const std::string errors = ::testing::internal::GetCapturedStderr();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(texts(root->recorder), std::vector<std::string>{c.message()});
        EXPECT_NE(errors.find(c.error), std::string::npos) << errors;
        EXPECT_EQ(frame->Panel()->Rows().size(), 3u);
        EXPECT_EQ(esfPictures().sheet.IsLoaded(), std::string(c.what) == "no kernel");
        if (std::string(c.what) == "no archive") {
            // Rows without pictures: the sheet and the light draw nothing.
            frame->resize(700, 600);
            QApplication::processEvents();
            EXPECT_TRUE(frame->grab().save(RIVODADI_PNG_DIR "/rivodadi_without_pictures.png"));
        }
    }
}

TEST_F(DrillWindow, PlacesRowsButtonsAndExampleForTheWidth)
{
    open(1);
    panel().resize(600, 2000);
    QApplication::processEvents();
    ASSERT_FALSE(panel().ScrollBar()->isVisible());
    ASSERT_EQ(panel().Rows().size(), 3u);
    int y = panel().GetRowsTop();
    for (CExerciseTaskWnd* row : panel().Rows()) {
        EXPECT_EQ(row->geometry(), QRect(20, y, 560, 100));
        y += 100;
    }
    EXPECT_EQ(panel().CheckButton()->geometry(), QRect(250, y + 20, 80, 30));
    EXPECT_EQ(panel().EditorPanelButton()->geometry(), QRect(350, y + 20, 140, 30));
    EXPECT_EQ(panel().ExampleRow()->geometry(), QRect(20, y + 70, 560, 90));
    EXPECT_EQ(panel().ExampleRow()->GetLightState(), CExerciseTaskWnd::lightGreen);
    EXPECT_EQ(panel().ExampleRow()->Statement().GetLexemText(), "x+3=10");
    EXPECT_EQ(panel().ExampleRow()->Answer().GetLexemText(), "x=7");
    EXPECT_EQ(panel().ExampleRow()->Answer().GetState(), 1);  // viewer
    EXPECT_EQ(panel().CheckButton()->text(), QString::fromUtf8("Перевірити"));
    EXPECT_EQ(panel().EditorPanelButton()->text(), QString::fromUtf8("Панель редактора"));
    // The statement: words and the five formulas of the exercise, centred.
    QString statement;
    panel().StatementLayout().GetText(statement);
    EXPECT_TRUE(statement.startsWith(QString::fromUtf8("Розв'яжіть рівняння виду <math"))) << statement.toStdString();
    EXPECT_EQ(statement.count("<math"), 5);
    EXPECT_EQ(panel().GetRowsTop(), panel().GetContentHeight() - 3 * 100 - 90 - 100);
}

TEST_F(DrillWindow, ATallStatementBringsTheScrollBarAndPageDownMovesTwenty)
{
    open(1);
    panel().resize(600, 300);
    QApplication::processEvents();
    QScrollBar* bar = panel().ScrollBar();
    ASSERT_TRUE(bar->isVisible());
    const int extent = bar->width();
    EXPECT_EQ(bar->geometry(), QRect(600 - extent, 0, extent, 300));
    EXPECT_EQ(bar->maximum(), panel().GetContentHeight() - 300);
    // While the bar shows, the contents are placed for the width left of it.
    const int width = 600 - extent;
    EXPECT_EQ(panel().Rows()[0]->width(), width - 40);
    EXPECT_EQ(panel().CheckButton()->x(), width / 2 - 50);
    const int top = panel().Rows()[0]->y();
    const QImage before = panel().grab().toImage();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(panel().GetScrollPos(), 20);
    EXPECT_EQ(panel().Rows()[0]->y(), top - 20);
    // Everything left of the bar, the statement's words with its formulas,
    // moved up by exactly 20 pixels.
    const QImage after = panel().grab().toImage();
    int differing = 0;
    for (int y = 0; y + 20 < 300; ++y)
        for (int x = 0; x < width; ++x)
            differing += after.pixel(x, y) != before.pixel(x, y + 20) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(panel().grab().save(RIVODADI_PNG_DIR "/rivodadi_scrolled.png"));
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(panel().GetScrollPos(), 18);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(panel().GetScrollPos(), bar->maximum());
    // Tall enough again: the bar goes and the view returns to the top.
    panel().resize(600, 2000);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(panel().GetScrollPos(), 0);
    EXPECT_EQ(panel().Rows()[0]->y(), top);
}

TEST_F(DrillWindow, ARowPlacesItsFormulasBetweenSheetAndLight)
{
    // Pictures of a 40-pixel sheet and a 30-pixel light.
    const auto bmp = [](int w, int h) {
        QImage image(w, h, QImage::Format_RGB888);
        image.fill(Qt::gray);
        std::string out = "BM" + std::string(12, '\0');
        std::string info(40, '\0');
        const int stride = (3 * w + 3) / 4 * 4;
        auto put = [&](int at, std::uint32_t v) {
            for (int b = 0; b < 4; ++b)
                info[at + b] = char((v >> (8 * b)) & 0xff);
        };
        put(0, 40);
        put(4, std::uint32_t(w));
        put(8, std::uint32_t(h));
        info[12] = 1;
        info[14] = 24;
        return out + info + std::string(std::size_t(stride * h), '\x80');
    };
    testing::Fixture f;
    f.entries = {{.name = "sheet.bmp", .data = bmp(40, 60), .method = 8},
                 {.name = "sfetofor.bmp", .data = bmp(30, 70), .method = 8}};
    const std::string path = root->path() + "rows.esf";
    testing::writeFile(path, testing::buildArchive(f));
    CZipPackage archive;
    archive.Open(path);
    ASSERT_TRUE(esfPictures().sheet.LoadFromArchive("sheet.bmp", archive));
    ASSERT_TRUE(esfPictures().lightOff.LoadFromArchive("sfetofor.bmp", archive));
    QWidget parent;
    parent.resize(600, 120);
    CExerciseTaskWnd row(&parent, NextChildId());
    row.setGeometry(0, 0, 560, 100);
    parent.show();
    QApplication::processEvents();
    EXPECT_EQ(row.Statement().geometry(), QRect(50, 5, 215, 90));
    EXPECT_EQ(row.Answer().geometry(), QRect(305, 5, 215, 90));
    EXPECT_EQ(row.Statement().GetState(), 1);  // viewer
    EXPECT_EQ(row.Answer().GetState(), 2);     // editor
    EXPECT_FALSE(row.Answer().GetEliminateBrackets());
    EXPECT_EQ(row.GetLightState(), CExerciseTaskWnd::lightOff);
}

TEST_F(DrillWindow, RepliesSetTheLights)
{
    struct Case {
        const char* reply;
        std::vector<int> lights;
        int errors;
    };
    const Case cases[] = {
        {"2,1,0", {0, 1, 2}, 0},
        {"2,9,2", {0, -1, 0}, 1},
        {"2,x,2", {0, -1, 0}, 1},
        {"2", {0, -1, -1}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        TearDown();
        SetUp();
        open(1);
        answerAll({"x=1", "x=2", "x=3"});
        testing::scriptedKernel().replies = {c.reply};
        root->recorder.messages.clear();
        QTest::mouseClick(panel().CheckButton(), Qt::LeftButton);
        EXPECT_EQ(lights(), c.lights);
        std::vector<std::string> expected(std::size_t(c.errors), lang("errInServer"));
        expected.push_back(lang(kCheckComplete));
        EXPECT_EQ(texts(root->recorder), expected);
        const testing::ScriptedKernelState& kernel = testing::scriptedKernel();
        ASSERT_EQ(kernel.requests.size(), 1u);
        EXPECT_EQ(kernel.codes[0], 501);
        EXPECT_EQ(kernel.removed, 1);
        EXPECT_EQ(kernel.outstanding, 0);
        // "((s1),(a1))#((s2),(a2))#((s3),(a3))" with the answers' kernel form.
        const std::string& request = kernel.requests[0];
        EXPECT_EQ(request.rfind("((", 0), 0u) << request;
        EXPECT_EQ(std::count(request.begin(), request.end(), '#'), 2) << request;
        EXPECT_NE(request.find("),(x=!1))#(("), std::string::npos) << request;
        EXPECT_NE(request.find("),(x=!3))"), std::string::npos) << request;
        // The controls are back in their modes with their texts.
        EXPECT_EQ(panel().Rows()[1]->Answer().GetLexemText(), "x=2");
        EXPECT_EQ(panel().Rows()[1]->Answer().GetState(), 2);
        EXPECT_EQ(panel().Rows()[1]->Statement().GetState(), 1);
    }
}

TEST_F(DrillWindow, ACheckThatCannotBeSentOrAnsweredKeepsTheLights)
{
    open(1);
    answerAll({"x=1", "x=2", "x=3"});
    testing::ScriptedKernelState& kernel = testing::scriptedKernel();
    kernel.replies = {"0,1,2"};
    frame->Command(CExerciseFrame::kCommandCheck)->trigger();
    ASSERT_EQ(lights(), (std::vector<int>{2, 1, 0}));

    const auto check = [&](const char* what) {
        SCOPED_TRACE(what);
        root->recorder.messages.clear();
        QTest::mouseClick(panel().CheckButton(), Qt::LeftButton);
        EXPECT_EQ(lights(), (std::vector<int>{2, 1, 0}));
        return texts(root->recorder);
    };
    // An empty second answer: nothing is sent.
    panel().Rows()[1]->Answer().SetLexemText("");
    EXPECT_EQ(check("empty answer"), std::vector<std::string>{lang("errNeedForm")});
    EXPECT_EQ(kernel.requests.size(), 1u);
    // An answer that is no formula.
    panel().Rows()[1]->Answer().SetLexemText("x=");
    EXPECT_EQ(check("invalid answer"), std::vector<std::string>{lang("errFormInvalid")});
    EXPECT_EQ(kernel.requests.size(), 1u);
    EXPECT_EQ(panel().Rows()[0]->Answer().GetState(), 2);  // the row before went back to editing
    // "NORES" and a failed call: the kernel has no result.
    panel().Rows()[1]->Answer().SetLexemText("x=2");
    kernel.replies = {"\"NORES\""};
    EXPECT_EQ(check("no result"), std::vector<std::string>{lang("errInServer")});
    kernel.replies = {"2,2,2"};
    kernel.failCall = true;
    EXPECT_EQ(check("failed call"), std::vector<std::string>{lang("errInServer")});
    EXPECT_EQ(kernel.requests.size(), 3u);
    EXPECT_EQ(kernel.outstanding, 0);  // each reply handed back once
    EXPECT_EQ(kernel.removed, 3);

    // Repeat: three tasks from the pool in the rows, answers emptied, the
    // lights as the last check left them.
    frame->Command(CExerciseFrame::kCommandRepeat)->trigger();
    ASSERT_EQ(panel().Rows().size(), 3u);
    for (CExerciseTaskWnd* row : panel().Rows()) {
        EXPECT_FALSE(row->Statement().GetLexemText().empty());
        EXPECT_EQ(row->Answer().GetLexemText(), "");
    }
    EXPECT_EQ(lights(), (std::vector<int>{2, 1, 0}));
}

// The Editor panel button opens the first answer's formula tools, and closes
// them when they are open.
TEST_F(DrillWindow, TheEditorPanelButtonTogglesTheFirstAnswersTools)
{
    open(1);
    const auto shownTopLevels = [] {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            count += widget->isVisible() ? 1 : 0;
        return count;
    };
    const int before = shownTopLevels();
    QTest::mouseClick(panel().EditorPanelButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_GT(shownTopLevels(), before);
    QTest::mouseClick(panel().EditorPanelButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(shownTopLevels(), before);
}

TEST_F(DrillWindow, WithoutAnExerciseTheCommandsDoNothing)
{
    open(4);  // the sample configuration ends at 3
    EXPECT_TRUE(root->recorder.messages.empty());
    EXPECT_TRUE(panel().Rows().empty());
    EXPECT_FALSE(panel().ExampleRow()->isVisible());
    QTest::mouseClick(panel().CheckButton(), Qt::LeftButton);
    QTest::mouseClick(panel().EditorPanelButton(), Qt::LeftButton);
    frame->Command(CExerciseFrame::kCommandRepeat)->trigger();
    frame->Command(CExerciseFrame::kCommandCheck)->trigger();
    EXPECT_TRUE(root->recorder.messages.empty());
    EXPECT_TRUE(testing::scriptedKernel().requests.empty());
    EXPECT_TRUE(panel().Rows().empty());
}

TEST_F(DrillWindow, TheMenuCarriesTheLanguageCaptions)
{
    open(1);
    // The kernel started on the install root's library with the drill's rules.
    EXPECT_EQ(testing::scriptedKernel().libraryPath, root->path() + "kernel/solvekernel/tarvik.so");
    EXPECT_EQ(testing::scriptedKernel().arguments, "-l modules\\tessaly\\exercise.clew");
    const std::pair<int, const char*> commands[] = {
        {CExerciseFrame::kCommandExit, "mnuFileExit"},
        {CExerciseFrame::kCommandRepeat, "mnuExerciseRepeat"},
        {CExerciseFrame::kCommandCheck, "mnuExerciseCheck"},
        {CExerciseFrame::kCommandAbout, "mnuHelpAbout"},
    };
    for (const auto& [id, key] : commands) {
        ASSERT_NE(frame->Command(id), nullptr) << key;
        EXPECT_EQ(frame->Command(id)->text().toStdString(), lang(key));
    }
    frame->Command(CExerciseFrame::kCommandAbout)->trigger();
    EXPECT_TRUE(root->recorder.messages.empty());
    EXPECT_TRUE(frame->isVisible());
    frame->Command(CExerciseFrame::kCommandExit)->trigger();
    EXPECT_FALSE(frame->isVisible());
}

}  // namespace
}  // namespace exercise
