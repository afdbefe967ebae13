#pragma once
// SAX2 reading over libxml2: namespace-aware events to a handler, UTF-8
// texts. Internal entities are expanded; external ones are never loaded and
// reach the handler as skippedEntity. Character data may arrive in several
// characters() calls; callers concatenate.
//
// An exception thrown by a handler stops the parse at once (no later event)
// and reaches the caller of parseFile/parseText unchanged.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml.h"

namespace platform::xml {

struct SaxAttribute {
    std::string uri, localName, qName, value;
};

// The attributes of one element, in document order (no xmlns declarations).
class SaxAttributes {
public:
    SaxAttributes() = default;
    explicit SaxAttributes(std::vector<SaxAttribute> attributes) : m_attributes(std::move(attributes)) {}

    std::size_t size() const { return m_attributes.size(); }
    const SaxAttribute& at(std::size_t i) const { return m_attributes.at(i); }
    // nullptr when absent.
    const SaxAttribute* find(std::string_view uri, std::string_view localName) const;

private:
    std::vector<SaxAttribute> m_attributes;
};

// Where the parser is while it delivers an event (1-based).
class SaxLocator {
public:
    virtual ~SaxLocator() = default;
    virtual int line() const = 0;
    virtual int column() const = 0;
};

// Every event has an empty default.
class SaxHandler {
public:
    virtual ~SaxHandler() = default;
    virtual void setDocumentLocator(const SaxLocator&) {}
    virtual void startDocument() {}
    virtual void endDocument() {}
    virtual void startPrefixMapping(const std::string& /*prefix*/, const std::string& /*uri*/) {}
    virtual void endPrefixMapping(const std::string& /*prefix*/) {}
    virtual void startElement(const std::string& /*uri*/, const std::string& /*localName*/,
                              const std::string& /*qName*/, const SaxAttributes& /*attributes*/) {}
    virtual void endElement(const std::string& /*uri*/, const std::string& /*localName*/,
                            const std::string& /*qName*/) {}
    virtual void characters(const std::string& /*text*/) {}
    virtual void ignorableWhitespace(const std::string& /*text*/) {}
    virtual void processingInstruction(const std::string& /*target*/, const std::string& /*data*/) {}
    virtual void skippedEntity(const std::string& /*name*/) {}
};

// Throw Error (NotFound, Malformed) or whatever the handler threw. `name`
// labels errors of parseText.
void parseFile(const std::string& path, SaxHandler& handler);
void parseText(std::string_view xml, SaxHandler& handler, const std::string& name = "");

}  // namespace platform::xml
