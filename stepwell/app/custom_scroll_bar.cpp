#include "stepwell/app/custom_scroll_bar.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

#include <algorithm>

#include "platform/sys_colors.h"

namespace stepwell {

using namespace scrollbar;

namespace {

// Only one bar of the process shows a pressed part and one a highlighted part.
QPointer<CCustomScrollBar> g_pressedBar;
Part g_pressed = kNone;
QPointer<CCustomScrollBar> g_hotBar;
Part g_hot = kNone;

unsigned rgbOf(int index) { return platform::sysColor(index).rgb() & 0xFFFFFFu; }
QColor colourOf(unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u)); }

enum class Direction { Up, Down, Left, Right };

// The arrow glyph of a flat frame control, drawn without smoothing so that
// its pixels can be told from the face by colour.
QImage flatArrow(const QSize& size, Direction direction, const QColor& glyph)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(platform::sysColor(platform::COLOR_BTNFACE));
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glyph);
    const int half = std::max(1, std::min(size.width(), size.height()) / 4);
    const QPoint c(size.width() / 2, size.height() / 2);
    QPolygon triangle;
    switch (direction) {
    case Direction::Up: triangle << c + QPoint(-half, half / 2) << c + QPoint(half, half / 2) << c + QPoint(0, -half / 2 - 1); break;
    case Direction::Down: triangle << c + QPoint(-half, -half / 2) << c + QPoint(half, -half / 2) << c + QPoint(0, half / 2 + 1); break;
    case Direction::Left: triangle << c + QPoint(half / 2, -half) << c + QPoint(half / 2, half) << c + QPoint(-half / 2 - 1, 0); break;
    case Direction::Right: triangle << c + QPoint(-half / 2, -half) << c + QPoint(-half / 2, half) << c + QPoint(half / 2 + 1, 0); break;
    }
    painter.drawPolygon(triangle);
    return image;
}

// The glyph's pixels in one colour, everything else in another.
void recolour(QImage& image, const QColor& glyphWas, const QColor& glyph, const QColor& back)
{
    const QRgb was = glyphWas.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = line[x] == was ? glyph.rgb() : back.rgb();
    }
}

void drawPage(QPainter& painter, const QRect& r, bool pressed)
{
    if (r.isEmpty())
        return;
    unsigned light = LightColour(rgbOf(platform::COLOR_BTNHIGHLIGHT), rgbOf(platform::COLOR_WINDOW),
                                 rgbOf(platform::COLOR_BTNFACE));
    unsigned back = rgbOf(platform::COLOR_SCROLLBAR);
    if (pressed) {
        light = Complement(light);
        back = Complement(back);
    }
    painter.fillRect(r, colourOf(back));
    painter.setBrushOrigin(r.topLeft());
    painter.fillRect(r, QBrush(colourOf(light), Qt::Dense4Pattern));
}

}  // namespace

CCustomScrollBar::CCustomScrollBar(QWidget* parent, Qt::Orientation orientation, RequestHandler handler)
    : QWidget(parent), m_orientation(orientation), m_handler(std::move(handler))
{
    m_bar.kind = orientation == Qt::Horizontal ? 0 : 1;
    m_bar.flags = kShown;
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_delay.setSingleShot(true);
    m_delay.setInterval(300);
    m_repeat.setInterval(55);
    m_hot.setInterval(20);
    connect(&m_delay, &QTimer::timeout, this, [this] { OnTimer(kDelayTimer); });
    connect(&m_repeat, &QTimer::timeout, this, [this] { OnTimer(kRepeatTimer); });
    connect(&m_hot, &QTimer::timeout, this, [this] { OnTimer(kHotTimer); });
}

CCustomScrollBar::~CCustomScrollBar()
{
    if (g_pressedBar == this)
        g_pressed = kNone;
    if (g_hotBar == this)
        g_hot = kNone;
}

int CCustomScrollBar::SystemExtent() { return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

QSize CCustomScrollBar::sizeHint() const
{
    const int extent = Thickness(m_bar, SystemExtent());
    return m_orientation == Qt::Vertical ? QSize(extent, 4 * extent) : QSize(4 * extent, extent);
}

void CCustomScrollBar::SetScrollInfo(const ScrollInfo& info)
{
    SetInfo(m_bar, kMaskRange | kMaskPage | kMaskPos, {info.min, info.max, info.page, info.pos});
    m_givenShown = info.shown;
    // A thumb being dragged keeps its place until it is let go.
    if (!m_tracking)
        update();
}

ScrollInfo CCustomScrollBar::GetScrollInfo() const
{
    return {m_bar.info.min, m_bar.info.max, m_bar.info.page, m_bar.info.pos, m_givenShown};
}

void CCustomScrollBar::ShowScrollBar(bool show)
{
    if (show)
        m_bar.flags |= kShown;
    else
        m_bar.flags &= ~kShown;
    setVisible(show);
}

void CCustomScrollBar::SetStyle(unsigned style)
{
    m_bar.style = static_cast<int>(style);
    update();
}

Part CCustomScrollBar::pressedPart() const { return g_pressedBar == this ? g_pressed : kNone; }
Part CCustomScrollBar::hotPart() const { return g_hotBar == this ? g_hot : kNone; }

int CCustomScrollBar::length() const { return m_orientation == Qt::Vertical ? height() : width(); }
int CCustomScrollBar::thickness() const { return m_orientation == Qt::Vertical ? width() : height(); }
int CCustomScrollBar::along(const QPoint& p) const { return m_orientation == Qt::Vertical ? p.y() : p.x(); }
int CCustomScrollBar::across(const QPoint& p) const { return m_orientation == Qt::Vertical ? p.x() : p.y(); }

Part CCustomScrollBar::partAt(const QPoint& p) const
{
    return HitTest(m_bar, length(), thickness(), along(p), across(p), SystemExtent());
}

bool CCustomScrollBar::canScroll() const { return CanScrollForShow(m_bar.info) && !m_bar.bothArrowsDisabled(); }

void CCustomScrollBar::send(int request, int pos)
{
    if (m_handler)
        m_handler(request, pos);
}

void CCustomScrollBar::press(const QPoint& p)
{
    m_mouse = p;
    const Part part = partAt(p);
    switch (part) {
    case kLineUp:
    case kLineDown:
        if (!canScroll() || (m_bar.flags & (part == kLineUp ? kDisableFirst : kDisableLast)))
            return;
        [[fallthrough]];
    case kPageUp:
    case kPageDown: {
        if (!canScroll())
            return;
        g_pressedBar = this;
        g_pressed = part;
        m_pressedOver = true;
        send(part);
        update();
        m_delay.start();
        return;
    }
    case kThumb: {
        const Sides sides = SidesOf(m_bar, length(), SystemExtent());
        const int start = StartSpace(sides);
        const int proper = length() - start - EndSpace(sides);
        const int arrow = ArrowLength(m_bar, SystemExtent());
        const Thumb thumb = ThumbOf(m_bar.info, proper, arrow, m_bar.minThumb);
        m_drag = {proper, thickness(), arrow, arrow + thumb.offset, along(p) - start - arrow - thumb.offset,
                  thumb.length, m_bar.info.pos};
        m_tracking = true;
        g_pressedBar = this;
        g_pressed = kThumb;
        update();
        return;
    }
    default: return;
    }
}

void CCustomScrollBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        press(event->position().toPoint());
}

void CCustomScrollBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        press(event->position().toPoint());
}

void CCustomScrollBar::mouseMoveEvent(QMouseEvent* event)
{
    m_mouse = event->position().toPoint();
    if (g_pressedBar == this && g_pressed != kNone) {
        if (m_tracking) {
            const int start = StartSpace(SidesOf(m_bar, length(), SystemExtent()));
            const int thumbStart = m_drag.ThumbStartFor(along(m_mouse) - start, across(m_mouse));
            m_dragThumbStart = thumbStart;
            const int pos = m_drag.PositionFor(m_bar.info, thumbStart);
            if (pos != m_drag.lastPos) {
                m_drag.lastPos = pos;
                send(kThumb, pos);
            }
            update();
        } else {
            const bool over = partAt(m_mouse) == g_pressed;
            if (over != m_pressedOver) {
                m_pressedOver = over;
                update();
            }
        }
        return;
    }
    if (m_bar.style != 2)
        return;
    const Part part = partAt(m_mouse);
    if (g_hotBar == this && g_hot == part)
        return;
    if (g_hotBar && g_hotBar != this)
        g_hotBar->update();
    g_hotBar = this;
    g_hot = part;
    update();
    if (part != kNone)
        m_hot.start();
}

void CCustomScrollBar::leaveEvent(QEvent*)
{
    // The hot-tracking timer sees the mouse gone.
    m_mouse = QPoint(-1, -1);
}

void CCustomScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || g_pressedBar != this || g_pressed == kNone)
        return;
    m_delay.stop();
    m_repeat.stop();
    g_pressed = kNone;
    g_pressedBar = nullptr;
    const bool tracked = m_tracking;
    if (tracked) {
        m_tracking = false;
        m_dragThumbStart.reset();
        send(kThumbPosition, m_drag.lastPos);
    }
    send(kEndScroll);
    update();
}

bool CCustomScrollBar::TimerActive(int id) const
{
    switch (id) {
    case kDelayTimer: return m_delay.isActive();
    case kRepeatTimer: return m_repeat.isActive();
    case kHotTimer: return m_hot.isActive();
    default: return false;
    }
}

void CCustomScrollBar::OnTimer(int id)
{
    switch (id) {
    case kDelayTimer:
        m_delay.stop();
        m_repeat.start();
        break;
    case kRepeatTimer:
        if (g_pressedBar != this || g_pressed == kNone || m_tracking) {
            m_repeat.stop();
            break;
        }
        // Only while the mouse is still over the pressed part.
        if (partAt(m_mouse) == g_pressed)
            send(g_pressed);
        break;
    case kHotTimer:
        if (g_hotBar != this || g_hot == kNone) {
            m_hot.stop();
            break;
        }
        if (partAt(m_mouse) != g_hot) {
            g_hot = kNone;
            m_hot.stop();
            update();
        }
        break;
    default: break;
    }
}

void CCustomScrollBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintBar(painter);
}

QImage CCustomScrollBar::Render() const
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(platform::sysColor(platform::COLOR_BTNFACE));
    QPainter painter(&image);
    paintBar(painter);
    return image;
}

void CCustomScrollBar::paintBar(QPainter& painter) const
{
    const int extent = SystemExtent();
    const int len = length();
    const Sides sides = SidesOf(m_bar, len, extent);
    const int start = StartSpace(sides);
    std::vector<Piece> pieces = PiecesOf(m_bar, len - start - EndSpace(sides), extent);
    // A dragged thumb is drawn where the mouse put it.
    if (m_dragThumbStart) {
        const int arrow = ArrowLength(m_bar, extent);
        int lastArrow = 0;
        for (const Piece& piece : pieces)
            if (piece.kind == PieceKind::LastArrow)
                lastArrow = piece.start;
        for (Piece& piece : pieces) {
            if (piece.kind == PieceKind::Thumb)
                piece.start = *m_dragThumbStart;
            if (piece.kind == PieceKind::PageBefore)
                piece.length = *m_dragThumbStart - arrow;
        }
        for (Piece& piece : pieces)
            if (piece.kind == PieceKind::PageAfter) {
                piece.start = *m_dragThumbStart + m_drag.thumbLength;
                piece.length = lastArrow - piece.start;
            }
    }
    const Part pressed = pressedPart();
    const Part hot = m_bar.style == 2 ? hotPart() : kNone;
    const bool vertical = m_orientation == Qt::Vertical;
    const int thick = thickness();
    auto rectOf = [&](const Piece& piece) {
        return vertical ? QRect(0, start + piece.start, thick, piece.length)
                        : QRect(start + piece.start, 0, piece.length, thick);
    };
    const QColor face = platform::sysColor(platform::COLOR_BTNFACE);
    const QColor shadow = platform::sysColor(platform::COLOR_BTNSHADOW);
    auto drawThumb = [&](const QRect& r, bool solid) {
        if (m_bar.style == 0) {
            QPalette palette = QApplication::palette();
            palette.setColor(QPalette::Button, face);
            qDrawWinPanel(&painter, r, palette, false, nullptr);
            painter.fillRect(r.adjusted(2, 2, -2, -2), face);
        } else if (solid) {
            painter.fillRect(r, shadow);
        } else {
            painter.fillRect(r, face);
            painter.setPen(shadow);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
        }
    };
    for (const Piece& piece : pieces) {
        const QRect r = rectOf(piece);
        switch (piece.kind) {
        case PieceKind::FirstArrow:
        case PieceKind::LastArrow: {
            const bool first = piece.kind == PieceKind::FirstArrow;
            const bool inactive = ArrowInactive(m_bar, first);
            const bool isPressed = pressed == piece.item && m_pressedOver;
            const bool isHot = !inactive && hot == piece.item;
            const Direction direction = vertical ? (first ? Direction::Up : Direction::Down)
                                                 : (first ? Direction::Left : Direction::Right);
            if (r.isEmpty())
                break;
            if (m_bar.style == 0) {
                QStyleOption option;
                option.rect = r;
                option.palette = QApplication::palette();
                option.state = inactive ? QStyle::State_None : QStyle::State_Enabled;
                option.state |= isPressed ? QStyle::State_Sunken : QStyle::State_Raised;
                QApplication::style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter);
                const QStyle::PrimitiveElement arrows[] = {QStyle::PE_IndicatorArrowUp,
                    QStyle::PE_IndicatorArrowDown, QStyle::PE_IndicatorArrowLeft, QStyle::PE_IndicatorArrowRight};
                QApplication::style()->drawPrimitive(arrows[static_cast<int>(direction)], &option, &painter);
            } else {
                const QColor glyph = inactive ? shadow : platform::sysColor(platform::COLOR_BTNTEXT);
                QImage image = flatArrow(r.size(), direction, glyph);
                if (!inactive && isPressed)
                    recolour(image, glyph, Qt::white, platform::sysColor(platform::COLOR_3DDKSHADOW));
                else if (isHot)
                    recolour(image, glyph, Qt::white, shadow);
                painter.drawImage(r.topLeft(), image);
            }
            break;
        }
        case PieceKind::PageBefore:
        case PieceKind::PageAfter:
            drawPage(painter, r, pressed == piece.item && m_pressedOver);
            break;
        case PieceKind::Track: drawPage(painter, r, false); break;
        case PieceKind::Thumb: drawThumb(r, m_bar.style != 0 && (pressed == kThumb || hot == kThumb)); break;
        case PieceKind::Block: drawThumb(r, m_bar.style == 2 && pressed == kThumb); break;
        case PieceKind::Strip: painter.fillRect(r, platform::sysColor(platform::COLOR_SCROLLBAR)); break;
        }
    }
}

}  // namespace stepwell
