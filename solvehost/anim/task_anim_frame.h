#pragma once
// The window that shows how a transformation or a task is done: it writes the
// small animation file (kernel/temp/anim.xml, naming a style sheet that sits
// beside it) and lets its web view show what the sheet makes of it. Its own
// library over the web view, so that only the hosts that animate load the
// browser engine.
#include <QMainWindow>

#include <string>

#include "platform/html/html_view.h"

namespace solvehost {

// The frame's view: a web view with no behaviour of its own.
class CTaskAnimView : public platform::html::HtmlView {
public:
    using HtmlView::HtmlView;
};

class CTaskAnimFrame : public QMainWindow {
public:
    // `styleSheet` is a bare file name, found beside anim.xml in kernel/temp
    // ("guideanim.xslt", "taskanim.xslt"). The frame is destroyed when it is
    // closed and never ends the program.
    explicit CTaskAnimFrame(std::string styleSheet);
    ~CTaskAnimFrame() override;

    // Makes the view (the window exists from here on) and writes the
    // animation given before. Title, size and place are the host's. False
    // when it was created already.
    bool Create();
    // Stores the animation name and writes it.
    void SetAnimFile(const std::string& animFile);
    // Without a view or a name nothing happens; else anim.xml is written and
    // the view shows it. A file that cannot be written is reported and the
    // view keeps its page.
    void WriteAnimFile();

    CTaskAnimView* GetView() const { return m_view; }
    const std::string& GetAnimFile() const { return m_animFile; }
    const std::string& GetStyleSheet() const { return m_styleSheet; }
    // The installation folder + "kernel/temp/anim.xml".
    static std::string AnimXmlPath();

private:
    CTaskAnimView* m_view = nullptr;
    std::string m_animFile;
    std::string m_styleSheet;
};

}  // namespace solvehost
