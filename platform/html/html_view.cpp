#include "platform/html/html_view.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <cstdlib>

#include <unistd.h>

namespace platform::html {

namespace {

PrinterChooser& chooser()
{
    static PrinterChooser instance;
    return instance;
}

bool printDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

// Printing a page can take long, but not for ever.
constexpr int kPrintLimitMs = 120000;

}  // namespace

void prepareApplication()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (::geteuid() == 0 && !std::getenv("QTWEBENGINE_DISABLE_SANDBOX"))
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
}

void setPrinterChooser(PrinterChooser newChooser) { chooser() = std::move(newChooser); }

HtmlView::HtmlView(QWidget* parent) : QWidget(parent), m_view(new QWebEngineView(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &QWebEngineView::loadStarted, this, [this] { m_loading = true; });
    connect(m_view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        m_loading = false;
        m_lastLoadOk = ok;
        emit loadFinished(ok);
    });
}

HtmlView::~HtmlView() = default;

void HtmlView::navigate(const std::string& target)
{
    const QString text = QString::fromStdString(target);
    m_loading = true;
    m_view->load(text == "about:blank" ? QUrl(text) : QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath()));
}

void HtmlView::reload()
{
    m_loading = true;
    m_view->reload();
}

bool HtmlView::waitForLoad(std::chrono::milliseconds limit)
{
    if (!m_loading)
        return m_lastLoadOk;
    QEventLoop loop;
    connect(this, &HtmlView::loadFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    loop.exec();
    return !m_loading && m_lastLoadOk;
}

bool HtmlView::print(QPrinter& printer)
{
    bool finished = false;
    bool success = false;
    QEventLoop loop;
    auto connection = connect(m_view, &QWebEngineView::printFinished, &loop, [&](bool ok) {
        finished = true;
        success = ok;
        loop.quit();
    });
    QTimer::singleShot(kPrintLimitMs, &loop, &QEventLoop::quit);
    m_view->print(&printer);
    if (!finished)
        loop.exec();
    disconnect(connection);
    return finished && success;
}

bool HtmlView::printWithDialog()
{
    QPrinter printer(QPrinter::HighResolution);
    const bool chosen = chooser() ? chooser()(printer, window()) : printDialog(printer, window());
    return chosen && print(printer);
}

void HtmlView::printPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, window());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) { print(*target); });
    dialog.exec();
}

}  // namespace platform::html
