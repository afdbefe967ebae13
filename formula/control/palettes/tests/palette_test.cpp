// The tool palettes: buttons per school class, commands to the owner,
// ownership moving with the focus, forgotten owners, closing, and the
// palettes drawn to PNGs in the build folder.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "formula/control/palettes/palette_icons.h"
#include "formula/control/palettes/palette_manager.h"
#include "formula/control/palettes/palette_table.h"
#include "formula/env/tool_table.h"
#include "formula/model/messages.h"

namespace formula {
namespace {

class FakeClient : public IPaletteClient {
public:
    explicit FakeClient(bool withWindow)
    {
        if (withWindow) {
            m_widget = std::make_unique<QWidget>();
            m_widget->resize(200, 100);
        }
    }
    void insertTool(int toolId) override { inserted.push_back(toolId); }
    QWidget* paletteParent() override { return m_widget.get(); }
    void toolsDialogClosed() override
    {
        ++closed;
        if (onClosed) {
            onClosed();
        }
    }

    std::vector<int> inserted;
    int closed = 0;
    std::function<void()> onClosed;

private:
    std::unique_ptr<QWidget> m_widget;
};

void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The buttons of a shown palette, in layout order.
std::vector<QAbstractButton*> Buttons(PaletteKind kind)
{
    QWidget* window = PaletteManager::instance().window(kind);
    if (!window) {
        return {};
    }
    const QList<QAbstractButton*> found = window->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly);
    return {found.begin(), found.end()};
}

std::vector<int> ButtonIds(PaletteKind kind)
{
    std::vector<int> ids;
    for (QAbstractButton* button : Buttons(kind)) {
        ids.push_back(button->property("toolId").toInt());
    }
    return ids;
}

QAbstractButton* ButtonOf(PaletteKind kind, int toolId)
{
    for (QAbstractButton* button : Buttons(kind)) {
        if (button->property("toolId").toInt() == toolId) {
            return button;
        }
    }
    return nullptr;
}

bool Contains(const std::vector<int>& ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override
    {
        Reset();
        SetSchoolClass(0);
        SetMessageLanguage(0);
    }
    static void Reset()
    {
        PaletteManager& manager = PaletteManager::instance();
        manager.setOwner(nullptr);
        manager.hide();
        FlushDeletes();
    }
    PaletteManager& manager = PaletteManager::instance();
};

struct ClassCase {
    int schoolClass;
    int templateButtons;
    int functionButtons;
};

class PaletteClassTest : public PaletteTest, public ::testing::WithParamInterface<ClassCase> {};

TEST_P(PaletteClassTest, ShowsTheButtonsTheClassAdmits)
{
    const ClassCase& c = GetParam();
    SetSchoolClass(c.schoolClass);
    ASSERT_EQ(GetSchoolClass(), c.schoolClass);
    manager.show();
    const std::vector<int> templates = ButtonIds(PaletteKind::Templates);
    const std::vector<int> functions = ButtonIds(PaletteKind::Functions);
    EXPECT_EQ(static_cast<int>(templates.size()), c.templateButtons);
    EXPECT_EQ(static_cast<int>(functions.size()), c.functionButtons);
    // No button offers what the class's gate would refuse to insert.
    for (int id : templates) {
        SCOPED_TRACE(id);
        ASSERT_NE(FindTool(id), nullptr);
        EXPECT_TRUE(ToolAllowed(*FindTool(id), c.schoolClass));
    }
    for (PaletteKind kind : {PaletteKind::Templates, PaletteKind::Functions}) {
        QWidget* window = manager.window(kind);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->width(), 54);
        int lowest = 0;
        for (QAbstractButton* button : Buttons(kind)) {
            EXPECT_TRUE(window->rect().contains(button->geometry()));
            EXPECT_EQ(button->height(), 24);
            lowest = std::max(lowest, button->geometry().bottom() + 1);
        }
        EXPECT_EQ(window->height(), lowest + 4);
    }
}

INSTANTIATE_TEST_SUITE_P(Classes, PaletteClassTest,
                         ::testing::Values(ClassCase{0, 44, 19}, ClassCase{7, 9, 0}, ClassCase{8, 11, 0},
                                           ClassCase{9, 23, 0}, ClassCase{10, 23, 19},
                                           ClassCase{11, 32, 19}),
                         [](const ::testing::TestParamInfo<ClassCase>& info) {
                             return "Class" + std::to_string(info.param.schoolClass);
                         });

TEST_F(PaletteTest, ClassSevenShowsTheFirstGroupAndClassElevenDropsWhatTheGateRefuses)
{
    SetSchoolClass(7);
    manager.show();
    EXPECT_EQ(ButtonIds(PaletteKind::Templates),
              (std::vector<int>{264, 277, 279, 211, 290, 273, 275, 269, 271}));
    Reset();

    SetSchoolClass(11);
    manager.show();
    const std::vector<int> ids = ButtonIds(PaletteKind::Templates);
    for (int refused : {237, 218, 238, 246, 247, 215, 213}) {
        EXPECT_FALSE(Contains(ids, refused)) << refused;
    }
    for (int shown : {214, 235, 216, 244, 245, 248, 249, 250, 231, 242, 228}) {
        EXPECT_TRUE(Contains(ids, shown)) << shown;
    }
}

TEST_F(PaletteTest, ToolTipsAreTheNameThenTheText)
{
    manager.show();
    struct Tip {
        PaletteKind kind;
        int id;
        std::string text;
    };
    const Tip tips[] = {
        {PaletteKind::Templates, 277, std::string(GetMessageText(1024)) + " (Alt+X)"},
        {PaletteKind::Templates, 267, std::string(GetMessageText(1052)) + "(Alt+R)"},
        {PaletteKind::Templates, 214, "Power Root"},
        {PaletteKind::Functions, 321, std::string(GetMessageText(1061)) + "arcsin"},
        {PaletteKind::Functions, 325, "Unknown messagea"},
        {PaletteKind::Functions, 330, "sin in powersin^"},
        {PaletteKind::Functions, 334, "log"},
    };
    for (const Tip& tip : tips) {
        SCOPED_TRACE(tip.id);
        QAbstractButton* button = ButtonOf(tip.kind, tip.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip().toStdString(), tip.text);
    }
    EXPECT_EQ(ButtonOf(PaletteKind::Functions, 321)->width(), 50);
    EXPECT_EQ(ButtonOf(PaletteKind::Functions, 317)->width(), 24);
}

TEST_F(PaletteTest, EveryClickInsertsItsCommandAtTheOwner)
{
    FakeClient client(true);
    manager.setOwner(&client);
    EXPECT_TRUE(manager.show());
    std::vector<int> expected;
    for (PaletteKind kind : {PaletteKind::Templates, PaletteKind::Functions}) {
        for (QAbstractButton* button : Buttons(kind)) {
            QTest::mouseClick(button, Qt::LeftButton);
            expected.push_back(button->property("toolId").toInt());
        }
    }
    EXPECT_EQ(expected.size(), 44u + 19u);
    EXPECT_EQ(client.inserted, expected);
    // Every id is one the environment can insert.
    for (int id : expected) {
        EXPECT_NE(FindTool(id), nullptr) << id;
    }
}

TEST_F(PaletteTest, OwnershipMovesToTheClientThatLastTookTheFocus)
{
    FakeClient first(true);
    FakeClient second(true);
    manager.setOwner(&first);
    EXPECT_TRUE(manager.show());
    QWidget* templates = manager.window(PaletteKind::Templates);
    // The palettes float over the owner's window.
    EXPECT_EQ(templates->parentWidget(), first.paletteParent());

    manager.setOwner(&second);  // the second control took the focus
    EXPECT_FALSE(manager.show());  // already there: the same windows stay
    EXPECT_EQ(manager.window(PaletteKind::Templates), templates);
    QTest::mouseClick(ButtonOf(PaletteKind::Templates, 264), Qt::LeftButton);
    QTest::mouseClick(ButtonOf(PaletteKind::Functions, 317), Qt::LeftButton);
    EXPECT_TRUE(first.inserted.empty());
    EXPECT_EQ(second.inserted, (std::vector<int>{264, 317}));

    manager.setOwner(&first);
    QTest::mouseClick(ButtonOf(PaletteKind::Templates, 211), Qt::LeftButton);
    EXPECT_EQ(first.inserted, (std::vector<int>{211}));
}

TEST_F(PaletteTest, AGoneOwnerIsForgotten)
{
    auto gone = std::make_unique<FakeClient>(false);
    FakeClient other(false);
    manager.setOwner(gone.get());
    manager.show();
    manager.ownerGone(&other);  // not the owner: nothing changes
    EXPECT_EQ(manager.owner(PaletteKind::Templates), gone.get());
    manager.ownerGone(gone.get());
    gone.reset();
    EXPECT_EQ(manager.owner(PaletteKind::Templates), nullptr);
    EXPECT_EQ(manager.owner(PaletteKind::Functions), nullptr);
    // A click with no owner goes nowhere; closing tells no one.
    QTest::mouseClick(ButtonOf(PaletteKind::Templates, 264), Qt::LeftButton);
    manager.hide();
    EXPECT_FALSE(manager.isShown(PaletteKind::Templates));
}

TEST_F(PaletteTest, ClosingOnePaletteDestroysBothAndTellsAnOwnerWithAWindow)
{
    FakeClient windowed(true);
    manager.setOwner(&windowed);
    manager.show();
    QPointer<QWidget> functions = manager.window(PaletteKind::Functions);
    manager.window(PaletteKind::Templates)->close();
    FlushDeletes();
    EXPECT_FALSE(manager.isShown(PaletteKind::Templates));
    EXPECT_FALSE(manager.isShown(PaletteKind::Functions));
    EXPECT_TRUE(functions.isNull());
    EXPECT_EQ(windowed.closed, 2);
    EXPECT_EQ(manager.owner(PaletteKind::Templates), nullptr);

    // An owner without a window hears nothing; palettes not shown give no
    // event either.
    FakeClient windowless(false);
    manager.setOwner(&windowless);
    EXPECT_TRUE(manager.show(true, false));
    EXPECT_FALSE(manager.isShown(PaletteKind::Functions));
    EXPECT_EQ(manager.window(PaletteKind::Templates)->parentWidget(), nullptr);
    manager.hide();
    EXPECT_EQ(windowless.closed, 0);
    EXPECT_EQ(windowed.closed, 2);
    // Still the owner of the function palette, whose window never existed.
    EXPECT_EQ(manager.owner(PaletteKind::Functions), &windowless);
}

TEST_F(PaletteTest, AnOwnerMayShowThePalettesAgainWhenTheyClose)
{
    FakeClient client(true);
    client.onClosed = [&client] {
        PaletteManager::instance().setOwner(&client);
        PaletteManager::instance().show();
    };
    manager.setOwner(&client);
    manager.show();
    manager.hide();
    EXPECT_EQ(client.closed, 2);
    EXPECT_TRUE(manager.isShown(PaletteKind::Templates));
    EXPECT_TRUE(manager.isShown(PaletteKind::Functions));
    client.onClosed = nullptr;
}

TEST_F(PaletteTest, AHostHidingThePalettesFromAClickIsSafe)
{
    // The owner's insert leads its host to hide the palettes while the
    // clicked button is still handling its click.
    struct HidingClient : FakeClient {
        HidingClient() : FakeClient(true) {}
        void insertTool(int toolId) override
        {
            FakeClient::insertTool(toolId);
            PaletteManager::instance().hide();
        }
    } client;
    manager.setOwner(&client);
    manager.show();
    QTest::mouseClick(ButtonOf(PaletteKind::Templates, 273), Qt::LeftButton);
    FlushDeletes();
    EXPECT_EQ(client.inserted, (std::vector<int>{273}));
    EXPECT_FALSE(manager.isShown(PaletteKind::Templates));
    EXPECT_EQ(client.closed, 2);
}

TEST_F(PaletteTest, AHostWindowTakingThePalettesDownLeavesNoDanglingWindow)
{
    auto client = std::make_unique<FakeClient>(true);
    manager.setOwner(client.get());
    manager.show();
    manager.ownerGone(client.get());
    client.reset();  // deletes the host window, and the palettes with it
    EXPECT_FALSE(manager.isShown(PaletteKind::Templates));
    EXPECT_FALSE(manager.isShown(PaletteKind::Functions));
    EXPECT_TRUE(manager.show());
}

// Every icon draws its element: the normal and active pictures differ from
// the bare background and from each other.
TEST_F(PaletteTest, EveryButtonHasAPicture)
{
    for (PaletteKind kind : {PaletteKind::Templates, PaletteKind::Functions}) {
        for (const PaletteButtonInfo& info : PaletteButtons(kind)) {
            SCOPED_TRACE(info.toolId);
            QImage images[2];
            for (int active = 0; active < 2; ++active) {
                images[active] = QImage(info.width, 24, QImage::Format_RGB32);
                images[active].fill(QColor(214, 222, 234));
                QPainter painter(&images[active]);
                DrawToolIcon(painter, QRect(0, 0, info.width, 24), info.toolId, active == 1);
            }
            QImage blank(info.width, 24, QImage::Format_RGB32);
            blank.fill(QColor(214, 222, 234));
            EXPECT_NE(images[0], blank);
            EXPECT_NE(images[0], images[1]);
        }
    }
}

TEST_F(PaletteTest, ThePalettesLeaveTheKeyboardWithTheOwner)
{
    FakeClient client(true);
    QWidget* host = client.paletteParent();
    host->setFocusPolicy(Qt::StrongFocus);
    host->show();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host));
    host->setFocus();
    manager.setOwner(&client);
    manager.show();
    QWidget* templates = manager.window(PaletteKind::Templates);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(templates));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(manager.window(PaletteKind::Functions)));
    const auto keyboardAtTheHost = [&] {
        // Activation travels through the event loop.
        QTest::qWait(20);
        return QApplication::activeWindow() == host && QApplication::focusWidget() == host;
    };
    EXPECT_TRUE(keyboardAtTheHost());

    // The pointer crosses the palette and clicks a button.
    QWindow* handle = templates->windowHandle();
    ASSERT_NE(handle, nullptr);
    QAbstractButton* button = ButtonOf(PaletteKind::Templates, 264);
    QTest::mouseMove(handle, QPoint(10, templates->height() - 2));
    QTest::mouseMove(handle, button->geometry().center());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(client.inserted, (std::vector<int>{264}));
    EXPECT_TRUE(keyboardAtTheHost());

    // Activated all the same, as a window system may do: the palette hands
    // the activation back at once.
    templates->activateWindow();
    EXPECT_TRUE(keyboardAtTheHost());
}

TEST_F(PaletteTest, APressedButtonShowsItsActivePicture)
{
    manager.show();
    QAbstractButton* button = ButtonOf(PaletteKind::Templates, 264);
    ASSERT_NE(button, nullptr);
    const QImage normal = button->grab().toImage();
    button->setDown(true);
    const QImage pressed = button->grab().toImage();
    button->setDown(false);
    EXPECT_NE(normal, pressed);
    EXPECT_EQ(button->grab().toImage(), normal);
}

// The palettes at class 0 side by side at their real size (palettes.png,
// kept beside this test), the same enlarged, the palette of class 9, and
// every icon in both states enlarged, drawn into this build folder to be
// looked at.
TEST_F(PaletteTest, DrawsThePalettesToPngs)
{
    const auto save = [](const QImage& image, const char* name, int enlarge) {
        ASSERT_FALSE(image.isNull());
        ASSERT_TRUE(image.scaled(image.size() * enlarge, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                        .save(QStringLiteral(PALETTE_PNG_DIR "/%1").arg(name)));
    };
    manager.show();
    const QImage templates = manager.window(PaletteKind::Templates)->grab().toImage();
    const QImage functions = manager.window(PaletteKind::Functions)->grab().toImage();
    EXPECT_EQ(templates.width(), 54);
    QImage both(templates.width() + 8 + functions.width(), std::max(templates.height(), functions.height()),
                QImage::Format_RGB32);
    both.fill(Qt::white);
    {
        QPainter painter(&both);
        painter.drawImage(0, 0, templates);
        painter.drawImage(templates.width() + 8, 0, functions);
    }
    save(both, "palettes.png", 1);
    save(both, "palettes_x4.png", 4);
    Reset();
    SetSchoolClass(9);
    manager.show();
    save(manager.window(PaletteKind::Templates)->grab().toImage(), "palette_templates_class9.png", 4);

    // Every icon, normal then active, at three times the size.
    const int columns = 8;
    std::vector<const PaletteButtonInfo*> all;
    for (PaletteKind kind : {PaletteKind::Templates, PaletteKind::Functions}) {
        for (const PaletteButtonInfo& info : PaletteButtons(kind)) {
            all.push_back(&info);
        }
    }
    const int rows = (static_cast<int>(all.size()) + columns - 1) / columns;
    QImage sheet(columns * 2 * 54, rows * 28, QImage::Format_RGB32);
    sheet.fill(QColor(214, 222, 234));
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const int x = static_cast<int>(i % columns) * 108;
        const int y = static_cast<int>(i / columns) * 28;
        DrawToolIcon(painter, QRect(x + 2, y + 2, all[i]->width, 24), all[i]->toolId, false);
        DrawToolIcon(painter, QRect(x + 54, y + 2, all[i]->width, 24), all[i]->toolId, true);
    }
    painter.end();
    ASSERT_TRUE(sheet.scaled(sheet.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(QStringLiteral(PALETTE_PNG_DIR "/palette_icons.png")));
}

}  // namespace
}  // namespace formula
