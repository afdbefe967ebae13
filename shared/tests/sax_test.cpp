#include <gtest/gtest.h>

#include <stdexcept>

#include "shared/sax.h"
#include "testsupport/temp_dir.h"

namespace shared {
namespace {

// Records every event as one line.
class Recorder : public CSaxContentHandler {
public:
    std::vector<std::string> events;
    int lastLine = 0;
    const CSaxLocator* locator = nullptr;

    void startDocument() override { events.push_back("doc"); }
    void endDocument() override { events.push_back("/doc"); }
    void startElement(const std::string& uri, const std::string& localName, const std::string& qName,
                      const CSaxAttributes& attributes) override
    {
        events.push_back("<" + qName + " {" + uri + "}" + localName + " a=" + attributes.GetAttribute("", "a", "-"));
    }
    void endElement(const std::string&, const std::string&, const std::string& qName) override
    {
        events.push_back("</" + qName);
    }
    void characters(const std::string& text) override
    {
        if (!events.empty() && events.back().starts_with("text:"))
            events.back() += text;  // the parser may hand text over in pieces
        else
            events.push_back("text:" + text);
    }
};

TEST(Sax, EventsInDocumentOrderWithNamespacesAndText)
{
    testsupport::TempDir dir;
    const std::string file = dir.write("a.xml",
        "<?xml version='1.0' encoding='UTF-8'?>\n"
        "<r xmlns:m='http://www.w3.org/1998/Math/MathML'><m:mi a='1'>x &amp; Ї</m:mi><e/></r>");
    Recorder handler;
    CSaxReader reader;
    reader.SetContentHandler(handler);
    reader.ParseURL(file);
    EXPECT_EQ(handler.events, (std::vector<std::string>{
                                  "doc", "<r {}r a=-", "<m:mi {http://www.w3.org/1998/Math/MathML}mi a=1",
                                  "text:x & Ї", "</m:mi", "<e {}e a=-", "</e", "</r", "/doc"}));
}

TEST(Sax, FileUrlsAndBackslashesNameTheSameFile)
{
    testsupport::TempDir dir;
    dir.write("Lang/a.xml", "<r/>");
    for (const std::string& url : {"file://" + dir.path() + "Lang/a.xml", dir.path() + "lang\\A.xml"}) {
        Recorder handler;
        CSaxReader reader;
        reader.SetContentHandler(handler);
        ASSERT_NO_THROW(reader.ParseURL(url)) << url;
        EXPECT_EQ(handler.events.size(), 4u) << url;
    }
}

// Reads a required attribute of every element.
class Strict : public CSaxContentHandler {
public:
    std::vector<std::string> seen;
    void startElement(const std::string&, const std::string& localName, const std::string&,
                      const CSaxAttributes& attributes) override
    {
        seen.push_back(localName + "=" + attributes.GetAttribute("", "id"));
    }
};

TEST(Sax, AMissingRequiredAttributeEndsTheParseWithItsLine)
{
    testsupport::TempDir dir;
    const std::string file = dir.write("a.xml", "<r id='1'>\n<a id='2'/>\n<b/>\n<c id='4'/></r>");
    Strict handler;
    CSaxReader reader;
    reader.SetContentHandler(handler);
    try {
        reader.ParseURL(file);
        FAIL() << "no exception";
    } catch (const CComException& e) {
        EXPECT_EQ(e.hr(), platform::E_INVALIDARG);
        EXPECT_EQ(e.file(), file);
        EXPECT_EQ(e.line(), 3);
        EXPECT_NE(std::string(e.what()).find("id"), std::string::npos);
    }
    EXPECT_EQ(handler.seen, (std::vector<std::string>{"r=1", "a=2"}));
}

TEST(Sax, ParserFailuresBecomeComExceptions)
{
    testsupport::TempDir dir;
    Recorder handler;
    CSaxReader reader;
    reader.SetContentHandler(handler);
    try {
        reader.ParseURL(dir.path() + "missing.xml");
        FAIL() << "no exception";
    } catch (const CComException& e) {
        EXPECT_EQ(e.hr(), platform::INET_E_RESOURCE_NOT_FOUND);
        EXPECT_FALSE(e.reason().empty());
    }
    const std::string bad = dir.write("bad.xml", "<r>\n<a></b>\n</r>");
    try {
        reader.ParseURL(bad);
        FAIL() << "no exception";
    } catch (const CComException& e) {
        EXPECT_EQ(e.hr(), platform::XML_E_PARSE_ERROR);
        EXPECT_EQ(e.line(), 2);
        EXPECT_EQ(e.file(), bad);
        EXPECT_FALSE(e.reason().empty());
    }
}

TEST(Sax, OtherExceptionsOfAHandlerReachTheCallerUnchanged)
{
    struct Thrower : CSaxContentHandler {
        int elements = 0;
        void startElement(const std::string&, const std::string&, const std::string&, const CSaxAttributes&) override
        {
            if (++elements == 2)
                throw std::out_of_range("stop here");
        }
    } handler;
    testsupport::TempDir dir;
    CSaxReader reader;
    reader.SetContentHandler(handler);
    EXPECT_THROW(reader.ParseURL(dir.write("a.xml", "<r><a/><b/><c/></r>")), std::out_of_range);
    EXPECT_EQ(handler.elements, 2);
}

TEST(Sax, AReaderWithoutAHandlerRefuses)
{
    CSaxReader reader;
    EXPECT_THROW(reader.ParseURL("/x.xml"), CComException);
}

}  // namespace
}  // namespace shared
