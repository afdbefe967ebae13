#include "shared/widgets/flat_spin_button.h"

#include <climits>

#include <QHash>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "platform/sys_colors.h"

namespace shared {

// The process-wide buddy map: each buddy line edit and the spin it reports
// to. A buddy is connected once; its typed texts go to whichever spin the
// map names at the time.
class BuddyMap {
public:
    static void hook(QLineEdit* edit, CFlatSpinButton* spin)
    {
        auto& spins = map();
        if (!spins.contains(edit)) {
            QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
                const auto found = map().constFind(edit);
                if (found != map().constEnd() && *found)
                    (*found)->typed(text);
            });
            QObject::connect(edit, &QObject::destroyed, [edit] { map().remove(edit); });
        }
        spins.insert(edit, spin);
    }

    static void unhook(const QObject* edit, const CFlatSpinButton* spin)
    {
        auto& spins = map();
        const auto found = spins.find(const_cast<QObject*>(edit));
        if (found != spins.end() && found->data() == spin)
            *found = nullptr;  // the connection stays for a spin given it later
    }

private:
    static QHash<QObject*, QPointer<CFlatSpinButton>>& map()
    {
        static QHash<QObject*, QPointer<CFlatSpinButton>> spins;
        return spins;
    }
};

namespace {

constexpr int kSpinWidth = 16;
constexpr int kRepeatDelayMs = 400;
constexpr int kRepeatIntervalMs = 100;

enum class Direction { Up, Down, Left, Right };

void drawArrow(QPainter& painter, const QRect& half, Direction direction, const QColor& colour, bool pressed)
{
    const QPointF centre = QRectF(half).center() + (pressed ? QPointF(1, 1) : QPointF(0, 0));
    const qreal size = std::max<qreal>(2.0, std::min(half.width(), half.height()) / 4.0);
    QPolygonF triangle;
    switch (direction) {
    case Direction::Up:
        triangle << centre + QPointF(-size, size / 2) << centre + QPointF(size, size / 2)
                 << centre + QPointF(0, -size / 2 - 1);
        break;
    case Direction::Down:
        triangle << centre + QPointF(-size, -size / 2) << centre + QPointF(size, -size / 2)
                 << centre + QPointF(0, size / 2 + 1);
        break;
    case Direction::Left:
        triangle << centre + QPointF(size / 2, -size) << centre + QPointF(size / 2, size)
                 << centre + QPointF(-size / 2 - 1, 0);
        break;
    case Direction::Right:
        triangle << centre + QPointF(-size / 2, -size) << centre + QPointF(-size / 2, size)
                 << centre + QPointF(size / 2 + 1, 0);
        break;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(triangle);
}

// A button face: white, raised with the system edge colours, or sunken
// while pressed.
void drawHalf(QPainter& painter, const QRect& half, bool pressed)
{
    using platform::sysColor;
    painter.fillRect(half, Qt::white);
    const QColor light = sysColor(platform::COLOR_BTNHIGHLIGHT);
    const QColor shadow = sysColor(platform::COLOR_BTNSHADOW);
    const QColor dark = sysColor(platform::COLOR_3DDKSHADOW);
    const QRect r = half.adjusted(0, 0, -1, -1);
    painter.setPen(pressed ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(pressed ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    if (!pressed && r.width() > 2 && r.height() > 2) {
        painter.setPen(shadow);
        painter.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
        painter.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
    }
}

}  // namespace

int readTypedInteger(const QString& text)
{
    QString digits = text;
    digits.remove(QChar(0x00A0));
    const std::string bytes = digits.toStdString();
    std::size_t at = 0;
    while (at < bytes.size() && (bytes[at] == ' ' || (bytes[at] >= '\t' && bytes[at] <= '\r')))
        ++at;
    bool negative = false;
    if (at < bytes.size() && (bytes[at] == '+' || bytes[at] == '-')) {
        negative = bytes[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < bytes.size() && bytes[at] >= '0' && bytes[at] <= '9'; ++at) {
        value = value * 10 + (bytes[at] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;  // saturated either way; the rest cannot bring it back
    }
    if (negative)
        return value > static_cast<long long>(INT_MAX) ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

CFlatSpinButton::CFlatSpinButton(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        m_repeat.setInterval(kRepeatIntervalMs);
        step();
    });
}

CFlatSpinButton::~CFlatSpinButton()
{
    unhookBuddy();
}

void CFlatSpinButton::SetVertical(bool vertical)
{
    m_vertical = vertical;
    update();
}

void CFlatSpinButton::SetRange(int lower, int upper)
{
    m_reversed = !(lower < upper);
    m_minimum = std::min(lower, upper);
    m_maximum = std::max(lower, upper);
    m_position = std::clamp(m_position, m_minimum, m_maximum);
    update();
}

int CFlatSpinButton::SetPos(int position)
{
    const int previous = m_position;
    m_position = std::clamp(position, m_minimum, m_maximum);
    update();
    return previous;
}

CFlatSpinButton::Limit CFlatSpinButton::GetLimit() const
{
    if (m_position >= m_maximum)
        return LimitMaximum;
    if (m_position <= m_minimum)
        return LimitMinimum;
    return LimitNone;
}

void CFlatSpinButton::SetBuddy(QWidget* buddy)
{
    unhookBuddy();
    m_buddy = buddy;
    if (!buddy)
        return;
    placeBesideBuddy();
    if (buddy->parentWidget() == parentWidget())
        stackUnder(buddy);
    if (auto* edit = qobject_cast<QLineEdit*>(buddy))
        BuddyMap::hook(edit, this);
}

void CFlatSpinButton::unhookBuddy()
{
    if (m_buddy)
        BuddyMap::unhook(m_buddy, this);
}

void CFlatSpinButton::placeBesideBuddy()
{
    if (m_alignment == AlignNone || !m_buddy || m_buddy->parentWidget() != parentWidget())
        return;
    const QRect buddy = m_buddy->geometry();
    const int spin = std::min(kSpinWidth, buddy.width());
    if (m_alignment == AlignRight) {
        m_buddy->setGeometry(buddy.adjusted(0, 0, -spin, 0));
        setGeometry(buddy.right() - spin + 1, buddy.top(), spin, buddy.height());
    } else {
        m_buddy->setGeometry(buddy.adjusted(spin, 0, 0, 0));
        setGeometry(buddy.left(), buddy.top(), spin, buddy.height());
    }
}

void CFlatSpinButton::typed(const QString& text)
{
    const int value = readTypedInteger(text);
    m_position = std::clamp(value, m_minimum, m_maximum);
    update();
    emit deltaPos(value, 0);
}

QRect CFlatSpinButton::upRect() const
{
    const QRect all = rect();
    if (m_vertical)
        return QRect(0, 0, all.width(), all.height() / 2);
    return QRect(all.width() / 2, 0, all.width() - all.width() / 2, all.height());
}

QRect CFlatSpinButton::downRect() const
{
    const QRect all = rect();
    if (m_vertical)
        return QRect(0, all.height() / 2, all.width(), all.height() - all.height() / 2);
    return QRect(0, 0, all.width() / 2, all.height());
}

QRect CFlatSpinButton::increasingRect() const
{
    return m_reversed ? downRect() : upRect();
}

QRect CFlatSpinButton::decreasingRect() const
{
    return m_reversed ? upRect() : downRect();
}

void CFlatSpinButton::step()
{
    if (m_pressed.isNull() || !m_pressedInside)
        return;
    const int delta = m_pressed == increasingRect() ? 1 : -1;
    const int next = std::clamp(m_position + delta, m_minimum, m_maximum);
    if (next == m_position)
        return;
    emit deltaPos(m_position, delta);
    m_position = next;
    if (auto* edit = qobject_cast<QLineEdit*>(m_buddy.data()))
        edit->setText(QString::number(m_position));
    repaint();
    emit scrolled(m_position);
}

void CFlatSpinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    m_pressed = upRect().contains(at) ? upRect() : downRect().contains(at) ? downRect() : QRect();
    m_pressedInside = true;
    repaint();
    step();
    m_repeat.start(kRepeatDelayMs);
}

void CFlatSpinButton::mouseMoveEvent(QMouseEvent* event)
{
    const bool inside = m_pressed.contains(event->position().toPoint());
    if (inside != m_pressedInside) {
        m_pressedInside = inside;
        repaint();
    }
}

void CFlatSpinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    m_repeat.stop();
    m_pressed = QRect();
    repaint();
}

QSize CFlatSpinButton::sizeHint() const
{
    return m_vertical ? QSize(kSpinWidth, 22) : QSize(2 * kSpinWidth, kSpinWidth);
}

void CFlatSpinButton::paintEvent(QPaintEvent*)
{
    // Drawn off-screen and copied in one step, so that holding an arrow
    // does not flicker.
    QPixmap buffer(size() * devicePixelRatioF());
    buffer.setDevicePixelRatio(devicePixelRatioF());
    buffer.fill(platform::sysColor(platform::COLOR_BTNFACE));
    {
        QPainter painter(&buffer);
        const QColor active = platform::sysColor(platform::COLOR_WINDOWTEXT);
        const QColor atLimit = platform::sysColor(platform::COLOR_BTNSHADOW);
        const QRect up = upRect();
        const QRect down = downRect();
        const bool upPressed = m_pressedInside && m_pressed == up;
        const bool downPressed = m_pressedInside && m_pressed == down;
        drawHalf(painter, up, upPressed);
        drawHalf(painter, down, downPressed);
        const bool upBlocked = m_reversed ? m_position <= m_minimum : m_position >= m_maximum;
        const bool downBlocked = m_reversed ? m_position >= m_maximum : m_position <= m_minimum;
        drawArrow(painter, up, m_vertical ? Direction::Up : Direction::Right, upBlocked ? atLimit : active,
                  upPressed);
        drawArrow(painter, down, m_vertical ? Direction::Down : Direction::Left,
                  downBlocked ? atLimit : active, downPressed);
    }
    QPainter(this).drawPixmap(0, 0, buffer);
}

}  // namespace shared
