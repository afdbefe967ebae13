// The guide's windows: chapter rollups, group windows, item pages with their
// formula and graph controls, the icon buttons and the how-to-do dialog.
#include "pathmentor/guide_windows.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTextEdit>

#include <algorithm>

#include "constructions/plotwise/component/plotwise_ids.h"
#include "pathmentor/guide_context.h"
#include "platform/com/com.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "solvehost/control_ids.h"

namespace pathmentor {

using namespace platform::com;

namespace {

constexpr int kGap = 6;

OLE_COLOR toOle(const QColor& colour)
{
    return static_cast<OLE_COLOR>(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}

void setId(QWidget* widget, int id, const char* name)
{
    widget->setProperty("dlgCtrlId", id);
    widget->setObjectName(QString::fromLatin1(name));
}

// A component's error: its error info's text, else the code's standard text.
std::string errorText(platform::HRESULT hr)
{
    if (std::optional<ErrorInfo> info = takeErrorInfo(); info && !info->description.empty())
        return info->description;
    return standardMessage(hr);
}

}  // namespace

QFont boldTitleFont()
{
    static const QFont font = [] {
        QFont bold = platform::fonts::defaultGuiFont();
        bold.setPixelSize(14);
        bold.setWeight(QFont::Bold);
        return bold;
    }();
    return font;
}

// ---- Icon buttons ----

CIconButton::CIconButton(const QPixmap& icon, const QString& tip, QWidget* parent)
    : QPushButton(parent), m_icon(icon)
{
    setToolTip(tip);
    setFocusPolicy(Qt::TabFocus);
}

void CIconButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), guideContext().fore());
    if (m_icon.isNull())
        return;
    const QSize size = m_icon.deviceIndependentSize().toSize();
    QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
    if (isDown())
        at += QPoint(1, 1);
    painter.drawPixmap(at, m_icon);
}

// ---- Item pages ----

CTransformationWnd::CTransformationWnd(TransformationItem* item, CGuideChapterWnd* home, QWidget* parent)
    : QWidget(parent), m_item(item), m_home(home)
{
    setObjectName(QStringLiteral("page%1").arg(templateId()));
    const GuideContext& context = guideContext();
    m_title = new QLabel(QString::fromStdString(item->name), this);
    setId(m_title, kTitleId, "1001");
    // A long name wraps and the page grows to show it whole.
    m_title->setWordWrap(true);
    m_howToDo = new CIconButton(context.howtodoIcon, context.howtodo, this);
    setId(m_howToDo, kHowToDoId, "1002");
    m_apply = new CIconButton(context.applyIcon, context.apply, this);
    setId(m_apply, kApplyId, "1004");
    connect(m_howToDo, &QPushButton::clicked, this, &CTransformationWnd::OnHowTodo);
    connect(m_apply, &QPushButton::clicked, this, &CTransformationWnd::OnApply);
    if (item->aplan == 813 || item->aplan == 814)
        m_apply->hide();
    if (item->view == ItemView::Formula)
        initFormulas();
    else if (item->view == ItemView::Graph)
        initGraph();
    resize(200, PageHeight(200));
}

CTransformationWnd::CTransformationWnd(std::unique_ptr<TransformationItem> item, CGuideChapterWnd* home,
                                       QWidget* parent)
    : CTransformationWnd(item.get(), home, parent)
{
    m_ownedItem = std::move(item);
}

CTransformationWnd::~CTransformationWnd() = default;

int CTransformationWnd::templateId() const
{
    switch (m_item->view) {
    case ItemView::Formula:
        return 130;
    case ItemView::Graph:
        return 131;
    default:
        return 133;
    }
}

void CTransformationWnd::initFormulas()
{
    const int call = ++formulaPageInitCount();
    try {
        bool first = true;
        for (const GuideFormula& formula : m_item->formulas) {
            Formula slot;
            QWidget* window = nullptr;
            const platform::HRESULT hr = createControl(solvehost::formavel::CLSID_Formavel, this, &slot.control, &window);
            if (platform::Failed(hr)) {
                platform::showMessage(errorText(hr), "", platform::MessageIcon::Error);
                return;
            }
            slot.window = window;
            window->setProperty("dlgCtrlId", guideContext().takeChildId());
            DispatchDriver driver(slot.control);
            driver.invoke(solvehost::formavel::disp::UseViewer);
            driver.setProperty(solvehost::formavel::disp::LexemText, formula.text);
            driver.invoke(solvehost::formavel::disp::SetLanguge, std::int32_t{2});
            driver.setProperty(solvehost::formavel::disp::BackColor, toOle(guideContext().fore()));
            std::int32_t cx = 0;
            std::int32_t cy = 0;
            driver.invoke(solvehost::formavel::disp::GetOptimalSize, &cx, &cy);
            slot.height = cy < 0 ? kRowSize : cy;
            window->show();
            if (m_item->formulaChoice) {
                slot.radio = new QRadioButton(this);
                slot.radio->setObjectName(QStringLiteral("radio"));
                slot.radio->setAutoExclusive(true);
                slot.radio->resize(kRowSize, kRowSize);
                slot.radio->setProperty("groupStart", first);
                first = false;
            }
            m_formulas.push_back(std::move(slot));
        }
    } catch (const Error& error) {
        platform::showMessage(error.what(), "", platform::MessageIcon::Error);
    } catch (const std::exception&) {
        platform::showMessage("Unknown error, call #" + std::to_string(call), "", platform::MessageIcon::Error);
    }
}

void CTransformationWnd::initGraph()
{
    namespace plot = constructions::plotwise;
    try {
        QWidget* window = nullptr;
        platform::HRESULT hr = createControl(plot::CLSID_ZezidoziBuilder, this, &m_graph, &window);
        if (platform::Failed(hr)) {
            platform::showMessage(errorText(hr), "", platform::MessageIcon::Error);
            return;
        }
        m_graphWindow = window;
        window->setWindowTitle(QStringLiteral("Graph"));
        window->setObjectName(QStringLiteral("Graph"));
        window->setProperty("dlgCtrlId", kGraphId);
        window->setGeometry(10, 30, 200, 180);
        window->show();
        DispatchDriver builder(m_graph);
        DispatchDriver tasks(builder.getProperty<ComPtr<IDispatch>>(plot::disp::builder::Tasks));
        ComPtr<IDispatch> task;
        hr = createInstance(plot::CLSID_Task, task);
        if (platform::Failed(hr)) {
            platform::showMessage(errorText(hr), "", platform::MessageIcon::Error);
            return;
        }
        DispatchDriver(task).setProperty(plot::disp::xml, m_item->graphText);
        tasks.invoke(plot::disp::tasks::Add, task);
        tasks.setProperty(plot::disp::tasks::ActiveTask, task);
    } catch (const Error& error) {
        platform::showMessage(error.what(), "", platform::MessageIcon::Error);
    }
}

bool CTransformationWnd::formulasShown() const
{
    return showExtendedTransformations() || m_item->formulaChoice;
}

int CTransformationWnd::titleHeight(int w) const
{
    return std::max(kRowSize, m_title->heightForWidth(std::max(w - 59, 1)));
}

int CTransformationWnd::PageHeight() const { return PageHeight(width()); }

int CTransformationWnd::PageHeight(int w) const
{
    const int extra = titleHeight(w) - kRowSize;
    switch (m_item->view) {
    case ItemView::Graph:
        return kRowSize + 165 + extra;
    case ItemView::Formula: {
        if (!formulasShown() || m_formulas.empty())
            return 35 + extra;
        int height = 30 + 10;
        for (const Formula& formula : m_formulas)
            height += formula.height;
        return height + 5 * (static_cast<int>(m_formulas.size()) - 1) + extra;
    }
    default:
        return kRowSize + 35 + extra;
    }
}

int CTransformationWnd::formulaIndex() const
{
    if (!m_item->formulaChoice)
        return 0;
    for (std::size_t i = 0; i < m_formulas.size(); ++i)
        if (m_formulas[i].radio && m_formulas[i].radio->isChecked())
            return static_cast<int>(i) + 1;
    return 0;
}

bool CTransformationWnd::multyFormulaChoice() const
{
    return m_item->view == ItemView::Formula && m_item->formulaChoice;
}

void CTransformationWnd::LayoutPage(int w)
{
    const int title = titleHeight(w);
    m_title->setGeometry(4, 5, w - 59, title);
    m_howToDo->setGeometry(w - 50, 5, kRowSize, kRowSize);
    m_apply->setGeometry(w - 25, 5, kRowSize, kRowSize);
    // What follows the title moves down by its lines beyond the first row.
    const int top = 30 + title - kRowSize;
    if (m_graphWindow)
        m_graphWindow->setGeometry(10, top, w - 15, 150);
    const bool shown = formulasShown();
    int y = top;
    for (Formula& formula : m_formulas) {
        if (formula.window) {
            formula.window->setGeometry(20, y, w - 25, formula.height);
            formula.window->setVisible(shown);
        }
        if (formula.radio) {
            formula.radio->setGeometry(4, y + formula.height / 2 - 5, 10, 10);
            formula.radio->setVisible(shown);
        }
        y += formula.height + 5;
    }
}

void CTransformationWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutPage(width());
}

void CTransformationWnd::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), guideContext().fore());
}

void CTransformationWnd::OnApply()
{
    applyTransformation(*this);
}

void CTransformationWnd::OnHowTodo()
{
    CDialogInfo dialog(*m_item, window());
    dialog.move(CDialogInfo::PlaceAt(QCursor::pos(), dialog.size()));
    dialog.exec();
}

// ---- Groups ----

CGuideChapterWnd::CGuideChapterWnd(GuideGroup* group) : m_group(group)
{
    setObjectName(QStringLiteral("group"));
}

CGuideChapterWnd::~CGuideChapterWnd() = default;

bool CGuideChapterWnd::Create(QWidget* parent)
{
    setParent(parent);
    setWindowTitle(QString::fromStdString(m_group->name));
    setProperty("dlgCtrlId", guideContext().takeChildId());
    setGeometry(0, 0, 200, 100);
    for (const std::unique_ptr<TransformationItem>& item : m_group->items)
        CreateItemPage(item.get());
    show();
    return true;
}

CTransformationWnd* CGuideChapterWnd::CreateItemPage(TransformationItem* item)
{
    auto* page = new CTransformationWnd(item, this, this);
    page->setGeometry(0, 0, 200, page->PageHeight());
    page->show();
    m_pages.emplace_back(page);
    return page;
}

CTransformationWnd* CGuideChapterWnd::CreateItemPage(std::unique_ptr<TransformationItem> item)
{
    auto* page = new CTransformationWnd(std::move(item), this, this);
    page->setGeometry(0, 0, 200, page->PageHeight());
    page->show();
    m_pages.emplace_back(page);
    return page;
}

std::vector<CTransformationWnd*> CGuideChapterWnd::pages() const
{
    std::vector<CTransformationWnd*> shown;
    for (const QPointer<CTransformationWnd>& page : m_pages)
        if (page && page->parentWidget() == this)
            shown.push_back(page);
    for (const QPointer<CTransformationWnd>& page : m_guests)
        if (page && page->parentWidget() == this)
            shown.push_back(page);
    return shown;
}

void CGuideChapterWnd::AddGuest(CTransformationWnd* page)
{
    page->setParent(this);
    page->show();
    m_guests.emplace_back(page);
}

void CGuideChapterWnd::SendGuestsHome()
{
    for (const QPointer<CTransformationWnd>& page : m_guests)
        if (page && page->home())
            page->home()->TakeBack(page);
    m_guests.clear();
}

void CGuideChapterWnd::TakeBack(CTransformationWnd* page)
{
    page->setParent(this);
    page->show();
    FitHeight();
}

void CGuideChapterWnd::DestroyPages()
{
    for (const QPointer<CTransformationWnd>& page : m_pages) {
        if (page) {
            page->hide();
            page->deleteLater();
        }
    }
    m_pages.clear();
}

int CGuideChapterWnd::GroupHeight() const
{
    int height = kGap;
    for (CTransformationWnd* page : pages())
        height += page->PageHeight(width() - 2 * kGap) + kGap;
    return height;
}

void CGuideChapterWnd::FitHeight()
{
    resize(width(), GroupHeight());
    LayoutPages();
}

void CGuideChapterWnd::LayoutPages()
{
    int y = kGap;
    const int w = width() - 2 * kGap;
    for (CTransformationWnd* page : pages()) {
        const int height = page->PageHeight(w);
        page->setGeometry(kGap, y, w, height);
        page->LayoutPage(w);
        y += height + kGap;
    }
}

void CGuideChapterWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // At another width the titles wrap otherwise: the group takes the
    // height its pages need (the rollup places it again).
    if (event->size().width() != event->oldSize().width() && height() != GroupHeight())
        resize(width(), GroupHeight());
    LayoutPages();
}

void CGuideChapterWnd::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), guideContext().back());
}

// ---- Chapters ----

CCommonChapterWnd::CCommonChapterWnd(GuideChapter* chapter) : m_chapter(chapter)
{
    setObjectName(QStringLiteral("chapter"));
}

CCommonChapterWnd::~CCommonChapterWnd() = default;

bool CCommonChapterWnd::Create(QWidget* parent)
{
    if (!CRollupCtrl::Create(QRect(0, 25, 100, 100), parent))
        return false;
    SetTitleLine(QString::fromStdString(m_chapter->name), boldTitleFont());
    for (const std::unique_ptr<GuideGroup>& group : m_chapter->groups) {
        auto* window = new CGuideChapterWnd(group.get());
        window->Create(this);
        window->resize(200, window->GroupHeight());
        window->LayoutPages();
        m_groups.push_back(window);
        AddPage(QString::fromStdString(group->name), window);
    }
    return true;
}

void CCommonChapterWnd::LayoutChapter()
{
    for (CGuideChapterWnd* group : m_groups)
        if (group->height() > 0)
            group->FitHeight();
    RecalcLayout();
}

// ---- The how-to-do dialog ----

CDialogInfo::CDialogInfo(const TransformationItem& item, QWidget* parent) : QDialog(parent), m_item(item)
{
    setObjectName(QStringLiteral("143"));
    setWindowTitle(QString::fromStdString(item.name));
    setModal(true);
    setFixedSize(360, 220);
    m_text = new QTextEdit(this);
    setId(m_text, 1004, "1004");
    m_text->setReadOnly(true);
    m_text->setPlainText(QString::fromStdString(item.howtodo));
    m_text->moveCursor(QTextCursor::Start);
    m_text->setGeometry(8, 8, 344, 164);
    auto* label = new QLabel(QStringLiteral("Докладніше:"), this);
    m_extendedLabel = label;
    setId(label, 202, "202");
    label->setGeometry(8, 184, 150, 26);
    m_extended = new QPushButton(QStringLiteral("..."), this);
    setId(m_extended, 203, "203");
    m_extended->setGeometry(160, 184, 90, 26);
    m_close = new QPushButton(QStringLiteral("OK"), this);
    setId(m_close, 1006, "1006");
    m_close->setGeometry(262, 184, 90, 26);
    m_close->setDefault(true);
    if (item.howToDoExtended.empty()) {
        label->hide();
        m_extended->hide();
        m_close->setGeometry(0, 184, width(), 26);
    }
    connect(m_extended, &QPushButton::clicked, this, [this] { showExtendedHowTodo(m_item.howToDoExtended); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
}

QPoint CDialogInfo::PlaceAt(const QPoint& mouse, const QSize& size)
{
    return QPoint(mouse.x() > size.width() ? mouse.x() - size.width() : mouse.x(),
                  mouse.y() > size.height() ? mouse.y() - size.height() : mouse.y());
}

void CDialogInfo::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), guideContext().back());
}

}  // namespace pathmentor
