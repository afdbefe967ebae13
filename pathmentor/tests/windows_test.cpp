// Item pages, groups, chapter windows and the how-to-do dialog over records
// made in the test. Formula pages get a formula control stand-in whose
// optimal height is the number its formula text starts with; graph pages
// the real graph control. Screenshots: pathmentor_pages.png, pathmentor_graph.png.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>

#include <filesystem>
#include <memory>

#include "pathmentor/guide_context.h"
#include "pathmentor/guide_windows.h"
#include "platform/com/com.h"
#include "platform/message_box.h"
#include "testsupport/temp_dir.h"

namespace pathmentor {
namespace {

std::string absolute(const char* path)
{
    return std::filesystem::absolute(path).lexically_normal().string();
}

std::unique_ptr<TransformationItem> makeItem(ItemView view, int aplan, std::vector<std::string> formulas = {},
                                             bool choice = false)
{
    auto item = std::make_unique<TransformationItem>();
    item->view = view;
    item->aplan = aplan;
    item->type = 1;
    item->name = "item " + std::to_string(aplan);
    item->formulaChoice = choice;
    for (const std::string& text : formulas)
        item->formulas.push_back({text, 0, 0});
    return item;
}

class Pages : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(platform::com::registerLibrary(absolute(FORMULA_STANDIN)), platform::S_OK);
        ASSERT_EQ(platform::com::registerLibrary(absolute(PLOTWISE_LIBRARY)), platform::S_OK);
        platform::setMessageRecorder(&messages);
        showExtendedTransformations() = true;
        parent.resize(400, 600);
    }
    void TearDown() override
    {
        platform::setMessageRecorder(nullptr);
        showExtendedTransformations() = true;
        testsupport::resetHives();
    }

    std::string log(const CTransformationWnd& page, std::size_t formula)
    {
        return platform::com::DispatchDriver(page.formulas()[formula].control).getProperty<std::string>(9001);
    }

    platform::MessageRecorder messages;
    QWidget parent;
};

TEST_F(Pages, HeightsFollowKindAndFormulas)
{
    struct Case {
        ItemView view;
        std::vector<std::string> formulas;
        bool choice;
        bool extended;
        int height;
    };
    const Case cases[] = {
        {ItemView::Plain, {}, false, true, 55},
        {ItemView::Graph, {}, false, true, 185},
        {ItemView::Formula, {}, false, true, 35},
        {ItemView::Formula, {"20"}, false, false, 35},   // formulas hidden
        {ItemView::Formula, {"20"}, true, false, 60},    // a choice shows them anyway
        {ItemView::Formula, {"20", "20"}, false, true, 85},
        {ItemView::Formula, {"20", "-7"}, true, true, 85},  // a negative height counts 20
        {ItemView::Formula, {"40", "30", "20"}, false, true, 30 + 90 + 10 + 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.view) << " " << c.formulas.size());
        showExtendedTransformations() = c.extended;
        auto item = makeItem(c.view, 100, c.formulas, c.choice);
        CTransformationWnd page(item.get(), nullptr, &parent);
        EXPECT_EQ(page.PageHeight(), c.height);
        EXPECT_EQ(page.height(), c.height);
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Pages, FormulaPageCallsItsControlsAndPlacesThem)
{
    auto item = makeItem(ItemView::Formula, 513, {"20 x", "-7 y"}, true);
    guideContext().foreColor = QColor(0x11, 0x22, 0x33);
    CTransformationWnd page(item.get(), nullptr, &parent);
    guideContext().foreColor = QColor();
    ASSERT_EQ(page.formulas().size(), 2u);
    EXPECT_EQ(page.templateId(), 130);
    EXPECT_EQ(log(page, 0), "20\n49 String \"20 x\"\n38 I4 2\n1 UI4 3351057\n27\n");
    page.resize(300, page.PageHeight());
    page.LayoutPage(300);  // a hidden window gets its resize event when shown
    EXPECT_EQ(page.title()->geometry(), QRect(4, 5, 241, 20));
    EXPECT_EQ(page.title()->text(), "item 513");
    EXPECT_EQ(page.howToDoButton()->geometry(), QRect(250, 5, 20, 20));
    EXPECT_EQ(page.applyButton()->geometry(), QRect(275, 5, 20, 20));
    EXPECT_EQ(page.formulas()[0].window->geometry(), QRect(20, 30, 275, 20));
    EXPECT_EQ(page.formulas()[0].radio->geometry(), QRect(4, 35, 10, 10));
    EXPECT_EQ(page.formulas()[1].window->geometry(), QRect(20, 55, 275, 20));
    EXPECT_EQ(page.formulas()[1].radio->geometry(), QRect(4, 60, 10, 10));

    // Hidden while neither the process flag nor a choice shows them.
    auto plain = makeItem(ItemView::Formula, 102, {"20"});
    showExtendedTransformations() = false;
    CTransformationWnd hidden(plain.get(), nullptr, &parent);
    hidden.resize(300, hidden.PageHeight());
    hidden.LayoutPage(300);
    EXPECT_FALSE(hidden.formulas()[0].window->isVisibleTo(&hidden));
    EXPECT_EQ(hidden.formulas()[0].radio, nullptr);
}

TEST_F(Pages, RadioButtonsGiveTheFormulaIndex)
{
    parent.show();
    auto item = makeItem(ItemView::Formula, 513, {"20", "20", "20"}, true);
    auto* page = new CTransformationWnd(item.get(), nullptr, &parent);
    page->resize(300, page->PageHeight());
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    EXPECT_TRUE(page->multyFormulaChoice());
    EXPECT_EQ(page->formulaIndex(), 0);
    QTest::mouseClick(page->formulas()[1].radio, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(page->formulaIndex(), 2);
    QTest::mouseClick(page->formulas()[2].radio, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(page->formulaIndex(), 3);
    EXPECT_FALSE(page->formulas()[1].radio->isChecked());

    auto single = makeItem(ItemView::Formula, 102, {"20"});
    CTransformationWnd noChoice(single.get(), nullptr, &parent);
    EXPECT_FALSE(noChoice.multyFormulaChoice());
    EXPECT_EQ(noChoice.formulaIndex(), 0);
}

TEST_F(Pages, ApplyWithoutAnActiveControlSaysSo)
{
    parent.show();
    auto item = makeItem(ItemView::Plain, 10);
    auto* page = new CTransformationWnd(item.get(), nullptr, &parent);
    page->resize(300, page->PageHeight());
    page->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    ASSERT_EQ(guideContext().activeControl, nullptr);
    QTest::mouseClick(page->applyButton(), Qt::LeftButton);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Error/nApplication will terminate");
    // A double click (press, release, double click, release) counts as two presses.
    QPushButton* apply = page->applyButton();
    QTest::mouseClick(apply, Qt::LeftButton);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), apply->mapToGlobal(QPointF(5, 5)),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(apply, &doubleClick);
    QTest::mouseRelease(apply, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(messages.messages.size(), 3u);
}

TEST_F(Pages, ApplyButtonHiddenFor813And814)
{
    for (int aplan : {813, 814, 815}) {
        auto item = makeItem(ItemView::Plain, aplan);
        CTransformationWnd page(item.get(), nullptr, &parent);
        EXPECT_EQ(page.applyButton()->isVisibleTo(&page), aplan == 815) << aplan;
        EXPECT_TRUE(page.howToDoButton()->isVisibleTo(&page));
    }
}

TEST_F(Pages, GroupStacksItsPagesAndChapterHoldsGroups)
{
    GuideChapter chapter;
    chapter.id = 3;
    chapter.name = "Квадратні рівняння";
    for (int g = 0; g < 2; ++g) {
        auto group = std::make_unique<GuideGroup>();
        group->name = "group " + std::to_string(g);
        group->items.push_back(makeItem(ItemView::Plain, 10 + g));
        group->items.push_back(makeItem(ItemView::Formula, 20 + g, {"20", "20"}));
        chapter.groups.push_back(std::move(group));
    }
    CCommonChapterWnd window(&chapter);
    ASSERT_TRUE(window.Create(&parent));
    EXPECT_EQ(window.geometry(), QRect(0, 25, 100, 100));
    ASSERT_EQ(window.groups().size(), 2u);
    CGuideChapterWnd* group = window.groups()[0];
    // 6 + (55 + 6) + (85 + 6)
    EXPECT_EQ(group->GroupHeight(), 158);
    EXPECT_EQ(group->size(), QSize(200, 158));
    EXPECT_EQ(group->windowTitle(), "group 0");
    EXPECT_EQ(window.GetPageCount(), 2);
    EXPECT_EQ(window.GetTitleButton(1)->text(), "group 1");
    EXPECT_EQ(window.contentHeight(), 28 + 2 * 31);
    EXPECT_EQ(window.titleLine()->text(), "Квадратні рівняння");
    EXPECT_EQ(window.titleLine()->font().pixelSize(), 14);
    EXPECT_EQ(window.titleLine()->font().weight(), QFont::Bold);
    EXPECT_NE(group->property("dlgCtrlId").toInt(), window.groups()[1]->property("dlgCtrlId").toInt());

    group->resize(212, group->height());
    group->LayoutPages();  // what its resize event does once it shows
    const std::vector<CTransformationWnd*> pages = group->pages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0]->geometry(), QRect(6, 6, 200, 55));
    EXPECT_EQ(pages[1]->geometry(), QRect(6, 67, 200, 85));

    // An answer page shown in another group is laid out there only, and
    // goes back home.
    GuideGroup answersRecord;
    CGuideChapterWnd answers(&answersRecord);
    answers.Create(&parent);
    answers.resize(212, 0);
    answers.AddGuest(pages[0]);
    EXPECT_EQ(answers.GroupHeight(), 6 + 61);
    group->FitHeight();
    EXPECT_EQ(group->height(), 6 + 91);
    EXPECT_EQ(pages[1]->geometry().top(), 6);
    answers.LayoutPages();
    EXPECT_EQ(pages[0]->parentWidget(), &answers);
    answers.SendGuestsHome();
    EXPECT_EQ(pages[0]->parentWidget(), group);
    EXPECT_EQ(group->height(), 158);
    EXPECT_EQ(answers.GroupHeight(), 6);

    // The picture: the chapter with its first group open.
    window.resize(300, 400);
    window.ExpandPage(0, true);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    window.grab().save(QStringLiteral(PATHMENTOR_PNG_DIR "/pathmentor_pages.png"));
}

// A name longer than the title row wraps: the page grows by its lines at
// its width, what follows the title moves down, and the group and the
// chapter's rows below make room; at a width where it fits, one row again.
TEST_F(Pages, LongTitleWrapsAndThePageGrowsToIt)
{
    GuideChapter chapter;
    chapter.name = "Лінійні рівняння";
    auto record = std::make_unique<GuideGroup>();
    record->name = "group";
    record->items.push_back(makeItem(ItemView::Formula, 512, {"20"}));
    record->items.back()->name = "Помножити обидві частини рівняння на число";
    record->items.push_back(makeItem(ItemView::Plain, 10));
    chapter.groups.push_back(std::move(record));
    auto next = std::make_unique<GuideGroup>();
    next->name = "next";
    next->items.push_back(makeItem(ItemView::Plain, 11));
    chapter.groups.push_back(std::move(next));
    CCommonChapterWnd window(&chapter);
    ASSERT_TRUE(window.Create(&parent));
    window.ExpandAll(true);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    struct Case {
        int width;
        bool wraps;
    };
    for (const Case c : {Case{260, true}, Case{700, false}, Case{220, true}}) {
        SCOPED_TRACE(c.width);
        window.resize(c.width, 500);
        QApplication::processEvents();
        CGuideChapterWnd* group = window.groups()[0];
        const std::vector<CTransformationWnd*> pages = group->pages();
        ASSERT_EQ(pages.size(), 2u);
        CTransformationWnd* page = pages[0];
        QLabel* title = page->title();
        // The lines the whole name takes in the title's width.
        const QFontMetrics metrics(title->font());
        const int needed =
            metrics.boundingRect(QRect(0, 0, title->width(), 1000), Qt::TextWordWrap, title->text()).height();
        EXPECT_EQ(needed > metrics.height(), c.wraps) << needed;
        EXPECT_GE(title->height(), needed);
        EXPECT_GE(title->heightForWidth(title->width()), needed);
        // The formula below the title, the page around both.
        const QRect formula = page->formulas()[0].window->geometry();
        EXPECT_GE(formula.top(), title->geometry().bottom());
        EXPECT_EQ(page->height(), 60 + title->height() - 20);
        EXPECT_LE(formula.bottom(), page->height());
        EXPECT_EQ(pages[1]->geometry().top(), page->geometry().bottom() + 1 + 6);
        EXPECT_EQ(group->height(), group->GroupHeight());
        EXPECT_EQ(group->height(), 6 + page->height() + 6 + 55 + 6);
        // The next group's title button below the grown group.
        EXPECT_GT(window.GetTitleButton(1)->geometry().top(), group->geometry().bottom());
        if (c.width == 260)
            window.grab().save(QStringLiteral(PATHMENTOR_PNG_DIR "/pathmentor_long_title.png"));
    }
}

TEST_F(Pages, GraphPageDrawsItsGraph)
{
    auto item = makeItem(ItemView::Graph, 107);
    item->graphText =
        "<gr:task xmlns:gr=\"urn:pelmarin:tessaly:graph\" abscissName=\"x\" ordinateName=\"y\" "
        "abscissScale=\"20.000000\" ordinateScale=\"20.000000\" gridColor=\"12632256\" clientOriginPointX=\"90\" "
        "clientOriginPointY=\"100\" gridWidth=\"1\" showGrid=\"1\"><gr:quadricConstr color=\"255\" lineWidth=\"2\" "
        "name=\"y=x^2-2x-3\" showName=\"1\" visible=\"1\" useInterval=\"0\" A=\"1.000000\" B=\"-2.000000\" "
        "C=\"-3.000000\"/></gr:task>";
    auto* page = new CTransformationWnd(item.get(), nullptr, &parent);
    EXPECT_EQ(page->templateId(), 131);
    ASSERT_NE(page->graphWindow(), nullptr);
    EXPECT_EQ(page->graphWindow()->windowTitle(), "Graph");
    EXPECT_EQ(page->graphWindow()->property("dlgCtrlId").toInt(), 500);
    page->resize(300, page->PageHeight());
    page->LayoutPage(300);
    EXPECT_EQ(page->graphWindow()->geometry(), QRect(10, 30, 285, 150));
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QApplication::processEvents();
    const QImage image = page->grab().toImage();
    image.save(QStringLiteral(PATHMENTOR_PNG_DIR "/pathmentor_graph.png"));
    int red = 0;
    for (int y = 30; y < 180; ++y)
        for (int x = 10; x < 295; ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 50);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Pages, HowToDoDialogPlacementAndButtons)
{
    const QSize size(360, 220);
    EXPECT_EQ(CDialogInfo::PlaceAt(QPoint(500, 400), size), QPoint(140, 180));
    EXPECT_EQ(CDialogInfo::PlaceAt(QPoint(100, 100), size), QPoint(100, 100));
    EXPECT_EQ(CDialogInfo::PlaceAt(QPoint(360, 220), size), QPoint(360, 220));
    EXPECT_EQ(CDialogInfo::PlaceAt(QPoint(361, 50), size), QPoint(1, 50));

    auto item = makeItem(ItemView::Plain, 10);
    item->howtodo = "Виділіть рівняння.";
    CDialogInfo plain(*item, &parent);
    EXPECT_EQ(plain.text()->toPlainText(), "Виділіть рівняння.");
    EXPECT_EQ(plain.text()->textCursor().position(), 0);
    EXPECT_FALSE(plain.extendedButton()->isVisibleTo(&plain));
    EXPECT_FALSE(plain.extendedLabel()->isVisibleTo(&plain));
    EXPECT_EQ(plain.closeButton()->width(), plain.width());

    item->howToDoExtended = "more";
    CDialogInfo extended(*item, &parent);
    EXPECT_TRUE(extended.extendedButton()->isVisibleTo(&extended));
    EXPECT_LT(extended.closeButton()->width(), extended.width());
}

}  // namespace
}  // namespace pathmentor
