#pragma once
// CPathmentorCtrl: the guide control as a component. It loads a guide file
// with its chapter pairs, shows each chapter as a tab of a flat tab control
// (a rollup of groups of item pages), chooses the shown chapters and answers
// for each task's guide content, fills the recommended chapter for a sign of
// the pupil's selection, and fires the apply events of its item pages.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "pathmentor/guide_windows.h"
#include "pathmentor/model/guide_records.h"
#include "pathmentor/pathmentor_ids.h"
#include "platform/com/com.h"
#include "shared/language.h"

namespace shared {
class CFlatTabCtrl;
}

namespace pathmentor {

using platform::HRESULT;
using platform::com::OLE_COLOR;
using platform::com::VARIANT_BOOL;

class _DPathmentor : public platform::com::IDispatch {
public:
    using Base = platform::com::IDispatch;
    static constexpr platform::com::IID iid = DIID__DPathmentor;
};

class CPathmentorCtrl;

// The control's window: the tab control over its client area.
class PathmentorWidget : public QWidget {
public:
    PathmentorWidget(QWidget* parent, CPathmentorCtrl* control);
    ~PathmentorWidget() override;
    void detach() { m_control = nullptr; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // A mouse press in any of the guide's widgets makes it the active control.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CPathmentorCtrl* m_control;
};

class CPathmentorCtrl final
    : public platform::com::DispatchObject<CPathmentorCtrl, _DPathmentor, platform::com::IConnectionPointContainer,
                                           platform::com::IControlWindow, platform::com::IPersistPropertyBag> {
public:
    CPathmentorCtrl();
    ~CPathmentorCtrl() override;

    static std::span<const platform::com::DispatchMember<CPathmentorCtrl>> dispatchMembers();

    HRESULT FindConnectionPoint(const platform::com::IID& events, platform::com::IConnectionPoint** point) override;
    QWidget* createWindow(QWidget* parent) override;
    QWidget* window() override;
    // Version 0x10000 and the two stock colours.
    HRESULT InitNew() override;
    HRESULT Load(const platform::com::PropertyBag& bag) override;
    HRESULT Save(platform::com::PropertyBag& bag) override;

    // ---- _DPathmentor ----
    VARIANT_BOOL InitializeGuide();
    VARIANT_BOOL InitializeGuideContent(const std::string& guideContent);
    VARIANT_BOOL FillRecomendedCommonChapter(std::uint8_t sign);
    VARIANT_BOOL ReleaseRecomendedCommonChapter();
    std::string guideDocFile() const { return m_guideDocFile; }
    void setGuideDocFile(const std::string& path);
    OLE_COLOR backColor() const { return m_backColor; }
    void setBackColor(OLE_COLOR colour);
    OLE_COLOR foreColor() const { return m_foreColor; }
    void setForeColor(OLE_COLOR colour);
    std::uint8_t sendExtendedInformation() const { return m_sendExtended; }
    void setSendExtendedInformation(std::uint8_t on);
    std::uint8_t showExtendedTransformationsValue() const;
    void setShowExtendedTransformations(std::uint8_t on);
    std::uint8_t locked() const { return m_locked; }
    void setLocked(std::uint8_t on);
    std::uint8_t showRecomendedChapter() const { return m_showRecommended; }
    void setShowRecomendedChapter(std::uint8_t on);
    OLE_COLOR barFrameColor() const { return m_barFrameColor; }
    void setBarFrameColor(OLE_COLOR colour);
    VARIANT_BOOL ParseLanguageFile(const std::string& fullFileName);

    // ---- for the windows and the tests ----
    void widgetGone();
    void OnSize(int cx, int cy);
    void OnTabChange(int index);
    void OnMouseActivate();
    // Fires the apply event for an item page (nothing while Locked).
    void ApplyTransformation(const CTransformationWnd& page);
    void FireShowExtendedHowTodo(const std::string& howToDo);
    bool isModified() const { return m_modified; }
    shared::CFlatTabCtrl* tabCtrl() const { return m_tab; }
    CCommonChapterWnd* currentPage() const { return m_currentPage; }
    const QRect& pageRect() const { return m_pageRect; }
    const std::vector<CCommonChapterWnd*>& shownChapters() const { return m_shown; }
    const ChapterList& chapters() const { return m_chapters; }
    CCommonChapterWnd* recommendedWindow() const { return m_recommendedWnd; }
    CGuideChapterWnd* transformationsGroup() const;
    CGuideChapterWnd* answersGroup() const;
    int recommendationSign() const { return m_sign; }
    const QString& caption(const char* key) const;

private:
    void SetCaptions();
    bool buildWindows();
    void destroyGuide();
    CCommonChapterWnd* windowOf(const GuideChapter* chapter) const;
    void showPage(CCommonChapterWnd* page);
    void repaint();

    platform::com::ComPtr<platform::com::ConnectionPoint> m_events;
    QPointer<PathmentorWidget> m_widget;
    shared::CFlatTabCtrl* m_tab = nullptr;
    shared::CLanguageTable m_language;

    std::string m_guideDocFile;
    ChapterList m_chapters;
    std::vector<ChapterList> m_retired;
    std::vector<CCommonChapterWnd*> m_chapterWnds;  // one per chapter, in list order
    std::vector<CCommonChapterWnd*> m_shown;
    std::string m_content;
    GuideChapter* m_recommended = nullptr;
    CCommonChapterWnd* m_recommendedWnd = nullptr;
    std::vector<TransformationItem*> m_answers;
    int m_sign = -1;
    CCommonChapterWnd* m_currentPage = nullptr;
    QRect m_pageRect;

    QString m_favourites;
    QString m_transformations;
    QString m_graphsTr;
    QString m_answersCaption;
    bool m_pendingInitialize = false;

    OLE_COLOR m_backColor = 0xFFFFFF;
    OLE_COLOR m_foreColor = 0xFFFFFF;
    OLE_COLOR m_barFrameColor = 0x808080;
    std::uint8_t m_sendExtended = 1;
    std::uint8_t m_locked = 0;
    std::uint8_t m_showRecommended = 0;
    bool m_modified = false;
};

}  // namespace pathmentor
