#include "shared/widgets/splash_screen.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "platform/fonts.h"
#include "platform/sys_colors.h"
#include "shared/draw_text.h"

namespace shared {
namespace {

// DrawText's default for the status line: one line, centred both ways.
constexpr unsigned kDefaultFormat =
    DrawTextFormat::Center | DrawTextFormat::VCenter | DrawTextFormat::SingleLine;
constexpr int kFadeInMs = 500;
constexpr int kFadeOutMs = 200;
constexpr int kFadeStepMs = 20;

bool g_fadeOnEveryPlatform = false;

// Whether the splash fades: platforms that draw no window opacity show and
// hide it at once (tests may have it fade there too).
bool platformHasOpacity()
{
    if (g_fadeOnEveryPlatform)
        return true;
    const QString name = QGuiApplication::platformName();
    return name != QLatin1String("offscreen") && name != QLatin1String("minimal");
}

// A point size in tenths of a point as a pixel size on a 96-dpi display,
// rounded as Windows rounds it.
int pixelSizeOfTenths(int tenthsOfPoint)
{
    return (std::abs(tenthsOfPoint) * 96 + 360) / 720;
}

QFont pointFont(const QString& face, int tenthsOfPoint, int style)
{
    const std::string family(platform::fonts::familyFor(face.toStdString()));
    QFont font(QString::fromStdString(family));
    font.setPixelSize(std::max(1, pixelSizeOfTenths(tenthsOfPoint)));
    font.setWeight((style & SplashFontStyle::Bold) ? QFont::Bold : QFont::Normal);
    font.setItalic((style & SplashFontStyle::Italic) != 0);
    font.setUnderline((style & SplashFontStyle::Underline) != 0);
    return font;
}

bool isClosingInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        return true;
    default:
        return false;
    }
}

}  // namespace

void SetSplashFadeOnEveryPlatform(bool fade)
{
    g_fadeOnEveryPlatform = fade;
}

QRegion CreateRegionFromBitmap(const QImage& bitmap, QRgb transparentColour)
{
    QRegion region;
    if (bitmap.isNull())
        return region;
    const QImage image = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = transparentColour & 0xFFFFFF;
    const int width = image.width();
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & 0xFFFFFF) == transparent)
                ++x;
            if (x == width)
                break;
            const int start = x;
            while (x < width && (row[x] & 0xFFFFFF) != transparent)
                ++x;
            region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

// The splash's window: paints through its splash, closes it on input when
// option 32 asks for that, and on the display timer. Its fades step the
// window's opacity by the time gone by, on a timer of the event loop and
// whenever the splash repaints, so the program goes on building meanwhile.
class CSplashScreen::Window : public QWidget {
public:
    Window(CSplashScreen& splash, QWidget* owner, Qt::WindowFlags flags)
        : QWidget(owner, flags), m_splash(splash)
    {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { m_splash.close(); });
        m_fadeTimer.setInterval(kFadeStepMs);
        QObject::connect(&m_fadeTimer, &QTimer::timeout, this, [this] { stepFade(); });
    }

    // Fades from one opacity to another over the duration, then runs done.
    void startFade(double from, double to, int durationMs, std::function<void()> done)
    {
        m_fadeFrom = from;
        m_fadeTo = to;
        m_fadeMs = durationMs;
        m_fadeDone = std::move(done);
        m_fadeClock.start();
        setWindowOpacity(from);
        m_fadeTimer.start();
    }

    void stopFade()
    {
        m_fadeTimer.stop();
        m_fadeDone = nullptr;
    }

    // Sets the opacity the time since the fade began gives.
    void stepFade()
    {
        if (!m_fadeTimer.isActive())
            return;
        const double part = std::min(1.0, static_cast<double>(m_fadeClock.elapsed()) / m_fadeMs);
        setWindowOpacity(m_fadeFrom + (m_fadeTo - m_fadeFrom) * part);
        if (part < 1.0)
            return;
        m_fadeTimer.stop();
        const std::function<void()> done = std::exchange(m_fadeDone, nullptr);
        if (done)
            done();
    }

    QTimer m_timer;

protected:
    void paintEvent(QPaintEvent*) override { m_splash.paint(*this); }

    bool event(QEvent* event) override
    {
        if ((m_splash.m_options & SplashOption::CloseOnInput) && isClosingInput(event->type())) {
            event->accept();
            // A window fading out after closing takes input no further either.
            if (m_splash.m_window == this)
                m_splash.close();
            return true;
        }
        return QWidget::event(event);
    }

private:
    CSplashScreen& m_splash;
    QTimer m_fadeTimer;
    QElapsedTimer m_fadeClock;
    double m_fadeFrom = 0.0;
    double m_fadeTo = 1.0;
    int m_fadeMs = 1;
    std::function<void()> m_fadeDone;
};

CSplashScreen::CSplashScreen()
{
    m_status.font = platform::fonts::defaultGuiFont();
    m_status.format = kDefaultFormat;
    m_title.font = platform::fonts::defaultGuiFont();
    m_title.format = kDefaultFormat;
}

CSplashScreen::~CSplashScreen()
{
    delete m_window.data();
    delete m_closing.data();
}

QWidget* CSplashScreen::window() const
{
    return m_window.data();
}

bool CSplashScreen::Create(QWidget* owner, const QString& title, int displayTimeMs, unsigned options)
{
    if (m_window)
        return false;
    m_title.text = title;
    m_displayTimeMs = displayTimeMs;
    m_options = options;
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint;
    if (!(options & SplashOption::Shadow))
        flags |= Qt::NoDropShadowWindowHint;
    m_window = new Window(*this, owner, flags);
    m_window->setGeometry(0, 0, 0, 0);
    return true;
}

bool CSplashScreen::SetBitmap(int id, const QString& module, int red, int green, int blue)
{
    const QImage bitmap(QStringLiteral(":/%1/bitmap/%2.png").arg(module).arg(id));
    if (bitmap.isNull())
        return false;
    m_bitmap = bitmap;
    const QSize size = m_bitmap.size();
    QWidget* owner = m_window ? m_window->parentWidget() : nullptr;
    if (m_options & SplashOption::CenterOnScreen) {
        QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->geometry() : QRect();
        m_position = QPoint(area.left() + (area.width() - size.width()) / 2,
                            area.top() + (area.height() - size.height()) / 2);
    } else if ((m_options & SplashOption::CenterOnOwner) && owner) {
        const QRect area = owner->frameGeometry();
        m_position = QPoint(area.left() + (area.width() - size.width()) / 2,
                            area.top() + (area.height() - size.height()) / 2);
    }
    if (!m_window)
        return true;
    m_window->setGeometry(QRect(m_position, size));
    const auto none = [](int component) { return component == -1 || component == 65535; };
    if (none(red) || none(green) || none(blue)) {
        m_window->clearMask();
    } else {
        m_window->setMask(CreateRegionFromBitmap(m_bitmap, qRgb(red & 0xFF, green & 0xFF, blue & 0xFF)));
    }
    repaintNow();
    return true;
}

void CSplashScreen::SetStatusText(const QString& text)
{
    m_status.text = text;
    repaintNow();
}

void CSplashScreen::SetStatusRect(const QRect& rect)
{
    m_status.rect = rect;
    repaintNow();
}

void CSplashScreen::SetTitleRect(const QRect& rect)
{
    m_title.rect = rect;
    repaintNow();
}

void CSplashScreen::SetTitleColor(const QColor& colour)
{
    m_title.colour = colour;
    repaintNow();
}

void CSplashScreen::SetStatusFont(const QString& face, int tenthsOfPoint, int style)
{
    m_status.font = pointFont(face, tenthsOfPoint, style);
}

void CSplashScreen::SetTitleFont(const QString& face, int tenthsOfPoint, int style)
{
    m_title.font = pointFont(face, tenthsOfPoint, style);
}

void CSplashScreen::SetStatusDefaultFont()
{
    m_status.font = platform::fonts::defaultGuiFont();
}

void CSplashScreen::SetTitleDefaultFont()
{
    m_title.font = platform::fonts::defaultGuiFont();
}

void CSplashScreen::Show()
{
    if (!m_window)
        return;
    m_window->setGeometry(QRect(m_position, m_bitmap.size()));
    // The display time counts from the end of the fade-in, as it would after
    // a fade that held the program up.
    const auto startTimer = [this] {
        if (m_window && m_displayTimeMs != 0)
            m_window->m_timer.start(m_displayTimeMs);
    };
    if ((m_options & SplashOption::FadeIn) && platformHasOpacity()) {
        m_window->setWindowOpacity(0.0);
        m_window->show();
        m_window->repaint();
        m_window->startFade(0.0, 1.0, kFadeInMs, startTimer);
    } else {
        m_window->show();
        m_window->repaint();
        startTimer();
    }
}

void CSplashScreen::paint(QWidget& target)
{
    QPainter painter(&target);
    painter.fillRect(target.rect(), platform::sysColor(platform::COLOR_WINDOW));
    painter.drawImage(QPoint(0, 0), m_bitmap);
    for (const Line* line : {&m_status, &m_title}) {
        painter.setFont(line->font);
        painter.setPen(line->colour);
        drawFormattedText(painter, line->rect, line->text, line->format);
    }
}

void CSplashScreen::close()
{
    Window* window = m_window;
    if (!window)
        return;
    window->m_timer.stop();
    m_window = nullptr;
    // Input that closed the splash is still being delivered to the window.
    const auto remove = [window] {
        window->hide();
        window->deleteLater();
    };
    if ((m_options & SplashOption::FadeOut) && platformHasOpacity() && window->isVisible()) {
        // Closed for its owner at once; the window fades out by itself and
        // goes with the splash if that is deleted first.
        delete m_closing.data();
        m_closing = window;
        window->startFade(window->windowOpacity(), 0.0, kFadeOutMs, remove);
        return;
    }
    window->stopFade();
    remove();
}

void CSplashScreen::repaintNow()
{
    if (m_window && m_window->isVisible()) {
        // A program busy building its windows runs no event loop: its status
        // changes bring the fade-in along.
        m_window->stepFade();
        m_window->repaint();
    }
}

}  // namespace shared
