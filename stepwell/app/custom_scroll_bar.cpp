#include "stepwell/app/custom_scroll_bar.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyle>
#include <QStyleOption>
#include <QToolTip>
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

// The scroll-bar arrow of a frame control: a bevelled panel with the
// direction's arrow, sunken while pressed.
void drawStyleArrow(QPainter& painter, const QRect& r, Direction direction, bool inactive, bool pressed)
{
    QStyleOption option;
    option.rect = r;
    option.palette = QApplication::palette();
    option.state = inactive ? QStyle::State_None : QStyle::State_Enabled;
    option.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
    QApplication::style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter);
    const QStyle::PrimitiveElement arrows[] = {QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown,
                                               QStyle::PE_IndicatorArrowLeft, QStyle::PE_IndicatorArrowRight};
    QApplication::style()->drawPrimitive(arrows[static_cast<int>(direction)], &option, &painter);
}

// A raised three-dimensional edge, two pixels wide.
void drawRaisedEdge(QPainter& painter, const QRect& r)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, platform::sysColor(platform::COLOR_BTNFACE));
    qDrawWinPanel(&painter, r, palette, false, nullptr);
}

// A flat edge: one pixel in the shadow colour.
void drawFlatEdge(QPainter& painter, const QRect& r)
{
    painter.save();
    painter.setPen(platform::sysColor(platform::COLOR_BTNSHADOW));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.restore();
}

int controlIdOf(const QWidget* window)
{
    bool ok = false;
    const int id = window ? window->objectName().toInt(&ok) : 0;
    return ok ? id : 0;
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

SetInfoResult CCustomScrollBar::SetInfo(unsigned mask, const Info& info)
{
    const SetInfoResult result = scrollbar::SetInfo(m_bar, mask, info);
    if (!m_tracking)
        update();
    return result;
}

void CCustomScrollBar::SetStyle(int style)
{
    m_bar.style = style;
    update();
}

void CCustomScrollBar::InsertButton(int index, const CustomScrollButton& button)
{
    const std::size_t at = index < 0 || static_cast<std::size_t>(index) > m_bar.buttons.size()
                               ? m_bar.buttons.size()
                               : static_cast<std::size_t>(index);
    const ExtraButton entry{button.side, button.commandId, button.style, button.checked, button.size,
                            button.preferred, button.minimum, button.maximum};
    m_bar.buttons.insert(m_bar.buttons.begin() + static_cast<std::ptrdiff_t>(at), entry);
    m_faces.insert(m_faces.begin() + static_cast<std::ptrdiff_t>(at), Face{button.bitmap, button.picture, button.cursor});
    if (m_heldButton >= static_cast<int>(at))
        ++m_heldButton;
    update();
}

bool CCustomScrollBar::ModifyButton(int commandId, const CustomScrollButton& button)
{
    for (std::size_t i = 0; i < m_bar.buttons.size(); ++i) {
        if (m_bar.buttons[i].commandId != commandId)
            continue;
        m_bar.buttons[i] = {button.side, button.commandId, button.style, button.checked, button.size,
                            button.preferred, button.minimum, button.maximum};
        m_faces[i] = {button.bitmap, button.picture, button.cursor};
        update();
        return true;
    }
    return false;
}

bool CCustomScrollBar::RemoveButton(int commandId)
{
    for (std::size_t i = 0; i < m_bar.buttons.size(); ++i) {
        if (m_bar.buttons[i].commandId != commandId)
            continue;
        m_bar.buttons.erase(m_bar.buttons.begin() + static_cast<std::ptrdiff_t>(i));
        m_faces.erase(m_faces.begin() + static_cast<std::ptrdiff_t>(i));
        // A held button that goes away ends its press without a click.
        if (m_heldButton == static_cast<int>(i)) {
            m_heldButton = -1;
            if (g_pressedBar == this && g_pressed == kExtraButton) {
                g_pressed = kNone;
                g_pressedBar = nullptr;
            }
        } else if (m_heldButton > static_cast<int>(i)) {
            --m_heldButton;
        }
        update();
        return true;
    }
    return false;
}

Part CCustomScrollBar::pressedPart() const { return g_pressedBar == this ? g_pressed : kNone; }
Part CCustomScrollBar::hotPart() const { return g_hotBar == this ? g_hot : kNone; }

int CCustomScrollBar::length() const { return m_orientation == Qt::Vertical ? height() : width(); }
int CCustomScrollBar::thickness() const { return m_orientation == Qt::Vertical ? width() : height(); }
int CCustomScrollBar::along(const QPoint& p) const { return m_orientation == Qt::Vertical ? p.y() : p.x(); }
int CCustomScrollBar::across(const QPoint& p) const { return m_orientation == Qt::Vertical ? p.x() : p.y(); }

QRect CCustomScrollBar::rectAlong(int start, int size) const
{
    return m_orientation == Qt::Vertical ? QRect(0, start, thickness(), size) : QRect(start, 0, size, thickness());
}

Part CCustomScrollBar::partAt(const QPoint& p) const
{
    return HitTest(m_bar, length(), thickness(), along(p), across(p), SystemExtent());
}

ButtonHit CCustomScrollBar::buttonAt(const QPoint& p) const
{
    return HitExtraButton(m_bar, length(), thickness(), along(p), across(p), SystemExtent());
}

bool CCustomScrollBar::canScroll() const { return CanScrollForShow(m_bar.info) && !m_bar.bothArrowsDisabled(); }

void CCustomScrollBar::send(int request, int pos)
{
    if (m_handler)
        m_handler(request, pos);
}

void CCustomScrollBar::pressButton(const QPoint& p)
{
    const ButtonHit hit = buttonAt(p);
    if (hit.index < 0)
        return;
    const ExtraButton& button = m_bar.buttons[static_cast<std::size_t>(hit.index)];
    QWidget* window = parentWidget();
    if (auto* owner = window ? dynamic_cast<ICustomScrollBarParent*>(window->parentWidget()) : nullptr) {
        CustomScrollButtonClick click;
        click.window = window;
        click.controlId = controlIdOf(window);
        const QRect local = rectAlong(hit.start, hit.size);
        click.rect = QRect(mapToGlobal(local.topLeft()), local.size());
        click.point = mapToGlobal(p);
        click.commandId = button.commandId;
        click.barKind = m_bar.kind;
        owner->OnScrollBarButtonClick(click);
    }
    g_pressedBar = this;
    g_pressed = kExtraButton;
    m_heldButton = hit.index;
    m_pressedOver = true;
    update();
}

void CCustomScrollBar::press(const QPoint& p)
{
    m_mouse = p;
    const Part part = partAt(p);
    switch (part) {
    case kExtraButton: pressButton(p); return;
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
            const bool over = g_pressed == kExtraButton ? buttonAt(m_mouse).index == m_heldButton
                                                        : partAt(m_mouse) == g_pressed;
            if (over != m_pressedOver) {
                m_pressedOver = over;
                update();
            }
        }
        return;
    }
    // An extra button with a cursor of its own shows it while under the mouse.
    const ButtonHit hit = partAt(m_mouse) == kExtraButton ? buttonAt(m_mouse) : ButtonHit{};
    if (hit.index >= 0 && m_faces[static_cast<std::size_t>(hit.index)].cursor)
        setCursor(*m_faces[static_cast<std::size_t>(hit.index)].cursor);
    else
        unsetCursor();
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

bool CCustomScrollBar::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    // Only the extra buttons have tooltips: their texts by command id.
    auto* help = static_cast<QHelpEvent*>(event);
    const ButtonHit hit = partAt(help->pos()) == kExtraButton ? buttonAt(help->pos()) : ButtonHit{};
    const QString text = hit.index >= 0 && m_tooltips
                             ? m_tooltips(m_bar.buttons[static_cast<std::size_t>(hit.index)].commandId)
                             : QString();
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, this, rectAlong(hit.start, hit.size));
    return true;
}

void CCustomScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || g_pressedBar != this || g_pressed == kNone)
        return;
    m_delay.stop();
    m_repeat.stop();
    const Part released = g_pressed;
    g_pressed = kNone;
    g_pressedBar = nullptr;
    if (released == kExtraButton) {
        const int index = m_heldButton;
        m_heldButton = -1;
        update();
        // Let go over the button it was pressed on: a click.
        if (index < 0 || buttonAt(event->position().toPoint()).index != index)
            return;
        ExtraButton& button = m_bar.buttons[static_cast<std::size_t>(index)];
        if ((button.style & kKindMask) == 2)
            button.checked = !button.checked;
        if (button.commandId > 0)
            if (auto* window = dynamic_cast<ICustomScrollBarWindow*>(parentWidget()))
                window->OnScrollBarCommand(button.commandId, 1);
        return;
    }
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
        if (g_pressedBar != this || g_pressed == kNone || g_pressed == kExtraButton || m_tracking) {
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
    painter.translate(-pos());
    paintBar(painter);
}

QImage CCustomScrollBar::Render() const
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(platform::sysColor(platform::COLOR_BTNFACE));
    QPainter painter(&image);
    painter.translate(-pos());
    paintBar(painter);
    return image;
}

int CCustomScrollBar::notifyParent(unsigned stage, QPainter* painter, const QRect& rect, int item, unsigned state,
                                   int itemValue) const
{
    QWidget* window = parentWidget();
    auto* owner = window ? dynamic_cast<ICustomScrollBarParent*>(window->parentWidget()) : nullptr;
    if (!owner)
        return 0;
    CustomScrollDraw draw;
    draw.window = window;
    draw.controlId = controlIdOf(window);
    draw.stage = stage;
    draw.painter = painter;
    draw.rect = rect;
    draw.item = item;
    draw.itemState = state;
    draw.itemValue = itemValue;
    return owner->OnScrollBarCustomDraw(draw);
}

void CCustomScrollBar::paintButton(QPainter& painter, int index, const QRect& r, bool pressed) const
{
    const ExtraButton& button = m_bar.buttons[static_cast<std::size_t>(index)];
    const Face& face = m_faces[static_cast<std::size_t>(index)];
    const QColor faceColour = platform::sysColor(platform::COLOR_BTNFACE);
    const unsigned kind = button.style & kKindMask;
    switch (kind) {
    case 1: break;
    case 2: pressed = pressed || button.checked; break;
    case 3: pressed = button.checked; break;
    case 4:
        painter.fillRect(r, faceColour);
        drawFlatEdge(painter, r);
        return;
    case 5: painter.fillRect(r, faceColour); return;
    case 6: painter.fillRect(r, platform::sysColor(platform::COLOR_3DDKSHADOW)); return;
    case 7:
        painter.save();
        painter.setClipRect(r);
        notifyParent(kStageItemPrePaint, &painter, r, button.commandId, pressed ? 1 : 0, kItemValueButton);
        painter.restore();
        return;
    default: return;
    }
    // Drawn as a scroll arrow.
    const std::pair<unsigned, Direction> arrows[] = {{kLookArrowLeft, Direction::Left},
        {kLookArrowRight, Direction::Right}, {kLookArrowUp, Direction::Up}, {kLookArrowDown, Direction::Down}};
    for (const auto& [bit, direction] : arrows)
        if (button.style & bit) {
            drawStyleArrow(painter, r, direction, false, pressed);
            return;
        }
    QRect content;
    if (!pressed) {
        if (button.style & (kLookPushFrame | kLookPushFrameThin)) {
            QStyleOptionButton option;
            option.rect = r;
            option.palette = QApplication::palette();
            option.state = QStyle::State_Enabled | QStyle::State_Raised;
            QApplication::style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter);
            content = button.style & kLookPushFrame ? r.adjusted(2, 2, -3, -3) : r.adjusted(1, 1, -2, -2);
        } else {
            drawRaisedEdge(painter, r);
            content = r.adjusted(2, 2, -2, -2);
        }
    } else if (button.style & kLookPressedDark) {
        drawFlatEdge(painter, r.adjusted(1, 1, -1, -1));
        painter.save();
        painter.setPen(platform::sysColor(platform::COLOR_3DDKSHADOW));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.restore();
        content = r.adjusted(2, 2, -2, -2);
    } else {
        // The edge is two pixels wide; the content is its inside grown by one.
        drawFlatEdge(painter, r);
        content = r.adjusted(1, 1, -1, -1);
    }
    painter.fillRect(content, faceColour);
    painter.save();
    if (!face.bitmap.isNull()) {
        if (pressed)
            content.adjust(1, 1, 0, 0);
        painter.setClipRect(content);
        const int w = content.width();
        const int h = content.height();
        const int bw = face.bitmap.width();
        const int bh = face.bitmap.height();
        if (w > bw)
            painter.drawPixmap(content.left() + (w - bw) / 2, content.top() + (h - bh) / 2, face.bitmap);
        else
            painter.drawPixmap(content.topLeft(), face.bitmap, QRect(-((w - bw) / 2), -((h - bh) / 2), w, h));
    } else if (!face.picture.isNull()) {
        content.adjust(1, 1, -1, -1);
        if (pressed)
            content.adjust(1, 1, 0, 0);
        const QRect bounds = face.picture.boundingRect();
        if (!content.isEmpty() && !bounds.isEmpty()) {
            painter.setClipRect(content);
            painter.translate(content.topLeft());
            painter.scale(static_cast<double>(content.width()) / bounds.width(),
                          static_cast<double>(content.height()) / bounds.height());
            painter.drawPicture(-bounds.topLeft(), face.picture);
        }
    }
    painter.restore();
}

void CCustomScrollBar::paintButtons(QPainter& painter) const
{
    const int extent = SystemExtent();
    const Sides sides = SidesOf(m_bar, length(), extent);
    int startPos = 0;
    int endPos = length() - EndSpace(sides);
    for (std::size_t i = 0; i < m_bar.buttons.size(); ++i) {
        const ExtraButton& button = m_bar.buttons[i];
        int* place = button.side == 1 && sides.startShown ? &startPos
                     : button.side == 2 && sides.endShown ? &endPos
                                                          : nullptr;
        if (!place)
            continue;
        const int size = ButtonSize(button, extent);
        const bool held = pressedPart() == kExtraButton && m_heldButton == static_cast<int>(i) && m_pressedOver;
        paintButton(painter, static_cast<int>(i), rectAlong(*place, size).translated(pos()), held);
        *place += size;
    }
}

void CCustomScrollBar::paintBar(QPainter& painter) const
{
    paintButtons(painter);
    const int extent = SystemExtent();
    const int len = length();
    const Sides sides = SidesOf(m_bar, len, extent);
    const int start = StartSpace(sides);
    const int proper = len - start - EndSpace(sides);
    m_takenOver = false;
    if (proper <= 0)
        return;
    m_takenOver = notifyParent(kStagePrePaint, &painter, QRect(), 0, 0, m_bar.kind) == kSkipDefault;
    std::vector<Piece> pieces = PiecesOf(m_bar, proper, extent);
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
    const QColor face = platform::sysColor(platform::COLOR_BTNFACE);
    const QColor shadow = platform::sysColor(platform::COLOR_BTNSHADOW);
    auto drawThumb = [&](const QRect& r, bool solid) {
        if (m_bar.style == 0) {
            drawRaisedEdge(painter, r);
            painter.fillRect(r.adjusted(2, 2, -2, -2), face);
        } else if (solid) {
            painter.fillRect(r, shadow);
        } else {
            painter.fillRect(r, face);
            drawFlatEdge(painter, r);
        }
    };
    for (const Piece& piece : pieces) {
        const QRect r = rectAlong(start + piece.start, piece.length).translated(pos());
        const bool isPressed = pressed == piece.item && (m_pressedOver || pressed == kThumb);
        if (m_takenOver) {
            unsigned state = kItemDefault;
            switch (piece.kind) {
            case PieceKind::FirstArrow:
            case PieceKind::LastArrow:
                if (ArrowInactive(m_bar, piece.kind == PieceKind::FirstArrow))
                    state = kItemDisabled;
                else if (isPressed)
                    state = kItemPressed;
                else if (hot == piece.item)
                    state = kItemHot;
                break;
            case PieceKind::PageBefore:
            case PieceKind::PageAfter:
            case PieceKind::Thumb: state = isPressed ? kItemPressed : hot == piece.item ? kItemHot : kItemDefault; break;
            case PieceKind::Block: state = pressed == kThumb ? kItemPressed : kItemDefault; break;
            case PieceKind::Track:
            case PieceKind::Strip: break;
            }
            notifyParent(kStageItemPrePaint, &painter, r, piece.item, state, m_bar.kind);
            continue;
        }
        switch (piece.kind) {
        case PieceKind::FirstArrow:
        case PieceKind::LastArrow: {
            const bool first = piece.kind == PieceKind::FirstArrow;
            const bool inactive = ArrowInactive(m_bar, first);
            const bool isHot = !inactive && hot == piece.item;
            const Direction direction = vertical ? (first ? Direction::Up : Direction::Down)
                                                 : (first ? Direction::Left : Direction::Right);
            if (r.isEmpty())
                break;
            if (m_bar.style == 0) {
                drawStyleArrow(painter, r, direction, inactive, isPressed);
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
        case PieceKind::PageAfter: drawPage(painter, r, isPressed); break;
        case PieceKind::Track: drawPage(painter, r, false); break;
        case PieceKind::Thumb: drawThumb(r, m_bar.style != 0 && (pressed == kThumb || hot == kThumb)); break;
        case PieceKind::Block: drawThumb(r, m_bar.style == 2 && pressed == kThumb); break;
        case PieceKind::Strip: painter.fillRect(r, platform::sysColor(platform::COLOR_SCROLLBAR)); break;
        }
    }
    notifyParent(kStagePostPaint, &painter, QRect(), 0, 0, m_bar.kind);
}

}  // namespace stepwell
