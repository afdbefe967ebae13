#pragma once
// The web browser control of the suite: a widget that shows one page (a
// local file or "about:blank"), tells when a load has finished, and prints
// the page, through the print dialog or its preview, or straight to a given
// printer. Its own library (tessaly_html), so that only programs that show
// pages load the browser engine.
#include <QWidget>

#include <chrono>
#include <functional>
#include <string>

class QPrinter;
class QWebEngineView;

namespace platform::html {

// Must run before the QApplication is made: shares OpenGL contexts between
// the views and, as root, switches off the engine's sandbox (without which it
// refuses to start).
void prepareApplication();

// Asks for a printer (the print dialog); tests replace it. False: cancelled.
using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
void setPrinterChooser(PrinterChooser chooser);  // empty: the print dialog again

class HtmlView : public QWidget {
    Q_OBJECT
public:
    explicit HtmlView(QWidget* parent = nullptr);
    ~HtmlView() override;

    // A local path (shown as its file: URL) or "about:blank".
    void navigate(const std::string& target);
    // Loads the page shown again (a file that changed on disk).
    void reload();
    // Runs events until the load started last has finished; its success, or
    // false when it did not finish within `limit`.
    bool waitForLoad(std::chrono::milliseconds limit = std::chrono::seconds(30));
    bool isLoading() const { return m_loading; }

    // Prints the page and waits for the printer to be done; its success.
    bool print(QPrinter& printer);
    // The print dialog (the chooser), then printing; false when cancelled.
    bool printWithDialog();
    // A print preview of the page.
    void printPreview();

    QWebEngineView* webView() const { return m_view; }

signals:
    void loadFinished(bool ok);

private:
    QWebEngineView* m_view;
    bool m_loading = false;
    bool m_lastLoadOk = false;
};

}  // namespace platform::html
