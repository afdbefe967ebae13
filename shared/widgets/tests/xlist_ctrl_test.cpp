// The report list set up as the pupil list sets it up: check-box columns
// with header check boxes, greyed and disabled rows, combo cells with their
// drop-down list, progress cells, failure values, and the cell pixels.
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/sys_colors.h"
#include "shared/widgets/image_list.h"
#include "shared/widgets/xheader_ctrl.h"
#include "shared/widgets/xlist_ctrl.h"

namespace shared {
namespace {

// A pupil list: an empty check-box column 0, text columns, a check-box
// column 5 with a header check box, extended style 45.
struct PupilList {
    CXListCtrl list;
    CImageList headerImages;
    QStringList events;

    explicit PupilList(int rows = 3)
    {
        list.resize(560, 200);
        const struct {
            const char* heading;
            int width;
            XListAlign align;
        } columns[] = {{"", 50, XListAlign::Left},     {"Name", 120, XListAlign::Left},
                       {"Class", 60, XListAlign::Center}, {"Address", 90, XListAlign::Left},
                       {"State", 60, XListAlign::Left},  {"Group", 60, XListAlign::Center},
                       {"Lesson", 100, XListAlign::Left}};
        for (int i = 0; i < 7; ++i)
            list.InsertColumn(i, columns[i].heading, columns[i].align, columns[i].width);
        list.SetExtendedStyle(45);
        headerImages.Create(QImage(LIST_PICTURES_DIR "/coursewright/bitmap/149.png"), 16, QColor(255, 0, 255));
        list.GetHeaderCtrl()->SetImageList(&headerImages);
        for (int i = 0; i < 7; ++i)
            list.GetHeaderCtrl()->SetItemImage(i, i == 0 || i == 5 ? 1 : 0);
        for (int row = 0; row < rows; ++row) {
            list.InsertItem(row, "");
            list.SetCheckbox(row, 0, 0);
            list.SetItemText(row, 1, QString("Pupil %1").arg(row + 1));
            list.SetCheckbox(row, 5, 0);
        }
        QObject::connect(&list, &CXListCtrl::checkboxClicked, &list,
                         [this](int r, int c) { events << QString("clicked %1 %2").arg(r).arg(c); });
        QObject::connect(&list, &CXListCtrl::checkboxToggled, &list,
                         [this](int r, int c) { events << QString("1025 %1 %2").arg(r).arg(c); });
        QObject::connect(&list, &CXListCtrl::headerCheckedStateChanged, &list,
                         [this](int c, int s) { events << QString("1027 %1 %2").arg(c).arg(s); });
        QObject::connect(&list, &CXListCtrl::comboSelection, &list,
                         [this](int r, int c) { events << QString("combo %1 %2").arg(r).arg(c); });
        list.show();
        events.clear();
    }

    void clickCell(int row, int column, int dx = 0)
    {
        const QRect rect = list.GetSubItemRect(row, column);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center() + QPoint(dx, 0));
    }
    void clickHeader(int column)
    {
        CXHeaderCtrl* header = list.GetHeaderCtrl();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST(XListCtrl, HeaderCheckBoxTicksTheColumnAndFollowsItsRows)
{
    PupilList f;
    EXPECT_EQ(f.list.GetHeaderCheckedState(5), 1);
    f.clickHeader(5);
    EXPECT_EQ(f.events, QStringList({"1027 5 2"}));
    EXPECT_EQ(f.list.CountCheckedItems(5), 3);
    f.events.clear();
    f.clickCell(1, 5);
    EXPECT_EQ(f.list.GetCheckbox(1, 5), 0);
    EXPECT_EQ(f.events, QStringList({"clicked 1 5", "1025 1 5", "1027 5 1"}));
    f.events.clear();
    f.clickCell(1, 5);
    EXPECT_EQ(f.events, QStringList({"clicked 1 5", "1025 1 5", "1027 5 2"}));
    // Header click back to unchecked clears the column.
    f.events.clear();
    f.clickHeader(5);
    EXPECT_EQ(f.events, QStringList({"1027 5 1"}));
    EXPECT_EQ(f.list.CountCheckedItems(5), 0);
    // A column with header state 0 ignores clicks.
    f.events.clear();
    f.clickHeader(2);
    EXPECT_EQ(f.list.GetHeaderCheckedState(2), 0);
    EXPECT_TRUE(f.events.isEmpty());
    // Setting the state it already has sends nothing.
    EXPECT_TRUE(f.list.SetHeaderCheckedState(5, 1));
    EXPECT_TRUE(f.events.isEmpty());
}

TEST(XListCtrl, DisabledRowSwallowsClicksGreyedRowTakesThem)
{
    PupilList f;
    f.clickCell(0, 1);
    ASSERT_EQ(f.list.GetItemState(0, LVIS_SELECTED), LVIS_SELECTED);
    ASSERT_TRUE(f.list.SetEnabled(1, false));
    f.events.clear();
    f.clickCell(1, 0);
    f.clickCell(1, 1);
    EXPECT_EQ(f.list.GetCheckbox(1, 0), 0);
    EXPECT_TRUE(f.events.isEmpty());
    EXPECT_EQ(f.list.GetItemState(0, LVIS_SELECTED), LVIS_SELECTED);
    EXPECT_EQ(f.list.GetItemState(1, LVIS_SELECTED), 0u);

    // The greyed ("cut") row: grey text, clicks still taken.
    ASSERT_TRUE(f.list.SetItemState(2, LVIS_CUT, LVIS_CUT));
    EXPECT_EQ(f.list.GetItemState(2, LVIS_CUT), LVIS_CUT);
    f.list.clearFocus();
    f.list.clearSelection();
    const QImage shot = f.list.Render();
    const QRect text = f.list.GetSubItemRect(2, 1).translated(f.list.viewport()->pos());
    const QRgb grey = f.list.colours().greyText.rgb();
    const QRgb black = f.list.colours().windowText.rgb();
    int greyPixels = 0;
    int blackPixels = 0;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x) {
            greyPixels += shot.pixel(x, y) == grey ? 1 : 0;
            blackPixels += shot.pixel(x, y) == black ? 1 : 0;
        }
    EXPECT_GT(greyPixels, 0);
    EXPECT_EQ(blackPixels, 0);
    f.clickCell(2, 0);
    EXPECT_EQ(f.list.GetCheckbox(2, 0), 1);
    EXPECT_EQ(f.events, QStringList({"clicked 2 0", "1025 2 0"}));  // header stays unchecked
}

TEST(XListCtrl, FailureValuesOutOfRangeAndOnShortRows)
{
    CXListCtrl list;
    list.InsertColumn(0, "A");
    EXPECT_EQ(list.InsertItem(-1, "x"), -1);
    ASSERT_EQ(list.InsertItem(0, "short"), 0);  // one record only
    list.InsertColumn(1, "B");
    ASSERT_EQ(list.InsertItem(1, "full"), 1);
    EXPECT_EQ(list.GetColumns(), 2);
    const struct {
        int row, column;
    } outside[] = {{-1, 0}, {2, 0}, {0, -1}, {0, 2}, {0, 1}};
    for (const auto& at : outside) {
        EXPECT_EQ(list.GetCheckbox(at.row, at.column), -1) << at.row << "," << at.column;
        EXPECT_FALSE(list.SetCheckbox(at.row, at.column, 1)) << at.row << "," << at.column;
        EXPECT_EQ(list.GetCell(at.row, at.column), nullptr);
    }
    EXPECT_TRUE(list.SetItemText(0, 1, "the list view keeps it"));
    EXPECT_FALSE(list.SetItemText(0, 2, "x"));
    EXPECT_FALSE(list.SetItemText(-1, 0, "x"));
    EXPECT_EQ(list.GetItemData(2), 0u);
    EXPECT_FALSE(list.SetItemData(-1, 5));
    EXPECT_TRUE(list.SetItemData(1, 0xffffffffu));
    EXPECT_EQ(list.GetItemData(1), 0xffffffffu);
    EXPECT_EQ(list.GetHeaderCheckedState(2), -1);
    EXPECT_EQ(list.GetHeaderCheckedState(1), 0);
    EXPECT_FALSE(list.SetHeaderCheckedState(-1, 1));
    EXPECT_EQ(list.CountCheckedItems(9), 0);
    EXPECT_TRUE(list.GetSubItemRect(0, 2).isEmpty());
    // A click on the short row's missing cell is an ordinary click.
    list.resize(300, 100);
    list.show();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.GetSubItemRect(0, 1).center());
    EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), LVIS_SELECTED);
}

TEST(XListCtrl, ProgressTextPutsInThePercentOnly)
{
    const struct {
        const char* text;
        int percent;
        const char* shown;
    } rows[] = {{"%s%d", 40, "%s40"}, {"", 40, "40%"}, {"%d%%", 7, "7%"},
                {"%d of %d", 3, "3 of %d"}, {"%n%x", 5, "%n%x"}, {"100%", 9, "100%"}};
    for (const auto& row : rows)
        EXPECT_EQ(CXListCtrl::FormatProgressText(row.text, row.percent), row.shown) << row.text;
}

int countColour(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

TEST(XListCtrl, ProgressBarAtZeroAndFull)
{
    CXListCtrl list;
    list.InsertColumn(0, "Bar", XListAlign::Left, 120);
    list.InsertItem(0, "");
    list.InsertItem(1, "");
    list.SetProgress(0, 0, false);
    list.SetProgress(1, 0, false);
    list.UpdateProgress(1, 0, 100);
    list.resize(200, 100);
    list.show();
    const QImage shot = list.Render();
    const QRgb bar = list.colours().highlight.rgb();
    const QPoint origin = list.viewport()->pos();
    const QRect empty = list.GetSubItemRect(0, 0).translated(origin);
    EXPECT_EQ(countColour(shot, empty, bar), 0);
    const QRect full = list.GetSubItemRect(1, 0).translated(origin);
    // The bar area: two pixels in from the frame's left and top, to the
    // shrunk rectangle's right and bottom edges.
    const QRect area(full.left() + 3, full.top() + 2, full.width() - 3 - 2, full.height() - 2 - 1);
    EXPECT_EQ(countColour(shot, area, bar), area.width() * area.height());
}

TEST(XListCtrl, CheckBoxGeometryAndTick)
{
    PupilList f(2);
    f.list.SetItemText(0, 5, "in group");
    f.list.SetCheckbox(1, 0, 1);
    f.list.clearSelection();
    f.list.clearFocus();
    const QImage shot = f.list.Render();
    shot.save(LIST_PNG_DIR "/reportlist_checks.png");
    const QPoint origin = f.list.viewport()->pos();
    const QRgb window = f.list.colours().window.rgb();
    const QRgb shadow = f.list.colours().shadow.rgb();

    // Empty text: centred box; its sunken edge starts one pixel in.
    const QRect cell0 = f.list.GetSubItemRect(0, 0).translated(origin);
    const int side = cell0.height() - 1;
    const int left0 = cell0.left() + cell0.width() / 2 - side / 2 - 1;
    EXPECT_EQ(shot.pixel(left0, cell0.top() + side / 2), window);
    EXPECT_EQ(shot.pixel(left0 + 1, cell0.top() + side / 2), shadow);
    EXPECT_NE(shot.pixel(left0, cell0.top() + side / 2), shadow);

    // With text: box 9 pixels in, text 4 pixels after the box.
    const QRect cell5 = f.list.GetSubItemRect(0, 5).translated(origin);
    const int left5 = cell5.left() + 9;
    EXPECT_EQ(shot.pixel(left5 + 1, cell5.top() + side / 2), shadow);
    EXPECT_EQ(shot.pixel(left5, cell5.top() + side / 2), window);
    int firstText = -1;
    for (int x = left5 + side; x < cell5.right() && firstText < 0; ++x)
        for (int y = cell5.top(); y <= cell5.bottom(); ++y)
            if (qGray(shot.pixel(x, y)) < 160) {
                firstText = x;
                break;
            }
    EXPECT_GE(firstText, left5 + side + CXListCtrl::kCheckboxTextGap);
    EXPECT_LE(firstText, left5 + side + CXListCtrl::kCheckboxTextGap + 2);

    // The tick: seven 3-pixel strokes from (box left + 9, top + 3) leftwards,
    // four going down, three going up.
    const QRect cellT = f.list.GetSubItemRect(1, 0).translated(origin);
    const int boxLeft = cellT.left() + cellT.width() / 2 - side / 2 - 1 + 1;
    for (int stroke = 0; stroke < 7; ++stroke) {
        const int x = boxLeft + 9 - stroke;
        const int y = cellT.top() + 3 + (stroke <= 3 ? stroke : 6 - stroke);
        for (int dy = 0; dy < 3; ++dy)
            EXPECT_EQ(shot.pixel(x, y + dy), qRgb(0, 0, 0)) << stroke << "," << dy;
        EXPECT_NE(shot.pixel(x, y - 1), qRgb(0, 0, 0)) << stroke;
        EXPECT_NE(shot.pixel(x, y + 3), qRgb(0, 0, 0)) << stroke;
    }
    EXPECT_EQ(countColour(shot, cellT, qRgb(0, 0, 0)), 21);
}

struct ComboList : PupilList {
    QStringList lessons{"Fractions", "Powers", "Roots"};
    ComboList() : PupilList(2)
    {
        list.SetComboBox(0, 6, true, &lessons, 4, 0);
        list.SetItemText(0, 6, "Powers");
    }
    void pressButton(int row)
    {
        const QRect rect = list.GetSubItemRect(row, 6);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(rect.right() - 2, rect.center().y()));
    }
};

TEST(XListCtrl, ComboPreviewsOnKeysAndEscapeRestores)
{
    ComboList f;
    f.pressButton(0);
    CXComboList* popup = f.list.GetComboList();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetCount(), 3);
    EXPECT_EQ(popup->GetCurSel(), 1);
    const QImage shot = f.list.Render();
    shot.save(LIST_PNG_DIR "/reportlist_combo.png");
    QTest::keyClick(popup->listBox(), Qt::Key_Down);
    QTRY_COMPARE_WITH_TIMEOUT(f.list.GetItemText(0, 6), QString("Roots"), 1000);
    QTest::keyClick(popup->listBox(), Qt::Key_Escape);
    EXPECT_EQ(f.list.GetItemText(0, 6), QString("Powers"));
    QTRY_VERIFY_WITH_TIMEOUT(f.list.GetComboList() == nullptr, 1000);
    EXPECT_FALSE(f.events.contains("combo 0 6"));
}

TEST(XListCtrl, ComboReturnKeepsThePickAndSignals)
{
    ComboList f;
    f.pressButton(0);
    CXComboList* popup = f.list.GetComboList();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup->listBox(), Qt::Key_Up);
    QTest::keyClick(popup->listBox(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(f.list.GetComboList() == nullptr, 1000);
    EXPECT_EQ(f.list.GetItemText(0, 6), QString("Fractions"));
    EXPECT_EQ(f.events, QStringList({"combo 0 6"}));
}

TEST(XListCtrl, EmptyComboListStaysEmpty)
{
    ComboList f;
    const QStringList none;
    f.list.SetComboBox(1, 6, true, &none, 4, 0);
    f.pressButton(1);
    CXComboList* popup = f.list.GetComboList();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->GetCount(), 0);
    EXPECT_EQ(f.list.GetItemText(1, 6), QString());
    QTest::keyClick(popup->listBox(), Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(f.list.GetComboList() == nullptr, 1000);
    EXPECT_EQ(f.list.GetItemText(1, 6), QString());
    EXPECT_TRUE(f.events.isEmpty());
}

TEST(XListCtrl, ToolTipsOnlyOverLabelsCutTo79Characters)
{
    PupilList f(2);
    f.list.SetItemToolTipText(1, 3, QString(100, u'x'));
    QString text;
    EXPECT_EQ(f.list.ToolHitTest(f.list.GetSubItemRect(1, 3).center(), &text), 1000 + 3 + 1);
    EXPECT_EQ(text, QString(79, u'x'));
    EXPECT_EQ(f.list.ToolHitTest(QPoint(5, f.list.viewport()->height() - 2), &text), 0);
}

TEST(XListCtrl, TrackSelectPicksTheRowUnderARestingMouse)
{
    PupilList f(3);
    QTest::mouseMove(f.list.viewport(), f.list.GetSubItemRect(2, 3).center());
    QTRY_COMPARE_WITH_TIMEOUT(f.list.GetItemState(2, LVIS_SELECTED), LVIS_SELECTED, 2000);
    EXPECT_EQ(f.list.GetItemState(0, LVIS_SELECTED), 0u);
    f.list.SetExtendedStyle(XListStyle::FullRowSelect);
    QTest::mouseMove(f.list.viewport(), f.list.GetSubItemRect(0, 3).center());
    QTest::qWait(600);
    EXPECT_EQ(f.list.GetItemState(0, LVIS_SELECTED), 0u);
}

TEST(XListCtrl, ColourSlotsFollowThePalette)
{
    PupilList f(1);
    const QPalette saved = QApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(4, 5, 6));
    QApplication::setPalette(palette);
    QApplication::processEvents();
    EXPECT_EQ(f.list.colours().highlight, QColor(1, 2, 3));
    EXPECT_EQ(f.list.colours().greyText, QColor(4, 5, 6));
    EXPECT_EQ(f.list.colours().face, platform::sysColor(platform::COLOR_BTNFACE));
    QApplication::setPalette(saved);
}

}  // namespace
}  // namespace shared
