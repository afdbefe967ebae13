// Documents: loading (safely: no external entities, entity expansion
// bounded), the owning state that keeps removed nodes alive, serialising and
// saving. Nodes and their edits are in xml_node.cpp.
#include "platform/xml_internal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <climits>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/uri.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

namespace platform::xml {

using detail::asXml;
using detail::fromXml;
using detail::takeXml;

DocumentState::~DocumentState()
{
    std::vector<xmlNodePtr> roots;
    for (xmlNodePtr node : detached)
        if (!node->parent)
            roots.push_back(node);
    for (xmlNodePtr node : roots)
        xmlFreeNode(node);  // before the document: names may live in its dictionary
    xmlFreeDoc(doc);
}

namespace {

void onParseError(void*, xmlErrorPtr error)
{
    detail::recordError(error);
}

// A path as a URI that libxml2 and libxslt can resolve relative references
// against, also when it holds blanks or non-ASCII characters.
std::string pathUri(const std::string& path)
{
    return takeXml(xmlPathToURI(asXml(path)));
}

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

xmlDocPtr detail::parseDocument(std::string_view text, const std::string& name, LoadOptions options)
{
    ErrorScope scope(true);
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        throw Error(ErrorKind::Malformed, name, 0, "document too large");
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                         xmlFreeParserCtxt);
    if (!context)
        throw std::bad_alloc();
    context->sax->serror = onParseError;
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
        && ExpansionMeter(doc).below(reinterpret_cast<xmlNodePtr>(doc)) > expansionBudget(text.size())) {
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

// As UTF-8 text; a declared encoding is named as UTF-8.
std::string detail::documentText(xmlDocPtr doc)
{
    return dumpDocument(doc, "UTF-8", doc->encoding ? BAD_CAST "UTF-8" : nullptr);
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
    return NodeAccess::wrap(detail::parseDocument(detail::readFile(path), path, options));
}

Document Document::loadText(std::string_view text, LoadOptions options, const std::string& name)
{
    return NodeAccess::wrap(detail::parseDocument(text, name, options));
}

Node Document::node() const
{
    return NodeAccess::make(reinterpret_cast<xmlNodePtr>(m_state->doc), m_state.get());
}

std::optional<Node> Document::root() const
{
    return NodeAccess::maybe(xmlDocGetRootElement(m_state->doc), m_state.get());
}

std::string Document::xml() const
{
    return detail::documentText(m_state->doc);
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

}  // namespace platform::xml
