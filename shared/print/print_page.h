#pragma once
// The printed page of a document, without the window that shows it: which
// stylesheet an XML document of the suite prints through, and the HTML its
// transformation makes. Failures are CPrintError in the words the print
// window shows.
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/xml.h"

namespace shared {

// A document or stylesheet that does not load ("File <path> do not load"),
// or the reason a transformation or a file operation failed.
class CPrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "File <path> do not load".
CPrintError PrintFileNotLoaded(const std::string& path);
// Loads an XML file. Throws CPrintError "File <path> do not load".
platform::xml::Document LoadPrintFile(const std::string& path, bool preserveWhiteSpace);

// The module's language folder, "<install>/modules/<module>/lang/<language>/".
std::string PrintModuleBase();

// The stylesheet of a task or lesson summary, loaded from the module's
// language folder, with its first include and its first import pointed at
// the base-print sheet of its kind; `path` is the file it stands for.
struct PrintStylesheet {
    platform::xml::Document sheet;
    std::string path;
};
// None for a root element of another kind. Throws CPrintError.
std::optional<PrintStylesheet> LoadPrintStylesheet(const std::string& rootName, const std::string& documentPath);

// The page: `document` transformed by `stylesheet`, which stands for the file
// `stylesheetPath` (its includes resolve from there). Throws CPrintError.
std::string BuildPrintPage(const platform::xml::Document& document, const platform::xml::Document& stylesheet,
                           const std::string& stylesheetPath);
// The page of a document text through the stylesheet file as it is: the
// sheet is loaded first, then the text. Throws CPrintError.
std::string BuildPrintPage(const std::string& stylesheetPath, const std::string& xmlText);

}  // namespace shared
