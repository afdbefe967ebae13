#pragma once
// Reading XML event by event: a content handler gets one virtual call per
// event with UTF-8 texts. A handler is a plain object owned by its user.
//
//   MyHandler handler;
//   CSaxReader reader;
//   reader.SetContentHandler(handler);
//   reader.ParseURL(path);   // throws CComException on any failure
#include <exception>
#include <string>
#include <string_view>

#include "platform/hresult.h"

namespace platform::xml {
class SaxAttributes;
class SaxLocator;
}  // namespace platform::xml

namespace shared {

// A failed COM-style call: the HRESULT, and where known the parser's reason,
// the file and the line.
class CComException : public std::exception {
public:
    explicit CComException(platform::HRESULT hr, std::string reason = {}, std::string file = {},
                           int line = 0);

    platform::HRESULT hr() const { return m_hr; }
    const std::string& reason() const { return m_reason; }
    const std::string& file() const { return m_file; }
    int line() const { return m_line; }
    void setPlace(std::string file, int line);
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    void compose();

    platform::HRESULT m_hr;
    std::string m_reason;
    std::string m_file;
    int m_line;
    std::string m_what;
};

[[noreturn]] void ThrowComException(platform::HRESULT hr, std::string reason = {});

// The attributes of the element being started.
class CSaxAttributes {
public:
    explicit CSaxAttributes(const platform::xml::SaxAttributes& attributes) : m_attributes(attributes) {}

    // Throws CComException(E_INVALIDARG) when the element has no such attribute.
    std::string GetAttribute(std::string_view namespaceURI, std::string_view localName) const;
    std::string GetAttribute(std::string_view namespaceURI, std::string_view localName,
                             std::string_view defaultValue) const;

private:
    const platform::xml::SaxAttributes& m_attributes;
};

// Where the parser is: valid during the events of one parse.
class CSaxLocator {
public:
    explicit CSaxLocator(const platform::xml::SaxLocator& locator) : m_locator(locator) {}
    int GetLineNumber() const;
    int GetColumnNumber() const;

private:
    const platform::xml::SaxLocator& m_locator;
};

// Base of every content handler; each event does nothing unless overridden.
// A handler stops the parse by throwing (CComException for a reason to report).
class CSaxContentHandler {
public:
    virtual ~CSaxContentHandler() = default;

    virtual void documentLocator(const CSaxLocator& /*locator*/) {}
    virtual void startDocument() {}
    virtual void endDocument() {}
    virtual void startPrefixMapping(const std::string& /*prefix*/, const std::string& /*uri*/) {}
    virtual void endPrefixMapping(const std::string& /*prefix*/) {}
    virtual void startElement(const std::string& /*namespaceURI*/, const std::string& /*localName*/,
                              const std::string& /*qName*/, const CSaxAttributes& /*attributes*/) {}
    virtual void endElement(const std::string& /*namespaceURI*/, const std::string& /*localName*/,
                            const std::string& /*qName*/) {}
    virtual void characters(const std::string& /*text*/) {}
    virtual void ignorableWhitespace(const std::string& /*text*/) {}
    virtual void processingInstruction(const std::string& /*target*/, const std::string& /*data*/) {}
    virtual void skippedEntity(const std::string& /*name*/) {}
};

// One reader for one parse.
class CSaxReader {
public:
    void SetContentHandler(CSaxContentHandler& handler) { m_handler = &handler; }
    // Parses a file ("\" turned into "/"; a "file:" URL is taken as its local
    // file). A missing file, malformed XML or a CComException of the handler
    // throws CComException with the file and line; any other exception of the
    // handler reaches the caller unchanged.
    void ParseURL(std::string_view url);

private:
    CSaxContentHandler* m_handler = nullptr;
};

}  // namespace shared
