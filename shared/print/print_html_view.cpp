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
#include "shared/settings.h"

namespace shared {

namespace fs = std::filesystem;
namespace xml = platform::xml;

namespace {

constexpr std::string_view kXslNamespace = "http://www.w3.org/1999/XSL/Transform";
// From a stylesheet in modules/<module>/lang/<language>/<library>/<folder>/
// up to the install root.
constexpr std::string_view kUpToInstallRoot = "../../../../../../";

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

CPrintError notLoaded(const std::string& path) { return CPrintError("File " + path + " do not load"); }

xml::Document loadOrThrow(const std::string& path, bool preserveWhiteSpace)
{
    try {
        return xml::Document::loadFile(path, xml::LoadOptions{preserveWhiteSpace});
    } catch (const xml::Error&) {
        throw notLoaded(path);
    }
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
        throw notLoaded(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<xml::Node> firstXslElement(const xml::Document& sheet, const char* localName)
{
    return xml::selectSingle(sheet.node(), "//*[local-name() = $name and namespace-uri() = $ns]",
                             {{"name", localName}, {"ns", std::string(kXslNamespace)}});
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
        xml::Document sheet = loadOrThrow(styleSheet, true);
        xml::Document document;
        try {
            document = xml::Document::loadText(xmlText);
        } catch (const xml::Error& error) {
            throw CPrintError(error.what());
        }
        return TransformAndShow(&document, &sheet, styleSheet);
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
    const xml::Document document = loadOrThrow(path, false);
    const std::optional<xml::Node> root = document.root();
    if (!root)
        throw notLoaded(path);
    const CSettings& settings = CSettings::Instance();
    const std::string language = settings.GetLanguage();
    const std::string moduleBase =
        settings.GetInstallPath() + "modules/" + settings.GetModule() + "/lang/" + language + "/";
    const std::string kernelData = std::string(kUpToInstallRoot) + "kernel/data/lang/" + language + "/";
    const std::string name = root->name();

    if (name == "Book") {
        const std::string copy =
            moduleBase + (path.find("TextBook") != std::string::npos ? "TextBook" : "TaskBook") + "/temp/temp.xml";
        writeWhole(copy, readWhole(path));
        m_view->navigate(copy);
        return true;
    }
    std::string sheetPath;
    std::string basePrint;
    if (name == "CONSPECT") {
        sheetPath = moduleBase + "libofsa/doc/consp.xslt";
        basePrint = kernelData + "conspbaseprintLang.xslt";
    } else if (name == "TASK" && path.find("libgeomt") != std::string::npos) {
        sheetPath = moduleBase + "libgeomt/tasks/task.xslt";
        basePrint = kernelData + "taskbaseprintLang.xslt";
    } else if (name == "TASK") {
        sheetPath = moduleBase + "libalgt/tasks/task.xslt";
        basePrint = kernelData + "taskbaseprintLangZ.xslt";
    } else {
        return false;
    }
    xml::Document sheet = loadOrThrow(sheetPath, true);
    for (const char* element : {"include", "import"})
        if (const auto found = firstXslElement(sheet, element))
            found->setAttribute("href", basePrint);
    return TransformAndShow(&document, &sheet, sheetPath);
}

bool CPrintHtmlView::TransformAndShow(const xml::Document* document, const xml::Document* stylesheet,
                                      const std::string& stylesheetPath)
{
    if (!document || !stylesheet)
        return false;
    std::string page;
    try {
        page = xml::Stylesheet::fromDocument(*stylesheet, stylesheetPath).transformToText(*document);
    } catch (const xml::Error& error) {
        throw CPrintError(error.what());
    }
    const std::string target = TemporaryPagePath();
    writeWhole(target, page);
    m_view->navigate(target);
    return true;
}

}  // namespace shared
