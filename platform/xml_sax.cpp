// SAX2 over libxml2's push of events. Handler exceptions never cross
// libxml2's C frames: a callback stores the exception, stops the parser and
// delivers nothing more; parseText rethrows it once the parser has returned.
#include "platform/xml_sax.h"
#include "platform/xml_internal.h"

#include <climits>
#include <exception>

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

namespace platform::xml {

const SaxAttribute* SaxAttributes::find(std::string_view uri, std::string_view localName) const
{
    for (const SaxAttribute& attribute : m_attributes)
        if (attribute.uri == uri && attribute.localName == localName)
            return &attribute;
    return nullptr;
}

namespace {

std::string text(const xmlChar* value)
{
    return value ? std::string(reinterpret_cast<const char*>(value)) : std::string();
}

std::string text(const xmlChar* value, int length)
{
    return std::string(reinterpret_cast<const char*>(value), static_cast<std::size_t>(length));
}

std::string qualified(const xmlChar* prefix, const xmlChar* localName)
{
    return prefix ? text(prefix) + ":" + text(localName) : text(localName);
}

class Locator : public SaxLocator {
public:
    explicit Locator(xmlParserCtxtPtr context) : m_context(context) {}
    int line() const override { return m_context->input ? m_context->input->line : 0; }
    int column() const override { return m_context->input ? m_context->input->col : 0; }

private:
    xmlParserCtxtPtr m_context;
};

// The parser's user data. Entity content is parsed by nested parser
// contexts that hand the callbacks this same session.
struct Session {
    Session(SaxHandler& h, xmlParserCtxtPtr c, const std::string& n, std::size_t size)
        : handler(h), context(c), locator(c), name(n), budget(detail::expansionBudget(size))
    {
    }

    // Counts text handed out; expanded entities must not multiply it.
    void spend(std::size_t bytes)
    {
        budget = bytes > budget ? 0 : budget - bytes;
        if (budget == 0)
            throw Error(ErrorKind::Malformed, name, locator.line(), "entity references expand beyond the limit");
    }

    SaxHandler& handler;
    xmlParserCtxtPtr context;
    Locator locator;
    const std::string& name;
    std::size_t budget;
    std::exception_ptr exception;
    std::vector<std::vector<std::string>> prefixes;  // declared by each open element
};

Session& sessionOf(void* data)
{
    return *static_cast<Session*>(data);
}

// Runs one event unless an earlier one failed; a failure stops the parser.
template <typename Event>
void deliver(void* data, Event&& event)
{
    Session& session = sessionOf(data);
    if (session.exception)
        return;
    try {
        event(session);
    } catch (...) {
        session.exception = std::current_exception();
        xmlStopParser(session.context);
    }
}

void onLocator(void* data, xmlSAXLocatorPtr)
{
    deliver(data, [](Session& s) { s.handler.setDocumentLocator(s.locator); });
}

void onStartDocument(void* data)
{
    deliver(data, [](Session& s) {
        // The scratch document holds the DTD's entity declarations.
        xmlSAX2StartDocument(s.context);
        s.handler.startDocument();
    });
}

void onEndDocument(void* data)
{
    deliver(data, [](Session& s) { s.handler.endDocument(); });
}

void onStartElement(void* data, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                    int namespaceCount, const xmlChar** namespaces, int attributeCount, int,
                    const xmlChar** attributes)
{
    deliver(data, [&](Session& s) {
        std::vector<std::string> declared;
        for (int i = 0; i < namespaceCount; ++i)
            declared.push_back(text(namespaces[2 * i]));
        s.prefixes.push_back(declared);
        for (int i = 0; i < namespaceCount; ++i)
            s.handler.startPrefixMapping(declared[static_cast<std::size_t>(i)], text(namespaces[2 * i + 1]));
        std::vector<SaxAttribute> list;
        for (int i = 0; i < attributeCount; ++i) {
            const xmlChar** a = attributes + 5 * i;  // local name, prefix, URI, value, value end
            const int length = static_cast<int>(a[4] - a[3]);
            std::string value = text(a[3], length);
            if (value.find('&') != std::string::npos) {
                // Without entity substitution libxml2 leaves references in
                // attribute values for the tree builder to resolve.
                xmlChar* decoded = xmlStringLenDecodeEntities(s.context, a[3], length,
                                                              XML_SUBSTITUTE_REF, 0, 0, 0);
                value = text(decoded);
                xmlFree(decoded);
            }
            s.spend(value.size());
            list.push_back({text(a[2]), text(a[0]), qualified(a[1], a[0]), std::move(value)});
        }
        s.handler.startElement(text(uri), text(localName), qualified(prefix, localName),
                               SaxAttributes(std::move(list)));
    });
}

void onEndElement(void* data, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri)
{
    deliver(data, [&](Session& s) {
        s.handler.endElement(text(uri), text(localName), qualified(prefix, localName));
        if (s.prefixes.empty())
            return;
        const std::vector<std::string> declared = std::move(s.prefixes.back());
        s.prefixes.pop_back();
        for (const std::string& prefix : declared)
            s.handler.endPrefixMapping(prefix);
    });
}

void onCharacters(void* data, const xmlChar* characters, int length)
{
    deliver(data, [&](Session& s) {
        s.spend(static_cast<std::size_t>(length));
        s.handler.characters(text(characters, length));
    });
}

void onIgnorableWhitespace(void* data, const xmlChar* characters, int length)
{
    deliver(data, [&](Session& s) {
        s.spend(static_cast<std::size_t>(length));
        s.handler.ignorableWhitespace(text(characters, length));
    });
}

void onProcessingInstruction(void* data, const xmlChar* target, const xmlChar* content)
{
    deliver(data, [&](Session& s) { s.handler.processingInstruction(text(target), text(content)); });
}

// Called for references whose content the parser did not expand: external
// entities (never loaded) and entities an unread external DTD may declare.
void onReference(void* data, const xmlChar* name)
{
    deliver(data, [&](Session& s) {
        xmlEntityPtr entity = xmlSAX2GetEntity(s.context, name);
        if (!entity || entity->etype != XML_INTERNAL_GENERAL_ENTITY)
            s.handler.skippedEntity(text(name));
    });
}

void onInternalSubset(void* data, const xmlChar* name, const xmlChar* externalId, const xmlChar* systemId)
{
    xmlSAX2InternalSubset(sessionOf(data).context, name, externalId, systemId);
}

void onEntityDeclaration(void* data, const xmlChar* name, int type, const xmlChar* publicId,
                         const xmlChar* systemId, xmlChar* content)
{
    xmlSAX2EntityDecl(sessionOf(data).context, name, type, publicId, systemId, content);
}

xmlEntityPtr onGetEntity(void* data, const xmlChar* name)
{
    return xmlSAX2GetEntity(sessionOf(data).context, name);
}

xmlEntityPtr onGetParameterEntity(void* data, const xmlChar* name)
{
    return xmlSAX2GetParameterEntity(sessionOf(data).context, name);
}

void onError(void*, xmlErrorPtr error)
{
    detail::recordError(error);
}

xmlSAXHandler makeHandler()
{
    xmlSAXHandler sax{};
    sax.initialized = XML_SAX2_MAGIC;
    sax.setDocumentLocator = onLocator;
    sax.startDocument = onStartDocument;
    sax.endDocument = onEndDocument;
    sax.startElementNs = onStartElement;
    sax.endElementNs = onEndElement;
    sax.characters = onCharacters;
    sax.cdataBlock = onCharacters;
    sax.ignorableWhitespace = onIgnorableWhitespace;
    sax.processingInstruction = onProcessingInstruction;
    sax.reference = onReference;
    sax.internalSubset = onInternalSubset;
    sax.entityDecl = onEntityDeclaration;
    sax.getEntity = onGetEntity;
    sax.getParameterEntity = onGetParameterEntity;
    sax.serror = onError;
    // No externalSubset or resolveEntity: nothing outside the text is read.
    return sax;
}

}  // namespace

void parseText(std::string_view xml, SaxHandler& handler, const std::string& name)
{
    detail::ErrorScope scope(true);
    if (xml.size() > static_cast<std::size_t>(INT_MAX))
        throw Error(ErrorKind::Malformed, name, 0, "document too large");
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                         xmlFreeParserCtxt);
    if (!context)
        throw std::bad_alloc();
    xmlSAXHandler sax = makeHandler();
    xmlSAXHandlerPtr own = context->sax;
    Session session(handler, context.get(), name, xml.size());
    context->sax = &sax;
    context->userData = &session;
    const int flags = XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR;
    xmlDocPtr scratch = xmlCtxtReadMemory(context.get(), xml.data(), static_cast<int>(xml.size()),
                                          name.empty() ? nullptr : name.c_str(), nullptr, flags);
    const bool wellFormed = context->wellFormed && context->nsWellFormed;
    xmlFreeDoc(scratch);
    if (context->myDoc) {
        xmlFreeDoc(context->myDoc);
        context->myDoc = nullptr;
    }
    context->sax = own;
    context->userData = context.get();
    if (session.exception)
        std::rethrow_exception(session.exception);
    if (!wellFormed)
        throw scope.error(ErrorKind::Malformed, name, "not well-formed");
}

void parseFile(const std::string& path, SaxHandler& handler)
{
    parseText(detail::readFile(path), handler, path);
}

}  // namespace platform::xml
