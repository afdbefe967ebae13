#pragma once
// What the XML layer's own files share: the process set-up, the error
// capture, the node ownership rules and a few libxml2 text helpers. Private
// to the layer (no public header includes it). It names libxml2 types only
// by forward declaration, so it needs none of the libxml2 headers.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/xml.h"

struct _xmlDoc;
struct _xmlNode;

namespace platform::xml {

// A document and the nodes taken out of its tree: those live until the
// document ends, so a handle on a removed node stays valid.
struct DocumentState {
    explicit DocumentState(_xmlDoc* d) : doc(d) {}
    ~DocumentState();
    DocumentState(const DocumentState&) = delete;
    DocumentState& operator=(const DocumentState&) = delete;

    _xmlDoc* doc;
    std::unordered_set<_xmlNode*> detached;
};

// The way in to the private parts of Node and Document.
struct NodeAccess {
    static Node make(_xmlNode* node, DocumentState* owner) { return Node(node, owner); }
    static std::optional<Node> maybe(_xmlNode* node, DocumentState* owner)
    {
        if (!node)
            return std::nullopt;
        return Node(node, owner);
    }
    static _xmlNode* raw(const Node& node) { return node.m_node; }
    static DocumentState* owner(const Node& node) { return node.m_owner; }
    static Document wrap(_xmlDoc* doc) { return Document(std::make_unique<DocumentState>(doc)); }
    static DocumentState* state(const Document& document) { return document.m_state.get(); }
};

namespace detail {

void initialise();  // libxml2/libxslt set-up, once per process
std::string readFile(const std::string& path);  // throws Error{NotFound}
void recordError(const void* xmlError);  // into this thread's innermost ErrorScope
// A printf-style report (libxml2's and libxslt's generic error function).
void recordReport(void* context, const char* format, ...);

// How many bytes entity references in a text of `inputSize` bytes may expand
// to: one large entity referenced many times must not blow up the reader.
inline std::size_t expansionBudget(std::size_t inputSize)
{
    return 10 * inputSize + (std::size_t{1} << 20);
}

// Collects what libxml2 and libxslt report on this thread while it lives
// (the innermost scope wins), so nothing reaches stderr; with
// forbidExternal, every attempt to load an external entity or DTD fails.
class ErrorScope {
public:
    explicit ErrorScope(bool forbidExternal);
    ~ErrorScope();
    ErrorScope(const ErrorScope&) = delete;
    ErrorScope& operator=(const ErrorScope&) = delete;

    bool hasError() const;
    // Whether a transformation asked for the network (and was refused).
    bool networkRefused() const;
    // The first error collected; `file` and `fallbackReason` stand in for
    // what the library did not say.
    Error error(ErrorKind kind, const std::string& file, const std::string& fallbackReason) const;

    struct State;

private:
    std::unique_ptr<State> m_state;
};

// Parses with external entities and DTDs refused and entity expansion
// bounded; a named document gets its name as base URI. Throws Error{Malformed}.
_xmlDoc* parseDocument(std::string_view text, const std::string& name, LoadOptions options);
// The whole document as UTF-8 text with its XML declaration.
std::string documentText(_xmlDoc* doc);

// libxml2 texts are unsigned char (xmlChar) strings.
inline std::string fromXml(const unsigned char* text)
{
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}
std::string takeXml(unsigned char* text);  // and frees the string libxml2 allocated
inline const unsigned char* asXml(const std::string& text)
{
    return reinterpret_cast<const unsigned char*>(text.c_str());
}
std::string trimmed(std::string_view text);  // without leading and trailing blanks

}  // namespace detail
}  // namespace platform::xml
