#include <gtest/gtest.h>

#include "platform/text.h"
#include "shared/language.h"
#include "testsupport/temp_dir.h"

namespace shared {
namespace {

std::string lngFile(const std::string& encoding, const std::string& items)
{
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<lang>\n" + items + "</lang>\n";
}

TEST(LanguageTable, ItemsEscapesAndOverrides)
{
    testsupport::TempDir dir;
    const std::string file = dir.write("a.lng", lngFile("UTF-8",
        "<item key='two' val='a\\nb'/>\n"
        "<item key='lt' val='&amp;lt;b&amp;lt;'/>\n"
        "<item key='keep' val='x\\ty\\\\n'/>\n"
        "<group><item key='nested' val='deep'/></group>\n"
        "<Item key='ignored1' val='no'/><items key='ignored2' val='no'/>\n"
        "<item key='dup' val='first'/><item key='dup' val='second'/>\n"
        "<item key='Case' val='upper'/>\n"));
    CLanguageTable table;
    ASSERT_TRUE(table.Load(file)) << table.LastError();
    EXPECT_EQ(table.Get("two"), "a\nb");
    EXPECT_EQ(table.Get("lt"), "<b<");
    EXPECT_EQ(table.Get("keep"), "x\\ty\\\n");  // only backslash-n is an escape
    EXPECT_EQ(table.Get("nested"), "deep");
    EXPECT_EQ(table.Get("ignored1"), "");
    EXPECT_EQ(table.Get("ignored2"), "");
    EXPECT_EQ(table.Get("dup"), "second");
    EXPECT_EQ(table.Get("case"), "");  // keys are case-sensitive
    EXPECT_EQ(table.Get("nothing"), "");
}

TEST(LanguageTable, Utf8AndWindows1251FilesGiveTheSameTexts)
{
    const std::string items = "<item key='title' val='Розв&apos;язати рівняння: ЇЄҐІ ї є ґ і №'/>\n";
    testsupport::TempDir dir;
    const std::string utf8 = dir.write("u.lng", lngFile("UTF-8", items));
    const std::string cp1251 = dir.write("w.lng", platform::text::cp1251FromUtf8(lngFile("windows-1251", items)));
    CLanguageTable a, b;
    ASSERT_TRUE(a.Load(utf8)) << a.LastError();
    ASSERT_TRUE(b.Load(cp1251)) << b.LastError();
    EXPECT_EQ(a.Get("title"), "Розв'язати рівняння: ЇЄҐІ ї є ґ і №");
    EXPECT_EQ(b.Get("title"), a.Get("title"));
}

TEST(LanguageTable, ABrokenItemStopsTheLoadAndKeepsWhatCameBefore)
{
    testsupport::TempDir dir;
    const std::string file = dir.write("a.lng", lngFile("UTF-8",
        "<item key='before' val='1'/>\n<item key='nokey'/>\n<item key='after' val='3'/>\n"));
    CLanguageTable table;
    table.Set("old", "kept");
    EXPECT_FALSE(table.Load(file));
    EXPECT_EQ(table.Get("before"), "1");
    EXPECT_EQ(table.Get("after"), "");
    EXPECT_EQ(table.Get("old"), "kept");
    EXPECT_NE(table.LastError().find(file + ":4"), std::string::npos) << table.LastError();

    const std::string noKey = dir.write("b.lng", lngFile("UTF-8", "<item val='v'/>\n"));
    EXPECT_FALSE(table.Load(noKey));
}

TEST(LanguageTable, MissingAndMalformedFilesLeaveTheTableAsItWas)
{
    testsupport::TempDir dir;
    CLanguageTable table;
    table.Set("k", "v");
    EXPECT_FALSE(table.Load(dir.path() + "missing.lng"));
    EXPECT_NE(table.LastError().find("missing.lng"), std::string::npos);
    EXPECT_FALSE(table.Load(dir.write("bad.lng", "<lang>\n<item key='a' val='b'>\n</lang>")));
    EXPECT_NE(table.LastError().find(":3"), std::string::npos) << table.LastError();
    EXPECT_EQ(table.Size(), 2u);  // "k" and the "a" read before the error
    EXPECT_EQ(table.Get("k"), "v");
}

TEST(LanguageTable, ProgramAndComponentTablesKeepTheirOwnValues)
{
    testsupport::TempDir dir;
    const std::string host = dir.write("stepwell.lng", lngFile("UTF-8", "<item key='appTitle' val='Stepwell'/>\n"));
    const std::string guide = dir.write("guide.lng", lngFile("UTF-8", "<item key='appTitle' val='Guide'/>\n"));
    CLanguageTable guideTable;
    ASSERT_TRUE(LoadLanguageFile(host));
    ASSERT_TRUE(guideTable.Load(guide));
    EXPECT_EQ(GetLangString("appTitle"), "Stepwell");
    EXPECT_EQ(guideTable.Get("appTitle"), "Guide");
    EXPECT_FALSE(LoadLanguageFile(dir.path() + "none.lng"));
    EXPECT_EQ(GetLangString("appTitle"), "Stepwell");
}

}  // namespace
}  // namespace shared
