// The tool palettes: buttons per school class, commands to the owner,
// ownership moving with the focus, forgotten owners, closing, the keyboard
// left with the owner, pictures that fill their buttons, and the palettes
// drawn to PNGs in the build folder.
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
#include <cstdlib>
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

const QColor kPaletteBackground(214, 222, 234);

// A button's normal picture on the palette's background.
QImage DrawnIcon(const PaletteButtonInfo& info)
{
    QImage image(info.width, 24, QImage::Format_RGB32);
    image.fill(kPaletteBackground);
    QPainter painter(&image);
    DrawToolIcon(painter, image.rect(), info.toolId, false);
    return image;
}

bool Bare(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == kPaletteBackground.rgb();
}

// The grey of an empty place.
bool PlaceGrey(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return std::abs(c.red() - 125) <= 12 && std::abs(c.green() - 130) <= 12 && std::abs(c.blue() - 140) <= 12;
}

// The rectangle of the pixels that differ from the background.
QRect IconInk(const QImage& image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!Bare(image, x, y)) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

// The empty places drawn in an icon: the bounding rectangles of the
// connected patches of place grey at least 3 pixels each way, in the order
// of their top rows.
std::vector<QRect> GreyPlaces(const QImage& image)
{
    std::vector<std::vector<bool>> seen(image.height(), std::vector<bool>(image.width(), false));
    std::vector<QRect> places;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (seen[y][x] || !PlaceGrey(image, x, y)) {
                continue;
            }
            QRect patch;
            std::vector<QPoint> todo{{x, y}};
            seen[y][x] = true;
            while (!todo.empty()) {
                const QPoint p = todo.back();
                todo.pop_back();
                patch |= QRect(p, QSize(1, 1));
                for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint q = p + step;
                    if (image.rect().contains(q) && !seen[q.y()][q.x()] && PlaceGrey(image, q.x(), q.y())) {
                        seen[q.y()][q.x()] = true;
                        todo.push_back(q);
                    }
                }
            }
            if (patch.width() >= 3 && patch.height() >= 3) {
                places.push_back(patch);
            }
        }
    }
    return places;
}

// Whether a rectangle of the icon holds ink other than a place.
bool InkIn(const QImage& image, const QRect& area)
{
    const QRect within = area & image.rect();
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (!Bare(image, x, y) && !PlaceGrey(image, x, y)) {
                return true;
            }
        }
    }
    return false;
}

// Each picture fills its button within a 2-pixel margin, so that the pupil
// sees the element at the size of the button, not a few dots in its middle;
// function names at least 12 pixels high with their argument. The degree
// sign alone stays a small raised mark.
TEST_F(PaletteTest, EveryIconFillsItsButtonWithinTheMargin)
{
    for (PaletteKind kind : {PaletteKind::Templates, PaletteKind::Functions}) {
        for (const PaletteButtonInfo& info : PaletteButtons(kind)) {
            SCOPED_TRACE(info.toolId);
            const QRect ink = IconInk(DrawnIcon(info));
            const QRect inner = QRect(0, 0, info.width, 24).adjusted(2, 2, -2, -2);
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_TRUE(inner.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                             << ink.height();
            if (info.toolId == 215) {
                EXPECT_LE(ink.height(), inner.height() / 2);
                EXPECT_LT(ink.bottom(), 12);
                continue;
            }
            EXPECT_TRUE(ink.width() >= inner.width() - 1 || ink.height() >= inner.height() - 1)
                << ink.width() << "x" << ink.height();
            const ToolKind toolKind = FindTool(info.toolId)->kind;
            if (toolKind == ToolKind::Function || toolKind == ToolKind::IndexFunction) {
                EXPECT_GE(ink.height(), 12);
            }
        }
    }
}

// The templates a pupil tells apart by the arrangement of their places:
// grey squares of at least 3 by 3 pixels, set out as the template sets out
// its rows, with the bar, brace, brackets or radical where they belong.
TEST_F(PaletteTest, TemplateIconsShowTheirPlacesWhereTheTemplateHasThem)
{
    struct Shape {
        int toolId;
        std::size_t places;
        // Given the icon and its places.
        std::function<bool(const QImage&, const std::vector<QRect>&)> holds;
    };
    const auto stacked = [](const QImage& image, const std::vector<QRect>& p) {
        // One place above the other and, down the middle of the upper one,
        // background, the bar, background again between them.
        if (p[0].bottom() >= p[1].top() || p[0].right() < p[1].left() || p[1].right() < p[0].left()) {
            return false;
        }
        const int x = p[0].center().x();
        int stage = 0;
        for (int y = p[0].bottom() + 1; y < p[1].top(); ++y) {
            const bool bare = Bare(image, x, y);
            if (stage % 2 == 0 ? bare : !bare) {
                stage = std::min(stage + 1, 3);
            }
        }
        return stage == 3;
    };
    const Shape shapes[] = {
        {264, 2, stacked},
        {279, 2, stacked},
        // A system: two lines, one above the other, the brace at their left.
        {273, 2,
         [](const QImage& image, const std::vector<QRect>& p) {
             return p[0].bottom() < p[1].top() && InkIn(image, QRect(0, p[0].top(), p[0].left(), p[1].bottom()));
         }},
        // A power: a smaller place raised at the right of the base.
        {269, 2,
         [](const QImage&, const std::vector<QRect>& p) {
             const QRect& base = p[0].width() > p[1].width() ? p[0] : p[1];
             const QRect& index = p[0].width() > p[1].width() ? p[1] : p[0];
             return index.left() > base.right() && index.top() < base.top() && index.bottom() < base.bottom();
         }},
        // A lower index: a smaller place lowered at the right of the base.
        {271, 2,
         [](const QImage&, const std::vector<QRect>& p) {
             const QRect& base = p[0].width() > p[1].width() ? p[0] : p[1];
             const QRect& index = p[0].width() > p[1].width() ? p[1] : p[0];
             return index.left() > base.right() && index.bottom() > base.bottom() && index.top() > base.top();
         }},
        // Brackets on both sides of the place.
        {211, 1,
         [](const QImage& image, const std::vector<QRect>& p) {
             return InkIn(image, QRect(0, p[0].top(), p[0].left() - 1, p[0].height())) &&
                    InkIn(image, QRect(p[0].right() + 2, p[0].top(), 24, p[0].height()));
         }},
        // A square root: the radical at the left, the overline above.
        {267, 1,
         [](const QImage& image, const std::vector<QRect>& p) {
             return InkIn(image, QRect(0, p[0].top(), p[0].left() - 1, p[0].height())) &&
                    InkIn(image, QRect(p[0].left(), 0, p[0].width(), p[0].top() - 1));
         }},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.toolId);
        const auto info = std::find_if(PaletteButtons(PaletteKind::Templates).begin(),
                                       PaletteButtons(PaletteKind::Templates).end(),
                                       [&](const PaletteButtonInfo& i) { return i.toolId == shape.toolId; });
        ASSERT_NE(info, PaletteButtons(PaletteKind::Templates).end());
        const QImage image = DrawnIcon(*info);
        const std::vector<QRect> places = GreyPlaces(image);
        ASSERT_EQ(places.size(), shape.places);
        EXPECT_TRUE(shape.holds(image, places));
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
