// XPath 1.0 over a document's nodes. Variables are bound as XPath strings,
// never spliced into the expression, and every failure (compiling or
// evaluating) becomes Error{XPath} quoting the expression.
#include "platform/xml_internal.h"

#include <cstring>

#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

namespace platform::xml {

using detail::asXml;
using detail::takeXml;

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

}  // namespace platform::xml
