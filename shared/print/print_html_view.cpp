#include "shared/print/print_html_view.h"

#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QMenuBar>
#include <QStandardPaths>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/html/html_view.h"
#include "platform/message_box.h"
#include "platform/xml.h"
#include "shared/language.h"

namespace shared {

namespace fs = std::filesystem;
namespace xml = platform::xml;

namespace {

QString qt(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool endsWith(const std::string& text, std::string_view tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Writes `bytes` to `path` through a temporary file renamed into place, so a
// reader never sees half a file; the folder is made when missing.
void writeWhole(const std::string& path, const std::string& bytes)
{
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    if (ec)
        throw CPrintError("Cannot create the folder " + fs::path(path).parent_path().string() + ": " + ec.message());
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, ec);
            throw CPrintError("Cannot write " + path);
        }
    }
    fs::rename(temporary, path, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw CPrintError("Cannot write " + path + ": " + ec.message());
    }
}

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw PrintFileNotLoaded(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

CPrintHtmlView::CPrintHtmlView(const QString& title, QWidget* parent)
    : QMainWindow(parent), m_view(new platform::html::HtmlView(this))
{
    setWindowTitle(title);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(qt(GetLangString("versionPrint")));
    setWindowIcon(QIcon(QStringLiteral(":/printview/icon/202.png")));

    QMenu* menu = menuBar()->addMenu(qt(GetLangString("MenuPrintPreView")));
    QAction* print = menu->addAction(qt(GetLangString("fileMenuPrint")));
    print->setData(kCommandPrint);
    connect(print, &QAction::triggered, this, [this] { m_view->printWithDialog(); });
    QAction* preview = menu->addAction(qt(GetLangString("fileMenuPrintPreView")));
    preview->setData(kCommandPrintPreview);
    connect(preview, &QAction::triggered, this, [this] { m_view->printPreview(); });

    setCentralWidget(m_view);
    m_view->navigate("about:blank");
}

CPrintHtmlView::~CPrintHtmlView() = default;

QAction* CPrintHtmlView::CommandAction(int id) const
{
    for (QAction* action : findChildren<QAction*>())
        if (action->data().toInt() == id && !action->menu())
            return action;
    return nullptr;
}

std::string CPrintHtmlView::TemporaryPagePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation).toStdString()
        + "/Pelmarin/Tessaly/navigateTempFile.htm";
}

void CPrintHtmlView::closeEvent(QCloseEvent* event)
{
    hide();
    event->ignore();
}

bool CPrintHtmlView::ShowFailure(const CPrintError& error)
{
    platform::showMessage(error.what(), GetLangString("messageTitle"), platform::MessageIcon::Warning,
                          platform::MessageButtons::Ok, this);
    return false;
}

bool CPrintHtmlView::ShowDocument(const std::string& path)
{
    showMaximized();
    try {
        return PrintDocument(path);
    } catch (const CPrintError& error) {
        return ShowFailure(error);
    }
}

bool CPrintHtmlView::ShowDocument(const std::string& styleSheet, const std::string& xmlText)
{
    showMaximized();
    try {
        ShowPage(BuildPrintPage(styleSheet, xmlText));
        return true;
    } catch (const CPrintError& error) {
        return ShowFailure(error);
    }
}

bool CPrintHtmlView::PrintDocument(const std::string& givenPath)
{
    const std::string path = trim(givenPath);
    if (endsWith(path, ".htm") || endsWith(path, ".html")) {
        m_view->navigate(path);
        return true;
    }
    const xml::Document document = LoadPrintFile(path, false);
    const std::optional<xml::Node> root = document.root();
    if (!root)
        throw PrintFileNotLoaded(path);
    const std::string name = root->name();

    if (name == "Book") {
        const std::string copy = PrintModuleBase() +
                                 (path.find("TextBook") != std::string::npos ? "TextBook" : "TaskBook") +
                                 "/temp/temp.xml";
        writeWhole(copy, readWhole(path));
        m_view->navigate(copy);
        return true;
    }
    const std::optional<PrintStylesheet> sheet = LoadPrintStylesheet(name, path);
    if (!sheet)
        return false;
    return TransformAndShow(&document, &sheet->sheet, sheet->path);
}

bool CPrintHtmlView::TransformAndShow(const xml::Document* document, const xml::Document* stylesheet,
                                      const std::string& stylesheetPath)
{
    if (!document || !stylesheet)
        return false;
    ShowPage(BuildPrintPage(*document, *stylesheet, stylesheetPath));
    return true;
}

void CPrintHtmlView::ShowPage(const std::string& page)
{
    const std::string target = TemporaryPagePath();
    writeWhole(target, page);
    m_view->navigate(target);
}

}  // namespace shared
