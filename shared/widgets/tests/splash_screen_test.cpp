// The splash screen on the offscreen platform: its shape, placement, lines,
// closing by time and by a click, and a screenshot of a program's settings.
#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QWidget>

#include <gtest/gtest.h>

#include "platform/fonts.h"
#include "shared/draw_text.h"
#include "shared/widgets/splash_screen.h"

namespace shared {
namespace {

const QString kModule = QStringLiteral("splashtest");
constexpr int kFace = 1;         // 450 x 340 picture
constexpr int kThreeByTwo = 2;   // rows A A T over T A A, T = magenta
constexpr int kDiscOnWhite = 3;  // a dark disc on white, 40 x 30

// What the window shows on the screen now (the backing store), without
// running the event loop.
QImage onScreen(QWidget* window)
{
    return QGuiApplication::primaryScreen()->grabWindow(window->winId()).toImage();
}

int pixelsOf(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    }
    return count;
}

int darkPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 40 ? 1 : 0;
    }
    return count;
}

TEST(CreateRegionFromBitmap, RunsOfOpaquePixelsPerRow)
{
    const QImage threeByTwo(QStringLiteral(":/splashtest/bitmap/2.png"));
    ASSERT_FALSE(threeByTwo.isNull());
    QRegion expected;
    expected += QRect(QPoint(0, 0), QPoint(1, 0));  // (0,0)-(2,1)
    expected += QRect(QPoint(1, 1), QPoint(2, 1));  // (1,1)-(3,2): the last pixel ends the run
    EXPECT_EQ(CreateRegionFromBitmap(threeByTwo, qRgb(255, 0, 255)), expected);
    // No pixel of the colour: the whole picture; every pixel of it: nothing.
    EXPECT_EQ(CreateRegionFromBitmap(threeByTwo, qRgb(1, 2, 3)), QRegion(0, 0, 3, 2));
    QImage plain(4, 3, QImage::Format_RGB32);
    plain.fill(qRgb(255, 255, 255));
    EXPECT_TRUE(CreateRegionFromBitmap(plain, qRgb(255, 255, 255)).isEmpty());
    EXPECT_TRUE(CreateRegionFromBitmap(QImage(), qRgb(0, 0, 0)).isEmpty());
}

TEST(CSplashScreen, TransparentColourShapesTheWindowUnlessNone)
{
    const struct {
        int red, green, blue;
        bool masked;
    } rows[] = {
        {-1, -1, -1, false},
        {65535, 65535, 65535, false},
        {255, 65535, 255, false},
        {255, 255, 255, true},
    };
    for (const auto& row : rows) {
        CSplashScreen splash;
        ASSERT_TRUE(splash.Create(nullptr, QString(), 0, 0));
        ASSERT_TRUE(splash.SetBitmap(kDiscOnWhite, kModule, row.red, row.green, row.blue));
        const QRegion mask = splash.window()->mask();
        EXPECT_EQ(!mask.isEmpty(), row.masked) << row.red << " " << row.green;
        if (row.masked) {
            EXPECT_TRUE(mask.contains(QPoint(20, 15)));   // the disc stays
            EXPECT_FALSE(mask.contains(QPoint(1, 1)));    // white is left out
            EXPECT_FALSE(mask.contains(QPoint(39, 29)));
        }
    }
}

TEST(CSplashScreen, MissingPictureGivesFalseAndSizeZero)
{
    CSplashScreen splash;
    ASSERT_TRUE(splash.Create(nullptr, QString(), 0, SplashOption::CenterOnScreen));
    EXPECT_FALSE(splash.SetBitmap(999, kModule, -1, -1, -1));
    EXPECT_FALSE(splash.SetBitmap(kFace, QStringLiteral("noprogram"), -1, -1, -1));
    EXPECT_EQ(splash.window()->size(), QSize(0, 0));
    EXPECT_FALSE(splash.Create(nullptr, QString(), 0, 0));  // one window per splash
}

TEST(CSplashScreen, CentresOnTheScreenBeforeTheOwner)
{
    QWidget owner;
    owner.setGeometry(20, 30, 200, 100);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect ownerFrame = owner.frameGeometry();
    const struct {
        unsigned options;
        QPoint centre;
    } rows[] = {
        {SplashOption::CenterOnScreen | SplashOption::CenterOnOwner, screen.center()},
        {SplashOption::CenterOnScreen, screen.center()},
        {SplashOption::CenterOnOwner, ownerFrame.center()},
    };
    for (const auto& row : rows) {
        CSplashScreen splash;
        ASSERT_TRUE(splash.Create(&owner, QString(), 0, row.options));
        ASSERT_TRUE(splash.SetBitmap(kDiscOnWhite, kModule, -1, -1, -1));
        const QRect placed = splash.window()->geometry();
        EXPECT_EQ(placed.size(), QSize(40, 30));
        EXPECT_LE(std::abs(placed.center().x() - row.centre.x()), 1) << row.options;
        EXPECT_LE(std::abs(placed.center().y() - row.centre.y()), 1) << row.options;
    }
}

TEST(CSplashScreen, DisplayTimeZeroStaysUntilDeletedAShortOneCloses)
{
    QWidget owner;
    owner.show();
    auto kept = std::make_unique<CSplashScreen>();
    ASSERT_TRUE(kept->Create(&owner, QString(), 0, 0));
    ASSERT_TRUE(kept->SetBitmap(kDiscOnWhite, kModule, -1, -1, -1));
    kept->Show();
    CSplashScreen timed;
    ASSERT_TRUE(timed.Create(&owner, QString(), 50, 0));
    ASSERT_TRUE(timed.SetBitmap(kDiscOnWhite, kModule, -1, -1, -1));
    timed.Show();
    QPointer<QWidget> timedWindow = timed.window();
    ASSERT_TRUE(timedWindow->isVisible());
    QTest::qWait(300);
    EXPECT_EQ(timed.window(), nullptr);
    EXPECT_TRUE(timedWindow.isNull());  // the window is gone
    ASSERT_NE(kept->window(), nullptr);
    EXPECT_TRUE(kept->window()->isVisible());
    QPointer<QWidget> keptWindow = kept->window();
    kept.reset();
    EXPECT_TRUE(keptWindow.isNull());
}

TEST(CSplashScreen, ClickClosesItWithOption32AndGoesNoFurther)
{
    for (const bool closeOnInput : {true, false}) {
        QWidget owner;
        owner.setGeometry(0, 0, 300, 200);
        QPushButton button(QStringLiteral("Below"), &owner);
        button.setGeometry(0, 0, 300, 200);
        owner.show();
        QSignalSpy clicks(&button, &QPushButton::clicked);
        CSplashScreen splash;
        ASSERT_TRUE(splash.Create(&owner, QString(), 0,
                                  SplashOption::CenterOnOwner | (closeOnInput ? SplashOption::CloseOnInput : 0)));
        ASSERT_TRUE(splash.SetBitmap(kDiscOnWhite, kModule, -1, -1, -1));
        splash.Show();
        QWidget* window = splash.window();
        const QPoint global = window->mapToGlobal(QPoint(20, 15));
        ASSERT_EQ(QApplication::widgetAt(global), window);  // the splash is on top there
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(20, 15));
        QTest::qWait(20);
        EXPECT_EQ(splash.window() == nullptr, closeOnInput);
        EXPECT_EQ(clicks.count(), 0);
        if (!closeOnInput) {
            QTest::keyClick(window, Qt::Key_Space);
            EXPECT_NE(splash.window(), nullptr);
        }
    }
}

TEST(CSplashScreen, KeyPressClosesItWithOption32)
{
    CSplashScreen splash;
    ASSERT_TRUE(splash.Create(nullptr, QString(), 0, SplashOption::CloseOnInput));
    ASSERT_TRUE(splash.SetBitmap(kDiscOnWhite, kModule, -1, -1, -1));
    splash.Show();
    QTest::keyClick(splash.window(), Qt::Key_Escape);
    EXPECT_EQ(splash.window(), nullptr);
}

TEST(CSplashScreen, StatusTextShowsAtOnceWithoutTheEventLoop)
{
    CSplashScreen splash;
    ASSERT_TRUE(splash.Create(nullptr, QString(), 0, 0));
    ASSERT_TRUE(splash.SetBitmap(kDiscOnWhite, kModule, -1, -1, -1));
    splash.SetStatusRect(QRect(0, 0, 40, 30));
    splash.SetStatusFont(QStringLiteral("Arial"), 80, SplashFontStyle::Bold);
    splash.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash.window()));
    const QRect corner(0, 0, 8, 30);  // white margin left of the disc
    const int whiteBefore = pixelsOf(onScreen(splash.window()), corner, qRgb(255, 255, 255));
    splash.SetStatusFormat(DrawTextFormat::SingleLine | DrawTextFormat::VCenter);
    splash.SetStatusText(QStringLiteral("WWWW"));
    const int whiteAfter = pixelsOf(onScreen(splash.window()), corner, qRgb(255, 255, 255));
    EXPECT_EQ(whiteBefore, corner.width() * corner.height());
    EXPECT_LT(whiteAfter, whiteBefore);  // black text now covers some of it
}

// Fading on the offscreen platform for one test: the window draws no
// opacity there, but its opacity still steps.
class FadingEverywhere {
public:
    FadingEverywhere() { SetSplashFadeOnEveryPlatform(true); }
    ~FadingEverywhere() { SetSplashFadeOnEveryPlatform(false); }
};

TEST(CSplashScreen, FadesInWhileTheProgramBuildsItsFrame)
{
    constexpr unsigned kOptions = SplashOption::FadeIn | SplashOption::FadeOut | SplashOption::CenterOnScreen;
    {
        // Without window opacity the splash shows at once.
        CSplashScreen splash;
        ASSERT_TRUE(splash.Create(nullptr, QString(), 0, kOptions));
        ASSERT_TRUE(splash.SetBitmap(kDiscOnWhite, kModule, -1, -1, -1));
        splash.Show();
        EXPECT_TRUE(splash.window()->isVisible());
        EXPECT_EQ(splash.window()->windowOpacity(), 1.0);
    }
    FadingEverywhere fading;
    QMainWindow frame;
    CSplashScreen splash;
    ASSERT_TRUE(splash.Create(&frame, QString(), 0, kOptions));
    ASSERT_TRUE(splash.SetBitmap(kDiscOnWhite, kModule, -1, -1, -1));
    splash.Show();
    QWidget* window = splash.window();
    ASSERT_TRUE(window->isVisible());
    EXPECT_LT(window->windowOpacity(), 0.5);  // Show returned while the fade began

    // The program builds its frame meanwhile, naming its stages on the splash;
    // each status change brings the fade up to the time gone by.
    auto* panes = new QSplitter(&frame);
    for (int i = 0; i < 3; ++i)
        new QTextEdit(panes);
    frame.setCentralWidget(panes);
    frame.menuBar()->addMenu(QStringLiteral("File"));
    QThread::msleep(60);
    splash.SetStatusText(QStringLiteral("Menus"));
    EXPECT_GT(window->windowOpacity(), 0.0);
    EXPECT_TRUE(window->isVisible());

    // The event loop ends the fade.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->windowOpacity() == 1.0; }));
    EXPECT_EQ(splash.window(), window);
}

TEST(CSplashScreen, FadesOutAfterClosingThroughTheEventLoop)
{
    FadingEverywhere fading;
    for (const bool deleteSplash : {false, true}) {
        auto splash = std::make_unique<CSplashScreen>();
        ASSERT_TRUE(splash->Create(nullptr, QString(), 0, SplashOption::FadeOut | SplashOption::CloseOnInput));
        ASSERT_TRUE(splash->SetBitmap(kDiscOnWhite, kModule, -1, -1, -1));
        splash->Show();
        QPointer<QWidget> window = splash->window();
        QTest::keyClick(window, Qt::Key_Escape);
        EXPECT_EQ(splash->window(), nullptr);  // closed at once for its owner
        ASSERT_FALSE(window.isNull());
        EXPECT_TRUE(window->isVisible());  // still fading out
        if (deleteSplash) {
            splash.reset();  // its owner ends it: the fading window goes with it
            EXPECT_TRUE(window.isNull());
        } else {
            QTest::keyClick(window, Qt::Key_Escape);  // input while it fades closes nothing more
            EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }));
        }
    }
}

TEST(CSplashScreen, FontsByFaceTenthsOfPointAndStyle)
{
    CSplashScreen splash;
    EXPECT_EQ(splash.statusFont(), platform::fonts::defaultGuiFont());
    EXPECT_EQ(splash.titleFont(), platform::fonts::defaultGuiFont());
    EXPECT_EQ(splash.statusFormat(), 0x25u);  // one line, centred both ways
    splash.SetStatusFont(QStringLiteral("Arial"), 80, 0);
    EXPECT_EQ(splash.statusFont().family(), "Liberation Sans");
    EXPECT_EQ(splash.statusFont().pixelSize(), 11);
    EXPECT_FALSE(splash.statusFont().bold());
    splash.SetTitleFont(QStringLiteral("Times"), 130, SplashFontStyle::Bold | SplashFontStyle::Italic |
                                                           SplashFontStyle::Underline);
    EXPECT_EQ(splash.titleFont().family(), "Liberation Serif");
    EXPECT_EQ(splash.titleFont().pixelSize(), 17);
    EXPECT_EQ(splash.titleFont().weight(), QFont::Bold);
    EXPECT_TRUE(splash.titleFont().italic());
    EXPECT_TRUE(splash.titleFont().underline());
    splash.SetTitleDefaultFont();
    EXPECT_EQ(splash.titleFont(), platform::fonts::defaultGuiFont());
}

TEST(DrawTextFormat, BitsGiveTheAlignment)
{
    const struct {
        unsigned format;
        int flags;
    } rows[] = {
        {0x29, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine},
        {0x25, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine},
        {0x11, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap},
        {0x0E, Qt::AlignRight | Qt::AlignTop},  // 4 and 8 need a single line
        {0x30, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine},
        {0x00, Qt::AlignLeft | Qt::AlignTop},
    };
    for (const auto& row : rows)
        EXPECT_EQ(drawTextFlags(row.format), row.flags) << std::hex << row.format;
}

TEST(CSplashScreen, ScreenshotOfStepwellSettings)
{
    CSplashScreen splash;
    ASSERT_TRUE(splash.Create(nullptr, QStringLiteral("Середовище перетворень"), 0,
                              SplashOption::FadeIn | SplashOption::FadeOut | SplashOption::CenterOnScreen));
    ASSERT_TRUE(splash.SetBitmap(kFace, kModule, -1, -1, -1));
    splash.SetStatusFormat(41);
    splash.SetStatusFont(QStringLiteral("Arial"), 80, 0);
    splash.SetStatusRect(QRect(QPoint(0, 200), QPoint(450, 340)));
    splash.SetTitleFormat(17);
    splash.SetTitleFont(QStringLiteral("Times"), 130, SplashFontStyle::Bold);
    splash.SetTitleColor(Qt::white);
    splash.SetTitleRect(QRect(QPoint(250, 20), QPoint(400, 150)));
    splash.SetStatusText(QStringLiteral("Створення головного вікна"));
    splash.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash.window()));
    const QImage shot = onScreen(splash.window());
    ASSERT_EQ(shot.size(), QSize(450, 340));
    EXPECT_GT(pixelsOf(shot, QRect(250, 20, 150, 60), qRgb(255, 255, 255)), 20);  // the title
    EXPECT_GT(darkPixels(shot, QRect(0, 300, 450, 40)), 20);  // the status line at the bottom
    EXPECT_EQ(darkPixels(shot, QRect(0, 200, 450, 100)), 0);
    ASSERT_TRUE(shot.save(QStringLiteral(FURNITURE_PNG_DIR "/furniture_splash.png")));
}

}  // namespace
}  // namespace shared
