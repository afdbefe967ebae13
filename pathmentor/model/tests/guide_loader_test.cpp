// Loading guide files and chapter pairs from small fixture files laid out as
// a module lays them out: guide and text files in m/lang/ua/guide/, structure
// files in m/guide/, reached through the guide's basepath.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "pathmentor/model/guide_loader.h"
#include "platform/message_box.h"
#include "testsupport/temp_dir.h"

namespace pathmentor {
namespace {

const std::string kXml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const std::string kUnsupported = "This version of th guide file is not supported.";

// Chapter "alg" (id 3): a formula item with a choice of two formulas, a plain
// item and a graph item in one group; a second group with a formula item.
const std::string kAlgStructure = kXml + R"(<CCH id="3" guid="ch-alg">
  <GCH guid="g-one">
    <TR guid="tr-sum" view="1" type="1" needDialog="1" needAllExpr="0" aplan="101">
      <FORMULAS oneForm="0">
        <FORMULA sign1="4" sign2="7">a+b=b+a</FORMULA>
        <FORMULA sign1="6">a*b=b*a</FORMULA>
      </FORMULAS>
    </TR>
    <TR guid="tr-plain" view="3" type="3" needDialog="0" needAllExpr="1" aplan="2001" howToDoExtended="more"/>
    <TR guid="tr-graph" view="2" type="1" needDialog="0" needAllExpr="0" aplan="107"><GRAPH>&lt;gr:task A="1"/&gt;</GRAPH></TR>
  </GCH>
  <GCH guid="g-two">
    <TR guid="tr-own" view="1" type="1" needDialog="1" needAllExpr="0" aplan="5351">
      <FORMULAS oneForm="1"><FORMULA sign1="9" sign2="8">a=b</FORMULA></FORMULAS>
    </TR>
  </GCH>
</CCH>)";
const std::string kAlgText = kXml + R"(<CCH name="Algebra" tabname="Alg">
  <GCH guid="G-ONE" name="First group">
    <TR guid="TR-Sum" name="Swap" action="Swapping" howtodo="Select it" mathexpl="Sums commute"/>
    <TR guid="tr-plain" name="Plain" action="a" howtodo="h" mathexpl="m"/>
    <TR guid="tr-graph" name="Graph" action="a" howtodo="h" mathexpl="m"/>
  </GCH>
  <GCH guid="g-two" name="Second group">
    <TR guid="tr-own" name="Own step" action="a" howtodo="h" mathexpl="m"/>
  </GCH>
</CCH>)";

// A one-item chapter with the given id, guid prefix and item attributes.
std::string smallStructure(const std::string& id, const std::string& guid, const std::string& item)
{
    return kXml + "<CCH id=\"" + id + "\" guid=\"" + guid + "\"><GCH guid=\"" + guid +
           "-g\"><TR guid=\"" + guid + "-tr\" " + item + "/></GCH></CCH>";
}
std::string smallText(const std::string& guid, const std::string& name)
{
    return kXml + "<CCH name=\"" + name + "\" tabname=\"" + name + "\"><GCH guid=\"" + guid + "-g\" name=\"G " +
           name + "\"><TR guid=\"" + guid + "-tr\" name=\"T " + name +
           "\" action=\"a\" howtodo=\"h\" mathexpl=\"m\"/></GCH></CCH>";
}
const std::string kPlainItem = R"(view="3" type="1" needDialog="0" needAllExpr="0" aplan="7")";

class GuideLoaderTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setMessageRecorder(&m_recorder); }
    void TearDown() override { platform::setMessageRecorder(nullptr); }

    std::string guideFile(const std::string& name) const { return m_dir.file("m/lang/ua/guide/" + name + ".xml"); }
    std::string writeGuide(const std::string& name, const std::string& body, const std::string& version = "1",
                           const std::string& basepath = "../../../guide/") const
    {
        return m_dir.write("m/lang/ua/guide/" + name + ".xml",
                           kXml + "<guide version=\"" + version + "\" basepath=\"" + basepath + "\">" + body +
                               "</guide>");
    }
    void writePair(const std::string& name, const std::string& structure, const std::string& text) const
    {
        m_dir.write("m/guide/" + name + ".xcch", structure);
        m_dir.write("m/lang/ua/guide/" + name + ".xccl", text);
    }
    void writeSmallPair(const std::string& name, int id) const
    {
        writePair(name, smallStructure(std::to_string(id), name, kPlainItem), smallText(name, name));
    }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const auto& message : m_recorder.messages)
            texts.push_back(message.text);
        return texts;
    }
    static std::vector<std::string> namesOf(const ChapterList& chapters)
    {
        std::vector<std::string> names;
        for (const auto& chapter : chapters)
            names.push_back(chapter->name);
        return names;
    }

    testsupport::TempDir m_dir;
    platform::MessageRecorder m_recorder;
};

TEST_F(GuideLoaderTest, ReadsAChapterPairThroughTheBasePath)
{
    writePair("alg", kAlgStructure, kAlgText);
    const std::string guide = writeGuide("stepwell", R"(<cchfile fileName="alg"/>)");

    ChapterList chapters;
    ASSERT_TRUE(loadGuide(guide, chapters));
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(chapters.size(), 1u);
    const GuideChapter& chapter = *chapters[0];
    EXPECT_EQ(chapter.id, 3);
    EXPECT_EQ(chapter.guid, "ch-alg");
    EXPECT_EQ(chapter.name, "Algebra");
    EXPECT_EQ(chapter.tabName, "Alg");
    ASSERT_EQ(chapter.groups.size(), 2u);
    EXPECT_EQ(chapter.groups[0]->name, "First group");
    EXPECT_EQ(chapter.groups[1]->name, "Second group");
    ASSERT_EQ(chapter.groups[0]->items.size(), 3u);

    // Guids of the text file are found without regard to case.
    const TransformationItem& sum = *chapter.groups[0]->items[0];
    EXPECT_EQ(sum.view, ItemView::Formula);
    EXPECT_EQ(sum.aplan, 101);
    EXPECT_EQ(sum.type, 1);
    EXPECT_TRUE(sum.needDialog);
    EXPECT_FALSE(sum.needAllExpr);
    EXPECT_EQ(sum.name, "Swap");
    EXPECT_EQ(sum.action, "Swapping");
    EXPECT_EQ(sum.howtodo, "Select it");
    EXPECT_EQ(sum.mathexpl, "Sums commute");
    EXPECT_TRUE(sum.formulaChoice);  // oneForm="0"
    ASSERT_EQ(sum.formulas.size(), 2u);
    EXPECT_EQ(sum.formulas[0].text, "a+b=b+a");
    EXPECT_EQ(sum.formulas[0].sign1, 4);
    EXPECT_EQ(sum.formulas[0].sign2, 7);
    EXPECT_EQ(sum.formulas[1].text, "a*b=b*a");
    EXPECT_EQ(sum.formulas[1].sign1, 6);
    EXPECT_EQ(sum.formulas[1].sign2, 0);  // optional, 0 when missing

    const TransformationItem& plain = *chapter.groups[0]->items[1];
    EXPECT_EQ(plain.view, ItemView::Plain);
    EXPECT_TRUE(plain.needAllExpr);
    EXPECT_EQ(plain.howToDoExtended, "more");

    const TransformationItem& graph = *chapter.groups[0]->items[2];
    EXPECT_EQ(graph.view, ItemView::Graph);
    EXPECT_EQ(graph.graphText, "<gr:task A=\"1\"/>");

    const TransformationItem& own = *chapter.groups[1]->items[0];
    EXPECT_EQ(own.aplan, 5351);
    EXPECT_FALSE(own.formulaChoice);  // oneForm="1"
    ASSERT_EQ(own.formulas.size(), 1u);
    EXPECT_EQ(own.formulas[0].text, "a=b");
}

TEST_F(GuideLoaderTest, ReadsIntegersAsAtoiDoesAndBackslashesAsSlashes)
{
    writePair("sub/odd",
              smallStructure(" -4th", "odd", R"(view=" 3x" type=" 7 " needDialog="yes" needAllExpr="2" aplan="12abc")"),
              smallText("odd", "Odd"));
    const std::string guide = writeGuide("g", R"(<cchfile fileName="sub\odd"/>)", "1", "..\\..\\..\\guide");

    ChapterList chapters;
    ASSERT_TRUE(loadGuide(guide, chapters));
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(chapters.size(), 1u);
    EXPECT_EQ(chapters[0]->id, -4);
    const TransformationItem& item = *chapters[0]->groups[0]->items[0];
    EXPECT_EQ(item.view, ItemView::Plain);
    EXPECT_EQ(item.type, 7);
    EXPECT_FALSE(item.needDialog);
    EXPECT_TRUE(item.needAllExpr);
    EXPECT_EQ(item.aplan, 12);
}

TEST_F(GuideLoaderTest, FormulasAndGraphsBelongToTheItemTheyStandIn)
{
    // A plain item holding FORMULAS and a GRAPH gives them to no earlier item.
    writePair("own",
              kXml + R"(<CCH id="1" guid="c"><GCH guid="g">
  <TR guid="f" view="1" type="1" needDialog="0" needAllExpr="0" aplan="1">
    <FORMULAS oneForm="1"><FORMULA>x</FORMULA></FORMULAS></TR>
  <TR guid="gr" view="2" type="1" needDialog="0" needAllExpr="0" aplan="2"><GRAPH>g</GRAPH></TR>
  <TR guid="p" view="3" type="1" needDialog="0" needAllExpr="0" aplan="3">
    <FORMULAS oneForm="0"><FORMULA>y</FORMULA></FORMULAS><GRAPH>z</GRAPH></TR>
</GCH></CCH>)",
              kXml + R"(<CCH name="Own" tabname="Own"/>)");
    ChapterList chapters;
    ASSERT_TRUE(loadGuide(writeGuide("g", R"(<cchfile fileName="own"/>)"), chapters));
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(chapters.size(), 1u);
    const auto& items = chapters[0]->groups[0]->items;
    ASSERT_EQ(items.size(), 3u);
    ASSERT_EQ(items[0]->formulas.size(), 1u);
    EXPECT_EQ(items[0]->formulas[0].text, "x");
    EXPECT_FALSE(items[0]->formulaChoice);
    EXPECT_EQ(items[1]->graphText, "g");
    EXPECT_TRUE(items[2]->formulas.empty());
    EXPECT_TRUE(items[2]->graphText.empty());
}

TEST_F(GuideLoaderTest, OnlyVersionOneIsRead)
{
    writeSmallPair("one", 1);
    writeSmallPair("two", 2);
    struct Case {
        const char* name;
        std::string version;
        std::string body;
        std::vector<std::string> chapters;
        int unsupportedMessages;
    };
    const std::vector<Case> cases = {
        {"version 1", "1", R"(<cchfile fileName="one"/><cchfile fileName="two"/>)", {"one", "two"}, 0},
        {"version 2: the guide and each chapter", "2", R"(<cchfile fileName="one"/><cchfile fileName="two"/>)", {}, 3},
        {"a version that is no number counts 0", "x", R"(<include guide="other.xml"/>)", {}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_recorder.messages.clear();
        ChapterList chapters;
        EXPECT_TRUE(loadGuide(writeGuide("g", c.body, c.version), chapters));
        EXPECT_EQ(namesOf(chapters), c.chapters);
        EXPECT_EQ(messages(), std::vector<std::string>(c.unsupportedMessages, kUnsupported));
        for (const auto& message : m_recorder.messages) {
            EXPECT_EQ(message.caption, "Loading error.");
            EXPECT_EQ(message.icon, platform::MessageIcon::Error);
        }
    }

    // Elements before the guide element count version 0.
    m_recorder.messages.clear();
    const std::string early = m_dir.write("m/lang/ua/guide/early.xml",
                                          kXml + R"(<root><cchfile fileName="one"/><guide version="1" )"
                                                 R"(basepath="../../../guide/"/><cchfile fileName="two"/></root>)");
    ChapterList chapters;
    EXPECT_TRUE(loadGuide(early, chapters));
    EXPECT_EQ(namesOf(chapters), std::vector<std::string>{"two"});
    EXPECT_EQ(messages(), std::vector<std::string>{kUnsupported});
}

TEST_F(GuideLoaderTest, AGuideFileThatCannotBeReadFails)
{
    writeSmallPair("one", 1);
    struct Case {
        const char* name;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"malformed", kXml + R"(<guide version="1" basepath="../../../guide/"><cchfile fileName="one"></guide>)"},
        {"guide without version", kXml + R"(<guide basepath="../../../guide/"/>)"},
        {"cchfile without fileName", kXml + R"(<guide version="1" basepath="../../../guide/"><cchfile/></guide>)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChapterList chapters;
        EXPECT_FALSE(loadGuide(m_dir.write("m/lang/ua/guide/bad.xml", c.text), chapters));
        EXPECT_TRUE(messages().empty());
    }
    ChapterList chapters;
    EXPECT_FALSE(loadGuide(guideFile("missing"), chapters));
    EXPECT_TRUE(chapters.empty());
}

TEST_F(GuideLoaderTest, AFailedPairIsReportedAndTheOthersStillLoad)
{
    writeSmallPair("one", 1);
    writeSmallPair("three", 3);
    struct Case {
        const char* name;
        std::string structure;
        std::string text;
    };
    const std::string goodText = smallText("bad", "Bad");
    const std::vector<Case> cases = {
        {"view 4", smallStructure("2", "bad", R"(view="4" type="1" needDialog="0" needAllExpr="0" aplan="7")"),
         goodText},
        {"view missing", smallStructure("2", "bad", R"(type="1" needDialog="0" needAllExpr="0" aplan="7")"), goodText},
        {"TR without aplan", smallStructure("2", "bad", R"(view="3" type="1" needDialog="0" needAllExpr="0")"),
         goodText},
        {"CCH without guid", kXml + R"(<CCH id="2"/>)", goodText},
        {"text TR without mathexpl", smallStructure("2", "bad", kPlainItem),
         kXml + R"(<CCH name="B" tabname="B"><GCH guid="bad-g" name="G"><TR guid="bad-tr" name="T" action="a" )"
                R"(howtodo="h"/></GCH></CCH>)"},
        {"FORMULAS without oneForm",
         kXml + R"(<CCH id="2" guid="bad"><GCH guid="bad-g"><TR guid="bad-tr" view="1" type="1" needDialog="0" )"
                R"(needAllExpr="0" aplan="7"><FORMULAS><FORMULA>x</FORMULA></FORMULAS></TR></GCH></CCH>)",
         goodText},
        {"text file names an item the structure file did not make", smallStructure("2", "bad", kPlainItem),
         kXml + R"(<CCH name="B" tabname="B"><GCH guid="bad-g" name="G"><TR guid="other" name="T" action="a" )"
                R"(howtodo="h" mathexpl="m"/></GCH></CCH>)"},
        {"text file names a group the structure file did not make", smallStructure("2", "bad", kPlainItem),
         kXml + R"(<CCH name="B" tabname="B"><GCH guid="bad-x" name="G"/></CCH>)"},
        {"an item guid used as a group guid", smallStructure("2", "bad", kPlainItem),
         kXml + R"(<CCH name="B" tabname="B"><GCH guid="bad-tr" name="G"/></CCH>)"},
        {"malformed text file", smallStructure("2", "bad", kPlainItem), kXml + "<CCH name=\"B\" tabname=\"B\">"},
        {"missing text file", smallStructure("2", "bad", kPlainItem), ""},
        {"GCH outside a chapter", kXml + R"(<GCH guid="g"/>)", goodText},
        {"TR outside a group", kXml + R"(<CCH id="2" guid="bad"><TR guid="bad-tr" )" + kPlainItem + "/></CCH>",
         goodText},
    };
    const std::string guide =
        writeGuide("g", R"(<cchfile fileName="one"/><cchfile fileName="bad"/><cchfile fileName="three"/>)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_recorder.messages.clear();
        m_dir.write("m/guide/bad.xcch", c.structure);
        std::filesystem::remove(m_dir.file("m/lang/ua/guide/bad.xccl"));
        if (!c.text.empty())
            m_dir.write("m/lang/ua/guide/bad.xccl", c.text);
        ChapterList chapters;
        EXPECT_TRUE(loadGuide(guide, chapters));
        EXPECT_EQ(namesOf(chapters), (std::vector<std::string>{"one", "three"}));
        ASSERT_EQ(m_recorder.messages.size(), 1u);
        EXPECT_EQ(m_recorder.messages[0].text, "Error reading file: bad.");
        EXPECT_EQ(m_recorder.messages[0].caption, "Loading error.");
        EXPECT_EQ(m_recorder.messages[0].icon, platform::MessageIcon::Error);
    }
}

TEST_F(GuideLoaderTest, IncludeReadsAnotherGuideInPlace)
{
    writeSmallPair("one", 1);
    writeSmallPair("two", 2);
    writeSmallPair("three", 3);
    // The included guide sits in a sibling folder with its own base path.
    m_dir.write("m/lang/ua/extra/more.xml",
                kXml + R"(<guide version="1" basepath="../../../guide"><cchfile fileName="../guide/two"/></guide>)");
    writeGuide("g", R"(<cchfile fileName="one"/><include guide="../extra/more.xml"/><cchfile fileName="three"/>)");
    // two.xccl is looked up beside the included guide: m/lang/ua/extra/../guide/two.xccl.
    ChapterList chapters;
    ASSERT_TRUE(loadGuide(guideFile("g"), chapters));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(namesOf(chapters), (std::vector<std::string>{"one", "two", "three"}));

    // A missing or broken included guide adds nothing and is not reported.
    writeGuide("h", R"(<include guide="nowhere.xml"/><cchfile fileName="three"/>)");
    chapters.clear();
    ASSERT_TRUE(loadGuide(guideFile("h"), chapters));
    EXPECT_EQ(namesOf(chapters), std::vector<std::string>{"three"});
    EXPECT_TRUE(messages().empty());
}

TEST_F(GuideLoaderTest, AGuideIncludingItselfIsReadOnce)
{
    writeSmallPair("one", 1);
    writeSmallPair("two", 2);
    writeGuide("self", R"(<cchfile fileName="one"/><include guide="self.xml"/><include guide="./SELF.xml"/>)");
    ChapterList chapters;
    ASSERT_TRUE(loadGuide(guideFile("self"), chapters));
    EXPECT_EQ(namesOf(chapters), std::vector<std::string>{"one"});

    // Two guides including each other; a guide included twice side by side
    // is read twice.
    writeGuide("a", R"(<cchfile fileName="one"/><include guide="b.xml"/>)");
    writeGuide("b", R"(<cchfile fileName="two"/><include guide="a.xml"/>)");
    writeGuide("twice", R"(<include guide="b.xml"/><include guide="b.xml"/>)");
    chapters.clear();
    ASSERT_TRUE(loadGuide(guideFile("a"), chapters));
    EXPECT_EQ(namesOf(chapters), (std::vector<std::string>{"one", "two"}));
    chapters.clear();
    ASSERT_TRUE(loadGuide(guideFile("twice"), chapters));
    EXPECT_EQ(namesOf(chapters), (std::vector<std::string>{"two", "one", "two", "one"}));
    EXPECT_TRUE(messages().empty());
}

TEST_F(GuideLoaderTest, InheritcchAddsToTheChapterWithThatGuid)
{
    writePair("alg", kAlgStructure, kAlgText);
    // The inheriting pair renumbers the chapter, adds an item to g-one,
    // removes tr-plain from g-one (tr-own of g-two has another guid and
    // stays), re-declares tr-sum with one formula, and adds a group.
    writePair("more",
              kXml + R"(<CCH id="8" guid="ch-more">
  <GCH guid="G-One">
    <TR guid="TR-SUM" view="1" type="2" needDialog="0" needAllExpr="1" aplan="111">
      <FORMULAS oneForm="1"><FORMULA sign1="3">c=c</FORMULA></FORMULAS>
    </TR>
    <REMOVETR guid="TR-PLAIN"/>
    <REMOVETR guid="tr-own"/>
    <TR guid="tr-new" view="3" type="1" needDialog="0" needAllExpr="0" aplan="5"/>
  </GCH>
  <GCH guid="g-three"><TR guid="tr-3" view="3" type="1" needDialog="0" needAllExpr="0" aplan="6"/></GCH>
</CCH>)",
              kXml + R"(<CCH name="" tabname="More">
  <GCH guid="g-one" name=""/>
  <GCH guid="g-three" name="Third"/>
  <TR guid="tr-sum" name="Swap again" action="a2" howtodo="h2" mathexpl="m2"/>
  <TR guid="tr-new" name="New" action="a" howtodo="h" mathexpl="m"/>
  <TR guid="tr-3" name="Three" action="a" howtodo="h" mathexpl="m"/>
</CCH>)");

    struct Case {
        const char* name;
        std::string inheritFrom;
        bool inherits;
    };
    const std::vector<Case> cases = {
        {"found", "ch-alg", true},
        {"the guid is compared exactly", "CH-ALG", false},
        {"not found: a chapter of its own", "ch-none", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string guide = writeGuide(
            "g", R"(<cchfile fileName="alg"/><inheritcch fileName="more" inheritfromid=")" + c.inheritFrom + "\"/>");
        ChapterList chapters;
        ASSERT_TRUE(loadGuide(guide, chapters));
        EXPECT_TRUE(messages().empty());
        if (!c.inherits) {
            ASSERT_EQ(chapters.size(), 2u);
            EXPECT_EQ(chapters[0]->id, 3);
            EXPECT_EQ(chapters[0]->groups[0]->items.size(), 3u);
            const GuideChapter& own = *chapters[1];
            EXPECT_EQ(own.id, 8);
            EXPECT_EQ(own.tabName, "More");
            EXPECT_EQ(own.name, "");
            ASSERT_EQ(own.groups.size(), 2u);
            // REMOVETR finds nothing of another chapter.
            EXPECT_EQ(own.groups[0]->items.size(), 2u);
            continue;
        }
        ASSERT_EQ(chapters.size(), 1u);
        const GuideChapter& chapter = *chapters[0];
        EXPECT_EQ(chapter.id, 8);
        EXPECT_EQ(chapter.guid, "ch-more");
        EXPECT_EQ(chapter.name, "Algebra");  // an empty name keeps the old one
        EXPECT_EQ(chapter.tabName, "More");
        ASSERT_EQ(chapter.groups.size(), 3u);
        EXPECT_EQ(chapter.groups[0]->name, "First group");
        EXPECT_EQ(chapter.groups[2]->name, "Third");

        const auto& one = chapter.groups[0]->items;
        ASSERT_EQ(one.size(), 3u);
        EXPECT_EQ(one[0]->guid, "tr-sum");
        EXPECT_EQ(one[0]->view, ItemView::Formula);
        EXPECT_EQ(one[0]->type, 2);
        EXPECT_EQ(one[0]->aplan, 111);
        EXPECT_EQ(one[0]->name, "Swap again");
        EXPECT_FALSE(one[0]->formulaChoice);
        ASSERT_EQ(one[0]->formulas.size(), 1u);
        EXPECT_EQ(one[0]->formulas[0].text, "c=c");
        EXPECT_EQ(one[1]->guid, "tr-graph");
        EXPECT_EQ(one[2]->guid, "tr-new");
        EXPECT_EQ(one[2]->name, "New");
        ASSERT_EQ(chapter.groups[1]->items.size(), 1u);
        EXPECT_EQ(chapter.groups[1]->items[0]->guid, "tr-own");
    }
}

TEST_F(GuideLoaderTest, RemoveTrBeforeAnyItemAndTheTextOfARemovedItem)
{
    writePair("alg", kAlgStructure, kAlgText);
    // The first REMOVETR comes before any TR of this pair and does nothing;
    // the second removes an item the text file still names.
    writePair("more",
              kXml + R"(<CCH id="3" guid="ch-alg"><GCH guid="g-one"><REMOVETR guid="tr-sum"/>
    <TR guid="tr-late" view="1" type="1" needDialog="0" needAllExpr="0" aplan="9"/>
    <REMOVETR guid="tr-late"/><REMOVETR guid="tr-graph"/></GCH></CCH>)",
              kXml + R"(<CCH name="" tabname=""><TR guid="tr-late" name="Late" action="a" howtodo="h" mathexpl="m"/></CCH>)");
    ChapterList chapters;
    ASSERT_TRUE(
        loadGuide(writeGuide("g", R"(<cchfile fileName="alg"/><inheritcch fileName="more" inheritfromid="ch-alg"/>)"),
                  chapters));
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(chapters.size(), 1u);
    const auto& items = chapters[0]->groups[0]->items;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->guid, "tr-sum");
    EXPECT_EQ(items[1]->guid, "tr-plain");
}

TEST_F(GuideLoaderTest, AnInheritingPairThatFailsKeepsTheOtherChapters)
{
    writePair("alg", kAlgStructure, kAlgText);
    writePair("more", smallStructure("4", "more", R"(view="9" type="1" needDialog="0" needAllExpr="0" aplan="7")"),
              smallText("more", "More"));
    ChapterList chapters;
    ASSERT_TRUE(
        loadGuide(writeGuide("g", R"(<cchfile fileName="alg"/><inheritcch fileName="more" inheritfromid="ch-alg"/>)"),
                  chapters));
    EXPECT_EQ(messages(), std::vector<std::string>{"Error reading file: more."});
    ASSERT_EQ(chapters.size(), 1u);
    EXPECT_EQ(chapters[0]->name, "Algebra");
}

TEST(GuidePaths, JoinDropsOneComponentPerParentStep)
{
    struct Case {
        std::string directory, relative, joined;
    };
    const std::vector<Case> cases = {
        {"m/lang/ua/guide", "../../../guide/", "m/guide/"},
        {"/root/m/lang/ua/guide", "../../../guide/", "/root/m/guide/"},
        {"m/lang/ua/guide", "sub/x.xml", "m/lang/ua/guide/sub/x.xml"},
        {"m/lang/ua/guide", "", "m/lang/ua/guide/"},
        // Everything up to the first "../" goes with it, wherever it stands.
        {"a/b/c", "x/../y", "a/b/y"},
        {"a/b/c", "../x/../y", "a/y"},
        // Past the top of a relative or absolute path.
        {"a", "../../x", "../x"},
        {"/a", "../../x", "/x"},
        {".", "../x", "../x"},
        {"..", "../x", "../../x"},
        {"a/b/", "../x", "a/x"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(joinGuidePath(c.directory, c.relative), c.joined) << c.directory << " + " << c.relative;

    EXPECT_EQ(guideDirectory("m/lang/ua/guide/stepwell.xml"), "m/lang/ua/guide");
    EXPECT_EQ(guideDirectory("C:\\m\\guide.xml"), "C:/m");
    EXPECT_EQ(guideDirectory("guide.xml"), ".");
    EXPECT_EQ(guideDirectory("/guide.xml"), "");
}

TEST_F(GuideLoaderTest, ReadChapterPairWithoutAGuide)
{
    const std::string structure = m_dir.write("s.xcch", kAlgStructure);
    const std::string text = m_dir.write("t.xccl", kAlgText);
    ChapterList chapters;
    EXPECT_TRUE(readChapterPair(structure, text, std::nullopt, chapters));
    EXPECT_TRUE(readChapterPair(structure, m_dir.file("none.xccl"), std::nullopt, chapters) == false);
    ASSERT_EQ(chapters.size(), 1u);
    // A structure file without a chapter reads nothing and adds nothing.
    EXPECT_TRUE(readChapterPair(m_dir.write("empty.xcch", kXml + "<root/>"), text, std::nullopt, chapters));
    EXPECT_EQ(chapters.size(), 1u);
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace pathmentor
