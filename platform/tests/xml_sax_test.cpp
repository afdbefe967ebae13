#include <gtest/gtest.h>

#include "platform/xml_internal.h"
#include "platform/xml_sax.h"
#include "testsupport/temp_dir.h"

namespace platform::xml {
namespace {

using testsupport::TempDir;

// Writes every event as one line; adjacent characters() chunks are joined.
class Recorder : public SaxHandler {
public:
    std::vector<std::string> events;
    const SaxLocator* locator = nullptr;

    void setDocumentLocator(const SaxLocator& l) override { locator = &l; }
    void startDocument() override { add("startDocument"); }
    void endDocument() override { add("endDocument"); }
    void startPrefixMapping(const std::string& prefix, const std::string& uri) override
    {
        add("startPrefix " + prefix + "=" + uri);
    }
    void endPrefixMapping(const std::string& prefix) override { add("endPrefix " + prefix); }
    void startElement(const std::string& uri, const std::string& localName, const std::string& qName,
                      const SaxAttributes& attributes) override
    {
        std::string line = "start {" + uri + "}" + localName + " " + qName;
        for (std::size_t i = 0; i < attributes.size(); ++i) {
            const SaxAttribute& a = attributes.at(i);
            line += " {" + a.uri + "}" + a.localName + "(" + a.qName + ")=" + a.value;
        }
        add(line + " @" + std::to_string(locator ? locator->line() : -1));
    }
    void endElement(const std::string& uri, const std::string& localName, const std::string& qName) override
    {
        add("end {" + uri + "}" + localName + " " + qName);
    }
    void characters(const std::string& text) override
    {
        if (!events.empty() && events.back().rfind("text ", 0) == 0)
            events.back() += text;
        else
            add("text " + text);
    }
    void processingInstruction(const std::string& target, const std::string& data) override
    {
        add("pi " + target + " " + data);
    }
    void skippedEntity(const std::string& name) override { add("skipped " + name); }

protected:
    virtual void add(const std::string& event) { events.push_back(event); }
};

TEST(XmlSax, EventsArriveInDocumentOrder)
{
    Recorder recorder;
    parseText("<?xml version=\"1.0\"?>\n"
              "<?xml-stylesheet href=\"a.xslt\"?>\n"
              "<LANG xmlns:m=\"urn:m\" id=\"ua\">\n"
              "<S k=\"a&amp;b\" m:x=\"&#1055;\">Привіт &lt;<![CDATA[<raw>]]></S>\n"
              "<m:E/></LANG>",
              recorder);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{
                                   "startDocument",
                                   "pi xml-stylesheet href=\"a.xslt\"",
                                   "startPrefix m=urn:m",
                                   "start {}LANG LANG {}id(id)=ua @3",
                                   "text \n",
                                   "start {}S S {}k(k)=a&b {urn:m}x(m:x)=П @4",
                                   "text Привіт <<raw>",
                                   "end {}S S",
                                   "text \n",
                                   "start {urn:m}E m:E @5",
                                   "end {urn:m}E m:E",
                                   "end {}LANG LANG",
                                   "endPrefix m",
                                   "endDocument",
                               }));
}

TEST(XmlSax, AttributesAreFoundByNamespaceAndLocalName)
{
    struct Finder : SaxHandler {
        std::string found;
        bool absent = false;
        void startElement(const std::string&, const std::string&, const std::string&,
                          const SaxAttributes& attributes) override
        {
            if (const SaxAttribute* a = attributes.find("urn:m", "x"))
                found = a->value;
            absent = attributes.find("", "x") == nullptr;
        }
    } finder;
    parseText("<r xmlns:m='urn:m' m:x='1'/>", finder);
    EXPECT_EQ(finder.found, "1");
    EXPECT_TRUE(finder.absent);
}

TEST(XmlSax, DeclaredEncodingIsHonoured)
{
    Recorder recorder;
    parseText("<?xml version=\"1.0\" encoding=\"windows-1251\"?><S k=\"\xB3\">\xCF\xF0\xE8\xE2\xB3\xF2</S>",
              recorder);
    ASSERT_EQ(recorder.events.size(), 5u);
    EXPECT_EQ(recorder.events[1], "start {}S S {}k(k)=і @1");
    EXPECT_EQ(recorder.events[2], "text Привіт");
}

TEST(XmlSax, HandlerExceptionStopsTheParseUnchanged)
{
    struct Stop {
        int code;
    };
    class Stopper : public Recorder {
    protected:
        void add(const std::string& event) override
        {
            Recorder::add(event);
            if (event.rfind("start {}B", 0) == 0)
                throw Stop{42};
        }
    } stopper;
    try {
        parseText("<A><B>text</B><C/></A>", stopper);
        FAIL() << "the handler's exception was lost";
    } catch (const Stop& stop) {
        EXPECT_EQ(stop.code, 42);
    }
    ASSERT_FALSE(stopper.events.empty());
    EXPECT_EQ(stopper.events.back().rfind("start {}B", 0), 0u);  // nothing after it
    EXPECT_EQ(stopper.events.size(), 3u);

    // Also from inside entity content, and a later parse works normally.
    try {
        parseText("<!DOCTYPE A [<!ENTITY e '<B/>'>]><A>&e;<C/></A>", stopper);
        FAIL();
    } catch (const Stop&) {
    }
    EXPECT_EQ(stopper.events.back().rfind("start {}B", 0), 0u);
    Recorder after;
    parseText("<A/>", after);
    EXPECT_EQ(after.events.size(), 4u);
}

TEST(XmlSax, ErrorsCarryFileAndLine)
{
    TempDir dir;
    Recorder recorder;
    const std::string path = dir.write("lang.xml", "<LANG>\n<S>\n</LANG>\n");
    try {
        parseFile(path, recorder);
        FAIL();
    } catch (const Error& error) {
        EXPECT_EQ(error.kind, ErrorKind::Malformed);
        EXPECT_EQ(error.file, path);
        EXPECT_EQ(error.line, 3);
        EXPECT_NE(error.reason.find("mismatch"), std::string::npos) << error.reason;
    }
    try {
        parseFile(dir.file("none.xml"), recorder);
        FAIL();
    } catch (const Error& error) {
        EXPECT_EQ(error.kind, ErrorKind::NotFound);
    }
    try {
        parseText("<a>\n\n<b c='1' c='2'/></a>", recorder, "text");
        FAIL();
    } catch (const Error& error) {
        EXPECT_EQ(error.kind, ErrorKind::Malformed);
        EXPECT_EQ(std::string(error.what()), "text:3: " + error.reason);
    }
}

TEST(XmlSax, ExternalEntitiesAreSkippedNeverRead)
{
    TempDir dir;
    dir.write("secret.txt", "SECRET");
    Recorder recorder;
    parseFile(dir.write("doc.xml", "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\"><!ENTITY n 'in'>]>"
                                   "<r a='&n;'>&x;&n;&x;&n;</r>"),
              recorder);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"startDocument", "start {}r r {}a(a)=in @1",
                                                         "skipped x", "text in", "skipped x", "text in",
                                                         "end {}r r", "endDocument"}));
}

TEST(XmlSax, EntityExpansionBombIsRefused)
{
    std::string bomb = "<!DOCTYPE lolz [<!ENTITY lol0 \"lollollollollollollollollollol\">";
    for (int i = 1; i < 10; ++i) {
        bomb += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j)
            bomb += "&lol" + std::to_string(i - 1) + ";";
        bomb += "\">";
    }
    for (const std::string body : {"<lolz>&lol9;</lolz>", "<lolz a='&lol9;'/>"}) {
        struct Counter : SaxHandler {
            std::size_t bytes = 0;
            void characters(const std::string& text) override { bytes += text.size(); }
        } counter;
        EXPECT_THROW(parseText(bomb + "]>" + body, counter), Error) << body;
        EXPECT_LT(counter.bytes, 100000000u);
    }

    // One large entity referenced many times.
    std::string text = "<!DOCTYPE r [<!ENTITY big \"" + std::string(10000, 'x') + "\">]><r>";
    for (int i = 0; i < 2000; ++i)
        text += "&big;";
    struct Counter : SaxHandler {
        std::size_t bytes = 0;
        void characters(const std::string& text) override { bytes += text.size(); }
    } counter;
    try {
        parseText(text + "</r>", counter);
        FAIL();
    } catch (const Error& error) {
        EXPECT_EQ(error.kind, ErrorKind::Malformed);
        EXPECT_EQ(error.reason, "entity references expand beyond the limit");
    }
    EXPECT_LE(counter.bytes, detail::expansionBudget(text.size() + 4));
}

TEST(XmlSax, LongTextArrivesWhole)
{
    Recorder recorder;
    const std::string text(200000, 'x');
    parseText("<r>" + text + "Ї</r>", recorder);
    ASSERT_EQ(recorder.events.size(), 5u);
    EXPECT_EQ(recorder.events[2], "text " + text + "Ї");
}

}  // namespace
}  // namespace platform::xml
