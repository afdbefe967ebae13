// Flat tab controls: colour rules of the colour tabs, drawing modes, the
// style word at creation, captions of owner-drawn tabs, scrolling an
// overflowing row with the spin, and screenshots of both controls.
#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "platform/sys_colors.h"
#include "shared/widgets/flat_spin_button.h"
#include "shared/widgets/flat_tab_ctrl.h"

namespace shared {
namespace {

const QColor kItemColour(224, 223, 227);
const QColor kThemeBackground(205, 220, 242);  // palette colour 1

class FlatTabs : public ::testing::Test {
protected:
    void TearDown() override { SetFlatTabStyleFlags(false, 0); }
};

QColor buttonFace()
{
    return platform::sysColor(platform::COLOR_BTNFACE);
}

int pixelsNear(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 0)
{
    int count = 0;
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y) {
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            count += std::abs(pixel.red() - colour.red()) <= tolerance &&
                             std::abs(pixel.green() - colour.green()) <= tolerance &&
                             std::abs(pixel.blue() - colour.blue()) <= tolerance
                         ? 1
                         : 0;
        }
    }
    return count;
}

TEST_F(FlatTabs, ColourTabRulesOverTheStyleWord)
{
    const QColor face = buttonFace();
    const QColor text = platform::sysColor(platform::COLOR_WINDOWTEXT);
    const QColor halfFace = CColorTabCtrl::Darken(face, 0.5);
    const QColor halfBackground(102, 110, 121);
    const struct {
        unsigned word;
        bool selected;
        QColor tab;
        QColor caption;
    } rows[] = {
        {0, false, kItemColour, halfFace},
        {0, true, face, text},
        {1, false, kItemColour, halfBackground},
        {1, true, face, text},
        {2, false, kItemColour, halfBackground},
        {2, true, face, text},
        {4, false, kItemColour, halfFace},
        {4, true, kItemColour, text},
        {14, false, kItemColour, halfBackground},
        {14, true, kItemColour, text},
        {17, false, kItemColour, halfBackground},
        {17, true, face, text},
    };
    QWidget dialog;
    CColorTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(0x10000000, QRect(0, 0, 200, 100), &dialog, 1013));
    tabs.SetBkColor(kThemeBackground);
    EXPECT_EQ(tabs.GetTabFont().family(), "Liberation Sans");
    EXPECT_EQ(tabs.GetTabFont().pixelSize(), 14);
    EXPECT_EQ(tabs.GetTabFont().weight(), QFont::Bold);
    for (const auto& row : rows) {
        SetFlatTabStyleFlags(true, row.word);
        EXPECT_EQ(tabs.GetTabColor(row.selected), row.tab) << row.word << " " << row.selected;
        EXPECT_EQ(tabs.GetTabTextColor(row.selected), row.caption) << row.word << " " << row.selected;
    }
    // The plain flat control: its second colour when set, else the face.
    CFlatTabCtrl flat(2);
    EXPECT_EQ(flat.GetBkColor(), face);  // -1: the button face
    flat.SetBkColor(kThemeBackground);
    EXPECT_EQ(flat.GetBkColor(), kThemeBackground);
    flat.SetBkColor(QColor());
    EXPECT_EQ(flat.GetBkColor(), face);
    EXPECT_EQ(flat.GetTabColor(false), face);
    flat.SetSecondColor(QColor(236, 233, 252));
    EXPECT_EQ(flat.GetTabColor(true), QColor(236, 233, 252));
    EXPECT_EQ(flat.GetTabTextColor(false), text);
}

TEST_F(FlatTabs, DarkenAndLightenClamp)
{
    const QColor colour(200, 100, 51);
    const struct {
        bool darken;
        double factor;
        QColor expected;
    } rows[] = {
        {true, 0.5, QColor(100, 50, 25)},
        {true, 0.75, QColor(150, 75, 38)},
        {true, 1.5, colour},           // at most 1
        {true, -1.0, QColor(0, 0, 0)},  // at least 0
        {false, 1.5, QColor(255, 150, 76)},
        {false, 0.5, colour},  // below 1 counts as 1
        {false, 3.0, QColor(255, 255, 153)},
    };
    for (const auto& row : rows) {
        const QColor result =
            row.darken ? CColorTabCtrl::Darken(colour, row.factor) : CColorTabCtrl::Lighten(colour, row.factor);
        EXPECT_EQ(result, row.expected) << row.darken << " " << row.factor;
    }
}

TEST_F(FlatTabs, MeasureTextKeepsOneLineWithinTheWidth)
{
    const QFontMetrics metrics(QFont(QStringLiteral("Liberation Sans"), 10));
    QString shown;
    const QSize whole = CColorTabCtrl::MeasureText(metrics, QStringLiteral("Бібліотека"), 500, &shown);
    EXPECT_EQ(shown, QStringLiteral("Бібліотека"));
    EXPECT_EQ(whole, QSize(metrics.horizontalAdvance(shown), metrics.height()));
    const QSize cut = CColorTabCtrl::MeasureText(metrics, QStringLiteral("Бібліотека уроків"), 60, &shown);
    EXPECT_LE(cut.width(), 60);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
}

TEST_F(FlatTabs, DrawModeOutsideTheRangeChangesNothing)
{
    CFlatTabCtrl tabs(2);
    EXPECT_TRUE(tabs.IsOwnerDrawn());
    EXPECT_FALSE(tabs.SetDrawMode(3));
    EXPECT_FALSE(tabs.SetDrawMode(-1));
    EXPECT_EQ(tabs.GetDrawMode(), 2);
    EXPECT_TRUE(tabs.IsOwnerDrawn());
    EXPECT_TRUE(tabs.SetDrawMode(0));
    EXPECT_FALSE(tabs.IsOwnerDrawn());
    EXPECT_TRUE(tabs.SetDrawMode(1));
    EXPECT_TRUE(tabs.IsOwnerDrawn());
}

TEST_F(FlatTabs, StyleWordAtCreationMakesTabsOwnerDrawn)
{
    CFlatTabCtrl before(0);
    SetFlatTabStyleFlags(true, 14);
    EXPECT_EQ(GetFlatTabStyleFlags(), 14u);
    CFlatTabCtrl during(0);
    QWidget dialog;
    CColorTabCtrl colour;
    ASSERT_TRUE(colour.Create(0x10000000, QRect(0, 0, 100, 50), &dialog, 1013));
    SetFlatTabStyleFlags(false, 14);
    EXPECT_EQ(GetFlatTabStyleFlags(), 0u);
    CFlatTabCtrl after(0);
    EXPECT_FALSE(before.IsOwnerDrawn());
    EXPECT_TRUE(during.IsOwnerDrawn());  // keeps its look
    EXPECT_TRUE(colour.IsOwnerDrawn());
    EXPECT_FALSE(after.IsOwnerDrawn());
}

TEST_F(FlatTabs, ItemsDataAndSelection)
{
    CFlatTabCtrl tabs(0);
    tabs.resize(300, 150);
    int chapters[3] = {};
    EXPECT_EQ(tabs.GetCurSel(), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(tabs.InsertItem(i, QStringLiteral("Розділ %1").arg(i + 1), &chapters[i]), i);
    EXPECT_EQ(tabs.GetItemCount(), 3);
    EXPECT_EQ(tabs.GetCurSel(), 0);
    EXPECT_EQ(tabs.GetItemData(2), &chapters[2]);
    EXPECT_EQ(tabs.GetItemData(3), nullptr);
    tabs.show();
    QSignalSpy changes(&tabs, &CFlatTabCtrl::selChange);
    EXPECT_EQ(tabs.SetCurSel(1), 0);
    EXPECT_EQ(tabs.SetCurSel(7), -1);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_EQ(changes.count(), 0);  // only the user's choice is reported
    auto* bar = tabs.findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->mapFrom(&tabs, tabs.GetItemRect(2).center()));
    EXPECT_EQ(tabs.GetCurSel(), 2);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), 2);
    const QRect page = tabs.GetPageRect();
    EXPECT_GT(page.top(), tabs.GetItemRect(0).top());
    EXPECT_GE(page.top(), tabs.GetItemRect(0).bottom());
    EXPECT_TRUE(tabs.rect().contains(page));
    EXPECT_TRUE(tabs.DeleteItem(0));
    EXPECT_EQ(tabs.GetItemData(0), &chapters[1]);
    EXPECT_FALSE(tabs.DeleteItem(5));
}

TEST_F(FlatTabs, OwnerDrawnModeTwoShowsItsCaptions)
{
    CFlatTabCtrl tabs(2);
    tabs.resize(300, 120);
    tabs.SetBkColor(kThemeBackground);
    tabs.SetSecondColor(Qt::white);
    tabs.InsertItem(0, QStringLiteral("Дроби"));
    tabs.InsertItem(1, QStringLiteral("Степені"));
    tabs.show();
    const QImage shot = tabs.grab().toImage();
    for (int i = 0; i < 2; ++i) {
        const QRect item = tabs.GetItemRect(i).adjusted(2, 3, -2, -2);
        EXPECT_GT(pixelsNear(shot, item, Qt::white), 10) << i;                  // the tab colour
        EXPECT_GT(pixelsNear(shot, item, tabs.GetTabTextColor(false), 60), 5) << i;  // its caption
    }
}

TEST_F(FlatTabs, TooManyTabsScrollWithTheSpin)
{
    CFlatTabCtrl tabs(0);
    tabs.resize(220, 100);
    for (int i = 0; i < 10; ++i)
        tabs.InsertItem(i, QStringLiteral("Завдання %1").arg(i + 1));
    tabs.show();
    CFlatSpinButton* spin = tabs.spinButton();
    ASSERT_TRUE(spin->isVisible());
    EXPECT_EQ(tabs.GetItemRect(0).left(), 0);
    QTest::mouseClick(spin, Qt::LeftButton, {}, spin->upRect().center());
    EXPECT_EQ(tabs.GetFirstVisible(), 1);
    EXPECT_EQ(tabs.GetItemRect(1).left(), 0);
    EXPECT_LT(tabs.GetItemRect(0).right(), 0);
    QTest::mouseClick(spin, Qt::LeftButton, {}, spin->upRect().center());
    QTest::mouseClick(spin, Qt::LeftButton, {}, spin->downRect().center());
    EXPECT_EQ(tabs.GetFirstVisible(), 1);
    // Room for every tab: no spin.
    tabs.resize(2000, 100);
    EXPECT_FALSE(spin->isVisible());
    EXPECT_EQ(tabs.GetItemRect(0).left(), 0);
}

QImage shotOf(QWidget& widget)
{
    widget.show();
    return widget.grab().toImage();
}

TEST_F(FlatTabs, Screenshots)
{
    std::vector<QImage> shots;
    const auto fill = [](CFlatTabCtrl& tabs, int count) {
        tabs.resize(340, 110);
        for (int i = 0; i < count; ++i)
            tabs.InsertItem(i, QStringLiteral("Розділ %1").arg(i + 1));
        tabs.SetCurSel(1);
    };
    {
        CFlatTabCtrl styled(0);
        fill(styled, 3);
        shots.push_back(shotOf(styled));
    }
    {
        CFlatTabCtrl plain(2);
        fill(plain, 3);
        shots.push_back(shotOf(plain));
    }
    {
        SetFlatTabStyleFlags(true, 14);
        CFlatTabCtrl guide(2);
        fill(guide, 3);
        guide.SetBkColor(kThemeBackground);
        guide.SetSecondColor(QColor(236, 233, 252));
        guide.SetFrameColor(QColor(128, 128, 128));
        shots.push_back(shotOf(guide));
        SetFlatTabStyleFlags(false, 0);
    }
    for (const unsigned word : {0u, 14u, 8u | 14u}) {
        SetFlatTabStyleFlags(true, word);
        QWidget dialog;
        dialog.resize(340, 110);
        CColorTabCtrl colour;
        ASSERT_TRUE(colour.Create(0x10000000, QRect(0, 0, 340, 110), &dialog, 1013));
        colour.InsertItem(0, QStringLiteral("Бібліотека"));
        colour.InsertItem(1, QStringLiteral("Уроки"));
        colour.SetDrawMode(2);
        colour.SetBkColor(kThemeBackground);
        auto* tree = new QTreeWidget(&colour);
        tree->setHeaderHidden(true);
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList(QStringLiteral("Алгебра 7"))));
        tree->setGeometry(colour.GetPageRect());
        shots.push_back(shotOf(dialog));
        SetFlatTabStyleFlags(false, 0);
    }
    {
        CFlatTabCtrl many(2);
        fill(many, 9);
        many.SetSecondColor(Qt::white);
        many.SetFrameColor(QColor(128, 128, 128));
        QTest::mouseClick(many.spinButton(), Qt::LeftButton, {}, many.spinButton()->upRect().center());
        shots.push_back(shotOf(many));
    }
    int height = 0;
    for (const QImage& shot : shots)
        height += shot.height() + 6;
    QImage sheet(340, height, QImage::Format_RGB32);
    sheet.fill(Qt::darkGray);
    QPainter painter(&sheet);
    int y = 0;
    for (const QImage& shot : shots) {
        painter.drawImage(0, y, shot);
        y += shot.height() + 6;
    }
    painter.end();
    ASSERT_TRUE(sheet.save(QStringLiteral(FURNITURE_PNG_DIR "/furniture_tabs.png")));
    ASSERT_TRUE(shots[2].copy(0, 0, 220, 40).scaled(880, 160).save(QStringLiteral(FURNITURE_PNG_DIR "/furniture_tabs_guide_zoom.png")));
}

}  // namespace
}  // namespace shared
