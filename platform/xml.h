#pragma once
// XML documents for the suite: a DOM with XPath selection and XSLT, over
// libxml2/libxslt (whose headers stay in the .cpp files). Texts are UTF-8.
//
// Safety: documents never load external entities or DTDs, from disk or the
// network; the predefined entities and character references work, and
// entity expansion bombs are refused as malformed input. Stylesheets may
// include or import files relative to their own folder; nothing is read from
// the network and nothing is written by a transformation.
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct _xmlNode;

namespace platform::xml {

enum class ErrorKind {
    NotFound,   // the file is missing or cannot be read
    Malformed,  // the text is not well-formed XML
    XPath,      // a malformed expression or one that fails to evaluate
    Xslt,       // a stylesheet that does not compile or a failed transformation
    Io,         // a document could not be saved
};

// The one exception of this layer. what() is "file:line: reason"; the file
// is left out when unknown (text parsed without a name) and so is a line of 0.
class Error : public std::runtime_error {
public:
    Error(ErrorKind kind, std::string file, int line, std::string reason);

    ErrorKind kind;
    std::string file;
    int line;
    std::string reason;  // the parser's own text, trimmed
};

// Text written into markup by hand: & < > and " become &amp; &lt; &gt; &quot;,
// safe inside an element and a double-quoted attribute.
std::string escape(std::string_view text);
// The five predefined entities (&amp; &lt; &gt; &quot; &apos;) read back, in
// one pass: "&amp;lt;" reads as "&lt;". Any other "&" is left as it is.
std::string unescape(std::string_view text);

// (name, value) pairs: XPath variables ($name) and stylesheet parameters.
// Values are always passed as strings, never spliced into an expression.
using NamedValues = std::vector<std::pair<std::string, std::string>>;

struct LoadOptions {
    // false drops whitespace-only text nodes (outside xml:space="preserve"),
    // as a document that does not preserve white space reads.
    bool preserveWhiteSpace = false;
};

enum class NodeType {
    Element,
    Text,       // text and CDATA sections
    Attribute,  // selected by XPath ("@name")
    Other,      // the document node, comments, processing instructions, ...
};

struct Attribute {
    std::string name;  // qualified name
    std::string value;
};

class Document;
struct DocumentState;
struct StylesheetState;

// A light handle on a node of a Document: valid while the document lives.
// Nodes removed from the tree stay alive (detached) until the document ends.
// Structural errors (a node of another document, a child that is an
// ancestor) throw std::invalid_argument.
class Node {
public:
    NodeType type() const;
    std::string name() const;  // qualified name ("m:mi"); "#text" for text
    std::string localName() const;
    std::string namespaceUri() const;

    // All text below the node; for an attribute its value.
    std::string text() const;
    // Replaces the children with one text node (escaped when written).
    void setText(std::string_view text) const;

    std::optional<std::string> attribute(std::string_view qualifiedName) const;
    void setAttribute(std::string_view qualifiedName, std::string_view value) const;
    void removeAttribute(std::string_view qualifiedName) const;
    std::vector<Attribute> attributes() const;  // document order, no xmlns

    std::vector<Node> children() const;    // child elements only
    std::vector<Node> childNodes() const;  // every child node
    std::optional<Node> parent() const;
    std::optional<Node> nextSibling() const;
    std::optional<Node> previousSibling() const;

    // Tree edits. A child that already sits somewhere is moved; the child
    // must belong to the same document (see Document::importNode).
    Node appendChild(Node child) const;
    Node insertBefore(Node child, std::optional<Node> reference) const;  // none: append
    Node removeChild(Node child) const;                // returns the detached child
    Node replaceChild(Node child, Node oldChild) const;  // returns oldChild, detached
    Node clone() const;  // deep copy, detached, in the same document

    // Outer markup of the node, without an XML declaration; namespaces
    // declared on ancestors and used inside are declared on the copy.
    std::string xml() const;

    bool operator==(const Node& other) const { return m_node == other.m_node; }

private:
    friend struct NodeAccess;
    Node(_xmlNode* node, DocumentState* owner) : m_node(node), m_owner(owner) {}

    _xmlNode* m_node;
    DocumentState* m_owner;
};

// An XML document. Move-only; a moved-from Document may only be destroyed or
// assigned to.
class Document {
public:
    Document();  // empty: no document element yet
    ~Document();
    Document(Document&&) noexcept;
    Document& operator=(Document&&) noexcept;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Throws Error (NotFound, Malformed). The declared encoding is honoured.
    static Document loadFile(const std::string& path, LoadOptions options = {});
    // `name` only labels errors.
    static Document loadText(std::string_view text, LoadOptions options = {},
                             const std::string& name = "");

    Node node() const;  // the document node: append the document element here
    std::optional<Node> root() const;

    Node createElement(std::string_view qualifiedName) const;
    Node createTextNode(std::string_view text) const;
    Node importNode(Node foreign) const;  // deep copy of a node of another document

    // The whole document as UTF-8 text with its XML declaration.
    std::string xml() const;
    // Writes the document in its declared encoding (UTF-8 when none) through a
    // temporary file in the same folder renamed over `path`: on failure the old
    // file is left whole and Error{Io} is thrown.
    void save(const std::string& path) const;

private:
    friend struct NodeAccess;
    explicit Document(std::unique_ptr<DocumentState> state);
    std::unique_ptr<DocumentState> m_state;
};

// XPath 1.0 over the context node. `variables` are bound as strings and
// used as $name. Positional predicates count from 1 here: code that counted
// from 0 ("TASK[%d]") must add one. Write it with a variable as
// "TASK[position() = $n]" with n = index + 1 (a string in "TASK[$n]" is a
// true condition, not a position). Elements in a default namespace (MathML)
// are matched by local name: "*[local-name()='math']".
// A malformed or failing expression throws Error{XPath}.
std::optional<Node> selectSingle(Node context, std::string_view expression,
                                 const NamedValues& variables = {});
std::vector<Node> selectList(Node context, std::string_view expression,
                             const NamedValues& variables = {});
std::string evaluateString(Node context, std::string_view expression,
                           const NamedValues& variables = {});
double evaluateNumber(Node context, std::string_view expression,
                      const NamedValues& variables = {});

// An XPath string literal that evaluates to `text`, whatever quotes it holds
// (concat() when it holds both kinds).
std::string xpathLiteral(std::string_view text);

// Child elements with this local name, whatever their namespace.
std::vector<Node> childElementsByLocalName(Node node, std::string_view localName);

// A compiled XSLT 1.0 stylesheet, applied as often as needed. Parameters are
// passed as string values, quoted safely.
class Stylesheet {
public:
    // Throws Error: NotFound, Malformed (not well-formed XML), Xslt (does not
    // compile, or an include or import fails).
    static Stylesheet loadFile(const std::string& path);
    // Compiles a stylesheet held (and perhaps edited) as a document; includes
    // and imports resolve against the folder of `path`, the file it stands
    // for. The document is copied, not taken. Throws Error{Xslt}.
    static Stylesheet fromDocument(const Document& document, const std::string& path);
    ~Stylesheet();
    Stylesheet(Stylesheet&&) noexcept;
    Stylesheet& operator=(Stylesheet&&) noexcept;
    Stylesheet(const Stylesheet&) = delete;
    Stylesheet& operator=(const Stylesheet&) = delete;

    // The result serialised as the stylesheet's xsl:output says (method,
    // encoding): bytes, not necessarily UTF-8. Throws Error{Xslt}.
    std::string transformToText(const Document& input, const NamedValues& parameters = {}) const;
    Document transformToDocument(const Document& input, const NamedValues& parameters = {}) const;

private:
    explicit Stylesheet(std::unique_ptr<StylesheetState> state);
    std::unique_ptr<StylesheetState> m_state;
};

// One-off transformations with the stylesheet file at `stylesheetPath`.
std::string transformToText(const Document& input, const std::string& stylesheetPath,
                            const NamedValues& parameters = {});
Document transformToDocument(const Document& input, const std::string& stylesheetPath,
                             const NamedValues& parameters = {});

}  // namespace platform::xml
