#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "platform/xml.h"
#include "testsupport/temp_dir.h"

namespace platform::xml {
namespace {

using testsupport::readFile;
using testsupport::TempDir;

template <typename Call>
Error errorOf(Call&& call)
{
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "no Error thrown";
    return Error(ErrorKind::Io, "", 0, "none");
}

std::vector<std::string> namesOf(const std::vector<Node>& nodes)
{
    std::vector<std::string> names;
    for (const Node& node : nodes)
        names.push_back(node.name());
    return names;
}

TEST(XmlLoad, ErrorsCarryKindFileLineAndReason)
{
    TempDir dir;
    const std::string missing = dir.file("missing.xml");
    Error error = errorOf([&] { Document::loadFile(missing); });
    EXPECT_EQ(error.kind, ErrorKind::NotFound);
    EXPECT_EQ(error.file, missing);
    EXPECT_EQ(error.reason, "No such file or directory");
    EXPECT_EQ(std::string(error.what()), missing + ": No such file or directory");

    EXPECT_EQ(errorOf([&] { Document::loadFile(dir.path()); }).kind, ErrorKind::NotFound);

    const std::string broken = dir.write("broken.xml", "<TASK>\n  <JOB>\n  </TASK>\n");
    error = errorOf([&] { Document::loadFile(broken); });
    EXPECT_EQ(error.kind, ErrorKind::Malformed);
    EXPECT_EQ(error.file, broken);
    EXPECT_EQ(error.line, 3);
    EXPECT_NE(error.reason.find("mismatch"), std::string::npos) << error.reason;
    EXPECT_EQ(std::string(error.what()), broken + ":3: " + error.reason);

    error = errorOf([] { Document::loadText("<a>\n<b/>\n\n<c x='1' x='2'/></a>", {}, "lesson"); });
    EXPECT_EQ(error.kind, ErrorKind::Malformed);
    EXPECT_EQ(error.line, 4);
    EXPECT_EQ(error.file, "lesson");
    // An undeclared prefix is an error, as is an empty text.
    EXPECT_EQ(errorOf([] { Document::loadText("<m:math/>"); }).kind, ErrorKind::Malformed);
    EXPECT_EQ(errorOf([] { Document::loadText(""); }).kind, ErrorKind::Malformed);
}

TEST(XmlLoad, DeclaredEncodingIsHonoured)
{
    TempDir dir;
    const std::string cp1251 = dir.write(
        "cp1251.xml", "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n"
                      "<TASK title=\"\xCF\xF0\xE8\xE2\xB3\xF2\">\xCF\xF0\xE8\xE2\xB3\xF2</TASK>");
    const std::string utf8 = dir.write(
        "utf8.xml", "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TASK title=\"Привіт\">Привіт</TASK>");
    const Document a = Document::loadFile(cp1251);
    const Document b = Document::loadFile(utf8);
    EXPECT_EQ(a.root()->text(), "Привіт");
    EXPECT_EQ(a.root()->attribute("title"), "Привіт");
    EXPECT_EQ(a.root()->xml(), b.root()->xml());
    EXPECT_EQ(a.xml(), b.xml());  // as UTF-8 text both name UTF-8

    // Saving keeps the declared encoding.
    a.save(cp1251);
    const std::string saved = readFile(cp1251);
    EXPECT_NE(saved.find("encoding=\"windows-1251\""), std::string::npos) << saved;
    EXPECT_NE(saved.find(">\xCF\xF0\xE8\xE2\xB3\xF2</TASK>"), std::string::npos) << saved;
}

TEST(XmlLoad, WhitespaceOnlyTextIsDroppedUnlessPreserved)
{
    const std::string text =
        "<r>\n  <a> </a>\n  <b xml:space=\"preserve\"> <c> </c></b>\n  <d> x </d>\n</r>";
    const Document dropped = Document::loadText(text);
    const Node r = *dropped.root();
    EXPECT_EQ(namesOf(r.childNodes()), (std::vector<std::string>{"a", "b", "d"}));
    EXPECT_TRUE(r.children()[0].childNodes().empty());
    EXPECT_EQ(r.children()[1].xml(), "<b xml:space=\"preserve\"> <c> </c></b>");
    EXPECT_EQ(r.children()[2].text(), " x ");

    const Document kept = Document::loadText(text, LoadOptions{true});
    EXPECT_EQ(kept.root()->childNodes().size(), 7u);
    EXPECT_EQ(kept.root()->children()[0].text(), " ");
}

TEST(XmlLoad, NoExternalEntityOrDtdIsRead)
{
    TempDir dir;
    dir.write("secret.txt", "SECRET");
    dir.write("evil.dtd", "<!ENTITY e SYSTEM \"secret.txt\">");
    const Document doc = Document::loadFile(dir.write(
        "doc.xml", "<!DOCTYPE r [<!ENTITY x SYSTEM \"secret.txt\"> <!ENTITY n \"name\">]>"
                   "<r>&x;|&n;|&x;|&lt;&#1055;&#x440;&amp;</r>"));
    EXPECT_EQ(doc.root()->text(), "|name||<Пр&");
    EXPECT_EQ(doc.xml().find("SECRET"), std::string::npos);

    const Document external = Document::loadFile(
        dir.write("doc2.xml", "<!DOCTYPE r SYSTEM \"evil.dtd\"><r a=\"1\">&e;</r>"));
    EXPECT_EQ(external.root()->text(), "");  // an entity the unread DTD may declare
    EXPECT_EQ(external.root()->xml(), "<r a=\"1\">&e;</r>");
}

TEST(XmlLoad, EntityExpansionBombIsRefused)
{
    std::string bomb = "<!DOCTYPE lolz [<!ENTITY lol0 \"lollollollollollollollollollol\">";
    for (int i = 1; i < 10; ++i) {
        bomb += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j)
            bomb += "&lol" + std::to_string(i - 1) + ";";
        bomb += "\">";
    }
    bomb += "]><lolz>&lol9;</lolz>";
    EXPECT_EQ(errorOf([&] { Document::loadText(bomb); }).kind, ErrorKind::Malformed);

    // One large entity referenced many times, in text and in an attribute.
    std::string references;
    for (int i = 0; i < 2000; ++i)
        references += "&big;";
    const std::string prologue = "<!DOCTYPE r [<!ENTITY big \"" + std::string(10000, 'x') + "\">]>";
    for (const std::string& body : {"<r>" + references + "</r>", "<r a=\"" + references + "\"/>"}) {
        const Error error = errorOf([&] { Document::loadText(prologue + body); });
        EXPECT_EQ(error.kind, ErrorKind::Malformed);
        EXPECT_EQ(error.reason, "entity references expand beyond the limit");
    }
}

TEST(XmlDom, NodeXmlEscapesAndNeedsNoDeclaration)
{
    Document doc;
    const Node task = doc.node().appendChild(doc.createElement("TASK"));
    task.setAttribute("title", "<a & \"b\">");
    task.setText("Привіт & <b>");
    EXPECT_EQ(task.xml(), "<TASK title=\"&lt;a &amp; &quot;b&quot;&gt;\">Привіт &amp; &lt;b&gt;</TASK>");
    EXPECT_EQ(doc.xml(), "<?xml version=\"1.0\"?>\n" + task.xml() + "\n");
    EXPECT_EQ(task.attribute("title"), "<a & \"b\">");
    EXPECT_EQ(task.text(), "Привіт & <b>");
    EXPECT_EQ(Document::loadText(doc.xml()).root()->text(), "Привіт & <b>");

    // A node taken out of a MathML tree declares its namespace.
    const Document math = Document::loadText(
        "<r><math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi></math></r>");
    const Node mi = selectList(*math.root(), "//*[local-name()='mi']").at(0);
    EXPECT_EQ(mi.xml(), "<mi xmlns=\"http://www.w3.org/1998/Math/MathML\">x</mi>");
}

TEST(XmlEscape, EscapesAndReadsBackThePredefinedEntities)
{
    EXPECT_EQ(escape("a\"b<c>&d"), "a&quot;b&lt;c&gt;&amp;d");
    EXPECT_EQ(unescape(escape("a\"b<c>&d")), "a\"b<c>&d");
    EXPECT_EQ(unescape("&amp;lt;"), "&lt;");
    EXPECT_EQ(unescape("&apos;&quot;&gt;"), "'\">");
    // Anything else after "&" is left as it is.
    EXPECT_EQ(unescape("R&D &nbsp; &#65; &"), "R&D &nbsp; &#65; &");
    // An escaped attribute reads back through the parser unchanged.
    const Document doc = Document::loadText("<a v=\"" + escape("1<2 & \"x\">") + "\"/>");
    EXPECT_EQ(doc.root()->attribute("v"), "1<2 & \"x\">");
}

TEST(XmlDom, TreeEditsKeepHandlesValid)
{
    Document doc = Document::loadText("<TOC><THEME title='a'/><THEME title='b'/></TOC>");
    const Node toc = *doc.root();
    const Node a = toc.children()[0];
    const Node b = toc.children()[1];

    const Node first = toc.insertBefore(doc.createElement("LESSON"), a);
    const Node one = toc.appendChild(doc.createTextNode("1"));
    const Node two = toc.appendChild(doc.createTextNode("2"));  // not merged into "1"
    EXPECT_EQ(namesOf(toc.childNodes()),
              (std::vector<std::string>{"LESSON", "THEME", "THEME", "#text", "#text"}));
    EXPECT_EQ(one.text() + two.text(), "12");
    EXPECT_EQ(first.nextSibling(), a);
    EXPECT_EQ(a.previousSibling(), first);
    EXPECT_EQ(a.parent(), toc);

    const Node removed = toc.removeChild(a);
    EXPECT_EQ(removed.attribute("title"), "a");
    EXPECT_FALSE(removed.parent());
    const Node old = toc.replaceChild(removed, b);  // b out, a back in its place
    EXPECT_EQ(old.attribute("title"), "b");
    EXPECT_EQ(toc.xml(), "<TOC><LESSON/><THEME title=\"a\"/>12</TOC>");

    const Node copy = a.clone();
    copy.setAttribute("title", "c");
    a.appendChild(copy);
    EXPECT_EQ(a.xml(), "<THEME title=\"a\"><THEME title=\"c\"/></THEME>");
    EXPECT_THROW(copy.appendChild(a), std::invalid_argument);  // an ancestor
    EXPECT_THROW(doc.node().appendChild(doc.createElement("SECOND")), std::invalid_argument);

    a.removeAttribute("title");
    EXPECT_FALSE(a.attribute("title"));
    a.setAttribute("num", "1");
    a.setAttribute("file", "x");
    const std::vector<Attribute> attributes = a.attributes();
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[0].name + "=" + attributes[0].value, "num=1");
    EXPECT_THROW(a.setAttribute("bad name", "v"), std::invalid_argument);

    const Document other = Document::loadText("<NOTE file='p.xml'><B>x</B></NOTE>");
    EXPECT_THROW(toc.appendChild(*other.root()), std::invalid_argument);
    const Node imported = toc.appendChild(doc.importNode(*other.root()));
    EXPECT_EQ(imported.xml(), "<NOTE file=\"p.xml\"><B>x</B></NOTE>");

    toc.setText("plain");  // the old children stay valid, detached
    EXPECT_EQ(toc.xml(), "<TOC>plain</TOC>");
    EXPECT_EQ(imported.children()[0].text(), "x");
}

TEST(XmlXPath, VariablesCarryAnyTextWithoutInjection)
{
    const std::string tricky = "it's \"quoted\"";
    const Document doc = Document::loadText(
        "<NOTES><NOTE file=\"a.xml\" anchorIndex=\"1\"/>"
        "<NOTE file=\"it's &quot;quoted&quot;\" anchorIndex=\"2\"/>"
        "<NOTE file=\"b.xml\" anchorIndex=\"3\"/></NOTES>");
    const Node notes = *doc.root();
    const std::string query = "NOTE[@file=$file and @anchorIndex=$index]";
    const auto hit = selectSingle(notes, query, {{"file", tricky}, {"index", "2"}});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->attribute("anchorIndex"), "2");
    EXPECT_FALSE(selectSingle(notes, query, {{"file", "' or '1'='1"}, {"index", "2"}}));
    EXPECT_EQ(selectList(notes, "NOTE[@file=" + xpathLiteral(tricky) + "]").size(), 1u);

    // Positions count from 1; a string variable needs position() to be one.
    EXPECT_EQ(selectSingle(notes, "NOTE[position() = $n]", {{"n", "3"}})->attribute("file"), "b.xml");
    EXPECT_EQ(selectList(notes, "NOTE[1]").at(0).attribute("file"), "a.xml");
    EXPECT_EQ(selectSingle(notes, "NOTE/@file")->type(), NodeType::Attribute);
    EXPECT_EQ(selectSingle(notes, "NOTE/@file")->text(), "a.xml");
    EXPECT_EQ(evaluateNumber(notes, "count(NOTE)"), 3.0);
    EXPECT_EQ(evaluateString(doc.node(), "string(//NOTE[last()]/@file)"), "b.xml");
}

TEST(XmlXPath, LiteralRoundTrips)
{
    const Document doc = Document::loadText("<r/>");
    for (const std::string text :
         {"", "plain", "it's", "say \"hi\"", "both ' and \"", "'", "\"'\"", "''", "'\"'\"", "Привіт'"})
        EXPECT_EQ(evaluateString(doc.node(), xpathLiteral(text)), text) << xpathLiteral(text);
}

TEST(XmlXPath, BadExpressionsThrow)
{
    const Document doc = Document::loadText("<r><a/></r>");
    const Error error = errorOf([&] { selectList(*doc.root(), "a[@x='1'"); });
    EXPECT_EQ(error.kind, ErrorKind::XPath);
    EXPECT_NE(error.reason.find("a[@x='1'"), std::string::npos) << error.reason;
    EXPECT_EQ(errorOf([&] { selectSingle(*doc.root(), "a[@x=$missing]"); }).kind, ErrorKind::XPath);
    EXPECT_EQ(errorOf([&] { selectList(*doc.root(), "count(a)"); }).kind, ErrorKind::XPath);
}

TEST(XmlXPath, MathMlIsFoundByLocalName)
{
    const Document doc = Document::loadText(
        "<TASK><m:math xmlns:m=\"http://www.w3.org/1998/Math/MathML\"><m:mi>x</m:mi><m:mo>+</m:mo>"
        "<m:mi>y</m:mi></m:math></TASK>");
    EXPECT_FALSE(selectSingle(*doc.root(), "math"));
    const auto math = selectSingle(*doc.root(), "*[local-name()='math']");
    ASSERT_TRUE(math);
    EXPECT_EQ(math->name(), "m:math");
    EXPECT_EQ(math->localName(), "math");
    EXPECT_EQ(math->namespaceUri(), "http://www.w3.org/1998/Math/MathML");
    EXPECT_EQ(childElementsByLocalName(*math, "mi").size(), 2u);
    EXPECT_EQ(childElementsByLocalName(*math, "mo").at(0).text(), "+");
}

TEST(XmlSave, WritesAndReplacesTheFile)
{
    TempDir dir;
    const std::string path = dir.file("toc.xml");
    const Document doc = Document::loadText(
        "<?xml version=\"1.0\"?><?xml-stylesheet type=\"text/xsl\" href=\"../lestoc.xslt\"?><TOC>Зміст</TOC>");
    doc.save(path);
    EXPECT_EQ(readFile(path),
              "<?xml version=\"1.0\"?>\n<?xml-stylesheet type=\"text/xsl\" href=\"../lestoc.xslt\"?>\n"
              "<TOC>Зміст</TOC>\n");
    doc.root()->setText("new");
    doc.save(path);
    EXPECT_EQ(Document::loadFile(path).root()->text(), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(XmlSave, FailureLeavesTheOldFileWhole)
{
    TempDir dir;
    const std::string notFolder = dir.write("plain.txt", "x");
    const Document doc = Document::loadText("<r>" + std::string(100000, 'z') + "</r>");
    const Error error = errorOf([&] { doc.save(notFolder + "/doc.xml"); });
    EXPECT_EQ(error.kind, ErrorKind::Io);
    EXPECT_EQ(error.file, notFolder + "/doc.xml");

    // A write that fails halfway (file size limit: root ignores permissions).
    const std::string old = dir.write("old.xml", "<old/>");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Error failed = errorOf([&] { doc.save(old); });
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(failed.kind, ErrorKind::Io);
    EXPECT_NE(failed.reason.find("too large"), std::string::npos) << failed.reason;
    EXPECT_EQ(readFile(old), "<old/>");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // no leftovers
}

class XmlXslt : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = m_dir.path() + "стилі з пробілом/";
        m_dir.write("стилі з пробілом/common.xslt",
                    "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                    "<xsl:template match=\"JOB\">[<xsl:value-of select=\"@id\"/>]</xsl:template>"
                    "</xsl:stylesheet>");
        m_main = m_dir.write(
            "стилі з пробілом/task.xslt",
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
            "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
            "<xsl:include href=\"common.xslt\"/><xsl:output method=\"text\" encoding=\"utf-8\"/>"
            "<xsl:param name=\"who\" select=\"'nobody'\"/>"
            "<xsl:template match=\"/TASK\"><xsl:value-of select=\"$who\"/>:<xsl:apply-templates "
            "select=\"JOB\"/></xsl:template></xsl:stylesheet>");
    }
    std::string style(const std::string& name, const std::string& body, const std::string& output = "text")
    {
        return m_dir.write(name, "<xsl:stylesheet version=\"1.0\" "
                                 "xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\"><xsl:output method=\""
                                     + output + "\"/>" + body + "</xsl:stylesheet>");
    }

    TempDir m_dir;
    std::string m_folder;
    std::string m_main;
    Document m_task = Document::loadText("<TASK><JOB id=\"1\"/><JOB id=\"два\"/></TASK>");
};

TEST_F(XmlXslt, IncludesFromItsFolderAndTakesParameters)
{
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path("/");  // includes do not depend on the working folder
    const Stylesheet sheet = Stylesheet::loadFile(m_main);
    std::filesystem::current_path(cwd);
    EXPECT_EQ(sheet.transformToText(m_task), "nobody:[1][два]");
    EXPECT_EQ(sheet.transformToText(m_task, {{"who", "it's \"me\""}}), "it's \"me\":[1][два]");
    EXPECT_EQ(transformToText(m_task, m_main, {{"who", "$who"}}), "$who:[1][два]");
}

TEST_F(XmlXslt, CompilesAnEditedDocumentWithIncludesFromItsFile)
{
    m_dir.write("стилі з пробілом/other.xslt",
                "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                "<xsl:template match=\"JOB\">(<xsl:value-of select=\"@id\"/>)</xsl:template>"
                "</xsl:stylesheet>");
    Document sheet = Document::loadFile(m_main, LoadOptions{true});
    const auto include = selectSingle(*sheet.root(), "*[local-name()='include']");
    ASSERT_TRUE(include);
    include->setAttribute("href", "other.xslt");
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path("/");
    const Stylesheet edited = Stylesheet::fromDocument(sheet, m_main);
    std::filesystem::current_path(cwd);
    EXPECT_EQ(edited.transformToText(m_task), "nobody:(1)(два)");

    include->setAttribute("href", "nowhere.xslt");
    EXPECT_EQ(errorOf([&] { Stylesheet::fromDocument(sheet, m_main); }).kind, ErrorKind::Xslt);
    EXPECT_EQ(errorOf([&] { Stylesheet::fromDocument(Document::loadText("<a/>"), m_main); }).kind,
              ErrorKind::Xslt);
}

TEST_F(XmlXslt, OutputFollowsTheStylesheet)
{
    const std::string html = style(
        "html.xslt",
        "<xsl:template match=\"/\"><html><body><p><xsl:value-of select=\"TASK/JOB[2]/@id\"/></p>"
        "</body></html></xsl:template>",
        "html\" encoding=\"windows-1251");
    const std::string bytes = transformToText(m_task, html);
    EXPECT_NE(bytes.find("<p>\xE4\xE2\xE0</p>"), std::string::npos) << bytes;  // "два" in windows-1251

    const std::string copy = style(
        "copy.xslt", "<xsl:template match=\"/TASK\"><LESSON n=\"{count(JOB)}\"/></xsl:template>", "xml");
    const Document result = transformToDocument(m_task, copy);
    EXPECT_EQ(result.root()->xml(), "<LESSON n=\"2\"/>");
}

TEST_F(XmlXslt, FailuresThrowXsltErrors)
{
    const Error missingInclude = errorOf([&] {
        Stylesheet::loadFile(style("bad.xslt", "<xsl:include href=\"nowhere.xslt\"/>"));
    });
    EXPECT_EQ(missingInclude.kind, ErrorKind::Xslt);
    EXPECT_NE(missingInclude.reason.find("nowhere.xslt"), std::string::npos) << missingInclude.reason;

    const Error compile = errorOf([&] {
        Stylesheet::loadFile(style("bad2.xslt", "<xsl:template match=\"/\"><xsl:value-of/></xsl:template>"));
    });
    EXPECT_EQ(compile.kind, ErrorKind::Xslt);
    EXPECT_FALSE(compile.reason.empty());

    EXPECT_EQ(errorOf([&] { Stylesheet::loadFile(m_dir.write("broken.xslt", "<xsl:stylesheet")); }).kind,
              ErrorKind::Malformed);
    EXPECT_EQ(errorOf([&] { Stylesheet::loadFile(m_dir.file("none.xslt")); }).kind, ErrorKind::NotFound);

    const Stylesheet stop = Stylesheet::loadFile(style(
        "stop.xslt", "<xsl:template match=\"/\"><xsl:message terminate=\"yes\">no jobs</xsl:message>"
                     "</xsl:template>"));
    const Error stopped = errorOf([&] { stop.transformToText(m_task); });
    EXPECT_EQ(stopped.kind, ErrorKind::Xslt);
    EXPECT_NE(stopped.reason.find("no jobs"), std::string::npos) << stopped.reason;

    const Stylesheet network = Stylesheet::loadFile(style(
        "net.xslt", "<xsl:template match=\"/\"><xsl:copy-of select=\"document('http://127.0.0.1:9/x.xml')\"/>"
                    "</xsl:template>"));
    const Error refused = errorOf([&] { network.transformToText(m_task); });
    EXPECT_EQ(refused.kind, ErrorKind::Xslt);
    EXPECT_NE(refused.reason.find("127.0.0.1"), std::string::npos) << refused.reason;
}

}  // namespace
}  // namespace platform::xml
