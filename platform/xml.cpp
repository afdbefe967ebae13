// The DOM, XPath and XSLT over libxml2/libxslt. Past the usual size on
// purpose: the three share the error capture, the process-wide set-up and
// the node ownership rules, which must stay in one translation unit with the
// libxml2 headers (the public header shows none of them).
#include "platform/xml.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/uri.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <libxslt/documents.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/variables.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

namespace platform::xml {

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

std::string trimmed(std::string_view text)
{
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

// Trimmed, its inner line breaks turned into blanks.
std::string oneLine(std::string_view text)
{
    std::string out = trimmed(text);
    for (char& c : out)
        if (c == '\n' || c == '\r')
            c = ' ';
    return out;
}

std::string fromXml(const xmlChar* text)
{
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

// Takes a string libxml2 allocated.
std::string takeXml(xmlChar* text)
{
    std::string out = fromXml(text);
    xmlFree(text);
    return out;
}

const xmlChar* asXml(const std::string& text)
{
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

// A path as a URI that libxml2 and libxslt can resolve relative references
// against, also when it holds blanks or non-ASCII characters.
std::string pathUri(const std::string& path)
{
    return takeXml(xmlPathToURI(asXml(path)));
}

}  // namespace

Error::Error(ErrorKind kind, std::string file, int line, std::string reason)
    : std::runtime_error(composeWhat(file, line, reason))
    , kind(kind)
    , file(std::move(file))
    , line(line)
    , reason(std::move(reason))
{
}

// ---------------------------------------------------------------------------
// Error capture and process set-up

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

void onGenericError(void*, const char* format, ...)
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

void detail::initialise()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        g_entityLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(guardedEntityLoader);
        g_styleLoader = xsltDocDefaultLoader;
        xsltSetLoaderFunc(guardedStyleLoader);
        xsltSetGenericErrorFunc(nullptr, onGenericError);
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
    xmlSetGenericErrorFunc(nullptr, onGenericError);
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

// ---------------------------------------------------------------------------
// Documents and nodes

// A document and the nodes taken out of its tree: those live until the
// document ends, so a handle on a removed node stays valid.
struct DocumentState {
    explicit DocumentState(xmlDocPtr d) : doc(d) {}
    ~DocumentState()
    {
        std::vector<xmlNodePtr> roots;
        for (xmlNodePtr node : detached)
            if (!node->parent)
                roots.push_back(node);
        for (xmlNodePtr node : roots)
            xmlFreeNode(node);  // before the document: names may live in its dictionary
        xmlFreeDoc(doc);
    }
    DocumentState(const DocumentState&) = delete;
    DocumentState& operator=(const DocumentState&) = delete;

    xmlDocPtr doc;
    std::unordered_set<xmlNodePtr> detached;
};

struct NodeAccess {
    static Node make(xmlNodePtr node, DocumentState* owner) { return Node(node, owner); }
    static std::optional<Node> maybe(xmlNodePtr node, DocumentState* owner)
    {
        if (!node)
            return std::nullopt;
        return Node(node, owner);
    }
    static xmlNodePtr raw(const Node& node) { return node.m_node; }
    static DocumentState* owner(const Node& node) { return node.m_owner; }
    static Document wrap(xmlDocPtr doc) { return Document(std::make_unique<DocumentState>(doc)); }
    static DocumentState* state(const Document& document) { return document.m_state.get(); }
};

namespace {

bool isBlank(const xmlChar* text)
{
    for (; text && *text; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n')
            return false;
    return true;
}

// Drops whitespace-only text nodes below `parent`, except where
// xml:space="preserve" is in force.
void dropBlankText(xmlNodePtr parent, bool preserve)
{
    xmlNodePtr child = parent->children;
    while (child) {
        xmlNodePtr next = child->next;
        if (child->type == XML_TEXT_NODE && !preserve && isBlank(child->content)) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        } else if (child->type == XML_ELEMENT_NODE) {
            bool inner = preserve;
            if (xmlChar* space = xmlGetNsProp(child, BAD_CAST "space", XML_XML_NAMESPACE)) {
                inner = xmlStrEqual(space, BAD_CAST "preserve");
                xmlFree(space);
            }
            dropBlankText(child, inner);
        }
        child = next;
    }
}

// Entity references stay nodes in the tree and expand whenever text is
// read; this measures how far they expand (saturating).
class ExpansionMeter {
public:
    explicit ExpansionMeter(xmlDocPtr doc) : m_doc(doc) {}

    // Expansion of the references below `parent`, its attributes included.
    std::size_t below(xmlNodePtr parent)
    {
        std::size_t total = 0;
        for (xmlNodePtr child = parent->children; child; child = child->next) {
            if (child->type == XML_ENTITY_REF_NODE)
                total = add(total, ofEntity(xmlGetDocEntity(m_doc, child->name), 0));
            if (child->type != XML_ELEMENT_NODE)
                continue;
            for (xmlAttrPtr attribute = child->properties; attribute; attribute = attribute->next)
                total = add(total, below(reinterpret_cast<xmlNodePtr>(attribute)));
            total = add(total, below(child));
        }
        return total;
    }

private:
    static constexpr std::size_t kUnbounded = SIZE_MAX;

    static std::size_t add(std::size_t a, std::size_t b) { return a > kUnbounded - b ? kUnbounded : a + b; }

    std::size_t ofEntity(xmlEntityPtr entity, int depth)
    {
        if (!entity || entity->etype == XML_INTERNAL_PREDEFINED_ENTITY)
            return 1;
        if (entity->etype != XML_INTERNAL_GENERAL_ENTITY)
            return 0;  // external: never loaded
        if (depth > 64)
            return kUnbounded;
        const auto known = m_sizes.find(entity);
        if (known != m_sizes.end())
            return known->second;  // unbounded while still being measured: a loop
        m_sizes[entity] = kUnbounded;
        std::size_t size = 0;
        for (const xmlChar* p = entity->content; p && *p; ++p) {
            const xmlChar* end = *p == '&' ? xmlStrchr(p, ';') : nullptr;
            if (!end) {
                ++size;
            } else if (p[1] == '#') {
                size += 4;
                p = end;
            } else {
                const std::string name(reinterpret_cast<const char*>(p + 1), static_cast<std::size_t>(end - p - 1));
                size = add(size, ofEntity(xmlGetDocEntity(m_doc, asXml(name)), depth + 1));
                p = end;
            }
        }
        m_sizes[entity] = size;
        return size;
    }

    xmlDocPtr m_doc;
    std::unordered_map<xmlEntityPtr, std::size_t> m_sizes;
};

xmlDocPtr parseDocument(std::string_view text, const std::string& name, LoadOptions options)
{
    detail::ErrorScope scope(true);
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        throw Error(ErrorKind::Malformed, name, 0, "document too large");
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                         xmlFreeParserCtxt);
    if (!context)
        throw std::bad_alloc();
    context->sax->serror = onStructuredError;
    const int flags = XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR;
    xmlDocPtr doc = xmlCtxtReadMemory(context.get(), text.data(), static_cast<int>(text.size()),
                                      name.empty() ? nullptr : name.c_str(), nullptr, flags);
    if (doc && (!context->wellFormed || !context->nsWellFormed)) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    if (!doc)
        throw scope.error(ErrorKind::Malformed, name, "not well-formed");
    if (doc->intSubset
        && ExpansionMeter(doc).below(reinterpret_cast<xmlNodePtr>(doc)) > detail::expansionBudget(text.size())) {
        xmlFreeDoc(doc);
        throw Error(ErrorKind::Malformed, name, 0, "entity references expand beyond the limit");
    }
    if (!options.preserveWhiteSpace)
        dropBlankText(reinterpret_cast<xmlNodePtr>(doc), false);
    if (!name.empty()) {
        xmlFree(const_cast<xmlChar*>(doc->URL));
        doc->URL = xmlStrdup(asXml(pathUri(name)));
    }
    return doc;
}

void requireSameDocument(const Node& a, const Node& b)
{
    if (NodeAccess::owner(a) != NodeAccess::owner(b))
        throw std::invalid_argument("the node belongs to another document");
}

bool isContainer(xmlNodePtr node)
{
    return node->type == XML_ELEMENT_NODE || node->type == XML_DOCUMENT_NODE
        || node->type == XML_HTML_DOCUMENT_NODE || node->type == XML_DOCUMENT_FRAG_NODE;
}

bool isCopyable(xmlNodePtr node)
{
    switch (node->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        return true;
    default:
        return false;
    }
}

void detach(DocumentState& state, xmlNodePtr node)
{
    xmlUnlinkNode(node);
    state.detached.insert(node);
}

// Links `child` under `parent` before `reference` (or last). libxml2's own
// add functions merge adjacent text nodes and free the added one, which
// would leave the caller's handle dangling.
void link(xmlNodePtr parent, xmlNodePtr child, xmlNodePtr reference)
{
    child->parent = parent;
    if (reference) {
        child->next = reference;
        child->prev = reference->prev;
        if (reference->prev)
            reference->prev->next = child;
        else
            parent->children = child;
        reference->prev = child;
    } else {
        child->next = nullptr;
        child->prev = parent->last;
        if (parent->last)
            parent->last->next = child;
        else
            parent->children = child;
        parent->last = child;
    }
}

void checkInsertion(xmlNodePtr parent, xmlNodePtr child)
{
    if (!isContainer(parent))
        throw std::invalid_argument("this node cannot have children");
    if (!isCopyable(child))
        throw std::invalid_argument("this kind of node cannot be a child");
    for (xmlNodePtr up = parent; up; up = up->parent)
        if (up == child)
            throw std::invalid_argument("a node cannot become its own descendant");
    if (parent->type == XML_DOCUMENT_NODE) {
        if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
            throw std::invalid_argument("text cannot stand outside the document element");
        if (child->type == XML_ELEMENT_NODE) {
            xmlNodePtr root = xmlDocGetRootElement(reinterpret_cast<xmlDocPtr>(parent));
            if (root && root != child)
                throw std::invalid_argument("the document already has a document element");
        }
    }
}

std::string qualifiedName(xmlNodePtr node)
{
    std::string name = fromXml(node->name);
    if (node->ns && node->ns->prefix)
        name = fromXml(node->ns->prefix) + ":" + name;
    return name;
}

xmlAttrPtr findAttribute(xmlNodePtr node, std::string_view name)
{
    if (node->type != XML_ELEMENT_NODE)
        return nullptr;
    for (xmlAttrPtr attribute = node->properties; attribute; attribute = attribute->next)
        if (qualifiedName(reinterpret_cast<xmlNodePtr>(attribute)) == name)
            return attribute;
    return nullptr;
}

void requireName(std::string_view name)
{
    const std::string copy(name);
    if (copy.empty() || copy.size() != std::strlen(copy.c_str())
        || xmlValidateQName(asXml(copy), 0) != 0)
        throw std::invalid_argument("not an XML name: " + copy);
}

std::string dumpNode(xmlDocPtr doc, xmlNodePtr node)
{
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), xmlBufferFree);
    if (!buffer)
        throw std::bad_alloc();
    xmlOutputBufferPtr output = xmlOutputBufferCreateBuffer(buffer.get(), nullptr);
    if (!output)
        throw std::bad_alloc();
    xmlNodeDumpOutput(output, doc, node, 0, 0, "UTF-8");
    xmlOutputBufferClose(output);
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                       static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

// The document serialised in `encoding`, its declaration naming `declared`
// (none when null), as a document read without an encoding keeps none.
std::string dumpDocument(xmlDocPtr doc, const char* encoding, const xmlChar* declared)
{
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), xmlBufferFree);
    if (!buffer)
        throw std::bad_alloc();
    const bool html = doc->type == XML_HTML_DOCUMENT_NODE;
    xmlSaveCtxtPtr save = xmlSaveToBuffer(buffer.get(), encoding, html ? 0 : XML_SAVE_NO_DECL);
    if (!save)
        throw Error(ErrorKind::Io, fromXml(doc->URL), 0,
                    std::string("unsupported encoding: ") + encoding);
    xmlSaveDoc(save, doc);
    if (xmlSaveClose(save) < 0)
        throw Error(ErrorKind::Io, fromXml(doc->URL), 0, "the document could not be serialised");
    std::string out;
    if (!html) {
        out = "<?xml version=\"" + (doc->version ? fromXml(doc->version) : std::string("1.0")) + "\"";
        if (declared)
            out += " encoding=\"" + fromXml(declared) + "\"";
        if (doc->standalone == 0 || doc->standalone == 1)
            out += doc->standalone ? " standalone=\"yes\"" : " standalone=\"no\"";
        out += "?>\n";
    }
    out.append(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
               static_cast<std::size_t>(xmlBufferLength(buffer.get())));
    return out;
}

// As UTF-8 text; a declared encoding is named as UTF-8.
std::string documentText(xmlDocPtr doc)
{
    return dumpDocument(doc, "UTF-8", doc->encoding ? BAD_CAST "UTF-8" : nullptr);
}

// 0 or the errno of the failure.
int writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR)
            return errno;
        if (n > 0)
            done += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

NodeType Node::type() const
{
    switch (m_node->type) {
    case XML_ELEMENT_NODE:
        return NodeType::Element;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
        return NodeType::Text;
    case XML_ATTRIBUTE_NODE:
        return NodeType::Attribute;
    default:
        return NodeType::Other;
    }
}

std::string Node::name() const
{
    switch (m_node->type) {
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE:
        return qualifiedName(m_node);
    case XML_TEXT_NODE:
        return "#text";
    case XML_CDATA_SECTION_NODE:
        return "#cdata-section";
    case XML_COMMENT_NODE:
        return "#comment";
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
        return "#document";
    default:
        return fromXml(m_node->name);
    }
}

std::string Node::localName() const
{
    if (m_node->type == XML_ELEMENT_NODE || m_node->type == XML_ATTRIBUTE_NODE)
        return fromXml(m_node->name);
    return {};
}

std::string Node::namespaceUri() const
{
    if ((m_node->type == XML_ELEMENT_NODE || m_node->type == XML_ATTRIBUTE_NODE) && m_node->ns)
        return fromXml(m_node->ns->href);
    return {};
}

std::string Node::text() const
{
    return takeXml(xmlNodeGetContent(m_node));
}

void Node::setText(std::string_view text) const
{
    const std::string value(text);
    switch (m_node->type) {
    case XML_ELEMENT_NODE: {
        while (m_node->children)
            detach(*m_owner, m_node->children);
        if (!value.empty())
            link(m_node, xmlNewDocText(m_node->doc, asXml(value)), nullptr);
        return;
    }
    case XML_ATTRIBUTE_NODE:
        if (m_node->parent) {
            xmlSetNsProp(m_node->parent, m_node->ns, m_node->name, asXml(value));
        } else {
            xmlFreeNodeList(m_node->children);
            m_node->children = m_node->last = nullptr;
            link(m_node, xmlNewDocText(m_node->doc, asXml(value)), nullptr);
        }
        return;
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        xmlNodeSetContent(m_node, asXml(value));
        return;
    default:
        throw std::invalid_argument("this node has no text of its own");
    }
}

std::optional<std::string> Node::attribute(std::string_view qualifiedName) const
{
    xmlAttrPtr attribute = findAttribute(m_node, qualifiedName);
    if (!attribute)
        return std::nullopt;
    return takeXml(xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(attribute)));
}

void Node::setAttribute(std::string_view qualifiedName, std::string_view value) const
{
    if (m_node->type != XML_ELEMENT_NODE)
        throw std::invalid_argument("only elements have attributes");
    requireName(qualifiedName);
    const std::string text(value);
    if (xmlAttrPtr existing = findAttribute(m_node, qualifiedName))
        xmlSetNsProp(m_node, existing->ns, existing->name, asXml(text));
    else
        xmlSetProp(m_node, asXml(std::string(qualifiedName)), asXml(text));
}

void Node::removeAttribute(std::string_view qualifiedName) const
{
    if (xmlAttrPtr attribute = findAttribute(m_node, qualifiedName))
        detach(*m_owner, reinterpret_cast<xmlNodePtr>(attribute));
}

std::vector<Attribute> Node::attributes() const
{
    std::vector<Attribute> out;
    if (m_node->type != XML_ELEMENT_NODE)
        return out;
    for (xmlAttrPtr attribute = m_node->properties; attribute; attribute = attribute->next) {
        auto* node = reinterpret_cast<xmlNodePtr>(attribute);
        out.push_back({qualifiedName(node), takeXml(xmlNodeGetContent(node))});
    }
    return out;
}

std::vector<Node> Node::children() const
{
    std::vector<Node> out;
    if (isContainer(m_node))
        for (xmlNodePtr child = m_node->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                out.push_back(Node(child, m_owner));
    return out;
}

std::vector<Node> Node::childNodes() const
{
    std::vector<Node> out;
    if (isContainer(m_node))
        for (xmlNodePtr child = m_node->children; child; child = child->next)
            out.push_back(Node(child, m_owner));
    return out;
}

std::optional<Node> Node::parent() const
{
    return NodeAccess::maybe(m_node->parent, m_owner);
}

std::optional<Node> Node::nextSibling() const
{
    if (m_node->type == XML_ATTRIBUTE_NODE)
        return std::nullopt;
    return NodeAccess::maybe(m_node->next, m_owner);
}

std::optional<Node> Node::previousSibling() const
{
    if (m_node->type == XML_ATTRIBUTE_NODE)
        return std::nullopt;
    return NodeAccess::maybe(m_node->prev, m_owner);
}

Node Node::appendChild(Node child) const
{
    return insertBefore(child, std::nullopt);
}

Node Node::insertBefore(Node child, std::optional<Node> reference) const
{
    requireSameDocument(*this, child);
    if (reference) {
        requireSameDocument(*this, *reference);
        if (reference->m_node->parent != m_node)
            throw std::invalid_argument("the reference node is not a child of this node");
        if (reference->m_node == child.m_node)
            return child;
    }
    checkInsertion(m_node, child.m_node);
    xmlUnlinkNode(child.m_node);
    link(m_node, child.m_node, reference ? reference->m_node : nullptr);
    return child;
}

Node Node::removeChild(Node child) const
{
    requireSameDocument(*this, child);
    if (child.m_node->parent != m_node || child.m_node->type == XML_ATTRIBUTE_NODE)
        throw std::invalid_argument("not a child of this node");
    detach(*m_owner, child.m_node);
    return child;
}

Node Node::replaceChild(Node child, Node oldChild) const
{
    if (child == oldChild)
        return oldChild;
    requireSameDocument(*this, oldChild);
    if (oldChild.m_node->parent != m_node || oldChild.m_node->type == XML_ATTRIBUTE_NODE)
        throw std::invalid_argument("not a child of this node");
    insertBefore(child, oldChild);
    return removeChild(oldChild);
}

Node Node::clone() const
{
    if (!isCopyable(m_node))
        throw std::invalid_argument("this kind of node cannot be copied");
    xmlNodePtr copy = xmlDocCopyNode(m_node, m_node->doc, 1);
    if (!copy)
        throw std::bad_alloc();
    m_owner->detached.insert(copy);
    return Node(copy, m_owner);
}

std::string Node::xml() const
{
    switch (m_node->type) {
    case XML_DOCUMENT_NODE:
        return documentText(m_node->doc);
    case XML_ATTRIBUTE_NODE:
        return trimmed(dumpNode(m_node->doc, m_node));
    case XML_ELEMENT_NODE:
        if (m_node->parent && m_node->parent->type == XML_ELEMENT_NODE) {
            // A detached copy declares the namespaces it takes from ancestors.
            xmlNodePtr copy = xmlDocCopyNode(m_node, m_node->doc, 1);
            if (!copy)
                throw std::bad_alloc();
            std::string out = dumpNode(m_node->doc, copy);
            xmlFreeNode(copy);
            return out;
        }
        return dumpNode(m_node->doc, m_node);
    default:
        return dumpNode(m_node->doc, m_node);
    }
}

Document::Document() : m_state(std::make_unique<DocumentState>(xmlNewDoc(BAD_CAST "1.0")))
{
    if (!m_state->doc)
        throw std::bad_alloc();
}

Document::Document(std::unique_ptr<DocumentState> state) : m_state(std::move(state)) {}
Document::~Document() = default;
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;

Document Document::loadFile(const std::string& path, LoadOptions options)
{
    detail::initialise();
    return NodeAccess::wrap(parseDocument(detail::readFile(path), path, options));
}

Document Document::loadText(std::string_view text, LoadOptions options, const std::string& name)
{
    return NodeAccess::wrap(parseDocument(text, name, options));
}

Node Document::node() const
{
    return NodeAccess::make(reinterpret_cast<xmlNodePtr>(m_state->doc), m_state.get());
}

std::optional<Node> Document::root() const
{
    return NodeAccess::maybe(xmlDocGetRootElement(m_state->doc), m_state.get());
}

Node Document::createElement(std::string_view qualifiedName) const
{
    requireName(qualifiedName);
    xmlNodePtr node = xmlNewDocNode(m_state->doc, nullptr, asXml(std::string(qualifiedName)), nullptr);
    if (!node)
        throw std::bad_alloc();
    m_state->detached.insert(node);
    return NodeAccess::make(node, m_state.get());
}

Node Document::createTextNode(std::string_view text) const
{
    xmlNodePtr node = xmlNewDocText(m_state->doc, asXml(std::string(text)));
    if (!node)
        throw std::bad_alloc();
    m_state->detached.insert(node);
    return NodeAccess::make(node, m_state.get());
}

Node Document::importNode(Node foreign) const
{
    xmlNodePtr source = NodeAccess::raw(foreign);
    if (!isCopyable(source))
        throw std::invalid_argument("this kind of node cannot be imported");
    xmlNodePtr copy = xmlDocCopyNode(source, m_state->doc, 1);
    if (!copy)
        throw std::bad_alloc();
    m_state->detached.insert(copy);
    return NodeAccess::make(copy, m_state.get());
}

std::string Document::xml() const
{
    return documentText(m_state->doc);
}

void Document::save(const std::string& path) const
{
    xmlDocPtr doc = m_state->doc;
    const std::string bytes = dumpDocument(
        doc, doc->encoding ? reinterpret_cast<const char*>(doc->encoding) : "UTF-8", doc->encoding);
    std::string temporary = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        throw Error(ErrorKind::Io, path, 0, std::string("cannot create a file: ") + std::strerror(errno));
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    int failure = writeAll(fd, bytes);
    if (!failure && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0))
        failure = errno;
    if (::close(fd) != 0 && !failure)
        failure = errno;
    if (!failure && ::rename(temporary.c_str(), path.c_str()) != 0)
        failure = errno;
    if (failure) {
        ::unlink(temporary.c_str());
        throw Error(ErrorKind::Io, path, 0, std::string("cannot write the file: ") + std::strerror(failure));
    }
}

// ---------------------------------------------------------------------------
// XPath

namespace {

using XPathContext = std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)>;
using XPathObject = std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)>;

XPathObject evaluate(Node context, std::string_view expression, const NamedValues& variables)
{
    detail::ErrorScope scope(true);
    xmlNodePtr node = NodeAccess::raw(context);
    XPathContext xpath(xmlXPathNewContext(node->doc), xmlXPathFreeContext);
    if (!xpath)
        throw std::bad_alloc();
    xpath->node = node;  // errors reach the scope with their text (a context handler gets none)
    for (const auto& [name, value] : variables)
        xmlXPathRegisterVariable(xpath.get(), asXml(name), xmlXPathNewString(asXml(value)));
    const std::string text(expression);
    const std::string fallback = "invalid expression";
    std::unique_ptr<xmlXPathCompExpr, decltype(&xmlXPathFreeCompExpr)> compiled(
        text.size() == std::strlen(text.c_str()) ? xmlXPathCtxtCompile(xpath.get(), asXml(text)) : nullptr,
        xmlXPathFreeCompExpr);
    XPathObject result(nullptr, xmlXPathFreeObject);
    if (compiled)
        result.reset(xmlXPathCompiledEval(compiled.get(), xpath.get()));
    if (!result || scope.hasError()) {
        Error error = scope.error(ErrorKind::XPath, "", fallback);
        throw Error(ErrorKind::XPath, "", 0, error.reason + " in \"" + text + "\"");
    }
    return result;
}

std::vector<Node> nodesOf(const XPathObject& result, Node context, std::string_view expression)
{
    if (result->type != XPATH_NODESET)
        throw Error(ErrorKind::XPath, "", 0,
                    "the expression does not select nodes in \"" + std::string(expression) + "\"");
    std::vector<Node> out;
    if (xmlNodeSetPtr set = result->nodesetval)
        for (int i = 0; i < set->nodeNr; ++i)
            if (set->nodeTab[i]->type != XML_NAMESPACE_DECL)
                out.push_back(NodeAccess::make(set->nodeTab[i], NodeAccess::owner(context)));
    return out;
}

}  // namespace

std::optional<Node> selectSingle(Node context, std::string_view expression, const NamedValues& variables)
{
    const std::vector<Node> nodes = nodesOf(evaluate(context, expression, variables), context, expression);
    if (nodes.empty())
        return std::nullopt;
    return nodes.front();
}

std::vector<Node> selectList(Node context, std::string_view expression, const NamedValues& variables)
{
    return nodesOf(evaluate(context, expression, variables), context, expression);
}

std::string evaluateString(Node context, std::string_view expression, const NamedValues& variables)
{
    return takeXml(xmlXPathCastToString(evaluate(context, expression, variables).get()));
}

double evaluateNumber(Node context, std::string_view expression, const NamedValues& variables)
{
    return xmlXPathCastToNumber(evaluate(context, expression, variables).get());
}

std::string xpathLiteral(std::string_view text)
{
    if (text.find('\'') == std::string_view::npos)
        return "'" + std::string(text) + "'";
    if (text.find('"') == std::string_view::npos)
        return "\"" + std::string(text) + "\"";
    // concat('it', "'", 's "so"'): apostrophes in double quotes, the rest in single.
    std::string out = "concat(";
    std::size_t start = 0;
    for (;;) {
        const std::size_t quote = text.find('\'', start);
        out += "'" + std::string(text.substr(start, quote - start)) + "'";
        if (quote == std::string_view::npos)
            break;
        out += ", \"'\", ";
        start = quote + 1;
    }
    return out + ")";
}

std::vector<Node> childElementsByLocalName(Node node, std::string_view localName)
{
    std::vector<Node> out;
    for (const Node& child : node.children())
        if (child.localName() == localName)
            out.push_back(child);
    return out;
}

// ---------------------------------------------------------------------------
// XSLT

struct StylesheetState {
    explicit StylesheetState(xsltStylesheetPtr s, std::string p) : style(s), path(std::move(p)) {}
    ~StylesheetState() { xsltFreeStylesheet(style); }  // frees its document too
    StylesheetState(const StylesheetState&) = delete;
    StylesheetState& operator=(const StylesheetState&) = delete;

    xsltStylesheetPtr style;
    std::string path;
};

namespace {

// Runs the stylesheet on a copy of the input: libxslt strips white space
// from and numbers the nodes of the tree it is given.
xmlDocPtr apply(const StylesheetState& state, const Document& input, const NamedValues& parameters)
{
    detail::ErrorScope scope(false);
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> source(
        xmlCopyDoc(NodeAccess::state(input)->doc, 1), xmlFreeDoc);
    if (!source)
        throw std::bad_alloc();
    std::unique_ptr<xsltTransformContext, decltype(&xsltFreeTransformContext)> context(
        xsltNewTransformContext(state.style, source.get()), xsltFreeTransformContext);
    if (!context)
        throw std::bad_alloc();
    xsltSetCtxtSecurityPrefs(xsltGetDefaultSecurityPrefs(), context.get());
    xsltSetTransformErrorFunc(context.get(), nullptr, onGenericError);
    std::vector<const char*> pairs;
    for (const auto& [name, value] : parameters) {
        pairs.push_back(name.c_str());
        pairs.push_back(value.c_str());
    }
    pairs.push_back(nullptr);
    if (xsltQuoteUserParams(context.get(), pairs.data()) != 0)
        throw scope.error(ErrorKind::Xslt, state.path, "bad stylesheet parameters");
    xmlDocPtr result = xsltApplyStylesheetUser(state.style, source.get(), nullptr, nullptr, nullptr,
                                               context.get());
    const bool failed = !result || context->state == XSLT_STATE_ERROR
        || context->state == XSLT_STATE_STOPPED || t_scope->refused;
    if (failed) {
        xmlFreeDoc(result);
        throw scope.error(ErrorKind::Xslt, state.path, "the transformation failed");
    }
    return result;
}

}  // namespace

Stylesheet::Stylesheet(std::unique_ptr<StylesheetState> state) : m_state(std::move(state)) {}
Stylesheet::~Stylesheet() = default;
Stylesheet::Stylesheet(Stylesheet&&) noexcept = default;
Stylesheet& Stylesheet::operator=(Stylesheet&&) noexcept = default;

Stylesheet Stylesheet::loadFile(const std::string& path)
{
    detail::initialise();
    // Loaded by its absolute path so that includes resolve against its folder.
    const std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    xmlDocPtr doc = parseDocument(detail::readFile(path), absolute, LoadOptions{true});
    detail::ErrorScope scope(false);
    xsltStylesheetPtr style = xsltParseStylesheetDoc(doc);
    if (!style || style->errors != 0) {
        if (style)
            xsltFreeStylesheet(style);
        else
            xmlFreeDoc(doc);
        throw scope.error(ErrorKind::Xslt, absolute, "the stylesheet does not compile");
    }
    return Stylesheet(std::make_unique<StylesheetState>(style, absolute));
}

std::string Stylesheet::transformToText(const Document& input, const NamedValues& parameters) const
{
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> result(apply(*m_state, input, parameters), xmlFreeDoc);
    xmlChar* bytes = nullptr;
    int size = 0;
    if (xsltSaveResultToString(&bytes, &size, result.get(), m_state->style) != 0)
        throw Error(ErrorKind::Xslt, m_state->path, 0, "the result could not be serialised");
    std::string out = bytes ? std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size))
                            : std::string();
    xmlFree(bytes);
    return out;
}

Document Stylesheet::transformToDocument(const Document& input, const NamedValues& parameters) const
{
    return NodeAccess::wrap(apply(*m_state, input, parameters));
}

std::string transformToText(const Document& input, const std::string& stylesheetPath,
                            const NamedValues& parameters)
{
    return Stylesheet::loadFile(stylesheetPath).transformToText(input, parameters);
}

Document transformToDocument(const Document& input, const std::string& stylesheetPath,
                             const NamedValues& parameters)
{
    return Stylesheet::loadFile(stylesheetPath).transformToDocument(input, parameters);
}

}  // namespace platform::xml
