#pragma once
// The borderless picture window that a program shows while its main frame
// builds its panes: a picture, optionally shaped to its outline, with a
// title line and a status line drawn over it. It closes after its display
// time, or on a key or mouse press when asked to, optionally fading in and
// out. The window is a frameless tool window over its owner, shown without
// taking the focus; the object belongs to its creator, and deleting it
// removes the window.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QString>

class QWidget;

namespace shared {

namespace SplashOption {
constexpr unsigned FadeIn = 1;    // 500 ms when showing
constexpr unsigned FadeOut = 2;   // 200 ms when closing
constexpr unsigned Shadow = 4;    // the window manager's drop shadow
constexpr unsigned CenterOnScreen = 8;
constexpr unsigned CenterOnOwner = 16;
constexpr unsigned CloseOnInput = 32;
}  // namespace SplashOption

// Font style bits of SetStatusFont and SetTitleFont.
namespace SplashFontStyle {
constexpr int Bold = 1;
constexpr int Italic = 2;
constexpr int Underline = 4;
}  // namespace SplashFontStyle

// The picture without the pixels of the transparent colour: per row, each
// run of other pixels as a one-pixel-high rectangle (a run ends at a
// transparent pixel or at the row's last pixel, which then belongs to it).
QRegion CreateRegionFromBitmap(const QImage& bitmap, QRgb transparentColour);

// For tests: splashes fade also on platforms that draw no window opacity
// (offscreen), where the window's opacity still steps.
void SetSplashFadeOnEveryPlatform(bool fade);

class CSplashScreen {
public:
    CSplashScreen();
    ~CSplashScreen();
    CSplashScreen(const CSplashScreen&) = delete;
    CSplashScreen& operator=(const CSplashScreen&) = delete;

    // Makes the (hidden, empty) window over owner; false when one was made
    // already. A display time of 0 starts no timer.
    bool Create(QWidget* owner, const QString& title, int displayTimeMs, unsigned options);
    // Loads ":/<module>/bitmap/<id>.png" and takes its size; false, with the
    // window left at size zero, when there is no such picture. Places the
    // window by option 8 (screen), else 16 (owner). Unless a component is -1
    // or 65535 (no transparent colour), the window's mask leaves out the
    // pixels of that colour.
    bool SetBitmap(int id, const QString& module, int red, int green, int blue);

    // These repaint the window before they return.
    void SetStatusText(const QString& text);
    void SetStatusRect(const QRect& rect);
    void SetTitleRect(const QRect& rect);
    void SetTitleColor(const QColor& colour);
    // DrawText format bits (shared/draw_text.h); stored for the next paint.
    void SetStatusFormat(unsigned format) { m_status.format = format; }
    void SetTitleFormat(unsigned format) { m_title.format = format; }
    // A face (a Windows face name) at a size in tenths of a point, with the
    // SplashFontStyle bits.
    void SetStatusFont(const QString& face, int tenthsOfPoint, int style);
    void SetTitleFont(const QString& face, int tenthsOfPoint, int style);
    void SetStatusDefaultFont();
    void SetTitleDefaultFont();

    // Places and shows the window and starts the display timer. With option 1,
    // where the platform has window opacity, it returns at once and the window
    // fades in through the event loop (and at each status change); the display
    // timer starts when the fade-in ends.
    void Show();

    // The window; nullptr before Create and once it closed.
    QWidget* window() const;
    QFont statusFont() const { return m_status.font; }
    QFont titleFont() const { return m_title.font; }
    unsigned statusFormat() const { return m_status.format; }
    unsigned titleFormat() const { return m_title.format; }

private:
    class Window;
    friend class Window;

    struct Line {
        QString text;
        QRect rect;
        QFont font;
        unsigned format;
        QColor colour{0, 0, 0};
    };

    void paint(QWidget& target);
    void close();
    void repaintNow();

    QPointer<Window> m_window;
    QPointer<Window> m_closing;  // closed, fading out
    QImage m_bitmap;
    QPoint m_position;
    Line m_status;
    Line m_title;
    int m_displayTimeMs = 2000;
    unsigned m_options = 0;
};

}  // namespace shared
