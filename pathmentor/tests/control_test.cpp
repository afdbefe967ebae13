// The guide control as the hosts place it: Pathmentor.so, the real formula
// control and the graph control registered in the temporary machine hive,
// created through the solving-host wrapper, its events taken through the
// host's sink. The sample module's guides (staged install root): tabs,
// contents of every task type, groups and apply buttons pressed with the
// mouse, the recommended chapter, the properties and captions, two controls
// in one process. Screenshots: pathmentor_tabs.png, pathmentor_group.png,
// pathmentor_recommended.png, pathmentor_graph_page.png (a guide of the
// test's own), pathmentor_card_<chapter>.png.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/message_box.h"
#include "platform/xml.h"
#include "shared/widgets/flat_tab_ctrl.h"
#include "solvehost/pathmentor_ctrl.h"
#include "testsupport/temp_dir.h"

namespace {

using namespace solvehost;
namespace xml = platform::xml;

std::string absolute(const char* path)
{
    return std::filesystem::absolute(path).lexically_normal().string();
}

std::string stagePath(const std::string& relative)
{
    return std::string(STAGE_DIR) + "/" + relative;
}

const std::string kStepwellGuide = stagePath("modules/tessaly/lang/ua/guide/stepwell.xml");
const std::string kReckonryGuide = stagePath("modules/tessaly/lang/ua/reckonry/reckonry.xml");
const std::string kGuideLanguage = stagePath("kernel/data/lang/ua/guide.lng");

// The widgets of the guide, found by their names.
shared::CFlatTabCtrl* tabCtrl(QWidget* guide)
{
    return guide->findChild<shared::CFlatTabCtrl*>(QStringLiteral("101"));
}

QWidget* visibleChapter(QWidget* guide)
{
    for (QWidget* chapter : guide->findChildren<QWidget*>(QStringLiteral("chapter")))
        if (chapter->isVisible())
            return chapter;
    return nullptr;
}

QWidget* groupNamed(QWidget* chapter, const QString& name)
{
    for (QWidget* group : chapter->findChildren<QWidget*>(QStringLiteral("group")))
        if (group->windowTitle() == name)
            return group;
    return nullptr;
}

// Item pages that are children of a group, in stacking order.
std::vector<QWidget*> pagesOf(QWidget* group)
{
    std::vector<QWidget*> pages;
    for (QObject* child : group->children()) {
        auto* page = qobject_cast<QWidget*>(child);
        if (page && page->objectName().startsWith("page") && !page->isHidden())
            pages.push_back(page);
    }
    std::sort(pages.begin(), pages.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    return pages;
}

void clickAt(QWidget* widget, QPoint at)
{
    QWidget* target = widget->childAt(at);
    if (!target)
        target = widget;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(widget, at));
    QApplication::processEvents();
}

void clickTab(QWidget* guide, int index)
{
    shared::CFlatTabCtrl* tab = tabCtrl(guide);
    clickAt(tab, tab->GetItemRect(index).center());
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

class Guide : public ::testing::Test, public IGuideEventListener {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(platform::com::registerLibrary(absolute(PATHMENTOR_LIBRARY)), platform::S_OK);
        ASSERT_EQ(platform::com::registerLibrary(absolute(FORMAVEL_LIBRARY)), platform::S_OK);
        ASSERT_EQ(platform::com::registerLibrary(absolute(PLOTWISE_LIBRARY)), platform::S_OK);
        platform::setMessageRecorder(&messages);
    }
    void TearDown() override
    {
        sink.reset();
        guide.reset();
        parent.reset();
        flushDeletes();
        platform::setMessageRecorder(nullptr);
        testsupport::resetHives();
    }

    void place(int width = 420, int height = 560)
    {
        parent = std::make_unique<QWidget>();
        parent->resize(width, height);
        guide = std::make_unique<CPathmentorCtrl>();
        ASSERT_TRUE(guide->Create("guide", WS_CHILD | WS_VISIBLE, QRect(0, 0, width, height), parent.get(), 5));
        sink = std::make_unique<CPathmentorCtrlEvents>(this);
        sink->Advise(guide.get());
        ASSERT_TRUE(sink->IsConnected());
        parent->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get()));
    }
    QWidget* window() const { return guide->GetControlWindow(); }

    // Expands a group of the shown chapter by its title button and presses
    // the apply button of its first page that has one.
    QWidget* applyFirstIn(const QString& group)
    {
        QWidget* chapter = visibleChapter(window());
        QWidget* found = chapter ? groupNamed(chapter, group) : nullptr;
        if (!found)
            return nullptr;
        if (found->isHidden()) {
            for (QPushButton* title : chapter->findChildren<QPushButton*>(QStringLiteral("rollupTitle")))
                if (title->text() == group)
                    QTest::mouseClick(title, Qt::LeftButton);
            QApplication::processEvents();
        }
        for (QWidget* page : pagesOf(found)) {
            auto* apply = page->findChild<QPushButton*>(QStringLiteral("1004"));
            if (apply && !apply->isHidden()) {
                QTest::mouseClick(apply, Qt::LeftButton);
                return page;
            }
        }
        return nullptr;
    }

    void OnApplyingTransformationEx(std::uint32_t aplan, std::uint8_t trType, const std::string& action,
                                    VARIANT_BOOL needDialog, VARIANT_BOOL needAll, VARIANT_BOOL multi,
                                    std::uint8_t index, const std::string& params) override
    {
        events.push_back("ext " + std::to_string(aplan) + " " + std::to_string(trType) + " " + action + " " +
                         std::to_string(platform::com::isTrue(needDialog)) + std::to_string(platform::com::isTrue(needAll)) +
                         std::to_string(platform::com::isTrue(multi)) + " " + std::to_string(index) + " [" + params + "]");
    }
    void OnApplyingTransformation(std::uint32_t aplan, const std::string& action, const std::string& params) override
    {
        events.push_back("plain " + std::to_string(aplan) + " " + action + " [" + params + "]");
    }
    void OnShowExtendedHowTodo(const std::string& howToDo) override { events.push_back("howto " + howToDo); }

    platform::MessageRecorder messages;
    std::unique_ptr<QWidget> parent;
    std::unique_ptr<CPathmentorCtrl> guide;
    std::unique_ptr<CPathmentorCtrlEvents> sink;
    std::vector<std::string> events;
};

TEST_F(Guide, PropertiesDefaultsAndPersistence)
{
    platform::com::CLSID byProgId;
    ASSERT_EQ(platform::com::clsidFromProgId("PathmentorTessaly.PathmentorCtrlTessaly.2", &byProgId), platform::S_OK);
    EXPECT_EQ(byProgId, solvehost::pathmentor::CLSID_Pathmentor);
    place();
    EXPECT_EQ(guide->GetSendExtendedInformation(), 1);
    EXPECT_EQ(guide->GetShowExtendedTransformations(), 1);
    EXPECT_EQ(guide->GetLocked(), 0);
    EXPECT_EQ(guide->GetShowRecomendedChapter(), 0);
    EXPECT_EQ(guide->GetBarFrameColor(), 0x808080u);
    EXPECT_EQ(guide->GetGuideDocFile(), "");
    // Bytes are stored as 0 or 1.
    guide->SetLocked(7);
    EXPECT_EQ(guide->GetLocked(), 1);
    guide->SetSendExtendedInformation(0);
    EXPECT_EQ(guide->GetSendExtendedInformation(), 0);
    guide->SetShowRecomendedChapter(200);
    EXPECT_EQ(guide->GetShowRecomendedChapter(), 1);
    guide->SetGuideDocFile("/nowhere/guide.xml");
    EXPECT_EQ(guide->GetGuideDocFile(), "/nowhere/guide.xml");
    // No reload on setting the path; a guide that is not there loads nothing.
    EXPECT_EQ(tabCtrl(window())->GetItemCount(), 0);
    EXPECT_FALSE(guide->InitializeGuide());
    guide->SetGuideDocFile("");
    EXPECT_FALSE(guide->InitializeGuide());

    // The window made ForeColor equal to BackColor; the tab control takes the colours.
    guide->SetBackColor(0x0000FF);
    guide->SetForeColor(0x00FF00);
    guide->SetBarFrameColor(0xFF0000);
    EXPECT_EQ(tabCtrl(window())->GetBkColor(), QColor(255, 0, 0));
    EXPECT_EQ(tabCtrl(window())->GetSecondColor(), QColor(0, 255, 0));
    EXPECT_EQ(tabCtrl(window())->GetFrameColor(), QColor(0, 0, 255));

    // Persistence: the version and the two stock colours only.
    platform::com::ComPtr<platform::com::IPersistPropertyBag> persist;
    ASSERT_EQ(platform::com::ComPtr<platform::com::IDispatch>(guide->GetControl()).query(persist), platform::S_OK);
    platform::com::PropertyBag bag;
    ASSERT_EQ(persist->Save(bag), platform::S_OK);
    ASSERT_EQ(bag.entries().size(), 3u);
    EXPECT_EQ(bag.entries()[0].first, "Version");
    std::int32_t version = 0;
    EXPECT_TRUE(bag.read("Version", version));
    EXPECT_EQ(version, 0x10000);
    platform::com::OLE_COLOR back = 0;
    EXPECT_TRUE(bag.read("BackColor", back));
    EXPECT_EQ(back, 0x0000FFu);
}

TEST_F(Guide, InitializeBeforeTheWindowShowsWhenItIsMade)
{
    platform::com::ComPtr<platform::com::IDispatch> object;
    ASSERT_EQ(platform::com::createInstance(solvehost::pathmentor::CLSID_Pathmentor, object), platform::S_OK);
    platform::com::DispatchDriver driver(object);
    driver.setProperty(solvehost::pathmentor::disp::GuideDocFile, kStepwellGuide);
    EXPECT_FALSE(platform::com::isTrue(driver.invoke<VARIANT_BOOL>(solvehost::pathmentor::disp::InitializeGuide)));
    platform::com::ComPtr<platform::com::IControlWindow> control;
    ASSERT_EQ(object.query(control), platform::S_OK);
    QWidget host;
    host.resize(400, 500);
    QWidget* made = control->createWindow(&host);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(tabCtrl(made)->GetItemCount(), 7);
    EXPECT_EQ(tabCtrl(made)->GetItemText(0), "Вирази");
    object.reset();
    control.reset();
    flushDeletes();
}

TEST_F(Guide, StepwellGuideContentsTabsGroupsAndApply)
{
    place();
    EXPECT_TRUE(guide->ParseLanguageFile(kGuideLanguage));
    guide->SetShowRecomendedChapter(1);
    guide->SetGuideDocFile(kStepwellGuide);
    ASSERT_TRUE(guide->InitializeGuide());
    shared::CFlatTabCtrl* tab = tabCtrl(window());
    ASSERT_EQ(tab->GetItemCount(), 8);
    EXPECT_EQ(tab->GetItemText(0), "Обрані");
    // Pages sit under the tab row, one pixel in.
    QWidget* shown = visibleChapter(window());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->x(), 1);
    EXPECT_EQ(shown->y(), tab->GetItemRect(0).height() + 3);
    parent->resize(500, 600);
    guide->GetControlWindow()->resize(500, 600);
    QApplication::processEvents();
    EXPECT_EQ(shown->geometry(), QRect(1, tab->GetItemRect(0).height() + 3, 498, 600 - shown->y() - 1));

    // Every task type of the sample configuration.
    const xml::Document config = xml::Document::loadFile(stagePath("modules/tessaly/lang/ua/stepwellcfg.xml"));
    const auto types = xml::selectList(*config.root(), "/CONFIG/TASKTYPES/TASKTYPE");
    ASSERT_FALSE(types.empty());
    for (const xml::Node& type : types) {
        const std::string content = xml::selectSingle(type, "GUIDE")->xml();
        SCOPED_TRACE(content);
        ASSERT_TRUE(guide->InitializeGuideContent(content));
        EXPECT_TRUE(guide->InitializeGuideContent(content));  // the same again: nothing changes
        EXPECT_EQ(tab->GetItemText(0), "Обрані");
        EXPECT_GE(tab->GetItemCount(), 2);
        // The answers go to the recommended chapter's answers group.
        QWidget* answers = groupNamed(visibleChapter(window()), "Відповіді");
        ASSERT_NE(answers, nullptr);
        EXPECT_EQ(pagesOf(answers).size(), 2u);
    }
    EXPECT_TRUE(messages.messages.empty());

    // The linear task: the tab of linear equations, its first group opened,
    // an apply button pressed.
    ASSERT_TRUE(guide->InitializeGuideContent("<GUIDE version=\"1.0\" cch=\";1;2;\" answers=\"1371;1372;\"/>"));
    ASSERT_EQ(tab->GetItemCount(), 3);
    clickTab(window(), 2);
    EXPECT_EQ(tab->GetCurSel(), 2);
    QWidget* chapter = visibleChapter(window());
    ASSERT_NE(chapter, nullptr);
    EXPECT_EQ(chapter->findChild<QLabel*>("chapterTitle")->text(), "Лінійні рівняння");
    QWidget* page = applyFirstIn("Рівносильні перетворення рівняння");
    ASSERT_NE(page, nullptr);
    QApplication::processEvents();
    window()->grab().save(QStringLiteral(PATHMENTOR_PNG_DIR "/pathmentor_group.png"));
    // The title line and every group's title button show.
    EXPECT_TRUE(chapter->findChild<QLabel*>("chapterTitle")->isVisible());
    for (QPushButton* title : chapter->findChildren<QPushButton*>(QStringLiteral("rollupTitle")))
        EXPECT_TRUE(title->isVisible()) << title->text().toStdString();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], "ext 513 1 Додаємо до обох частин той самий вираз 100 0 []");

    // Locked: nothing; unlocked again: the event.
    guide->SetLocked(1);
    QTest::mouseClick(page->findChild<QPushButton*>("1004"), Qt::LeftButton);
    EXPECT_EQ(events.size(), 1u);
    guide->SetLocked(0);
    QTest::mouseClick(page->findChild<QPushButton*>("1004"), Qt::LeftButton);
    EXPECT_EQ(events.size(), 2u);

    // Without the extended transformations the current page is laid out
    // again with its formulas hidden (a formula page is then 35 high).
    guide->SetShowExtendedTransformations(0);
    QApplication::processEvents();
    EXPECT_EQ(page->height(), 35);
    guide->SetShowExtendedTransformations(1);
    QApplication::processEvents();
    EXPECT_GT(page->height(), 35);

    // The recommended chapter: sign 3 offers the own step first, sign 8 not.
    clickTab(window(), 1);
    EXPECT_TRUE(guide->FillRecomendedCommonChapter(3));
    EXPECT_EQ(tab->GetCurSel(), 0);
    QWidget* recommended = visibleChapter(window());
    QWidget* transformations = groupNamed(recommended, "Перетворення");
    ASSERT_NE(transformations, nullptr);
    std::vector<QWidget*> copies = pagesOf(transformations);
    ASSERT_FALSE(copies.empty());
    EXPECT_EQ(copies[0]->findChild<QLabel*>("1001")->text(), "Власний крок");
    // The same sign again rebuilds nothing, but brings the chapter back.
    clickTab(window(), 2);
    EXPECT_TRUE(guide->FillRecomendedCommonChapter(3));
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_EQ(pagesOf(transformations), copies);
    // Chapters in the back colour, item pages in the fore colour.
    guide->SetBackColor(0xFCE9EC);
    guide->SetForeColor(0xF2DCCD);
    QApplication::processEvents();
    const QImage colours = window()->grab().toImage();
    const QPoint inPage = copies[0]->mapTo(window(), QPoint(copies[0]->width() / 2, 3));
    EXPECT_EQ(colours.pixelColor(inPage), QColor(205, 220, 242));
    const QPoint inChapter = recommended->mapTo(window(), QPoint(recommended->width() / 2, recommended->height() - 5));
    EXPECT_EQ(colours.pixelColor(inChapter), QColor(236, 233, 252));
    window()->grab().save(QStringLiteral(PATHMENTOR_PNG_DIR "/pathmentor_recommended.png"));

    EXPECT_TRUE(guide->FillRecomendedCommonChapter(8));
    flushDeletes();
    for (QWidget* copy : pagesOf(transformations))
        EXPECT_NE(copy->findChild<QLabel*>("1001")->text(), "Власний крок");
    EXPECT_TRUE(guide->ReleaseRecomendedCommonChapter());
    flushDeletes();
    EXPECT_TRUE(pagesOf(transformations).empty());
    EXPECT_EQ(transformations->height(), 0);

    // Chapters without the own step: the message, the rest still filled.
    ASSERT_TRUE(guide->InitializeGuideContent("<GUIDE version=\"1.0\" cch=\";9;\" answers=\"\"/>"));
    EXPECT_TRUE(guide->FillRecomendedCommonChapter(3));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Error fill of the recomending common chapter");
}

TEST_F(Guide, HowToDoDialogAsksForTheExtendedHelp)
{
    place();
    guide->SetGuideDocFile(kStepwellGuide);
    ASSERT_TRUE(guide->InitializeGuide());
    ASSERT_TRUE(guide->InitializeGuideContent("<GUIDE version=\"1.0\" cch=\";3;\" answers=\"\"/>"));
    QWidget* chapter = visibleChapter(window());
    QPushButton* title = chapter->findChild<QPushButton*>(QStringLiteral("rollupTitle"));
    QTest::mouseClick(title, Qt::LeftButton);
    QApplication::processEvents();
    // The item that has extended help.
    QPushButton* howto = nullptr;
    for (QLabel* label : chapter->findChildren<QLabel*>(QStringLiteral("1001")))
        if (label->text() == QStringLiteral("Розв'язати квадратне рівняння") && label->isVisible())
            howto = label->parentWidget()->findChild<QPushButton*>(QStringLiteral("1002"));
    ASSERT_NE(howto, nullptr);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        EXPECT_EQ(dialog->parentWidget(), parent.get());
        dialog->grab().save(QStringLiteral(PATHMENTOR_PNG_DIR "/pathmentor_dialog.png"));
        auto* more = dialog->findChild<QPushButton*>(QStringLiteral("203"));
        if (more && more->isVisible())
            QTest::mouseClick(more, Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1006")), Qt::LeftButton);
    });
    QTest::mouseClick(howto, Qt::LeftButton);
    EXPECT_TRUE(seen);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], "howto quadratic");
}

// A graph item's page inside the control draws its curve (in red). A graph
// card draws one fixed curve, which fits no task type of the sample module,
// so the guide is one of the test's own.
TEST_F(Guide, GraphPageDrawsItsCurve)
{
    testsupport::TempDir dir;
    dir.write("guide.xml", "<guide version=\"1\" basepath=\"./\"><cchfile fileName=\"graph\"/></guide>");
    dir.write("graph.xcch",
              "<CCH id=\"1\" guid=\"c1\"><GCH guid=\"g1\"><TR guid=\"t1\" view=\"2\" type=\"1\" needDialog=\"0\" "
              "needAllExpr=\"0\" aplan=\"107\"><GRAPH>&lt;gr:task xmlns:gr=\"urn:pelmarin:tessaly:graph\" "
              "abscissName=\"x\" ordinateName=\"y\" abscissScale=\"20.000000\" ordinateScale=\"20.000000\" "
              "gridColor=\"12632256\" clientOriginPointX=\"90\" clientOriginPointY=\"100\" gridWidth=\"1\" "
              "showGrid=\"1\"&gt;&lt;gr:quadricConstr color=\"255\" lineWidth=\"2\" name=\"y=x^2-2x-3\" "
              "showName=\"1\" visible=\"1\" useInterval=\"0\" A=\"1.000000\" B=\"-2.000000\" C=\"-3.000000\"/&gt;"
              "&lt;/gr:task&gt;</GRAPH></TR></GCH></CCH>");
    dir.write("graph.xccl",
              "<CCH name=\"Графіки\" tabname=\"Графіки\"><GCH guid=\"g1\" name=\"Парабола\"><TR guid=\"t1\" "
              "name=\"Корені рівняння x²−2x−3=0\" action=\"Розв'язуємо рівняння\" howtodo=\"Виділіть рівняння.\" "
              "mathexpl=\"Парабола y=x²−2x−3 перетинає вісь абсцис у точках x=−1 і x=3.\"/></GCH></CCH>");
    place();
    guide->SetGuideDocFile(dir.path() + "guide.xml");
    ASSERT_TRUE(guide->InitializeGuide());
    ASSERT_TRUE(guide->InitializeGuideContent("<GUIDE version=\"1.0\" cch=\";1;\" answers=\"\"/>"));
    QWidget* chapter = visibleChapter(window());
    ASSERT_NE(chapter, nullptr);
    QTest::mouseClick(chapter->findChild<QPushButton*>(QStringLiteral("rollupTitle")), Qt::LeftButton);
    QApplication::processEvents();
    QWidget* graph = chapter->findChild<QWidget*>(QStringLiteral("Graph"));
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(graph->isVisible());
    const QImage drawn = graph->grab().toImage();
    int red = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QColor c = drawn.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(red, 50);
    graph->parentWidget()->grab().save(QStringLiteral(PATHMENTOR_PNG_DIR "/pathmentor_graph_page.png"));
    EXPECT_TRUE(messages.messages.empty());
}

// The sample guide's cards of rules with cases, at the guide's width in
// Stepwell: every formula of the page is drawn whole inside its window (ink
// away from its right edge). Screenshots: pathmentor_card_<chapter>.png.
TEST_F(Guide, RuleCardsAreDrawnWhole)
{
    place(350, 560);
    guide->SetGuideDocFile(kStepwellGuide);
    ASSERT_TRUE(guide->InitializeGuide());
    struct Card {
        int chapter;
        QString group, item;
        std::size_t formulas;
    };
    const std::vector<Card> cards = {
        {3, "Розв'язування квадратного рівняння", "Розв'язати квадратне рівняння", 2},
        {4, "Розв'язування дробового рівняння", "Розв'язати квадратне рівняння", 2},
        {6, "Рівносильні перетворення нерівності", "Помножити обидві частини нерівності на число", 2},
    };
    for (const Card& card : cards) {
        SCOPED_TRACE(card.chapter);
        const std::string chapters = ";" + std::to_string(card.chapter) + ";";
        ASSERT_TRUE(guide->InitializeGuideContent("<GUIDE version=\"1.0\" cch=\"" + chapters + "\" answers=\"\"/>"));
        flushDeletes();
        QWidget* chapter = visibleChapter(window());
        ASSERT_NE(chapter, nullptr);
        QWidget* group = groupNamed(chapter, card.group);
        ASSERT_NE(group, nullptr);
        if (group->isHidden())
            for (QPushButton* title : chapter->findChildren<QPushButton*>(QStringLiteral("rollupTitle")))
                if (title->text() == card.group)
                    QTest::mouseClick(title, Qt::LeftButton);
        QApplication::processEvents();
        QWidget* page = nullptr;
        for (QWidget* candidate : pagesOf(group))
            if (candidate->findChild<QLabel*>(QStringLiteral("1001"))->text() == card.item)
                page = candidate;
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(page->isVisible());
        // The formula windows: the page's own children other than its title,
        // buttons and radio buttons.
        std::vector<QWidget*> formulas;
        for (QObject* child : page->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget && widget->isVisible() && !qobject_cast<QLabel*>(widget) &&
                !qobject_cast<QAbstractButton*>(widget))
                formulas.push_back(widget);
        }
        ASSERT_EQ(formulas.size(), card.formulas);
        for (QWidget* formula : formulas) {
            const QImage image = formula->grab().toImage();
            const QColor paper = image.pixelColor(image.width() - 1, 0);
            int right = -1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixelColor(x, y) != paper)
                        right = std::max(right, x);
            EXPECT_GT(right, 40);
            EXPECT_LT(right, image.width() - 3);
            EXPECT_LE(formula->geometry().right(), page->width());
        }
        page->grab().save(QStringLiteral(PATHMENTOR_PNG_DIR "/pathmentor_card_%1.png").arg(card.chapter));
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Guide, ApplyFromInsideTheEventMayReleaseTheGuide)
{
    place();
    guide->SetShowRecomendedChapter(1);
    guide->SetGuideDocFile(kStepwellGuide);
    ASSERT_TRUE(guide->InitializeGuide());
    ASSERT_TRUE(guide->InitializeGuideContent("<GUIDE version=\"1.0\" cch=\";1;2;\" answers=\"1371;1372;\"/>"));
    ASSERT_TRUE(guide->FillRecomendedCommonChapter(9));
    struct Releasing : IGuideEventListener {
        CPathmentorCtrl* guide = nullptr;
        int calls = 0;
        void OnApplyingTransformationEx(std::uint32_t, std::uint8_t, const std::string&, VARIANT_BOOL, VARIANT_BOOL,
                                        VARIANT_BOOL, std::uint8_t, const std::string&) override
        {
            ++calls;
            guide->ReleaseRecomendedCommonChapter();
            guide->InitializeGuideContent("<GUIDE version=\"1.0\" cch=\";2;\" answers=\"1371;\"/>");
        }
        void OnApplyingTransformation(std::uint32_t, const std::string&, const std::string&) override {}
        void OnShowExtendedHowTodo(const std::string&) override {}
    } listener;
    listener.guide = guide.get();
    sink = std::make_unique<CPathmentorCtrlEvents>(&listener);
    sink->Advise(guide.get());
    QWidget* page = applyFirstIn("Перетворення");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(listener.calls, 1);
    flushDeletes();
    EXPECT_EQ(tabCtrl(window())->GetItemCount(), 2);
}

TEST_F(Guide, ReckonryGuideFiresThePlainEvent)
{
    place();
    guide->SetSendExtendedInformation(0);
    guide->SetGuideDocFile(kReckonryGuide);
    ASSERT_TRUE(guide->InitializeGuide());
    QWidget* chapter = visibleChapter(window());
    ASSERT_NE(chapter, nullptr);
    const auto groups = chapter->findChildren<QWidget*>(QStringLiteral("group"));
    ASSERT_FALSE(groups.empty());
    QWidget* page = applyFirstIn(groups.front()->windowTitle());
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].rfind("plain ", 0), 0u) << events[0];
    EXPECT_EQ(events[0].substr(events[0].size() - 3), " []");

    // No recommended chapter: Fill and Release change nothing and answer
    // TRUE; a content chooses the chapters and offers no answers.
    shared::CFlatTabCtrl* tab = tabCtrl(window());
    const int tabs = tab->GetItemCount();
    EXPECT_TRUE(guide->FillRecomendedCommonChapter(3));
    EXPECT_TRUE(guide->ReleaseRecomendedCommonChapter());
    EXPECT_EQ(tab->GetItemCount(), tabs);
    EXPECT_TRUE(guide->InitializeGuideContent("<GUIDE version=\"1.0\" cch=\";12345;\" answers=\"5351;\"/>"));
    EXPECT_EQ(tab->GetItemCount(), 0);
    EXPECT_EQ(visibleChapter(window()), nullptr);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Guide, CaptionsFromKeysAndDefaults)
{
    place();
    guide->SetShowRecomendedChapter(1);
    guide->SetGuideDocFile(kStepwellGuide);
    // Without a language file every caption takes its default.
    EXPECT_FALSE(guide->ParseLanguageFile("/nowhere/guide.lng"));
    ASSERT_TRUE(guide->InitializeGuide());
    EXPECT_EQ(tabCtrl(window())->GetItemText(0), "Обрані");
    // Keys from a file of the test's own.
    testsupport::TempDir dir;
    const std::string lng = dir.path() + "own.lng";
    {
        std::FILE* file = std::fopen(lng.c_str(), "w");
        std::fputs("<lang><item key=\"collapseAll\" val=\"Hide all\"/><item key=\"favourites\" val=\"Chosen\"/>"
                   "<item key=\"transformations\" val=\"Steps\"/><item key=\"answers\" val=\"Answers\"/>"
                   "<item key=\"apply\" val=\"Do it\"/></lang>",
                   file);
        std::fclose(file);
    }
    EXPECT_TRUE(guide->ParseLanguageFile(lng));
    ASSERT_TRUE(guide->InitializeGuide());
    flushDeletes();  // the first load's windows
    EXPECT_EQ(tabCtrl(window())->GetItemText(0), "Chosen");
    QWidget* recommended = visibleChapter(window());
    EXPECT_NE(groupNamed(recommended, "Steps"), nullptr);
    EXPECT_NE(groupNamed(recommended, "Answers"), nullptr);
    // Apply buttons carry the key's tooltip.
    const auto applies = window()->findChildren<QPushButton*>(QStringLiteral("1004"));
    ASSERT_FALSE(applies.empty());
    EXPECT_EQ(applies.front()->toolTip(), "Do it");
}

TEST_F(Guide, TwoControlsShareFlagsAndOutliveEachOther)
{
    for (int first = 0; first < 2; ++first) {
        SCOPED_TRACE(first);
        QWidget host;
        host.resize(800, 500);
        auto one = std::make_unique<CPathmentorCtrl>();
        auto two = std::make_unique<CPathmentorCtrl>();
        ASSERT_TRUE(one->Create("one", WS_CHILD | WS_VISIBLE, QRect(0, 0, 400, 500), &host, 1));
        ASSERT_TRUE(two->Create("two", WS_CHILD | WS_VISIBLE, QRect(400, 0, 400, 500), &host, 2));
        CPathmentorCtrlEvents sinkOne(this);
        CPathmentorCtrlEvents sinkTwo(this);
        sinkOne.Advise(one.get());
        sinkTwo.Advise(two.get());
        for (CPathmentorCtrl* control : {one.get(), two.get()}) {
            control->SetGuideDocFile(kReckonryGuide);
            ASSERT_TRUE(control->InitializeGuide());
        }
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        one->SetShowExtendedTransformations(0);
        EXPECT_EQ(two->GetShowExtendedTransformations(), 0);
        two->SetShowExtendedTransformations(1);
        EXPECT_EQ(one->GetShowExtendedTransformations(), 1);

        // Destroy one; the other still applies, and a click makes it active.
        std::unique_ptr<CPathmentorCtrl>& gone = first == 0 ? one : two;
        std::unique_ptr<CPathmentorCtrl>& kept = first == 0 ? two : one;
        (first == 0 ? sinkOne : sinkTwo).Unadvise();
        kept->SetBackColor(0xFCE9EC);
        gone.reset();
        flushDeletes();
        events.clear();
        QWidget* keptWindow = kept->GetControlWindow();
        QWidget* chapter = visibleChapter(keptWindow);
        ASSERT_NE(chapter, nullptr);
        // The shared context outlived the other control: the back colour stays.
        const QImage picture = chapter->grab().toImage();
        EXPECT_EQ(picture.pixelColor(chapter->width() / 2, chapter->height() - 3), QColor(236, 233, 252));
        QPushButton* title = chapter->findChild<QPushButton*>(QStringLiteral("rollupTitle"));
        QTest::mouseClick(title, Qt::LeftButton);
        QApplication::processEvents();
        QPushButton* apply = nullptr;
        for (QPushButton* button : keptWindow->findChildren<QPushButton*>(QStringLiteral("1004")))
            if (button->isVisible()) {
                apply = button;
                break;
            }
        ASSERT_NE(apply, nullptr);
        QTest::mouseClick(apply, Qt::LeftButton);
        EXPECT_EQ(events.size(), 1u);
        EXPECT_EQ(tabCtrl(keptWindow)->GetItemCount() > 0, true);
        kept.reset();
        flushDeletes();
    }
}

}  // namespace
