// The task statement layout: items, line breaking and arrangement measured
// with a fixed measurer (10 x 20 pixels per character), formula items on the
// formula control stand-in, and a picture of a statement with two live
// formulas on squared paper drawn by the real formula control.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/message_box.h"
#include "solvehost/formula_text_layout.h"
#include "solvehost/tests/test_component_ids.h"
#include "testsupport/temp_dir.h"

namespace solvehost {
namespace {

using namespace platform::com;

// Ten pixels wide and twenty high per character; counts its measurements.
class FixedMeasurer : public CTextMeasurer {
public:
    QSize TextExtent(const QString& text) override
    {
        ++calls;
        return {10 * static_cast<int>(text.size()), 20};
    }
    int calls = 0;
};

// The items as texts; a formula is "<f>".
std::vector<QString> itemsOf(const CFormulaTextLayout& layout)
{
    std::vector<QString> out;
    for (const auto* node = layout.Items().head; node; node = node->next)
        out.push_back(node->kind == LayoutItemKind::Text ? static_cast<CLayoutTextItem*>(node->item)->text
                                                         : QStringLiteral("<f>"));
    return out;
}

// The lines as lists of item texts (empty lines left out).
std::vector<std::vector<QString>> linesOf(const CFormulaTextLayout& layout)
{
    std::vector<std::vector<QString>> out;
    for (const CLayoutLine& line : layout.Lines()) {
        if (line.items.empty())
            continue;
        std::vector<QString> texts;
        for (const CLayoutEntry& entry : line.items)
            texts.push_back(entry.kind == LayoutItemKind::Text ? static_cast<CLayoutTextItem*>(entry.item)->text
                                                               : QStringLiteral("<f>"));
        out.push_back(texts);
    }
    return out;
}

const CLayoutTextItem* textItem(const CFormulaTextLayout& layout, const QString& text)
{
    for (const auto* node = layout.Items().head; node; node = node->next)
        if (node->kind == LayoutItemKind::Text && static_cast<CLayoutTextItem*>(node->item)->text == text)
            return static_cast<CLayoutTextItem*>(node->item);
    return nullptr;
}

CLayoutFormulaItem* formulaItem(const CFormulaTextLayout& layout, int nth = 0)
{
    for (const auto* node = layout.Items().head; node; node = node->next)
        if (node->kind == LayoutItemKind::Formula && nth-- == 0)
            return static_cast<CLayoutFormulaItem*>(node->item);
    return nullptr;
}

const QString S = QStringLiteral("  ");  // a space item

TEST(Layout, AddTextMakesWordSpaceAndBreakItems)
{
    struct Case {
        QString text;
        std::vector<QString> items;
    };
    const Case cases[] = {
        {"ab cd.", {"ab", S, "cd."}},
        {" ", {S}},
        {"ab", {"ab"}},
        {"a\nb", {"a", "\n", "b"}},
        {"\n", {"\n"}},
        {" a  b ", {S, "a", S, "b", S}},
        {"one\ntwo three", {"one", "\n", "two", S, "three"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        CFormulaTextLayout layout;
        EXPECT_TRUE(layout.AddText(c.text));
        EXPECT_EQ(itemsOf(layout), c.items);
        EXPECT_EQ(layout.Items().count, static_cast<int>(c.items.size()));
    }
    CFormulaTextLayout layout;
    EXPECT_FALSE(layout.AddText(""));
    EXPECT_EQ(layout.Items().count, 0);
}

TEST(Layout, SpaceAndPunctuationItems)
{
    for (const char* text : {" ", "  ", "\n"})
        EXPECT_TRUE(CFormulaTextLayout::IsSpaceItem(text)) << text;
    for (const char* text : {".", ",", ":", " ", "  ", "\n"})
        EXPECT_TRUE(CFormulaTextLayout::IsPunctuation(text)) << text;
    for (const char* text : {"a", ";", "   ", ".."}) {
        EXPECT_FALSE(CFormulaTextLayout::IsSpaceItem(text)) << text;
        EXPECT_FALSE(CFormulaTextLayout::IsPunctuation(text)) << text;
    }
}

TEST(Layout, AWordMovesWithItsStopAndLinesAreArranged)
{
    CFormulaTextLayout layout;
    layout.AddText("aaaaaa ");
    layout.AddText("bb");
    layout.AddText(".");
    FixedMeasurer measurer;
    EXPECT_EQ(layout.BreakLines(145, measurer, false), 55);
    EXPECT_EQ(linesOf(layout), (std::vector<std::vector<QString>>{{"aaaaaa", S}, {"bb", "."}}));
    const int measured = measurer.calls;
    EXPECT_EQ(layout.Arrange(145, measurer, 0, false), 60);
    const CLayoutTextItem* bb = textItem(layout, "bb");
    EXPECT_EQ(QRect(QPoint(bb->left, bb->top), QPoint(bb->right, bb->bottom)), QRect(QPoint(20, 35), QPoint(40, 55)));
    const CLayoutTextItem* first = textItem(layout, "aaaaaa");
    EXPECT_EQ(first->left, 20);
    EXPECT_EQ(first->top, 15);
    // The same width again measures nothing.
    EXPECT_EQ(measurer.calls, measured);
    // A top moves everything down.
    EXPECT_EQ(layout.Arrange(145, measurer, 100, false), 60);
    EXPECT_EQ(bb->top, 135);
}

TEST(Layout, LineBreakingEdges)
{
    struct Case {
        const char* name;
        std::vector<QString> texts;
        int width;
        std::vector<std::vector<QString>> lines;
    };
    const Case cases[] = {
        // 30 + 20 leave exactly 50: a word as wide as the room moves.
        {"as wide as the room", {"aaa ", "bbbbb"}, 140, {{"aaa", S}, {"bbbbb"}}},
        {"one pixel narrower", {"aaa ", "bbbbb"}, 141, {{"aaa", S, "bbbbb"}}},
        // The word and its stop fit a line: they move together.
        {"word and stop move", {"xxxxxxx ", "bb", "."}, 145, {{"xxxxxxx", S}, {"bb", "."}}},
        // Wider together than a whole line: the stop starts the next one.
        {"stop starts a line", {"aaaa", "."}, 90, {{"aaaa"}, {"."}}},
        {"line break", {"ab\ncd"}, 400, {{"ab"}, {"\n", "cd"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormulaTextLayout layout;
        for (const QString& text : c.texts)
            layout.AddText(text);
        FixedMeasurer measurer;
        layout.BreakLines(c.width, measurer, true);
        EXPECT_EQ(linesOf(layout), c.lines);
    }
}

TEST(Layout, ALeadingBlankTakesNoRoom)
{
    CFormulaTextLayout layout;
    layout.AddText(" ab\n cd");
    FixedMeasurer measurer;
    layout.Arrange(400, measurer, 0, true);
    EXPECT_EQ(textItem(layout, "ab")->left, 20);
    EXPECT_EQ(textItem(layout, "cd")->left, 20);
}

TEST(Layout, CentredLinesShiftRightByHalfTheirRoomAndNeverLeft)
{
    CFormulaTextLayout layout;
    layout.m_alignment = 2;
    layout.AddText("aaaaaaaa\nab");  // at width 100 the room is 60
    FixedMeasurer measurer;
    layout.Arrange(100, measurer, 0, true);
    // [] [aaaaaaaa] [line break, ab]
    ASSERT_EQ(layout.Lines().size(), 3u);
    EXPECT_EQ(layout.Lines()[1].indent, 0);
    EXPECT_EQ(textItem(layout, "aaaaaaaa")->left, 20);
    EXPECT_EQ(layout.Lines()[2].indent, 20);
    EXPECT_EQ(textItem(layout, "ab")->left, 40);

    // Kept lines keep their indents, measuring nothing.
    const int measured = measurer.calls;
    layout.Arrange(100, measurer, 0, false);
    EXPECT_EQ(layout.Lines()[1].indent, 0);
    EXPECT_EQ(layout.Lines()[2].indent, 20);
    EXPECT_EQ(textItem(layout, "ab")->left, 40);
    EXPECT_EQ(measurer.calls, measured);
    // A new width breaks again.
    layout.Arrange(200, measurer, 0, false);
    EXPECT_EQ(layout.Lines().back().indent, 70);
    EXPECT_GT(measurer.calls, measured);
}

TEST(Layout, RemovingAllItemsForgetsTheLines)
{
    CFormulaTextLayout layout;
    layout.AddText("some words here");
    FixedMeasurer measurer;
    layout.Arrange(300, measurer, 0, true);
    layout.RemoveAllItems();
    EXPECT_EQ(layout.Items().count, 0);
    EXPECT_EQ(layout.Items().head, nullptr);
    EXPECT_TRUE(layout.Lines().empty());
    // An unforced arrangement at the same width walks no freed item.
    EXPECT_EQ(layout.Arrange(300, measurer, 0, false), 20);
    // A new item needs a forced arrangement.
    layout.AddText("again");
    EXPECT_EQ(layout.Arrange(300, measurer, 0, false), 20);
    EXPECT_EQ(layout.Arrange(300, measurer, 0, true), 40);
    EXPECT_EQ(linesOf(layout), (std::vector<std::vector<QString>>{{"again"}}));
}

TEST(Layout, TheItemListMakesAndFreesNodes)
{
    CLayoutItemList list;
    CLayoutTextItem a("a"), b("b"), c("c");
    list.AddTail(LayoutItemKind::Text, &a);
    list.AddTail(LayoutItemKind::Text, &c);
    // An editor inserts between two nodes and links the new one itself.
    CLayoutItemList::Node* first = list.head;
    CLayoutItemList::Node* node = list.NewNode(first, first->next, LayoutItemKind::Text, &b);
    EXPECT_EQ(node->list, &list);
    first->next->prev = node;
    first->next = node;
    EXPECT_EQ(list.count, 3);
    std::vector<CLayoutItem*> order;
    for (auto* n = list.head; n; n = n->next)
        order.push_back(n->item);
    EXPECT_EQ(order, (std::vector<CLayoutItem*>{&a, &b, &c}));

    LayoutItemKind kind{};
    CLayoutItem* item = nullptr;
    ASSERT_TRUE(list.RemoveTail(&kind, &item));
    EXPECT_EQ(item, &c);
    EXPECT_EQ(kind, LayoutItemKind::Text);
    EXPECT_EQ(list.tail, node);
    EXPECT_EQ(node->next, nullptr);
    EXPECT_EQ(list.count, 2);
    list.FreeAll();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_FALSE(list.RemoveTail(&kind, &item));
}

// Formula items on the formula control stand-in: its GetOptimalSize answers
// 100 by 101.
class LayoutFormulas : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(registerLibrary(std::filesystem::absolute(TEST_COMPONENTS).lexically_normal().string()),
                  platform::S_OK);
        owner = std::make_unique<QWidget>();
        owner->resize(400, 300);
    }
    void TearDown() override
    {
        owner.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        testsupport::resetHives();
    }
    static std::string takeLog(CSymbrantCtrl* control)
    {
        DispatchDriver driver(ComPtr<IDispatch>(control->GetControl()));
        std::string log = driver.getProperty<std::string>(test::kDispLog);
        driver.invoke(test::kDispClearLog);
        return log;
    }

    std::unique_ptr<QWidget> owner;
};

TEST_F(LayoutFormulas, AFormulaItemIsAViewerControlInItsOwner)
{
    CLayoutFormulaItem item(owner.get(), 1234);
    ASSERT_TRUE(item.IsCreated());
    CSymbrantCtrl* control = item.GetControl();
    EXPECT_EQ(control->parentWidget(), owner.get());
    EXPECT_EQ(control->GetDlgCtrlID(), 1234);
    EXPECT_EQ(control->geometry(), QRect(QPoint(10, 10), QPoint(99, 99)));
    EXPECT_TRUE(control->isVisibleTo(owner.get()));
    EXPECT_EQ(takeLog(control), "M 20\n");

    CFormulaTextLayout layout;
    ASSERT_TRUE(layout.AddFormula("<math><mi>x</mi></math>", owner.get()));
    CLayoutFormulaItem* added = formulaItem(layout);
    EXPECT_EQ(added->GetControl()->GetDlgCtrlID(), CLayoutFormulaItem::kChildId);
    EXPECT_EQ(added->width, 100);
    EXPECT_EQ(added->height, 101);
    EXPECT_EQ(takeLog(added->GetControl()), "M 20\n"
                                            "M 20\n"
                                            "M 51 String \"<math><mi>x</mi></math>\"\n"
                                            "M 27 Ref I4 0 Ref I4 0\n"
                                            "P 1 UI4 16777215\n"
                                            "P 52 Bool 0\n");
}

TEST_F(LayoutFormulas, ArrangeMovesTheControlsOntoTheGrid)
{
    CFormulaTextLayout layout;
    layout.m_gridColor = 0x808080;
    layout.AddFormula("<math/>", owner.get());
    layout.AddText("ab");
    CSymbrantCtrl* control = formulaItem(layout)->GetControl();
    takeLog(control);
    FixedMeasurer measurer;
    EXPECT_EQ(layout.Arrange(400, measurer, 0, true), 20 + 101);
    EXPECT_EQ(control->geometry(), QRect(20, 15, 100, 101));
    EXPECT_EQ(takeLog(control), "M 33 I4 0 I4 5 I4 20 I4 20 Bool -1 Bool -1 I4 8421504\n");
    // The word sits on the same line, centred on it.
    EXPECT_EQ(textItem(layout, "ab")->left, 120);
    EXPECT_EQ(textItem(layout, "ab")->top, 10 + (10 + 101 - 20) / 2);

    layout.m_showGrid = false;
    layout.Arrange(400, measurer, 3, false);
    EXPECT_EQ(control->geometry(), QRect(20, 18, 100, 101));
    EXPECT_EQ(takeLog(control), "");
}

TEST_F(LayoutFormulas, AFormulaWiderThanItsRoomIsCutAndNeverBelowNothing)
{
    CFormulaTextLayout layout;
    layout.AddFormula("<math/>", owner.get());
    FixedMeasurer measurer;
    layout.Arrange(100, measurer, 0, true);  // room 60, right limit 80
    EXPECT_EQ(formulaItem(layout)->GetControl()->width(), 60);

    // It fits the room (50 + 30 < 100) but starts at x = 110, beyond the
    // right limit of 100.
    CFormulaTextLayout narrow;
    narrow.m_leftMargin = 60;
    narrow.m_rightMargin = 0;
    narrow.AddText("aaaaa");
    narrow.AddFormula("<math/>", owner.get());
    narrow.AddText("b");
    formulaItem(narrow)->width = 30;
    narrow.Arrange(160, measurer, 0, true);
    ASSERT_EQ(linesOf(narrow).size(), 1u);
    EXPECT_EQ(formulaItem(narrow)->GetControl()->x(), 110);
    EXPECT_EQ(formulaItem(narrow)->GetControl()->width(), 0);
    // A shown width of nothing moves the next word nowhere.
    EXPECT_EQ(textItem(narrow, "b")->left, 110);
}

TEST_F(LayoutFormulas, TextAndColoursReachEveryFormula)
{
    CFormulaTextLayout layout;
    layout.AddText("ab ");
    layout.AddFormula("<math/>", owner.get());
    layout.AddText("\n");
    layout.AddFormula("<math/>", owner.get());
    QString text;
    EXPECT_TRUE(layout.GetText(text));
    EXPECT_EQ(text, "ab <math/>\n<math/>");

    takeLog(formulaItem(layout, 0)->GetControl());
    takeLog(formulaItem(layout, 1)->GetControl());
    layout.SetBackColor(0x0000FF);
    EXPECT_EQ(takeLog(formulaItem(layout, 0)->GetControl()), "P 1 UI4 255\n");
    EXPECT_EQ(takeLog(formulaItem(layout, 1)->GetControl()), "P 1 UI4 255\n");
}

TEST_F(LayoutFormulas, ControlsGoWithTheirItemsOrWithTheirOwner)
{
    CFormulaTextLayout layout;
    layout.AddFormula("<math/>", owner.get());
    QPointer<CSymbrantCtrl> control = formulaItem(layout)->GetControl();
    layout.RemoveAllItems();
    EXPECT_TRUE(control.isNull());

    // The owner goes first: the item holds no control any more.
    layout.AddFormula("<math/>", owner.get());
    layout.AddText("x");
    owner.reset();
    EXPECT_EQ(formulaItem(layout)->GetControl(), nullptr);
    FixedMeasurer measurer;
    layout.Arrange(300, measurer, 0, true);
    QString text;
    layout.GetText(text);
    EXPECT_EQ(text, "x");
    layout.RemoveAllItems();
}

TEST(LayoutWithoutControls, AFormulaThatCannotBeMadeAddsNothing)
{
    testsupport::resetHives();
    QWidget owner;
    CFormulaTextLayout layout;
    EXPECT_FALSE(layout.AddFormula("<math/>", &owner));
    EXPECT_EQ(layout.Items().count, 0);
    EXPECT_TRUE(owner.findChildren<QWidget*>().isEmpty());
    CLayoutFormulaItem item(&owner, 5);
    EXPECT_FALSE(item.IsCreated());
}

#ifdef FORMAVEL_LIBRARY

// A statement on squared paper, drawn as an owner does: the paper, the
// words in their rectangles, and the formula controls placed by Arrange.
class StatementView : public QWidget {
public:
    StatementView()
    {
        setFont(QFont("Liberation Serif", 14));
        layout.m_gridColor = 0xC8C8C8;
    }
    int arrange(bool force)
    {
        CFontMetricsMeasurer measurer{QFontMetrics(font())};
        return layout.Arrange(width(), measurer, 0, force);
    }

    CFormulaTextLayout layout;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(QColor(0xC8, 0xC8, 0xC8));
        for (int x = 0; x < width(); x += layout.m_gridStep)
            painter.drawLine(x, 0, x, height());
        for (int y = 0; y < height(); y += layout.m_gridStep)
            painter.drawLine(0, y, width(), y);
        painter.setPen(Qt::black);
        for (const auto* node = layout.Items().head; node; node = node->next) {
            if (node->kind != LayoutItemKind::Text)
                continue;
            const auto* item = static_cast<const CLayoutTextItem*>(node->item);
            painter.drawText(QRect(QPoint(item->left, item->top), QPoint(item->right, item->bottom)),
                             Qt::AlignLeft | Qt::AlignVCenter, item->text);
        }
    }
};

TEST(LayoutPicture, AStatementWithTwoLiveFormulasOnSquaredPaper)
{
    testsupport::resetHives();
    ASSERT_EQ(registerLibrary(std::filesystem::absolute(FORMAVEL_LIBRARY).lexically_normal().string()),
              platform::S_OK);
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    {
        StatementView view;
        view.resize(360, 200);
        CFormulaTextLayout& layout = view.layout;
        layout.AddText("Solve the equation ");
        ASSERT_TRUE(layout.AddFormula("<math><mfrac><mi>x</mi><mn>2</mn></mfrac><mo>+</mo><mn>1</mn>"
                                      "<mo>=</mo><mn>5</mn></math>",
                                      &view));
        layout.AddText(" and check the answer by putting it into ");
        ASSERT_TRUE(layout.AddFormula("<math><msup><mi>x</mi><mn>2</mn></msup><mo>-</mo><mn>4</mn></math>",
                                      &view));
        layout.AddText(".\nWrite the steps.");
        layout.SetBackColor(0xFFFFFF);
        const int height = view.arrange(true);
        view.resize(360, height);
        view.arrange(false);
        view.show();
        QApplication::processEvents();
        const QImage picture = view.grab().toImage();
        picture.save("solvehost_statement.png");

        // Both formulas drawn: dark pixels inside each control.
        for (int i = 0; i < 2; ++i) {
            const QRect area = formulaItem(layout, i)->GetControl()->geometry();
            ASSERT_GT(area.width(), 0);
            int dark = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    dark += qGray(picture.pixel(x, y)) < 100 ? 1 : 0;
            EXPECT_GT(dark, 20) << "formula " << i;
        }
        QString text;
        layout.GetText(text);
        EXPECT_TRUE(text.startsWith("Solve the equation <math"));
        EXPECT_TRUE(text.endsWith(".\nWrite the steps."));
        layout.RemoveAllItems();
    }
    EXPECT_TRUE(messages.messages.empty());
    platform::setMessageRecorder(nullptr);
    testsupport::resetHives();
}

#endif

}  // namespace
}  // namespace solvehost
