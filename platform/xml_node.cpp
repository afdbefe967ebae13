// Nodes of a Document: reading them, editing the tree and creating nodes.
// Edits keep every handle valid: a node taken out of the tree moves to its
// document's detached set instead of being freed, and new nodes are linked in
// by hand because libxml2's own functions may merge and free text nodes.
#include "platform/xml_internal.h"

#include <cstring>

#include <libxml/tree.h>
#include <libxml/xmlsave.h>

namespace platform::xml {

using detail::asXml;
using detail::fromXml;
using detail::takeXml;

namespace {

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
        return detail::documentText(m_node->doc);
    case XML_ATTRIBUTE_NODE:
        return detail::trimmed(dumpNode(m_node->doc, m_node));
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

}  // namespace platform::xml
