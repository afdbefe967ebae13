#include "shared/sax.h"

#include <QString>
#include <QUrl>

#include <cstdio>

#include "platform/paths.h"
#include "platform/xml_sax.h"

namespace shared {

CComException::CComException(platform::HRESULT hr, std::string reason, std::string file, int line)
    : m_hr(hr), m_reason(std::move(reason)), m_file(std::move(file)), m_line(line)
{
    compose();
}

void CComException::setPlace(std::string file, int line)
{
    m_file = std::move(file);
    m_line = line;
    compose();
}

void CComException::compose()
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(m_hr));
    m_what.clear();
    if (!m_file.empty()) {
        m_what = m_file;
        if (m_line > 0)
            m_what += ":" + std::to_string(m_line);
        m_what += ": ";
    }
    m_what += m_reason.empty() ? std::string("COM error") : m_reason;
    m_what += std::string(" (") + code + ")";
}

void ThrowComException(platform::HRESULT hr, std::string reason) { throw CComException(hr, std::move(reason)); }

std::string CSaxAttributes::GetAttribute(std::string_view namespaceURI, std::string_view localName) const
{
    if (const auto* attribute = m_attributes.find(namespaceURI, localName))
        return attribute->value;
    throw CComException(platform::E_INVALIDARG, "missing attribute \"" + std::string(localName) + "\"");
}

std::string CSaxAttributes::GetAttribute(std::string_view namespaceURI, std::string_view localName,
                                         std::string_view defaultValue) const
{
    if (const auto* attribute = m_attributes.find(namespaceURI, localName))
        return attribute->value;
    return std::string(defaultValue);
}

int CSaxLocator::GetLineNumber() const { return m_locator.line(); }
int CSaxLocator::GetColumnNumber() const { return m_locator.column(); }

namespace {

// Forwards the parser's events to a content handler; a CComException of the
// handler gets the file and the line where it happened.
class Adaptor : public platform::xml::SaxHandler {
public:
    Adaptor(CSaxContentHandler& handler, std::string file) : m_handler(handler), m_file(std::move(file)) {}

    void setDocumentLocator(const platform::xml::SaxLocator& locator) override
    {
        m_locator = &locator;
        guard([&] { m_handler.documentLocator(CSaxLocator(locator)); });
    }
    void startDocument() override { guard([&] { m_handler.startDocument(); }); }
    void endDocument() override { guard([&] { m_handler.endDocument(); }); }
    void startPrefixMapping(const std::string& prefix, const std::string& uri) override
    {
        guard([&] { m_handler.startPrefixMapping(prefix, uri); });
    }
    void endPrefixMapping(const std::string& prefix) override
    {
        guard([&] { m_handler.endPrefixMapping(prefix); });
    }
    void startElement(const std::string& uri, const std::string& localName, const std::string& qName,
                      const platform::xml::SaxAttributes& attributes) override
    {
        guard([&] { m_handler.startElement(uri, localName, qName, CSaxAttributes(attributes)); });
    }
    void endElement(const std::string& uri, const std::string& localName, const std::string& qName) override
    {
        guard([&] { m_handler.endElement(uri, localName, qName); });
    }
    void characters(const std::string& text) override { guard([&] { m_handler.characters(text); }); }
    void ignorableWhitespace(const std::string& text) override
    {
        guard([&] { m_handler.ignorableWhitespace(text); });
    }
    void processingInstruction(const std::string& target, const std::string& data) override
    {
        guard([&] { m_handler.processingInstruction(target, data); });
    }
    void skippedEntity(const std::string& name) override { guard([&] { m_handler.skippedEntity(name); }); }

private:
    template <typename Event>
    void guard(Event&& event)
    {
        try {
            event();
        } catch (CComException& e) {
            if (e.file().empty())
                e.setPlace(m_file, m_locator ? m_locator->line() : 0);
            throw;
        }
    }

    CSaxContentHandler& m_handler;
    std::string m_file;
    const platform::xml::SaxLocator* m_locator = nullptr;
};

platform::HRESULT resultOf(platform::xml::ErrorKind kind)
{
    using Kind = platform::xml::ErrorKind;
    switch (kind) {
    case Kind::NotFound: return platform::INET_E_RESOURCE_NOT_FOUND;
    case Kind::Malformed: return platform::XML_E_PARSE_ERROR;
    case Kind::XPath:
    case Kind::Xslt:
    case Kind::Io: return platform::E_FAIL;
    }
    return platform::E_FAIL;
}

std::string localFile(std::string_view url)
{
    if (url.size() > 5 && QString::fromUtf8(url.data(), 5).compare("file:", Qt::CaseInsensitive) == 0)
        return QUrl(QString::fromUtf8(url.data(), static_cast<qsizetype>(url.size()))).toLocalFile().toStdString();
    return platform::paths::resolve(url);
}

}  // namespace

void CSaxReader::ParseURL(std::string_view url)
{
    if (!m_handler)
        throw CComException(platform::E_POINTER, "no content handler");
    const std::string file = localFile(url);
    Adaptor adaptor(*m_handler, file);
    try {
        platform::xml::parseFile(file, adaptor);
    } catch (const platform::xml::Error& e) {
        throw CComException(resultOf(e.kind), e.reason, e.file.empty() ? file : e.file, e.line);
    }
}

}  // namespace shared
