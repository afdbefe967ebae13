#pragma once
// The print window of a program: a top-level window with one HTML view in
// which a document is shown for printing and print preview. An HTML file is
// shown as it is; an XML document of the suite (a task, a lesson summary, a
// book page) is turned into HTML by the stylesheet of its kind first. Closing
// the window only hides it: a program keeps one.
#include <QMainWindow>

#include <string>

#include "shared/print/print_page.h"

class QAction;

namespace platform::html {
class HtmlView;
}

namespace shared {

class CPrintHtmlView : public QMainWindow {
    Q_OBJECT
public:
    // Menu command ids.
    static constexpr int kCommandPrint = 40002;
    static constexpr int kCommandPrintPreview = 32859;

    // `title` is what the host names the window; the language text
    // "versionPrint" replaces it.
    explicit CPrintHtmlView(const QString& title = QStringLiteral("PrintView"), QWidget* parent = nullptr);
    ~CPrintHtmlView() override;

    // Shows the window maximised, then the document (PrintDocument). A
    // failure is shown in a message box; false then, else what
    // PrintDocument answered.
    bool ShowDocument(const std::string& path);
    // Shows the window maximised with `xmlText` transformed by the stylesheet
    // file as it is; failures as above.
    bool ShowDocument(const std::string& styleSheet, const std::string& xmlText);

    // Shows an HTML file, or an XML document through the stylesheet of its
    // root element; false for a root of another kind (the page stays).
    // Throws CPrintError.
    bool PrintDocument(const std::string& path);
    // Transforms the document with the stylesheet (which stands for the file
    // `stylesheetPath`: its includes resolve from there), writes the result
    // to the window's temporary page and shows it; false when either is
    // missing. Throws CPrintError.
    bool TransformAndShow(const platform::xml::Document* document, const platform::xml::Document* stylesheet,
                          const std::string& stylesheetPath);

    platform::html::HtmlView* View() const { return m_view; }
    QAction* CommandAction(int id) const;
    // Where transformed pages are written.
    static std::string TemporaryPagePath();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool ShowFailure(const CPrintError& error);
    // Writes the page to the temporary page and shows it.
    void ShowPage(const std::string& page);

    platform::html::HtmlView* m_view;
};

}  // namespace shared
