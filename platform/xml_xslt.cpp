// XSLT 1.0 stylesheets over libxslt. The set-up in xml_errors.cpp keeps a
// transformation from writing files or reading the network: includes,
// imports and document() read local files without loading DTDs or
// substituting entities.
#include "platform/xml_internal.h"

#include <filesystem>

#include <libxml/tree.h>
#include <libxml/uri.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/variables.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

namespace platform::xml {

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
    xsltSetTransformErrorFunc(context.get(), nullptr, detail::recordReport);
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
        || context->state == XSLT_STATE_STOPPED || scope.networkRefused();
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
    xmlDocPtr doc = detail::parseDocument(detail::readFile(path), absolute, LoadOptions{true});
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

Stylesheet Stylesheet::fromDocument(const Document& document, const std::string& path)
{
    detail::initialise();
    const std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    xmlDocPtr doc = xmlCopyDoc(NodeAccess::state(document)->doc, 1);
    if (!doc)
        throw std::bad_alloc();
    if (doc->URL)
        xmlFree(const_cast<xmlChar*>(doc->URL));
    doc->URL = xmlPathToURI(detail::asXml(absolute));  // resolvable with blanks and non-ASCII too
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
