#include "shared/print/print_page.h"

#include "shared/settings.h"

namespace shared {

namespace xml = platform::xml;

namespace {

constexpr std::string_view kXslNamespace = "http://www.w3.org/1999/XSL/Transform";
// From a stylesheet in modules/<module>/lang/<language>/<library>/<folder>/
// up to the install root.
constexpr std::string_view kUpToInstallRoot = "../../../../../../";

std::optional<xml::Node> firstXslElement(const xml::Document& sheet, const char* localName)
{
    return xml::selectSingle(sheet.node(), "//*[local-name() = $name and namespace-uri() = $ns]",
                             {{"name", localName}, {"ns", std::string(kXslNamespace)}});
}

}  // namespace

CPrintError PrintFileNotLoaded(const std::string& path) { return CPrintError("File " + path + " do not load"); }

xml::Document LoadPrintFile(const std::string& path, bool preserveWhiteSpace)
{
    try {
        return xml::Document::loadFile(path, xml::LoadOptions{preserveWhiteSpace});
    } catch (const xml::Error&) {
        throw PrintFileNotLoaded(path);
    }
}

std::string PrintModuleBase()
{
    const CSettings& settings = CSettings::Instance();
    return settings.GetInstallPath() + "modules/" + settings.GetModule() + "/lang/" + settings.GetLanguage() + "/";
}

std::optional<PrintStylesheet> LoadPrintStylesheet(const std::string& rootName, const std::string& documentPath)
{
    const std::string moduleBase = PrintModuleBase();
    const std::string kernelData =
        std::string(kUpToInstallRoot) + "kernel/data/lang/" + CSettings::Instance().GetLanguage() + "/";

    std::string sheetPath;
    std::string basePrint;
    if (rootName == "CONSPECT") {
        sheetPath = moduleBase + "libofsa/doc/consp.xslt";
        basePrint = kernelData + "conspbaseprintLang.xslt";
    } else if (rootName == "TASK" && documentPath.find("libgeomt") != std::string::npos) {
        sheetPath = moduleBase + "libgeomt/tasks/task.xslt";
        basePrint = kernelData + "taskbaseprintLang.xslt";
    } else if (rootName == "TASK") {
        sheetPath = moduleBase + "libalgt/tasks/task.xslt";
        basePrint = kernelData + "taskbaseprintLangZ.xslt";
    } else {
        return std::nullopt;
    }
    PrintStylesheet result{LoadPrintFile(sheetPath, true), sheetPath};
    for (const char* element : {"include", "import"})
        if (const auto found = firstXslElement(result.sheet, element))
            found->setAttribute("href", basePrint);
    return result;
}

std::string BuildPrintPage(const xml::Document& document, const xml::Document& stylesheet,
                           const std::string& stylesheetPath)
{
    try {
        return xml::Stylesheet::fromDocument(stylesheet, stylesheetPath).transformToText(document);
    } catch (const xml::Error& error) {
        throw CPrintError(error.what());
    }
}

std::string BuildPrintPage(const std::string& stylesheetPath, const std::string& xmlText)
{
    const xml::Document sheet = LoadPrintFile(stylesheetPath, true);
    xml::Document document;
    try {
        document = xml::Document::loadText(xmlText);
    } catch (const xml::Error& error) {
        throw CPrintError(error.what());
    }
    return BuildPrintPage(document, sheet, stylesheetPath);
}

}  // namespace shared
