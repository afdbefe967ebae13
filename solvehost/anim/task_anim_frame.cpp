#include "solvehost/anim/task_anim_frame.h"

#include <QFileInfo>
#include <QUrl>
#include <QWebEngineView>

#include <cassert>
#include <exception>
#include <utility>

#include "platform/message_box.h"
#include "platform/xml.h"
#include "shared/settings.h"

namespace solvehost {

namespace {

constexpr int kFirstPaneId = 0xE900;

[[maybe_unused]] bool isBareFileName(const std::string& name)
{
    return !name.empty() && name.find_first_of("/\\\"") == std::string::npos && name != "." && name != "..";
}

}  // namespace

CTaskAnimFrame::CTaskAnimFrame(std::string styleSheet) : m_styleSheet(std::move(styleSheet))
{
    assert(isBareFileName(m_styleSheet));
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, true);
}

CTaskAnimFrame::~CTaskAnimFrame() = default;

std::string CTaskAnimFrame::AnimXmlPath()
{
    return shared::CSettings::Instance().GetInstallPath() + "kernel/temp/anim.xml";
}

bool CTaskAnimFrame::Create()
{
    if (m_view)
        return false;
    m_view = new CTaskAnimView(this);
    m_view->setProperty("dlgCtrlId", kFirstPaneId);
    setCentralWidget(m_view);
    m_view->show();
    WriteAnimFile();
    return true;
}

void CTaskAnimFrame::SetAnimFile(const std::string& animFile)
{
    m_animFile = animFile;
    WriteAnimFile();
}

void CTaskAnimFrame::WriteAnimFile()
{
    if (!m_view || m_animFile.empty())
        return;
    const std::string path = AnimXmlPath();
    try {
        // The name comes from guide and task texts: set as an attribute it is
        // escaped when saved, whatever quotes or ampersands it holds.
        platform::xml::Document document = platform::xml::Document::loadText(
            "<?xml version=\"1.0\"?><?xml-stylesheet type = \"text/xsl\" href = \"" + m_styleSheet +
            "\"?><ANIM file=\"\"></ANIM>");
        document.root()->setAttribute("file", m_animFile);
        document.save(path);
    } catch (const std::exception&) {
        platform::showMessage("Не вдалося записати файл:\n" + path, "", platform::MessageIcon::Warning,
                              platform::MessageButtons::Ok, this);
        return;
    }
    const QUrl url = QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
    if (m_view->webView()->url() == url)
        m_view->reload();
    else
        m_view->navigate(path);
}

}  // namespace solvehost
