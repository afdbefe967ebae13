// The XML layer's process set-up and error capture: libxml2 and libxslt
// report through process-wide callbacks, which are routed here into the
// calling thread's innermost ErrorScope so that nothing reaches stderr and
// every failure becomes one Error. The set-up also keeps documents and
// stylesheets from reaching outside (external entities, DTDs, network).
#include "platform/xml_internal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <type_traits>

#include <libxml/parser.h>
#include <libxml/uri.h>
#include <libxml/xmlerror.h>
#include <libxslt/documents.h>
#include <libxslt/security.h>
#include <libxslt/xsltutils.h>

namespace platform::xml {

static_assert(std::is_same_v<xmlChar, unsigned char>, "the text helpers take xmlChar as unsigned char");

namespace {

std::string composeWhat(const std::string& file, int line, const std::string& reason)
{
    std::string out;
    if (!file.empty())
        out = file + ":";
    if (line > 0)
        out += (file.empty() ? "line " : "") + std::to_string(line) + ":";
    if (!out.empty())
        out += " ";
    return out + reason;
}

// Trimmed, its inner line breaks turned into blanks.
std::string oneLine(std::string_view text)
{
    std::string out = detail::trimmed(text);
    for (char& c : out)
        if (c == '\n' || c == '\r')
            c = ' ';
    return out;
}

}  // namespace

std::string detail::trimmed(std::string_view text)
{
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

std::string detail::takeXml(xmlChar* text)
{
    std::string out = fromXml(text);
    xmlFree(text);
    return out;
}

Error::Error(ErrorKind kind, std::string file, int line, std::string reason)
    : std::runtime_error(composeWhat(file, line, reason))
    , kind(kind)
    , file(std::move(file))
    , line(line)
    , reason(std::move(reason))
{
}

struct detail::ErrorScope::State {
    bool has = false;
    bool fatal = false;
    std::string file;
    int line = 0;
    std::string message;
    std::string text;  // printf-style reports (libxslt), concatenated
    bool refused = false;  // a transformation asked for the network

    State* outer = nullptr;
    bool outerForbid = false;
    xmlStructuredErrorFunc oldStructured = nullptr;
    void* oldStructuredContext = nullptr;
    xmlGenericErrorFunc oldGeneric = nullptr;
    void* oldGenericContext = nullptr;
};

namespace {

thread_local detail::ErrorScope::State* t_scope = nullptr;
thread_local bool t_forbidExternal = false;

xmlExternalEntityLoader g_entityLoader = nullptr;
xsltDocLoaderFunc g_styleLoader = nullptr;

void onStructuredError(void*, xmlErrorPtr error)
{
    detail::recordError(error);
}

// Documents never reach outside: an entity or DTD that libxml2 would fetch
// is refused here even if some option asked for it.
xmlParserInputPtr guardedEntityLoader(const char* url, const char* id, xmlParserCtxtPtr context)
{
    if (t_forbidExternal) {
        if (t_scope && !t_scope->has) {
            t_scope->has = true;
            t_scope->message = std::string("external entity not loaded: ") + (url ? url : "");
        }
        return nullptr;
    }
    return g_entityLoader(url, id, context);
}

// Included, imported and document() files parse without entity
// substitution, DTD loading or network access.
xmlDocPtr guardedStyleLoader(const xmlChar* uri, xmlDictPtr dict, int options, void* context,
                             xsltLoadType type)
{
    options &= ~(XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_DTDVALID
                 | XML_PARSE_XINCLUDE | XML_PARSE_HUGE);
    options |= XML_PARSE_NONET | XML_PARSE_NOWARNING;
    return g_styleLoader(uri, dict, options, context, type);
}

// libxslt reports the refusal itself but goes on with an empty node-set;
// the flag makes the transformation fail.
int refuseNetwork(xsltSecurityPrefsPtr, xsltTransformContextPtr, const char*)
{
    if (t_scope)
        t_scope->refused = true;
    return 0;
}

}  // namespace

void detail::recordReport(void*, const char* format, ...)
{
    if (!t_scope)
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    t_scope->text += buffer;
}

void detail::initialise()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        g_entityLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(guardedEntityLoader);
        g_styleLoader = xsltDocDefaultLoader;
        xsltSetLoaderFunc(guardedStyleLoader);
        xsltSetGenericErrorFunc(nullptr, recordReport);
        xsltSecurityPrefsPtr prefs = xsltNewSecurityPrefs();
        xsltSetSecurityPrefs(prefs, XSLT_SECPREF_READ_NETWORK, refuseNetwork);
        xsltSetSecurityPrefs(prefs, XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
        xsltSetSecurityPrefs(prefs, XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
        xsltSetSecurityPrefs(prefs, XSLT_SECPREF_CREATE_DIRECTORY, xsltSecurityForbid);
        xsltSetDefaultSecurityPrefs(prefs);  // kept for the life of the process
    });
}

void detail::recordError(const void* raw)
{
    const auto* error = static_cast<const xmlError*>(raw);
    if (!t_scope || !error || error->level < XML_ERR_ERROR)
        return;
    const bool fatal = error->level == XML_ERR_FATAL;
    // The first error tells most; a later fatal one outranks earlier errors.
    if (t_scope->has && (t_scope->fatal || !fatal))
        return;
    t_scope->has = true;
    t_scope->fatal = fatal;
    t_scope->file = error->file ? error->file : "";
    t_scope->line = error->line;
    t_scope->message = oneLine(error->message ? error->message : "");
}

std::string detail::readFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw Error(ErrorKind::NotFound, path, 0, std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int code = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        throw Error(ErrorKind::NotFound, path, 0, code ? std::strerror(code) : "not a regular file");
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int code = errno;
            ::close(fd);
            throw Error(ErrorKind::NotFound, path, 0, std::strerror(code));
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

detail::ErrorScope::ErrorScope(bool forbidExternal) : m_state(std::make_unique<State>())
{
    initialise();
    m_state->outer = t_scope;
    m_state->outerForbid = t_forbidExternal;
    m_state->oldStructured = xmlStructuredError;
    m_state->oldStructuredContext = xmlStructuredErrorContext;
    m_state->oldGeneric = xmlGenericError;
    m_state->oldGenericContext = xmlGenericErrorContext;
    t_scope = m_state.get();
    t_forbidExternal = forbidExternal;
    xmlSetStructuredErrorFunc(nullptr, onStructuredError);
    xmlSetGenericErrorFunc(nullptr, recordReport);
}

detail::ErrorScope::~ErrorScope()
{
    xmlSetStructuredErrorFunc(m_state->oldStructuredContext, m_state->oldStructured);
    xmlSetGenericErrorFunc(m_state->oldGenericContext, m_state->oldGeneric);
    t_scope = m_state->outer;
    t_forbidExternal = m_state->outerForbid;
}

bool detail::ErrorScope::hasError() const
{
    return m_state->has || !trimmed(m_state->text).empty();
}

bool detail::ErrorScope::networkRefused() const
{
    return m_state->refused;
}

namespace {

// libxslt precedes its texts with a line "<type>: file F line N element E"
// (parts may be missing). Returns whether `part` is such a line.
bool isContextLine(const std::string& part, std::string& file, int& line)
{
    for (const std::string type : {"runtime error", "compilation error", "error"}) {
        if (part == type)
            return true;
        if (part.rfind(type + ": element ", 0) == 0)
            return true;
        if (part.rfind(type + ": file ", 0) != 0)
            continue;
        const std::string rest = part.substr(type.size() + 7);
        const auto linePos = rest.find(" line ");
        const auto end = std::min(linePos, rest.find(" element "));
        file = rest.substr(0, end);
        line = linePos == std::string::npos ? 0 : std::atoi(rest.c_str() + linePos + 6);
        return true;
    }
    return false;
}

}  // namespace

Error detail::ErrorScope::error(ErrorKind kind, const std::string& file,
                                const std::string& fallbackReason) const
{
    std::string where = m_state->file;
    int line = m_state->line;
    std::string reason;
    std::size_t start = 0;
    const std::string& text = m_state->text;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = oneLine(std::string_view(text).substr(start, end - start));
        start = end + 1;
        std::string contextFile;
        int contextLine = 0;
        if (isContextLine(part, contextFile, contextLine)) {
            if (where.empty() && !contextFile.empty()) {
                where = contextFile;
                line = contextLine;
            }
        } else if (!part.empty()) {
            reason += (reason.empty() ? "" : "; ") + part;
        }
    }
    if (m_state->has && !m_state->message.empty())
        reason = reason.empty() ? m_state->message : reason + "; " + m_state->message;
    if (reason.empty())
        reason = fallbackReason;
    // Files that libxml2 or libxslt name on their own are URIs (escaped).
    if (where.empty())
        where = file;
    else if (where != file)
        where = takeXml(reinterpret_cast<xmlChar*>(xmlURIUnescapeString(where.c_str(), 0, nullptr)));
    return Error(kind, where, line, reason);
}

}  // namespace platform::xml
