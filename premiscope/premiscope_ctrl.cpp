// The condition viewer: reading a task into the layout, the colours and
// fonts, the scroll state, painting on squared paper and the strip's mouse.
#include "premiscope/premiscope_ctrl.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "platform/fonts.h"

namespace premiscope {

using namespace platform::com;

namespace {

QColor toColor(OLE_COLOR colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

constexpr char kVersion[] = "1.0.0";

}  // namespace

// ---- The window ----

PremiscopeWidget::PremiscopeWidget(QWidget* parent, CPremiscopeCtrl* control)
    : QWidget(parent), m_control(control), m_caption(new QLabel(QStringLiteral("Завдання"), this))
{
    m_caption->setObjectName(QStringLiteral("caption"));
    m_caption->setProperty("dlgCtrlId", kCaptionId);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAutoFillBackground(true);
    m_caption->setGeometry(0, 0, 100, CScrollState::kCaptionHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PremiscopeWidget::~PremiscopeWidget()
{
    if (m_control)
        m_control->widgetGone();
}

void PremiscopeWidget::paintEvent(QPaintEvent*)
{
    if (!m_control)
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, m_control->PaintItems());
}

void PremiscopeWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_caption->setGeometry(0, 0, width(), CScrollState::kCaptionHeight);
    m_caption->raise();
    if (m_control)
        m_control->UpdateScrollState();
}

void PremiscopeWidget::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!m_control || event->button() != Qt::LeftButton || at.x() < width() - CScrollState::kBarWidth ||
        at.y() < CScrollState::kCaptionHeight)
        return;
    if (m_control->scroll().Press(at.y(), height()))
        m_control->UpdateScrollState();
}

void PremiscopeWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_control || !(event->buttons() & Qt::LeftButton))
        return;
    if (m_control->scroll().Drag(event->position().toPoint().y(), height()))
        m_control->UpdateScrollState();
}

void PremiscopeWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_control && event->button() == Qt::LeftButton)
        m_control->scroll().Release();
}

void PremiscopeWidget::wheelEvent(QWheelEvent* event)
{
    if (!m_control)
        return;
    m_control->scroll().Wheel(event->angleDelta().y(), height());
    m_control->UpdateScrollState();
}

// ---- The control ----

CPremiscopeCtrl::CPremiscopeCtrl()
    : m_events(make<ConnectionPoint>(DIID__DPremiscopeEvents)), m_stockFont(make<FontObject>())
{
    m_layout.m_alignment = 1;
    m_layout.m_showGrid = true;
    m_layout.m_gridStep = kCellSize;
    m_layout.m_gridColor = m_gridColor;
    m_layout.SetBackColor(0xFFFFFF);
    m_layout.m_topMargin = 10;
    m_layout.m_bottomMargin = 0;
    m_layout.m_leftMargin = 10;
    m_layout.m_rightMargin = 10;
    m_layout.m_bottomSpacing = 5;
}

CPremiscopeCtrl::~CPremiscopeCtrl()
{
    m_layout.RemoveAllItems();
    if (m_widget) {
        m_widget->detach();
        m_widget->hide();
        m_widget->deleteLater();
        m_widget = nullptr;
    }
}

HRESULT CPremiscopeCtrl::FindConnectionPoint(const IID& events, IConnectionPoint** point)
{
    return m_events->offer(events, point);
}

QWidget* CPremiscopeCtrl::createWindow(QWidget* parent)
{
    if (!parent)
        return nullptr;
    if (!m_widget) {
        m_widget = new PremiscopeWidget(parent, this);
        colourCaption();
        // A task set before the window existed shows now.
        if (m_reader.IsLoaded()) {
            m_widget->caption()->setText(QString::fromStdString(m_reader.Caption()));
            std::vector<ConditionItem> items;
            if (m_reader.ReadStatement(items)) {
                for (const ConditionItem& item : items) {
                    if (item.kind == ConditionItem::Kind::Formula)
                        m_layout.AddFormula(item.text, m_widget);
                    else
                        m_layout.AddText(item.kind == ConditionItem::Kind::LineBreak
                                             ? QStringLiteral("\n")
                                             : QString::fromStdString(item.text));
                }
            }
        }
        m_widget->show();
    }
    return m_widget;
}

QWidget* CPremiscopeCtrl::window()
{
    return m_widget;
}

void CPremiscopeCtrl::widgetGone()
{
    m_widget = nullptr;
    m_layout.RemoveAllItems();
    m_scroll.setContent(0);
}

HRESULT CPremiscopeCtrl::InitNew()
{
    setBackColor(0xFFFFFF);
    setForeColor(0x000000);
    m_stockFont->setDescription(FontDescription{});
    return platform::S_OK;
}

HRESULT CPremiscopeCtrl::Load(const PropertyBag& bag)
{
    OLE_COLOR back = 0xFFFFFF;
    OLE_COLOR fore = 0x000000;
    ComPtr<IDispatch> stockFont;
    bag.read("BackColor", back);
    bag.read("ForeColor", fore);
    bag.read("Font", stockFont);
    setBackColor(back);
    setForeColor(fore);
    if (stockFont)
        setFont(stockFont.get());
    return platform::S_OK;
}

HRESULT CPremiscopeCtrl::Save(PropertyBag& bag)
{
    bag.write("Version", std::string(kVersion));
    bag.write("BackColor", m_backColor);
    bag.write("ForeColor", m_foreColor);
    bag.write("Font", makeFont(m_stockFont->description()));
    m_modified = false;
    return platform::S_OK;
}

VARIANT_BOOL CPremiscopeCtrl::SetCondition(const std::string& condition)
{
    try {
        if (!m_reader.Load(condition))
            return VARIANT_FALSE;
        if (m_widget)
            m_widget->caption()->setText(QString::fromStdString(m_reader.Caption()));
        m_layout.RemoveAllItems();
        m_scroll.setContent(0);
        std::vector<ConditionItem> items;
        const bool read = m_reader.ReadStatement(items);
        if (m_widget) {
            // What was read before a failure stays in the layout.
            for (const ConditionItem& item : items) {
                if (item.kind == ConditionItem::Kind::Formula) {
                    m_layout.AddFormula(item.text, m_widget);
                } else {
                    m_layout.AddText(item.kind == ConditionItem::Kind::LineBreak ? QStringLiteral("\n")
                                                                                 : QString::fromStdString(item.text));
                }
            }
        }
        // What a failed reading left is laid out too, so that no formula
        // control stays where it was made, over the caption.
        m_scroll.setOffset(0);
        m_scroll.setContent(arrange(CScrollState::kCaptionHeight));
        UpdateScrollState();
        return read ? VARIANT_TRUE : VARIANT_FALSE;
    } catch (const std::exception&) {
        return VARIANT_FALSE;
    }
}

std::string CPremiscopeCtrl::GetStartFormula()
{
    return m_reader.GetStartFormula();
}

std::uint32_t CPremiscopeCtrl::GetOptimalHeight()
{
    return static_cast<std::uint32_t>(CScrollState::kCaptionHeight + m_scroll.content());
}

VARIANT_BOOL CPremiscopeCtrl::IsNeedUserInputToBegin()
{
    return m_reader.IsNeedUserInputToBegin() ? VARIANT_TRUE : VARIANT_FALSE;
}

std::string CPremiscopeCtrl::GetTaskJobAttribute(const std::string& name)
{
    return m_reader.GetTaskJobAttribute(name);
}

std::string CPremiscopeCtrl::GetTaskJobFormulaByType(const std::string& name)
{
    return m_reader.GetTaskJobFormulaByType(name);
}

void CPremiscopeCtrl::setGridColor(OLE_COLOR colour)
{
    m_gridColor = colour;
    colourCaption();
    m_layout.m_gridColor = colour;
    // The formula controls draw their squares in the new colour too.
    UpdateScrollState();
    m_modified = true;
    repaint();
}

void CPremiscopeCtrl::setGuiFont(IDispatch* font)
{
    if (!font) {
        m_guiFont.reset();
    } else {
        FontDescription description;
        if (const HRESULT hr = readFontDescription(font, &description); platform::Failed(hr))
            throw Error(hr == platform::E_INVALIDARG ? hr : platform::DISP_E_TYPEMISMATCH,
                        "The value is not a usable font", "Premiscope");
        m_guiFont = toQFont(description);
    }
    m_modified = true;
    UpdateScrollState();
}

void CPremiscopeCtrl::setBackColor(OLE_COLOR colour)
{
    m_backColor = colour;
    m_layout.SetBackColor(colour);
    repaint();
}

void CPremiscopeCtrl::setForeColor(OLE_COLOR colour)
{
    m_foreColor = colour;
    colourCaption();
    repaint();
}

ComPtr<IDispatch> CPremiscopeCtrl::font() const
{
    return ComPtr<IDispatch>(m_stockFont);
}

void CPremiscopeCtrl::setFont(IDispatch* font)
{
    FontDescription description;
    if (font) {
        if (const HRESULT hr = readFontDescription(font, &description); platform::Failed(hr))
            throw Error(hr == platform::E_INVALIDARG ? hr : platform::DISP_E_TYPEMISMATCH,
                        "The value is not a usable font", "Premiscope");
    }
    m_stockFont->setDescription(description);
}

QFont CPremiscopeCtrl::textFont() const
{
    if (m_guiFont)
        return *m_guiFont;
    return m_widget ? m_widget->font() : platform::fonts::defaultGuiFont();
}

void CPremiscopeCtrl::colourCaption()
{
    if (!m_widget)
        return;
    QPalette palette = m_widget->caption()->palette();
    palette.setColor(QPalette::Window, toColor(m_gridColor));
    palette.setColor(QPalette::WindowText, toColor(m_foreColor));
    m_widget->caption()->setPalette(palette);
    if (m_guiFont)
        m_widget->caption()->setFont(*m_guiFont);
}

void CPremiscopeCtrl::repaint()
{
    if (m_widget)
        m_widget->update();
}

int CPremiscopeCtrl::arrange(int top)
{
    if (!m_widget)
        return 0;
    solvehost::CFontMetricsMeasurer measurer{QFontMetrics(textFont())};
    return m_layout.Arrange(m_widget->width(), measurer, top, true);
}

void CPremiscopeCtrl::UpdateScrollState()
{
    if (!m_widget)
        return;
    m_scroll.Clamp(m_widget->height());
    m_scroll.setContent(arrange(CScrollState::kCaptionHeight + m_scroll.offset()));
    // Formulas scrolled up pass under the caption.
    m_widget->caption()->raise();
    repaint();
}

QImage CPremiscopeCtrl::PaintItems() const
{
    const QSize size = m_widget ? m_widget->size() : QSize();
    QImage image(size.isEmpty() ? QSize(1, 1) : size, QImage::Format_RGB32);
    image.fill(toColor(m_backColor));
    if (size.isEmpty())
        return image;
    QPainter painter(&image);
    const int width = size.width();
    const int height = size.height();

    // The paper: squares that stay where they are while the content scrolls.
    painter.setPen(QPen(toColor(m_gridColor), 1));
    for (int i = 1; i <= width / kCellSize; ++i)
        painter.drawLine(kCellSize * i, 0, kCellSize * i, height);
    for (int i = 1; i <= height / kCellSize; ++i)
        painter.drawLine(0, kCellSize * i, width, kCellSize * i);

    // The strip.
    if (std::optional<ThumbPlace> thumb = m_scroll.Thumb(height)) {
        const int top = CScrollState::kCaptionHeight;
        const int left = width - CScrollState::kBarWidth;
        const int d = height - top;
        // A raised edge: light top and left, dark bottom and right.
        painter.setPen(QColor(255, 255, 255));
        painter.drawLine(left, top, width - 1, top);
        painter.drawLine(left, top, left, height - 1);
        painter.setPen(QColor(64, 64, 64));
        painter.drawLine(left, height - 1, width - 1, height - 1);
        painter.drawLine(width - 1, top, width - 1, height - 1);
        const int trackLeft = left + 2;
        const int trackRight = width - 1;
        painter.fillRect(QRect(QPoint(trackLeft, top + 2), QPoint(trackRight - 1, top + d - 2 - 1)), Qt::black);
        painter.fillRect(QRect(trackLeft, thumb->top, trackRight - trackLeft, thumb->height), toColor(m_gridColor));
    }

    // The words.
    painter.setPen(toColor(m_foreColor));
    painter.setFont(textFont());
    for (const solvehost::CLayoutItemList::Node* node = m_layout.Items().head; node; node = node->next) {
        if (node->kind == solvehost::LayoutItemKind::Text) {
            const auto* text = static_cast<const solvehost::CLayoutTextItem*>(node->item);
            if (text->text == QStringLiteral("\n") || solvehost::CFormulaTextLayout::IsSpaceItem(text->text))
                continue;
            painter.drawText(QRect(text->left, text->top, text->Width(), text->Height()), Qt::TextWordWrap,
                             text->text);
        } else if (solvehost::CSymbrantCtrl* control =
                       static_cast<const solvehost::CLayoutFormulaItem*>(node->item)->GetControl()) {
            control->update();
        }
    }
    return image;
}

}  // namespace premiscope
