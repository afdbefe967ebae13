// The guide control: its window and tab control, loading the guide and
// building the chapter windows, the guide content, the recommended chapter,
// the colours and captions, persistence and the apply events.
#include "pathmentor/pathmentor_ctrl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "pathmentor/guide_context.h"
#include "pathmentor/model/guide_content.h"
#include "pathmentor/model/guide_loader.h"
#include "pathmentor/model/recommendation.h"
#include "platform/message_box.h"
#include "shared/settings.h"
#include "shared/widgets/flat_tab_ctrl.h"

namespace pathmentor {

using namespace platform::com;

namespace {

constexpr std::int32_t kVersion = 0x10000;

QColor toColor(OLE_COLOR colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

VARIANT_BOOL answer(bool value)
{
    return value ? VARIANT_TRUE : VARIANT_FALSE;
}

struct CaptionDefault {
    const char* key;
    const char* text;
};

constexpr CaptionDefault kCaptions[] = {
    {"collapseAll", "Сховати всі"},   {"expandAll", "Показати всі"},
    {"apply", "Виконати"},            {"howtodo", "Як це зробити"},
    {"favourites", "Обрані"},         {"transformations", "Перетворення"},
    {"graphsTr", "Графічні перетворення"}, {"answers", "Відповіді"},
};

}  // namespace

// ---- What item pages ask of the active control ----

void applyTransformation(const CTransformationWnd& page)
{
    CPathmentorCtrl* control = guideContext().activeControl;
    if (!control) {
        platform::showMessage("Error/nApplication will terminate", "", platform::MessageIcon::Error);
        return;
    }
    // The host may release the guide from inside its handler.
    ComPtr<CPathmentorCtrl> keep(control);
    control->ApplyTransformation(page);
}

void showExtendedHowTodo(const std::string& howToDo)
{
    if (CPathmentorCtrl* control = guideContext().activeControl) {
        ComPtr<CPathmentorCtrl> keep(control);
        control->FireShowExtendedHowTodo(howToDo);
    }
}

// ---- The window ----

PathmentorWidget::PathmentorWidget(QWidget* parent, CPathmentorCtrl* control) : QWidget(parent), m_control(control)
{
    setObjectName(QStringLiteral("Pathmentor"));
    qApp->installEventFilter(this);
}

PathmentorWidget::~PathmentorWidget()
{
    qApp->removeEventFilter(this);
    if (m_control)
        m_control->widgetGone();
}

void PathmentorWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_control)
        m_control->OnSize(width(), height());
}

void PathmentorWidget::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), guideContext().back());
}

bool PathmentorWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (m_control && event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget == this || isAncestorOf(widget))
            m_control->OnMouseActivate();
    }
    return QWidget::eventFilter(watched, event);
}

// ---- The control ----

CPathmentorCtrl::CPathmentorCtrl() : m_events(make<ConnectionPoint>(DIID__DPathmentorEvents))
{
    joinGuideContext();
    const shared::Rgb frame = shared::GetThemeColor(4);
    m_barFrameColor = static_cast<OLE_COLOR>(frame.red | (frame.green << 8) | (frame.blue << 16));
}

CPathmentorCtrl::~CPathmentorCtrl()
{
    destroyGuide();
    if (m_widget) {
        m_widget->detach();
        m_widget->hide();
        m_widget->deleteLater();
        m_widget = nullptr;
    }
    leaveGuideContext(this);
}

HRESULT CPathmentorCtrl::FindConnectionPoint(const IID& events, IConnectionPoint** point)
{
    return m_events->offer(events, point);
}

QWidget* CPathmentorCtrl::createWindow(QWidget* parent)
{
    if (!parent)
        return nullptr;
    if (m_widget)
        return m_widget;
    m_foreColor = m_backColor;
    GuideContext& context = guideContext();
    context.activeControl = this;
    if (!context.backColor.isValid())
        context.backColor = toColor(m_backColor);
    if (!context.foreColor.isValid())
        context.foreColor = toColor(m_foreColor);

    m_widget = new PathmentorWidget(parent, this);
    m_tab = new shared::CFlatTabCtrl(2, m_widget);
    m_tab->setObjectName(QStringLiteral("101"));
    m_tab->setProperty("dlgCtrlId", kTabCtrlId);
    m_tab->SetDrawMode(2);
    shared::SetFlatTabStyleFlags(true, 14);
    m_tab->SetBkColor(toColor(m_backColor));
    m_tab->SetSecondColor(toColor(m_foreColor));
    m_tab->SetFrameColor(toColor(m_barFrameColor));
    m_tab->setGeometry(m_widget->rect());
    QObject::connect(m_tab, &shared::CFlatTabCtrl::selChange, m_tab, [this](int index) { OnTabChange(index); });

    context.applyIcon = QPixmap(QStringLiteral(":/pathmentor/icon/5.png"));
    context.howtodoIcon = QPixmap(QStringLiteral(":/pathmentor/icon/201.png"));
    m_widget->show();
    if (m_pendingInitialize) {
        m_pendingInitialize = false;
        InitializeGuide();
    }
    return m_widget;
}

QWidget* CPathmentorCtrl::window()
{
    return m_widget;
}

void CPathmentorCtrl::widgetGone()
{
    // Qt destroyed the windows with the host's: forget them, keep the records.
    m_widget = nullptr;
    m_tab = nullptr;
    m_chapterWnds.clear();
    m_shown.clear();
    m_currentPage = nullptr;
    m_recommendedWnd = nullptr;
    m_answers.clear();
}

void CPathmentorCtrl::destroyGuide()
{
    // Answer pages go home first: they belong to their own groups.
    if (CGuideChapterWnd* answers = answersGroup())
        answers->SendGuestsHome();
    for (CCommonChapterWnd* chapter : m_chapterWnds) {
        chapter->hide();
        chapter->deleteLater();
    }
    m_chapterWnds.clear();
    m_shown.clear();
    m_answers.clear();
    m_currentPage = nullptr;
    m_recommendedWnd = nullptr;
    m_recommended = nullptr;
    m_sign = -1;
    m_content.clear();
    if (m_tab)
        m_tab->DeleteAllItems();
    // The windows are freed later and point at the records: the records of
    // a guide loaded again are kept until the control goes.
    if (!m_chapters.empty())
        m_retired.push_back(std::move(m_chapters));
    m_chapters.clear();
}

HRESULT CPathmentorCtrl::InitNew()
{
    setBackColor(0xFFFFFF);
    setForeColor(0xFFFFFF);
    m_modified = false;
    return platform::S_OK;
}

HRESULT CPathmentorCtrl::Load(const PropertyBag& bag)
{
    OLE_COLOR back = m_backColor;
    OLE_COLOR fore = m_foreColor;
    bag.read("BackColor", back);
    bag.read("ForeColor", fore);
    setBackColor(back);
    setForeColor(fore);
    m_modified = false;
    return platform::S_OK;
}

HRESULT CPathmentorCtrl::Save(PropertyBag& bag)
{
    bag.write("Version", kVersion);
    bag.write("BackColor", m_backColor);
    bag.write("ForeColor", m_foreColor);
    m_modified = false;
    return platform::S_OK;
}

// ---- Properties ----

void CPathmentorCtrl::setGuideDocFile(const std::string& path)
{
    m_guideDocFile = path;
    m_modified = true;
}

void CPathmentorCtrl::setBackColor(OLE_COLOR colour)
{
    m_backColor = colour;
    m_modified = true;
    if (!m_widget)
        return;
    guideContext().backColor = toColor(colour);
    if (m_tab)
        m_tab->SetBkColor(toColor(colour));
    repaint();
}

void CPathmentorCtrl::setForeColor(OLE_COLOR colour)
{
    m_foreColor = colour;
    m_modified = true;
    if (!m_widget)
        return;
    guideContext().foreColor = toColor(colour);
    if (m_tab)
        m_tab->SetSecondColor(toColor(colour));
    repaint();
}

void CPathmentorCtrl::setSendExtendedInformation(std::uint8_t on)
{
    m_sendExtended = on ? 1 : 0;
    m_modified = true;
}

std::uint8_t CPathmentorCtrl::showExtendedTransformationsValue() const
{
    return showExtendedTransformations() ? 1 : 0;
}

void CPathmentorCtrl::setShowExtendedTransformations(std::uint8_t on)
{
    showExtendedTransformations() = on != 0;
    m_modified = true;
    if (m_currentPage)
        m_currentPage->LayoutChapter();
}

void CPathmentorCtrl::setLocked(std::uint8_t on)
{
    m_locked = on ? 1 : 0;
    m_modified = true;
}

void CPathmentorCtrl::setShowRecomendedChapter(std::uint8_t on)
{
    m_showRecommended = on ? 1 : 0;
    m_modified = true;
}

void CPathmentorCtrl::setBarFrameColor(OLE_COLOR colour)
{
    m_barFrameColor = colour;
    m_modified = true;
    if (m_tab) {
        m_tab->SetFrameColor(toColor(colour));
        m_tab->update();
    }
}

void CPathmentorCtrl::repaint()
{
    if (m_tab)
        m_tab->update();
    if (m_currentPage) {
        m_currentPage->update();
        for (QWidget* child : m_currentPage->findChildren<QWidget*>())
            child->update();
    }
    if (m_widget)
        m_widget->update();
}

// ---- Captions ----

VARIANT_BOOL CPathmentorCtrl::ParseLanguageFile(const std::string& fullFileName)
{
    const bool loaded = m_language.Load(fullFileName);
    SetCaptions();
    return answer(loaded);
}

void CPathmentorCtrl::SetCaptions()
{
    const bool fromTable = !m_language.Get("collapseAll").empty();
    auto text = [&](const CaptionDefault& entry) {
        return QString::fromStdString(fromTable ? m_language.Get(entry.key) : std::string(entry.text));
    };
    GuideContext& context = guideContext();
    context.collapseAll = text(kCaptions[0]);
    context.expandAll = text(kCaptions[1]);
    context.apply = text(kCaptions[2]);
    context.howtodo = text(kCaptions[3]);
    m_favourites = text(kCaptions[4]);
    m_transformations = text(kCaptions[5]);
    m_graphsTr = text(kCaptions[6]);
    m_answersCaption = text(kCaptions[7]);
}

const QString& CPathmentorCtrl::caption(const char* key) const
{
    const std::string_view name(key);
    const GuideContext& context = guideContext();
    if (name == "collapseAll")
        return context.collapseAll;
    if (name == "expandAll")
        return context.expandAll;
    if (name == "apply")
        return context.apply;
    if (name == "howtodo")
        return context.howtodo;
    if (name == "favourites")
        return m_favourites;
    if (name == "transformations")
        return m_transformations;
    if (name == "graphsTr")
        return m_graphsTr;
    return m_answersCaption;
}

// ---- Loading the guide ----

VARIANT_BOOL CPathmentorCtrl::InitializeGuide()
{
    if (m_guideDocFile.empty())
        return VARIANT_FALSE;
    if (!m_widget) {
        m_pendingInitialize = true;
        return VARIANT_FALSE;
    }
    try {
        destroyGuide();
        if (!loadGuide(m_guideDocFile, m_chapters))
            return VARIANT_FALSE;
        if (m_chapters.empty())
            return VARIANT_FALSE;
        // A selection sort by id that swaps list entries.
        for (std::size_t i = 0; i + 1 < m_chapters.size(); ++i) {
            std::size_t least = i;
            for (std::size_t j = i + 1; j < m_chapters.size(); ++j)
                if (m_chapters[j]->id < m_chapters[least]->id)
                    least = j;
            if (least != i)
                std::swap(m_chapters[i], m_chapters[least]);
        }
        SetCaptions();
        if (m_showRecommended) {
            auto recommended = std::make_unique<GuideChapter>();
            recommended->id = 0;
            recommended->name = m_favourites.toStdString();
            recommended->tabName = recommended->name;
            for (const QString& name : {m_transformations, m_answersCaption}) {
                auto group = std::make_unique<GuideGroup>();
                group->name = name.toStdString();
                recommended->groups.push_back(std::move(group));
            }
            m_recommended = recommended.get();
            m_chapters.insert(m_chapters.begin(), std::move(recommended));
        }
        if (!buildWindows())
            return VARIANT_FALSE;
        return VARIANT_TRUE;
    } catch (const Error& error) {
        platform::showMessage(standardMessage(error.hr()), "", platform::MessageIcon::Error);
        return VARIANT_FALSE;
    } catch (const std::exception&) {
        return VARIANT_FALSE;
    }
}

bool CPathmentorCtrl::buildWindows()
{
    for (const std::unique_ptr<GuideChapter>& chapter : m_chapters) {
        auto* window = new CCommonChapterWnd(chapter.get());
        if (!window->Create(m_tab))
            return false;
        window->hide();
        m_chapterWnds.push_back(window);
        m_shown.push_back(window);
        m_tab->InsertItem(m_tab->GetItemCount(), QString::fromStdString(chapter->tabName), chapter.get());
        if (chapter.get() == m_recommended)
            m_recommendedWnd = window;
    }
    if (m_recommendedWnd)
        for (CGuideChapterWnd* group : m_recommendedWnd->groups())
            group->resize(0, 0);
    if (m_shown.empty())
        return false;
    m_tab->SetCurSel(0);
    const int top = m_tab->GetItemRect(0).height() + 3;
    const QRect client = m_widget->rect();
    m_pageRect = QRect(1, top, client.width() - 3 - 1, client.height() - 3 - top);
    m_currentPage = m_shown.front();
    m_currentPage->setGeometry(m_pageRect);
    m_currentPage->LayoutChapter();
    m_currentPage->show();
    repaint();
    return true;
}

void CPathmentorCtrl::OnSize(int cx, int cy)
{
    if (!m_tab)
        return;
    m_tab->setGeometry(0, 0, cx, cy);
    const int left = m_pageRect.left() > 0 ? m_pageRect.left() : 1;
    const int top = m_pageRect.top();
    m_pageRect = QRect(left, top, cx - 2 * left, cy - 1 - top);
    if (m_currentPage)
        m_currentPage->setGeometry(left, top, cx - 2 * left, cy - top - 1);
}

CCommonChapterWnd* CPathmentorCtrl::windowOf(const GuideChapter* chapter) const
{
    for (CCommonChapterWnd* window : m_chapterWnds)
        if (window->chapter() == chapter)
            return window;
    return nullptr;
}

void CPathmentorCtrl::showPage(CCommonChapterWnd* page)
{
    if (!page)
        return;
    page->setGeometry(m_pageRect);
    page->LayoutChapter();
    page->show();
    page->setFocus();
    if (m_currentPage && m_currentPage != page)
        m_currentPage->hide();
    m_currentPage = page;
}

void CPathmentorCtrl::OnTabChange(int index)
{
    if (!m_tab || index < 0)
        return;
    showPage(windowOf(static_cast<const GuideChapter*>(m_tab->GetItemData(index))));
}

void CPathmentorCtrl::OnMouseActivate()
{
    guideContext().activeControl = this;
}

CGuideChapterWnd* CPathmentorCtrl::transformationsGroup() const
{
    return m_recommendedWnd && !m_recommendedWnd->groups().empty() ? m_recommendedWnd->groups()[0] : nullptr;
}

CGuideChapterWnd* CPathmentorCtrl::answersGroup() const
{
    return m_recommendedWnd && m_recommendedWnd->groups().size() > 1 ? m_recommendedWnd->groups()[1] : nullptr;
}

// ---- The guide content ----

VARIANT_BOOL CPathmentorCtrl::InitializeGuideContent(const std::string& guideContent)
{
    if (guideContent == m_content)
        return VARIANT_TRUE;
    if (m_recommendedWnd)
        m_recommendedWnd->ExpandPage(1, false);
    m_shown.clear();
    if (m_currentPage)
        m_currentPage->hide();
    m_currentPage = nullptr;
    m_content = guideContent;
    if (CGuideChapterWnd* answers = answersGroup()) {
        answers->SendGuestsHome();
        answers->resize(answers->width(), 0);
    }
    m_answers.clear();

    ContentSelection selection;
    if (m_recommended) {
        selection = selectGuideContent(guideContent, m_chapters, true);
    } else {
        // Without the recommended chapter there is nowhere to offer answers:
        // the chapters are chosen, the answers are not looked up.
        const GuideContentText text = scanGuideContent(guideContent);
        if (!text.version)
            selection.outcome = ContentOutcome::NoVersion;
        else if (*text.version != "1.0")
            selection.outcome = ContentOutcome::WrongVersion;
        else if (!text.chapters)
            selection.outcome = ContentOutcome::NoChapters;
        else {
            selection.shownChapters = selectShownChapters(m_chapters, *text.chapters, false);
            selection.outcome = text.answers ? ContentOutcome::Applied : ContentOutcome::NoAnswers;
        }
    }
    if (selection.tabsRemoved() && m_tab)
        m_tab->DeleteAllItems();
    for (GuideChapter* chapter : selection.shownChapters)
        if (CCommonChapterWnd* window = windowOf(chapter))
            m_shown.push_back(window);
    if (!selection.applied())
        return VARIANT_FALSE;
    if (!m_tab)
        return VARIANT_TRUE;

    for (CCommonChapterWnd* window : m_shown)
        m_tab->InsertItem(m_tab->GetItemCount(), QString::fromStdString(window->chapter()->tabName),
                          window->chapter());
    if (CGuideChapterWnd* answers = answersGroup()) {
        for (TransformationItem* item : selection.answers) {
            for (CCommonChapterWnd* chapter : m_chapterWnds)
                for (CGuideChapterWnd* group : chapter->groups())
                    for (const QPointer<CTransformationWnd>& page : group->ownPages())
                        if (page && page->item() == item) {
                            answers->AddGuest(page);
                            m_answers.push_back(item);
                        }
        }
        answers->resize(answers->width() > 0 ? answers->width() : 200, answers->GroupHeight());
        answers->LayoutPages();
        // The groups the answers left are shorter now.
        for (CCommonChapterWnd* chapter : m_chapterWnds)
            for (CGuideChapterWnd* group : chapter->groups())
                if (group != answers && group->height() > 0)
                    group->FitHeight();
    }
    if (!m_shown.empty()) {
        m_tab->SetCurSel(0);
        showPage(m_shown.front());
    }
    return VARIANT_TRUE;
}

// ---- The recommended chapter ----

VARIANT_BOOL CPathmentorCtrl::FillRecomendedCommonChapter(std::uint8_t sign)
{
    CGuideChapterWnd* group = transformationsGroup();
    if (!group)
        return VARIANT_TRUE;
    if (static_cast<int>(sign) != m_sign) {
        ReleaseRecomendedCommonChapter();
        m_sign = sign;
        std::vector<GuideChapter*> shown;
        for (CCommonChapterWnd* window : m_shown)
            shown.push_back(window->chapter());
        for (std::unique_ptr<TransformationItem>& copy : selectRecommendedItems(shown, sign))
            group->CreateItemPage(std::move(copy));
        group->resize(group->width() > 0 ? group->width() : 200, group->GroupHeight());
        group->LayoutPages();
        m_recommendedWnd->ExpandPage(0, true);
        m_recommendedWnd->ScrollToPage(0);
    }
    if (m_currentPage != m_recommendedWnd) {
        showPage(m_recommendedWnd);
        if (m_tab)
            m_tab->SetCurSel(0);
    }
    return VARIANT_TRUE;
}

VARIANT_BOOL CPathmentorCtrl::ReleaseRecomendedCommonChapter()
{
    CGuideChapterWnd* group = transformationsGroup();
    if (!group)
        return VARIANT_TRUE;
    m_sign = -1;
    // deleteLater: the host may release from inside a copy's apply event.
    group->DestroyPages();
    m_recommendedWnd->ExpandPage(0, false);
    group->resize(group->width(), 0);
    return VARIANT_TRUE;
}

// ---- Events ----

void CPathmentorCtrl::ApplyTransformation(const CTransformationWnd& page)
{
    if (m_locked)
        return;
    const TransformationItem& item = *page.item();
    const auto aplan = static_cast<std::uint32_t>(item.aplan);
    if (!m_sendExtended) {
        m_events->fire(event::ApplyingTransformation, {aplan, item.action, ""});
        return;
    }
    const bool choice = page.multyFormulaChoice();
    m_events->fire(event::ApplyingTransformationExt,
                   {aplan, static_cast<std::uint8_t>(item.type), item.action, item.needDialog, item.needAllExpr,
                    choice, static_cast<std::uint8_t>(choice ? page.formulaIndex() : 0), ""});
}

void CPathmentorCtrl::FireShowExtendedHowTodo(const std::string& howToDo)
{
    m_events->fire(event::ShowExtendedHowTodo, {howToDo});
}

}  // namespace pathmentor
