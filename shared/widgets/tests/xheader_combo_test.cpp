// The report list's header (painting, image indexes) and its drop-down
// list (sizing, keys, picks, focus losses), with screenshots.
#include <QApplication>
#include <QPainter>
#include <QStandardItemModel>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/sys_colors.h"
#include "shared/widgets/image_list.h"
#include "shared/widgets/xcombo_list.h"
#include "shared/widgets/xheader_ctrl.h"

namespace shared {
namespace {

int countPixels(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            count += (image.pixel(x, y) & 0xffffffu) == (colour & 0xffffffu) ? 1 : 0;
    return count;
}

// Text pixels drawn in blue (smoothed edges included).
bool bluish(QRgb pixel)
{
    return qBlue(pixel) > 150 && qRed(pixel) < 110 && qGreen(pixel) < 110;
}

// The horizontal extent of the blue text pixels in an area.
std::pair<int, int> blueColumns(const QImage& image, const QRect& area)
{
    int first = -1;
    int last = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (bluish(image.pixel(x, y))) {
                if (first < 0)
                    first = x;
                last = x;
            }
    return {first, last};
}

struct HeaderFixture {
    QStandardItemModel model{0, 3};
    CXHeaderCtrl header;
    HeaderFixture()
    {
        model.setHorizontalHeaderLabels({"Name", "A very long column caption indeed", ""});
        header.setModel(&model);
        header.resize(300, 22);
        header.resizeSection(0, 100);
        header.resizeSection(1, 80);
        header.resizeSection(2, 60);
    }
};

TEST(XHeaderCtrl, WithoutImageListDrawsNoImagesAndBlueCentredTexts)
{
    HeaderFixture f;
    EXPECT_EQ(f.header.GetSpacing(), 6);
    EXPECT_EQ(f.header.GetImageSize(), QSize(0, 0));
    f.header.SetItemImage(0, 2);  // ignored without an image list
    const QImage shot = f.header.Render();
    shot.save(LIST_PNG_DIR "/reportlist_header_plain.png");
    const QRgb blue = CXHeaderCtrl::kTextColour;
    // Item 0: text centred in 6..94.
    const auto [first, last] = blueColumns(shot, QRect(0, 2, 100, 18));
    ASSERT_GE(first, 0);
    EXPECT_LE(std::abs((first + last) / 2 - 50), 3);
    // Item 1: the long caption is cut to fit with an ellipsis inside 106..174.
    const auto [first1, last1] = blueColumns(shot, QRect(100, 2, 80, 18));
    EXPECT_GE(first1, 106);
    EXPECT_LE(last1, 174);
    // Item 2 has no text: no blue at all; and no image anywhere (only the
    // face, blue, the two line colours and the text colour).
    EXPECT_EQ(blueColumns(shot, QRect(180, 0, 60, 22)).first, -1);
    EXPECT_GT(countPixels(shot, QRect(0, 0, 180, 22), blue), 0);
    // Dividers between items: shadow at the right edge minus 1, highlight
    // at the edge, from top + 2 to bottom - 2.
    const QRgb shadow = platform::sysColor(platform::COLOR_BTNSHADOW).rgb();
    const QRgb light = platform::sysColor(platform::COLOR_BTNHIGHLIGHT).rgb();
    EXPECT_EQ(countPixels(shot, QRect(99, 2, 1, 18), shadow), 18);
    EXPECT_EQ(countPixels(shot, QRect(100, 2, 1, 18), light), 18);
    EXPECT_EQ(countPixels(shot, QRect(179, 2, 1, 18), shadow), 18);
    // No divider after the last item, but the 3-D frame's right side.
    EXPECT_EQ(countPixels(shot, QRect(239, 0, 1, 22), shadow), 22);
    EXPECT_EQ(countPixels(shot, QRect(240, 0, 60, 22), platform::sysColor(platform::COLOR_BTNFACE).rgb()),
              60 * 22);
}

TEST(XHeaderCtrl, CheckBoxImagesFromTheOwnersImageList)
{
    HeaderFixture f;
    CImageList images;
    ASSERT_TRUE(images.Create(QImage(LIST_PICTURES_DIR "/coursewright/bitmap/149.png"), 16, QColor(255, 0, 255)));
    ASSERT_EQ(images.GetImageCount(), 3);
    f.header.SetImageList(&images);
    EXPECT_EQ(f.header.GetImageSize(), QSize(16, 16));
    EXPECT_TRUE(f.header.SetItemImage(0, 1));
    EXPECT_TRUE(f.header.SetItemImage(1, 2));
    EXPECT_FALSE(f.header.SetItemImage(3, 1));
    EXPECT_EQ(f.header.GetItemImage(1), 2);
    EXPECT_EQ(f.header.GetItemImage(2), 0);
    EXPECT_EQ(f.header.GetItemImage(7), -1);
    // Records move with the columns.
    f.model.insertColumn(0);
    EXPECT_EQ(f.header.GetItemImage(0), 0);
    EXPECT_EQ(f.header.GetItemImage(1), 1);
    EXPECT_EQ(f.header.GetItemImage(2), 2);
    f.model.removeColumn(0);
    EXPECT_EQ(f.header.GetItemImage(0), 1);
    EXPECT_EQ(f.header.GetItemImage(1), 2);
    EXPECT_EQ(f.header.GetItemImage(3), -1);
    const QImage shot = f.header.Render();
    shot.save(LIST_PNG_DIR "/reportlist_header_checks.png");
    // The box image sits at left + spacing, vertically centred; the tick of
    // image 2 is green; magenta never shows.
    const QRgb magenta = qRgb(255, 0, 255);
    EXPECT_EQ(countPixels(shot, shot.rect(), magenta), 0);
    const QImage strip(LIST_PICTURES_DIR "/coursewright/bitmap/149.png");
    const QRgb boxEdge = strip.pixel(16 + 2, 2);
    EXPECT_EQ(shot.pixel(6 + 2, 3 + 2) & 0xffffffu, boxEdge & 0xffffffu);
    // The texts move right of the image: item 0's text starts after 28.
    const auto [first, last] = blueColumns(shot, QRect(0, 2, 100, 18));
    EXPECT_GE(first, 6 + 16 + 6);
    EXPECT_GT(last, first);
}

// A list owner that records what the pop-up tells it.
struct Recorder : IComboListOwner {
    QStringList calls;
    void OnComboListReturn() override { calls << "return"; }
    void OnComboListEscape() override { calls << "escape"; }
    void OnComboListKeyDown() override { calls << "key"; }
    void OnComboListLButtonUp() override { calls << "pick"; }
};

struct PopupFixture {
    Recorder owner;
    CXComboList popup{&owner};
    explicit PopupFixture(const QStringList& items, int selection, int height = 100)
    {
        for (const QString& item : items)
            popup.AddString(item);
        popup.SetCurSel(selection);
        popup.setGeometry(50, 50, 120, height);
        popup.show();
        popup.SetActive(11);
    }
};

const QStringList kItems{"Apple", "Banana", "Cherry", "Date", "Elder", "Fig",
                         "Grape", "Hazel", "Kiwi", "Lemon", "Mango", "Nut"};

TEST(XComboList, SizedOnceToWholeRows)
{
    PopupFixture f(kItems, 4, 100);
    const int item = f.popup.GetItemHeight();
    const int rows = (100 - 2) / item;
    EXPECT_EQ(f.popup.height(), rows * item + 4);
    EXPECT_EQ(f.popup.listBox()->geometry(), QRect(2, 2, 120 - 2 - 1 - 11, rows * item));
    EXPECT_EQ(f.popup.GetScrollBarCtrl()->geometry(), QRect(120 - 1 - 11, 2, 11, rows * item));
    EXPECT_EQ(f.popup.GetScrollPos(), 4);
    EXPECT_EQ(f.popup.GetScrollBarCtrl()->pageStep(), rows);
    EXPECT_EQ(f.popup.listBox()->verticalScrollBar()->value(), 3);
    QImage shot(f.popup.size(), QImage::Format_RGB32);
    f.popup.render(&shot);
    shot.save(LIST_PNG_DIR "/reportlist_popup.png");
    // A later activation keeps the size.
    f.popup.resize(120, 300);
    f.popup.SetActive(11);
    EXPECT_EQ(f.popup.height(), 300);
}

TEST(XComboList, KeysMoveSelectionAndScrollBarAndTellTheOwner)
{
    PopupFixture f(kItems, 0, 100);
    QListWidget* list = f.popup.listBox();
    // Page Up from the first item: negative, clamped to 0.
    QTest::keyClick(list, Qt::Key_PageUp);
    EXPECT_EQ(f.popup.GetScrollPos(), 0);
    EXPECT_EQ(f.popup.GetCurSel(), 0);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(f.popup.GetCurSel(), 1);
    EXPECT_EQ(f.popup.GetScrollPos(), 1);
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(f.popup.GetCurSel(), kItems.size() - 1);
    EXPECT_EQ(f.popup.GetScrollPos(), f.popup.GetScrollBarCtrl()->maximum());
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(f.popup.GetCurSel(), 0);
    // A letter goes to the next item beginning with it.
    QTest::keyClick(list, Qt::Key_G);
    EXPECT_EQ(f.popup.GetCurSel(), 6);
    EXPECT_EQ(f.popup.GetScrollPos(), std::min(6, f.popup.GetScrollBarCtrl()->maximum()));
    EXPECT_EQ(f.owner.calls, QStringList({"key", "key", "key", "key", "key"}));
    // A letter no item begins with changes nothing and reports nothing.
    const int scroll = f.popup.GetScrollPos();
    QTest::keyClick(list, Qt::Key_Q);
    EXPECT_EQ(f.popup.GetCurSel(), 6);
    EXPECT_EQ(f.popup.GetScrollPos(), scroll);
    EXPECT_EQ(f.owner.calls.size(), 5);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(f.owner.calls.mid(5), QStringList({"return", "escape"}));
}

TEST(XComboList, ThirdFocusLossIsEscapeAndClicksArePicks)
{
    PopupFixture f(kItems, 2, 100);
    QListWidget* list = f.popup.listBox();
    for (int loss = 1; loss <= 3; ++loss) {
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(list, &out);
        EXPECT_EQ(f.owner.calls.contains("escape"), loss == 3) << loss;
    }
    f.owner.calls.clear();
    const QRect second = list->visualItemRect(list->item(3));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(f.popup.GetCurSel(), 3);
    EXPECT_EQ(f.owner.calls, QStringList({"pick"}));
    // A press on the pop-up's own border is a pick too.
    QTest::mousePress(&f.popup, Qt::LeftButton, {}, QPoint(0, 0));
    EXPECT_EQ(f.owner.calls, QStringList({"pick", "pick"}));
}

TEST(XComboList, HoverSelectsTheItemUnderTheCursor)
{
    PopupFixture f(kItems, 0, 100);
    QListWidget* list = f.popup.listBox();
    const QRect third = list->visualItemRect(list->item(2));
    QCursor::setPos(list->viewport()->mapToGlobal(third.center()));
    QTRY_COMPARE_WITH_TIMEOUT(f.popup.GetCurSel(), 2, 1000);
}

}  // namespace
}  // namespace shared
