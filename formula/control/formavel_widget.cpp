// Window side of the formula control.
#include "formula/control/formavel_widget.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

#include "formula/control/formavel_ctrl.h"
#include "formula/edit/selection.h"
#include "formula/edit/typed_char.h"
#include "formula/env/tool_table.h"
#include "formula/layout/qt_canvas.h"
#include "formula/model/messages.h"
#include "formula/transform/transformer.h"

namespace formula::control {
using platform::com::ComPtr;

namespace {

QColor toQColor(OLE_COLOR colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

Point toPoint(const QPointF& position)
{
    const QPoint point = position.toPoint();
    return {point.x(), point.y()};
}

// The editor's keys by virtual-key code; 0 for a key it does not take.
int virtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace:
        return vk::Back;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Insert:
        return vk::Insert;
    case Qt::Key_Delete:
        return vk::Delete;
    default:
        return 0;
    }
}

// The one printable character a key types, or 0. Alt and Ctrl with a key
// type nothing.
char32_t printableChar(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::AltModifier | Qt::ControlModifier)) {
        return 0;
    }
    const QList<uint> codes = event.text().toUcs4();
    if (codes.size() != 1 || !QChar::isPrint(codes.front())) {
        return 0;
    }
    return codes.front();
}

// The character a key types into the formula (Ukrainian letters that look
// like Latin ones as those), or 0.
char typedChar(const QKeyEvent& event)
{
    const char32_t code = printableChar(event);
    return code != 0 ? TypedFormulaChar(code) : 0;
}

// Alt with a letter of the control's shortcuts, or 0. Other Alt keys are the
// host's (menu mnemonics); Ctrl+Alt stands for AltGr and types characters.
char altLetter(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (!(modifiers & Qt::AltModifier) || (modifiers & Qt::ControlModifier) || event.key() < Qt::Key_A ||
        event.key() > Qt::Key_Z) {
        return 0;
    }
    const char letter = static_cast<char>('A' + (event.key() - Qt::Key_A));
    return CFormavelCtrl::isAltShortcut(letter) ? letter : 0;
}

bool sameCaret(const std::optional<Rect>& a, const std::optional<Rect>& b)
{
    if (!a || !b) {
        return !a && !b;
    }
    return a->x == b->x && a->y == b->y && a->width == b->width && a->height == b->height;
}

}  // namespace

FormavelWidget::FormavelWidget(QWidget* parent, CFormavelCtrl* control) : QWidget(parent), m_control(control)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_caretTimer = new QTimer(this);
    m_caretTimer->setObjectName(kCaretBlinkTimerName);
    connect(m_caretTimer, &QTimer::timeout, this, [this] { blinkCaret(); });
    // A new flash time (0: no blinking) takes effect at once.
    connect(QGuiApplication::styleHints(), &QStyleHints::cursorFlashTimeChanged, this,
            [this] { restartCaretBlink(); });
}

FormavelWidget::~FormavelWidget()
{
    if (m_control) {
        // The palettes close with the control's window, and this control
        // still has its window while it is told (a host may release it then).
        const ComPtr<CFormavelCtrl> keepAlive(m_control);
        PaletteManager::instance().hide();
        m_control->widgetGone();
    }
}

void FormavelWidget::ensureLayout()
{
    CFormulaEnv& env = m_control->env();
    if (env.LayoutStale()) {
        QtCanvas canvas;
        env.Layout(canvas);
    }
}

// ---- Painting --------------------------------------------------------------

void FormavelWidget::drawGrid(QPainter& painter)
{
    const GridSettings& grid = m_control->grid();
    if (!grid.showVertical && !grid.showHorizontal) {
        return;
    }
    painter.setPen(QPen(toQColor(grid.colour), 1));
    painter.setRenderHint(QPainter::Antialiasing, false);
    // A step of 0 or less would never end a row of lines: none is drawn.
    // The lines start at the origin; those left of or above the window are
    // skipped by arithmetic, so a far origin costs no loop.
    const auto firstVisible = [](int origin, int step) -> long long {
        if (origin >= 0) {
            return origin;
        }
        const long long steps = (-static_cast<long long>(origin) + step - 1) / step;
        return origin + steps * step;
    };
    if (grid.showVertical && grid.dx > 0) {
        for (long long x = firstVisible(grid.originX, grid.dx); x <= width(); x += grid.dx) {
            painter.drawLine(static_cast<int>(x), 0, static_cast<int>(x), height());
        }
    }
    if (grid.showHorizontal && grid.dy > 0) {
        for (long long y = firstVisible(grid.originY, grid.dy); y <= height(); y += grid.dy) {
            painter.drawLine(0, static_cast<int>(y), width(), static_cast<int>(y));
        }
    }
}

void FormavelWidget::paintEvent(QPaintEvent*)
{
    if (!m_control) {
        return;
    }
    CFormulaEnv& env = m_control->env();
    QImage buffer(size(), QImage::Format_RGB32);
    {
        QPainter painter(&buffer);
        painter.fillRect(rect(), toQColor(m_control->backColor()));
        const QFont stockFont = m_control->stockFont();
        painter.setFont(stockFont);
        painter.setPen(Qt::black);
        const QFontMetrics metrics(stockFont);
        int captionBlock = 0;
        if (!m_control->caption().empty()) {
            painter.drawText(0, metrics.ascent(), QString::fromStdString(m_control->caption()));
            captionBlock = 2 * metrics.height();
        }
        if (env.Mode() != FormulaMode::None) {
            drawGrid(painter);
            if (captionBlock != m_captionSeen) {
                env.SetPosition({env.Position().x, captionBlock});
                m_captionSeen = captionBlock;
            }
            QtCanvas canvas(&painter);
            if (env.LayoutStale()) {
                env.Layout(canvas);
            }
            // A caret that moved (or came or went) is shown at once and
            // blinks from its new place.
            const std::optional<Rect> caret = env.CaretRect();
            if (!sameCaret(caret, m_caretSeen)) {
                m_caretSeen = caret;
                resetCaretPhase();
            }
            env.SetFocus(caretDrawn());
            env.Draw(canvas);
        } else {
            const int line = metrics.height();
            painter.setPen(Qt::black);
            painter.drawText(0, captionBlock + metrics.ascent(), "Lumeq Control 1.0 alfa (Design mode)");
            painter.drawText(0, captionBlock + line + metrics.ascent(), "Current state: None");
        }
    }
    QPainter(this).drawImage(0, 0, buffer);
}

// ---- Mouse --------------------------------------------------------------------

void FormavelWidget::mousePressEvent(QMouseEvent* event)
{
    if (!m_control) {
        return;
    }
    const ComPtr<CFormavelCtrl> keepAlive(m_control);
    CFormulaEnv& env = m_control->env();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const Point pt = toPoint(event->position());
    if (event->button() == Qt::LeftButton) {
        if ((event->modifiers() & Qt::ControlModifier) && !m_control->isScrollingLocked()) {
            m_scrolling = true;
            m_lastPoint = event->position().toPoint();
            // The caret hides while the formula moves.
            resetCaretPhase();
            m_savedCursor = cursor();
            setCursor(Qt::SizeAllCursor);
            grabMouse();
            update();
            return;
        }
        if (m_control->isLocked()) {
            return;
        }
        ensureLayout();
        if (env.Mode() == FormulaMode::Editor) {
            env.OnMouseDown(pt);
            restartCaretBlink();
        } else if (env.Mode() == FormulaMode::Transformer) {
            m_dragEntered = false;
            m_pressPoint = event->position().toPoint();
            m_dragMoved = false;
            // The host hears of the click and may destroy this window: the
            // control repaints its window only while it still has one.
            keepAlive->transformer().OnLeftDown(pt, shift);
            keepAlive->repaint();
        }
    } else if (event->button() == Qt::RightButton) {
        if (m_control->isLocked() || env.Mode() != FormulaMode::Transformer) {
            return;
        }
        ensureLayout();
        if (m_control->transformer().Pending() == PendingOperation::None) {
            keepAlive->transformer().OnRightDown(pt, shift);
            keepAlive->repaint();
        }
    }
}

void FormavelWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_control) {
        return;
    }
    CFormulaEnv& env = m_control->env();
    if (m_scrolling) {
        const QPoint point = event->position().toPoint();
        const QPoint delta = point - m_lastPoint;
        m_lastPoint = point;
        Point position = env.Position();
        position.x += delta.x();
        // With a school class the formula only moves sideways.
        if (GetSchoolClass() == 0) {
            position.y += delta.y();
        }
        env.SetPosition(position);
        update();
        return;
    }
    if (m_control->isLocked()) {
        return;
    }
    const Point pt = toPoint(event->position());
    ensureLayout();
    if (env.Mode() == FormulaMode::Editor) {
        if ((event->buttons() & Qt::LeftButton) && env.OnMouseMove(pt, true)) {
            update();
        }
    } else if (env.Mode() == FormulaMode::Transformer) {
        CTransformer& transformer = m_control->transformer();
        if (transformer.Dragging() && !m_dragMoved) {
            if (!(event->buttons() & Qt::LeftButton)) {
                // The release never came (a host's dialog took it): the
                // press was a click, and the mouse hovers again.
                transformer.CancelDrag();
                endDrag();
            } else if ((event->position().toPoint() - m_pressPoint).manhattanLength() <
                       QApplication::startDragDistance()) {
                // Within the drag distance the press is still a click.
                return;
            } else {
                m_dragMoved = true;
            }
        }
        if (transformer.Dragging()) {
            // Entering and leaving the window as a drop target does.
            if (!rect().contains(event->position().toPoint())) {
                if (m_dragEntered) {
                    m_dragEntered = false;
                    transformer.DragLeave();
                }
                showDropEffect(DropEffect::None);
            } else {
                if (!m_dragEntered) {
                    m_dragEntered = true;
                    transformer.DragEnter(pt);
                }
                showDropEffect(transformer.DragOver(pt));
            }
            update();
        } else if (transformer.OnMouseMove(pt, event->modifiers() & Qt::ShiftModifier)) {
            update();
        }
    }
}

void FormavelWidget::endScrolling()
{
    m_scrolling = false;
    setCursor(m_savedCursor);
    releaseMouse();
    restartCaretBlink();
}

void FormavelWidget::showDropEffect(DropEffect effect)
{
    switch (effect) {
    case DropEffect::None:
        setCursor(Qt::ForbiddenCursor);
        break;
    case DropEffect::Copy:
        setCursor(Qt::DragCopyCursor);
        break;
    case DropEffect::Move:
        setCursor(Qt::DragMoveCursor);
        break;
    case DropEffect::Link:
        setCursor(Qt::DragLinkCursor);
        break;
    }
}

void FormavelWidget::endDrag()
{
    m_dragEntered = false;
    unsetCursor();
}

void FormavelWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_control || event->button() != Qt::LeftButton) {
        return;
    }
    const ComPtr<CFormavelCtrl> keepAlive(m_control);
    if (m_scrolling) {
        endScrolling();
        return;
    }
    CFormulaEnv& env = m_control->env();
    const Point pt = toPoint(event->position());
    ensureLayout();
    if (env.Mode() == FormulaMode::Editor) {
        if (env.OnMouseUp(pt)) {
            restartCaretBlink();
        }
    } else if (env.Mode() == FormulaMode::Transformer && m_control->transformer().Dragging()) {
        // A release within the drag distance of the press ends a click: no
        // drop, the pressed node stays highlighted and the multi-selection
        // as the press left it. Released outside the window a drag ends
        // with no drop, as over any window that takes no formula parts.
        endDrag();
        const QPoint released = event->position().toPoint();
        const bool moved =
            m_dragMoved || (released - m_pressPoint).manhattanLength() >= QApplication::startDragDistance();
        if (moved && rect().contains(released)) {
            keepAlive->transformer().Drop(pt);
        } else {
            keepAlive->transformer().CancelDrag();
        }
        keepAlive->repaint();
    }
}

void FormavelWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!m_control) {
        return;
    }
    const ComPtr<CFormavelCtrl> keepAlive(m_control);
    CFormulaEnv& env = m_control->env();
    if (event->button() == Qt::LeftButton) {
        if (m_control->isLocked() || env.Mode() != FormulaMode::Transformer) {
            return;
        }
        ensureLayout();
        if (keepAlive->transformer().OnDoubleClick(toPoint(event->position()))) {
            keepAlive->repaint();
        }
    } else if (event->button() == Qt::RightButton) {
        if ((event->modifiers() & Qt::ShiftModifier) || env.Mode() == FormulaMode::Viewer) {
            env.CopyAll();
        } else {
            env.Copy();
        }
        m_control->message(1034);
    }
}

void FormavelWidget::leaveEvent(QEvent*)
{
    if (m_control && m_control->env().Mode() == FormulaMode::Transformer &&
        m_control->transformer().OnMouseLeave()) {
        update();
    }
}

// ---- Keys and focus ---------------------------------------------------------------

bool FormavelWidget::event(QEvent* event)
{
    // In editor mode the editing keys, typed characters and Alt+letters are
    // the control's, not the host's shortcuts or mnemonics.
    if (event->type() == QEvent::ShortcutOverride && m_control &&
        m_control->env().Mode() == FormulaMode::Editor) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (virtualKey(key->key()) != 0 || altLetter(*key) != 0 || printableChar(*key) != 0) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void FormavelWidget::keyPressEvent(QKeyEvent* event)
{
    if (!m_control) {
        return;
    }
    const ComPtr<CFormavelCtrl> keepAlive(m_control);
    CFormulaEnv& env = m_control->env();
    // Shown at once after a key: before the key is handled, since a host may
    // destroy this window from the event the key fires.
    restartCaretBlink();
    if (const char letter = altLetter(*event)) {
        if (!m_control->altShortcut(letter)) {
            event->ignore();
        }
        return;
    }
    if (event->key() == Qt::Key_Escape && env.Mode() == FormulaMode::Transformer &&
        m_control->transformer().Dragging()) {
        m_control->transformer().CancelDrag();
        endDrag();
        update();
        return;
    }
    if (env.Mode() != FormulaMode::Editor) {
        event->ignore();
        return;
    }
    if (const int key = virtualKey(event->key())) {
        const Qt::KeyboardModifiers modifiers = event->modifiers();
        const KeyResult result = env.OnKeyDown({key, bool(modifiers & Qt::ShiftModifier),
                                                bool(modifiers & Qt::ControlModifier),
                                                bool(modifiers & Qt::AltModifier)});
        keepCaretVisible();
        if (result.repaint || result.caret) {
            update();
        }
        if (result.changed) {
            m_control->fireFormulaChanged();
        }
        return;
    }
    if (const char ch = typedChar(*event)) {
        if (env.OnChar(ch)) {
            keepCaretVisible();
            update();
            m_control->fireFormulaChanged();
        }
        return;
    }
    if (printableChar(*event) != 0) {
        showRefusedHint();
        return;
    }
    event->ignore();
}

std::optional<Rect> FormavelWidget::caretRect() const
{
    if (!m_control || m_control->env().Mode() != FormulaMode::Editor) {
        return std::nullopt;
    }
    CFormulaEnv& env = m_control->env();
    if (env.LayoutStale()) {
        QtCanvas canvas;
        env.Layout(canvas);
    }
    return env.CaretRect();
}

void FormavelWidget::keepCaretVisible()
{
    // The caret stays this far inside the window's edges.
    constexpr int kEdge = 4;
    const std::optional<Rect> caret = caretRect();
    if (!caret) {
        return;
    }
    int shift = 0;
    if (caret->x + caret->width > width() - kEdge) {
        shift = width() - kEdge - (caret->x + caret->width);
    } else if (caret->x < kEdge && m_scrolledBy > 0) {
        // Back to where the formula stood before it was scrolled when the
        // caret stays inside from there, else just far enough.
        shift = caret->x + caret->width + m_scrolledBy <= width() - kEdge ? m_scrolledBy
                                                                        : std::min(kEdge - caret->x, m_scrolledBy);
    }
    if (shift != 0) {
        CFormulaEnv& env = m_control->env();
        env.SetPosition({env.Position().x + shift, env.Position().y});
        m_scrolledBy -= shift;
    }
}

void FormavelWidget::showRefusedHint()
{
    const std::optional<Rect> caret = caretRect();
    const QPoint at = caret ? QPoint(caret->x, caret->y + caret->height) : QPoint(0, height() / 2);
    QToolTip::showText(mapToGlobal(at), QString::fromUtf8(GetMessageText(msg::RefusedCharacter)), this, {},
                       kRefusedHintTime);
}

QVariant FormavelWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle) {
        if (const std::optional<Rect> caret = caretRect()) {
            return QRect(caret->x, caret->y, caret->width, caret->height);
        }
    }
    return QWidget::inputMethodQuery(query);
}

void FormavelWidget::focusInEvent(QFocusEvent*)
{
    if (!m_control) {
        return;
    }
    restartCaretBlink();
    PaletteManager::instance().setOwner(m_control);
}

void FormavelWidget::focusOutEvent(QFocusEvent*)
{
    // Without the focus the caret is hidden and no timer runs.
    restartCaretBlink();
}

// ---- Caret -----------------------------------------------------------------------

bool FormavelWidget::caretDrawn() const
{
    return hasFocus() && !m_scrolling && m_caretOn;
}

void FormavelWidget::resetCaretPhase()
{
    m_caretOn = true;
    const int flashTime = QApplication::cursorFlashTime();
    const bool blinks = m_control && hasFocus() && !m_scrolling && flashTime > 0 &&
                        m_control->env().CaretRect().has_value();
    if (blinks) {
        m_caretTimer->start(std::max(flashTime / 2, 1));
    } else {
        m_caretTimer->stop();
    }
}

void FormavelWidget::restartCaretBlink()
{
    resetCaretPhase();
    update();
}

void FormavelWidget::blinkCaret()
{
    m_caretOn = !m_caretOn;
    update();
}

// ---- Context menu and commands -------------------------------------------------------

void FormavelWidget::runCommand(int id)
{
    const ComPtr<CFormavelCtrl> keepAlive(m_control);
    switch (id) {
    case command::Copy:
        m_control->Copy();
        break;
    case command::Cut:
        m_control->Cut();
        break;
    case command::CopyAll:
        m_control->copyAllWithMessage();
        break;
    case command::Paste:
        m_control->Paste();
        break;
    case command::Clear:
        m_control->Clear();
        break;
    default:
        break;
    }
}

void FormavelWidget::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_control || m_control->env().Mode() != FormulaMode::Editor) {
        return;
    }
    CFormulaEnv& env = m_control->env();
    // Menu 102 in English; the Ukrainian menus for the other languages.
    const bool english = GetMessageLanguage() == 0;
    struct Item {
        int command;
        const char* english;
        const char* ukrainian;
    };
    static constexpr Item kItems[] = {
        {command::Cut, "Cu&t", "Вирізати"},
        {command::Copy, "&Copy", "Копіювати"},
        {command::CopyAll, "Copy all", "Копіювати все"},
        {command::Paste, "&Paste", "Вставити"},
        {command::Clear, "C&lear", "Очистити"},
    };
    const bool hasRun = env.Selection() && !env.Selection()->IsEmpty();
    int chosenCommand = 0;
    {
        // The menu is gone before the command runs: a host that destroys
        // this window from the command's event takes no menu with it.
        QMenu menu(this);
        for (const Item& item : kItems) {
            QAction* action = menu.addAction(QString::fromUtf8(english ? item.english : item.ukrainian));
            action->setData(item.command);
            if (item.command == command::Copy || item.command == command::Cut) {
                action->setEnabled(hasRun);
            } else if (item.command == command::Paste) {
                action->setEnabled(env.CanPaste());
            }
        }
        const QPoint at =
            event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5)) : event->globalPos();
        if (QAction* chosen = menu.exec(at)) {
            chosenCommand = chosen->data().toInt();
        }
    }
    if (chosenCommand != 0) {
        runCommand(chosenCommand);
    }
}

}  // namespace formula::control
