// The flat spin button: typed values of its buddy, the buddy map, its range
// and arrows driven with the mouse, placement beside the buddy; a screenshot.
#include <climits>
#include <memory>
#include <vector>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include "shared/widgets/flat_spin_button.h"

namespace shared {
namespace {

using Report = std::pair<int, int>;

std::vector<Report> reports(const QSignalSpy& spy)
{
    std::vector<Report> all;
    for (const auto& arguments : spy)
        all.emplace_back(arguments.at(0).toInt(), arguments.at(1).toInt());
    return all;
}

struct Dialog {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    Dialog()
    {
        window.resize(200, 100);
        edit->setGeometry(10, 10, 100, 22);
        window.show();
    }
};

TEST(CFlatSpinButton, TypedValuesAreReadAsAtoiReadsThem)
{
    const struct {
        QString typed;
        int value;
    } rows[] = {
        {QStringLiteral("1") + QChar(0x00A0) + QStringLiteral("000"), 1000},
        {QStringLiteral("12abc"), 12},
        {QString(), 0},
        {QStringLiteral("-5"), -5},
        {QStringLiteral("99999999999"), INT_MAX},
        {QStringLiteral("-99999999999"), INT_MIN},
        {QStringLiteral("  +7"), 7},
        {QStringLiteral("x1"), 0},
    };
    for (const auto& row : rows) {
        Dialog dialog;
        CFlatSpinButton spin(&dialog.window);
        spin.SetRange(0, 33);
        spin.SetBuddy(dialog.edit);
        QSignalSpy spy(&spin, &CFlatSpinButton::deltaPos);
        dialog.edit->setFocus();
        QTest::keyClicks(dialog.edit, row.typed);
        if (row.typed.isEmpty()) {
            dialog.edit->setText(QStringLiteral("3"));
            QTest::keyClick(dialog.edit, Qt::Key_Backspace);
        }
        ASSERT_FALSE(spy.isEmpty()) << row.typed.toStdString();
        EXPECT_EQ(reports(spy).back(), Report(row.value, 0)) << row.typed.toStdString();
    }
}

TEST(CFlatSpinButton, ABuddyReportsToTheLastSpinGivenIt)
{
    Dialog dialog;
    auto first = std::make_unique<CFlatSpinButton>(&dialog.window);
    CFlatSpinButton second(&dialog.window);
    first->SetBuddy(dialog.edit);
    second.SetBuddy(dialog.edit);
    QSignalSpy toFirst(first.get(), &CFlatSpinButton::deltaPos);
    QSignalSpy toSecond(&second, &CFlatSpinButton::deltaPos);
    QTest::keyClicks(dialog.edit, QStringLiteral("42"));
    EXPECT_EQ(toFirst.count(), 0);
    EXPECT_EQ(reports(toSecond), (std::vector<Report>{{4, 0}, {42, 0}}));

    // The spin the buddy reports to goes: nothing reports, the edit goes on.
    CFlatSpinButton* kept = first.release();
    QSignalSpy toKept(kept, &CFlatSpinButton::deltaPos);
    QPointer<QWidget> secondGuard = &second;
    delete kept;
    {
        CFlatSpinButton last(&dialog.window);
        last.SetBuddy(dialog.edit);
        QSignalSpy toLast(&last, &CFlatSpinButton::deltaPos);
        QTest::keyClicks(dialog.edit, QStringLiteral("1"));
        EXPECT_EQ(reports(toLast), (std::vector<Report>{{421, 0}}));
    }
    QTest::keyClicks(dialog.edit, QStringLiteral("5"));
    EXPECT_EQ(dialog.edit->text(), QStringLiteral("4215"));
    EXPECT_EQ(toSecond.count(), 2);  // given away before: still silent
}

TEST(CFlatSpinButton, ArrowsStepWithinTheRangeAndReverseWhenSwapped)
{
    Dialog dialog;
    CFlatSpinButton spin(&dialog.window);
    spin.setGeometry(120, 10, 16, 22);
    spin.SetRange(0, 2);
    EXPECT_FALSE(spin.IsReversed());
    QSignalSpy spy(&spin, &CFlatSpinButton::deltaPos);
    const QPoint up = spin.upRect().center();
    const QPoint down = spin.downRect().center();
    EXPECT_EQ(spin.GetLimit(), CFlatSpinButton::LimitMinimum);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, up);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, up);
    EXPECT_EQ(spin.GetPos(), 2);
    EXPECT_EQ(spin.GetLimit(), CFlatSpinButton::LimitMaximum);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, up);  // at the limit: nothing
    QTest::mouseClick(&spin, Qt::LeftButton, {}, down);
    EXPECT_EQ(spin.GetPos(), 1);
    EXPECT_EQ(spin.GetLimit(), CFlatSpinButton::LimitNone);
    EXPECT_EQ(reports(spy), (std::vector<Report>{{0, 1}, {1, 1}, {2, -1}}));

    spin.SetRange(10, 5);  // the minimum not below the maximum
    EXPECT_TRUE(spin.IsReversed());
    EXPECT_EQ(spin.GetMinimum(), 5);
    EXPECT_EQ(spin.GetMaximum(), 10);
    EXPECT_EQ(spin.GetPos(), 5);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, down);  // now raises it
    EXPECT_EQ(spin.GetPos(), 6);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, up);
    EXPECT_EQ(spin.GetPos(), 5);
}

TEST(CFlatSpinButton, SitsBesideItsBuddyAndRightBehindIt)
{
    for (const auto alignment : {CFlatSpinButton::AlignRight, CFlatSpinButton::AlignLeft}) {
        Dialog dialog;
        auto* other = new QWidget(&dialog.window);
        CFlatSpinButton spin(&dialog.window);
        spin.SetAlignment(alignment);
        spin.SetBuddy(dialog.edit);
        const QRect edit = dialog.edit->geometry();
        EXPECT_EQ(edit.height(), 22);
        EXPECT_EQ(spin.geometry().height(), 22);
        EXPECT_EQ(edit.width() + spin.width(), 100);
        if (alignment == CFlatSpinButton::AlignRight) {
            EXPECT_EQ(spin.geometry().left(), edit.right() + 1);
        } else {
            EXPECT_EQ(spin.geometry().right() + 1, edit.left());
        }
        const QObjectList order = dialog.window.children();
        EXPECT_EQ(order.indexOf(&spin) + 1, order.indexOf(dialog.edit));
        EXPECT_NE(order.indexOf(other), -1);
    }
}

TEST(CFlatSpinButton, ArrowsUpdateTheBuddyText)
{
    Dialog dialog;
    CFlatSpinButton spin(&dialog.window);
    spin.SetAlignment(CFlatSpinButton::AlignRight);
    spin.SetRange(0, 33);
    spin.SetBuddy(dialog.edit);
    QTest::keyClicks(dialog.edit, QStringLiteral("30"));
    EXPECT_EQ(spin.GetPos(), 30);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, spin.upRect().center());
    EXPECT_EQ(dialog.edit->text(), QStringLiteral("31"));
}

TEST(CFlatSpinButton, Screenshot)
{
    QWidget window;
    window.resize(120, 40);
    window.setAutoFillBackground(true);
    CFlatSpinButton vertical(&window);
    vertical.setGeometry(10, 5, 16, 30);
    vertical.SetRange(0, 5);
    CFlatSpinButton horizontal(&window);
    horizontal.SetVertical(false);
    horizontal.setGeometry(40, 10, 32, 16);
    horizontal.SetRange(0, 5);
    horizontal.SetPos(2);
    CFlatSpinButton held(&window);
    held.setGeometry(85, 5, 16, 30);
    held.SetRange(0, 5);
    held.SetPos(3);
    window.show();
    QTest::mousePress(&held, Qt::LeftButton, {}, held.upRect().center());
    const QImage shot = window.grab().toImage();
    QTest::mouseRelease(&held, Qt::LeftButton, {}, held.upRect().center());
    ASSERT_TRUE(shot.scaled(shot.size() * 4).save(QStringLiteral(FURNITURE_PNG_DIR "/furniture_spin.png")));
}

}  // namespace
}  // namespace shared
