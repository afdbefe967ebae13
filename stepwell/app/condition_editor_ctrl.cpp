#include "stepwell/app/condition_editor_ctrl.h"

#include <QKeyEvent>
#include <QList>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>

#include "stepwell/app/theme.h"
#include "stepwell/model/condition_text.h"

namespace stepwell {

using solvehost::CLayoutFormulaItem;
using solvehost::CLayoutTextItem;
using solvehost::CSymbrantCtrl;
using solvehost::LayoutItemKind;

namespace {

// Watches a formula control (and the windows inside it) for the press that
// makes it the formula being edited.
class FormulaClickFilter : public QObject {
public:
    FormulaClickFilter(QObject* parent, std::function<void()> clicked) : QObject(parent), m_clicked(std::move(clicked)) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            m_clicked();
        return false;
    }

private:
    std::function<void()> m_clicked;
};

}  // namespace

CConditionEditorCtrl::CConditionEditorCtrl(QWidget* parent, const QFont* font)
    : QWidget(parent), m_events(this), m_font(font ? *font : QWidget::font())
{
    setObjectName(QStringLiteral("Condition"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_back = themeColor(0);
    m_textColour = themeColor(1);
    m_fontHeight = QFontMetrics(m_font).height();
    m_layout.SetBackColor(oleColor(m_back));
    m_layout.m_leftMargin = 20;
    m_layout.m_rightMargin = 20;
    m_layout.m_topMargin = 10;
    m_layout.m_showGrid = false;
}

CConditionEditorCtrl::~CConditionEditorCtrl()
{
    // The items (and their formula controls) go before the sink lets go.
    m_layout.RemoveAllItems();
    m_caret = nullptr;
    m_events.Unadvise();
}

void CConditionEditorCtrl::SetFont(const QFont& font)
{
    m_font = font;
    m_fontHeight = QFontMetrics(m_font).height();
    relayout();
}

bool CConditionEditorCtrl::SetText(const std::string& text)
{
    for (const ConditionPiece& piece : ReadConditionText(text)) {
        if (piece.formula)
            AddFormula(&piece.text);
        else
            insertText(QString::fromStdString(piece.text));
    }
    relayout();
    return true;
}

bool CConditionEditorCtrl::GetText(std::string& text) const
{
    // The layout's text: a typed blank (the two-blank item) reads back as
    // one blank, so that a text read in and written out again stays as it
    // was; formulas as their MathML.
    QString out;
    m_layout.GetText(out);
    text = out.toStdString();
    return true;
}

void CConditionEditorCtrl::typeCharacter(char32_t c)
{
    const std::string item = TypedItem(c);
    if (!item.empty())
        insertText(QString::fromStdString(item));
}

void CConditionEditorCtrl::insertText(const QString& text)
{
    m_caret = insertAfterCaret(LayoutItemKind::Text, new CLayoutTextItem(text));
}

CConditionEditorCtrl::Node* CConditionEditorCtrl::insertAfterCaret(LayoutItemKind kind, solvehost::CLayoutItem* item)
{
    solvehost::CLayoutItemList& list = m_layout.Items();
    Node* prev = m_caret;
    Node* next = m_caret ? m_caret->next : list.head;
    Node* node = list.NewNode(prev, next, kind, item);
    if (prev)
        prev->next = node;
    else
        list.head = node;
    if (next)
        next->prev = node;
    else
        list.tail = node;
    return node;
}

void CConditionEditorCtrl::deleteNode(Node* node)
{
    solvehost::CLayoutItemList& list = m_layout.Items();
    if (node->kind == LayoutItemKind::Formula) {
        // The sink lets go of a formula before its control goes.
        auto* formula = static_cast<CLayoutFormulaItem*>(node->item);
        if (formula->GetControl() && formula->GetControl() == m_edited.data())
            followFormula(nullptr);
    }
    if (node->prev)
        node->prev->next = node->next;
    else
        list.head = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        list.tail = node->prev;
    if (m_caret == node)
        m_caret = node->prev;
    solvehost::CLayoutItem* item = node->item;
    list.FreeNode(node);
    delete item;
}

void CConditionEditorCtrl::followFormula(CSymbrantCtrl* control)
{
    if (m_edited.data() == control && (control == nullptr || m_events.IsConnected()))
        return;
    m_events.Unadvise();
    m_edited = control;
    if (control)
        m_events.Advise(control, this);
}

bool CConditionEditorCtrl::AddFormula(const std::string* mathml)
{
    auto item = std::make_unique<CLayoutFormulaItem>(this, m_nextId++);
    CSymbrantCtrl* control = item->GetControl();
    if (!item->IsCreated() || !control)
        return false;
    control->UseEditor();
    if (mathml)
        control->SetMathMLText(*mathml);
    // An empty formula too gets the size it asks for, so that it can be seen
    // and clicked.
    std::int32_t w = 0;
    std::int32_t h = 0;
    control->GetOptimalSize(&w, &h);
    item->width = w;
    item->height = h;
    control->SetBackColor(oleColor(m_back));
    if (m_readOnly)
        control->UseViewer();
    else
        control->UseEditor();
    auto* filter = new FormulaClickFilter(control, [this, target = QPointer<CSymbrantCtrl>(control)] {
        if (target && !m_readOnly)
            followFormula(target.data());
    });
    control->installEventFilter(filter);
    for (QWidget* inner : control->findChildren<QWidget*>())
        inner->installEventFilter(filter);
    m_caret = insertAfterCaret(LayoutItemKind::Formula, item.release());
    followFormula(control);
    relayout();
    return true;
}

void CConditionEditorCtrl::OnFormulaChanged()
{
    if (!m_edited)
        return;
    for (Node* node = m_layout.Items().head; node; node = node->next) {
        if (node->kind != LayoutItemKind::Formula)
            continue;
        auto* formula = static_cast<CLayoutFormulaItem*>(node->item);
        if (formula->GetControl() != m_edited.data())
            continue;
        std::int32_t w = 0;
        std::int32_t h = 0;
        formula->GetControl()->GetOptimalSize(&w, &h);
        formula->width = w;
        formula->height = h;
    }
    relayout();
}

bool CConditionEditorCtrl::event(QEvent* event)
{
    // The editor's keys come before the dialog's shortcuts and default button.
    if (event->type() == QEvent::ShortcutOverride && !m_readOnly) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool altM = key->key() == Qt::Key_M && (key->modifiers() & Qt::AltModifier);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (altM || (plain && (!key->text().isEmpty() || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void CConditionEditorCtrl::keyPressEvent(QKeyEvent* event)
{
    if (m_readOnly || !handleKey(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    relayout();
}

bool CConditionEditorCtrl::handleKey(QKeyEvent* event)
{
    solvehost::CLayoutItemList& list = m_layout.Items();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_M && (mods & Qt::AltModifier)) {
        AddFormula();
        return true;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: insertText(QStringLiteral("\n")); return true;
    case Qt::Key_Backspace:
        if (m_caret)
            deleteNode(m_caret);
        return true;
    case Qt::Key_Delete:
        if (Node* target = m_caret ? m_caret->next : list.head)
            deleteNode(target);
        return true;
    case Qt::Key_Home: m_caret = nullptr; return true;
    case Qt::Key_End: m_caret = list.tail; return true;
    case Qt::Key_Left:
        if (m_caret)
            m_caret = m_caret->prev;
        return true;
    case Qt::Key_Right:
        if (Node* next = m_caret ? m_caret->next : list.head)
            m_caret = next;
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Insert: return true;
    default: break;
    }
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    for (char32_t c : text.toUcs4())
        typeCharacter(c);
    return true;
}

QRect CConditionEditorCtrl::itemRect(const Node* node) const
{
    if (node->kind == LayoutItemKind::Text) {
        const auto* item = static_cast<const CLayoutTextItem*>(node->item);
        return QRect(QPoint(item->left, item->top), QPoint(item->right - 1, item->bottom - 1));
    }
    const auto* formula = static_cast<const CLayoutFormulaItem*>(node->item);
    return formula->GetControl() ? formula->GetControl()->geometry() : QRect();
}

void CConditionEditorCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    if (p.x() >= width() - kStripWidth && m_strip.Shown(height())) {
        if (m_strip.Press(p.y(), height()))
            relayout();
        return;
    }
    if (m_readOnly)
        return;
    setFocus(Qt::MouseFocusReason);
    m_caretShown = true;
    for (Node* node = m_layout.Items().head; node; node = node->next) {
        if (!itemRect(node).contains(p))
            continue;
        m_caret = node;
        if (node->kind == LayoutItemKind::Formula)
            followFormula(static_cast<CLayoutFormulaItem*>(node->item)->GetControl());
        break;
    }
    placeCaret();
    update();
}

void CConditionEditorCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && m_strip.Drag(event->position().toPoint().y(), height()))
        relayout();
}

void CConditionEditorCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_strip.Release();
}

void CConditionEditorCtrl::wheelEvent(QWheelEvent* event)
{
    m_strip.Wheel(event->angleDelta().y(), height());
    relayout();
    event->accept();
}

void CConditionEditorCtrl::resizeEvent(QResizeEvent*) { relayout(); }

void CConditionEditorCtrl::relayout()
{
    m_strip.Clamp(height());
    solvehost::CFontMetricsMeasurer measurer{QFontMetrics(m_font)};
    m_strip.setContent(m_layout.Arrange(width(), measurer, m_strip.offset(), true));
    placeCaret();
    update();
}

void CConditionEditorCtrl::placeCaret()
{
    QPoint at(m_layout.m_leftMargin, m_layout.m_topMargin + m_strip.offset());
    if (m_caret) {
        const QRect r = itemRect(m_caret);
        at = QPoint(r.right() + 1, r.center().y() - m_fontHeight / 2);
    } else if (const Node* first = m_layout.Items().head) {
        const QRect r = itemRect(first);
        at = QPoint(r.left(), r.center().y() - m_fontHeight / 2);
    }
    m_caretRect = QRect(at, QSize(2, m_fontHeight));
}

void CConditionEditorCtrl::paintContent(QPainter& painter)
{
    painter.fillRect(rect(), m_back);
    painter.setFont(m_font);
    painter.setPen(m_inkColour);
    for (const Node* node = m_layout.Items().head; node; node = node->next) {
        if (node->kind != LayoutItemKind::Text)
            continue;
        const auto* item = static_cast<const CLayoutTextItem*>(node->item);
        if (item->text != QStringLiteral("\n"))
            painter.drawText(itemRect(node), Qt::AlignCenter, item->text);
    }
    if (const std::optional<AnswerStrip::Thumb> thumb = m_strip.ThumbPlace(height())) {
        const QRect strip(width() - kStripWidth, 0, kStripWidth, height());
        // Raised edge around a black track; the thumb in the text colour.
        painter.fillRect(strip, Qt::black);
        painter.setPen(Qt::white);
        painter.drawLine(strip.topLeft(), strip.topRight());
        painter.drawLine(strip.topLeft(), strip.bottomLeft());
        painter.setPen(QColor(128, 128, 128));
        painter.drawLine(strip.bottomLeft(), strip.bottomRight());
        painter.drawLine(strip.topRight(), strip.bottomRight());
        painter.fillRect(QRect(strip.left() + 2, thumb->top, kStripWidth - 4, thumb->height), m_textColour);
    }
    if (m_caretShown && !m_readOnly)
        painter.fillRect(m_caretRect, m_inkColour);
}

void CConditionEditorCtrl::paintEvent(QPaintEvent*)
{
    // Drawn off-screen first, then shown at once.
    QPixmap buffer(size());
    QPainter offscreen(&buffer);
    paintContent(offscreen);
    offscreen.end();
    QPainter painter(this);
    painter.drawPixmap(0, 0, buffer);
}

QPixmap CConditionEditorCtrl::Render() { return grab(); }

}  // namespace stepwell
