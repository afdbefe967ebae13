#include <gtest/gtest.h>

#include "platform/xml.h"
#include "stepwell/model/stepwell_config.h"
#include "testsupport/temp_dir.h"

namespace stepwell {
namespace {

TEST(StepwellConfig, SampleModuleFile)
{
    const StepwellConfig config = LoadStepwellConfig(SAMPLE_CONFIG);
    ASSERT_EQ(config.menu.groups.size(), 3u);
    EXPECT_EQ(config.menu.groups[1].caption, "Рівняння");
    ASSERT_EQ(config.itemsByCommand.size(), 7u);
    const NewTaskItem* item = config.FindItem(32751);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->caption, "Лінійне рівняння");
    EXPECT_EQ(item->taskType, "linear");
    EXPECT_EQ(item->content, "Розв'яжіть рівняння.");
    EXPECT_EQ(config.FindItem(32757), nullptr);

    ASSERT_EQ(config.taskTypes.size(), 7u);
    const TaskTypeRecord* text = config.FindTaskType("textequation");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->aplan, 2101);
    EXPECT_EQ(text->checkType, "hidans");
    EXPECT_EQ(text->guideContent, "<GUIDE version=\"1.0\" cch=\";1;2;5;\" answers=\"1371;1372;\"/>");
    EXPECT_EQ(config.FindTaskType("linear")->aplan, -1);
    EXPECT_EQ(config.FindTaskType("Linear"), nullptr);
}

TEST(StepwellConfig, GroupsBeforeItemsWithOneRunningId)
{
    const StepwellConfig config = ParseStepwellConfig(
        "<CONFIG><NEWTASKMENU>"
        "<MENUITEM caption=\"top\" tasktype=\"t\">Solve <math><mi>x</mi></math> &amp; more</MENUITEM>"
        "<MENUGROUP caption=\"A\"><MENUITEM caption=\"a1\" tasktype=\"a\"/>"
        "<MENUGROUP caption=\"A.B\"><MENUITEM caption=\"b1\" tasktype=\"b\">x</MENUITEM></MENUGROUP></MENUGROUP>"
        "</NEWTASKMENU><TASKTYPES>"
        "<TASKTYPE id=\"t\" aplan=\" 12abc\" checkType=\"fromType\"><GUIDE a=\"1\"><CH/></GUIDE></TASKTYPE>"
        "<TASKTYPE id=\"dup\" aplan=\"1\"/><TASKTYPE id=\"dup\" aplan=\"-3\"/>"
        "</TASKTYPES></CONFIG>");
    // b1 (deepest group) first, then a1, then the top level's own item.
    ASSERT_EQ(config.menu.groups.size(), 1u);
    ASSERT_EQ(config.menu.groups[0].groups.size(), 1u);
    EXPECT_EQ(config.menu.groups[0].groups[0].items.at(0).commandId, 32750);
    EXPECT_EQ(config.menu.groups[0].items.at(0).commandId, 32751);
    const NewTaskItem& top = config.menu.items.at(0);
    EXPECT_EQ(top.commandId, 32752);
    EXPECT_EQ(top.content, "Solve <math><mi>x</mi></math> &amp; more");
    EXPECT_EQ(config.FindTaskType("t")->aplan, 12);
    EXPECT_EQ(config.FindTaskType("t")->checkType, "fromType");
    EXPECT_EQ(config.FindTaskType("t")->guideContent, "<GUIDE a=\"1\"><CH/></GUIDE>");
    EXPECT_EQ(config.FindTaskType("dup")->aplan, -3);
    EXPECT_EQ(config.FindTaskType("dup")->guideContent, "");
}

TEST(StepwellConfig, ItemsPastTheThirtyFirstHaveNoCommand)
{
    std::string text = "<CONFIG><NEWTASKMENU>";
    for (int i = 0; i < 40; ++i)
        text += "<MENUITEM caption=\"i" + std::to_string(i) + "\" tasktype=\"t\"/>";
    text += "</NEWTASKMENU></CONFIG>";
    const StepwellConfig config = ParseStepwellConfig(text);
    ASSERT_EQ(config.menu.items.size(), 40u);
    EXPECT_EQ(config.itemsByCommand.size(), 31u);
    EXPECT_EQ(config.menu.items[30].commandId, kLastNewTaskCommand);
    EXPECT_EQ(config.FindItem(kLastNewTaskCommand)->caption, "i30");
    for (std::size_t i = 31; i < 40; ++i)
        EXPECT_EQ(config.menu.items[i].commandId, 0);
    EXPECT_EQ(config.FindItem(kLastNewTaskCommand + 1), nullptr);
}

TEST(StepwellConfig, BadFilesGiveTheReadersReasonOrNothing)
{
    testsupport::TempDir dir;
    try {
        LoadStepwellConfig(dir.file("missing.xml"));
        FAIL() << "a missing file must not read";
    } catch (const platform::xml::Error& error) {
        EXPECT_EQ(error.kind, platform::xml::ErrorKind::NotFound);
    }
    try {
        LoadStepwellConfig(dir.write("bad.xml", "<CONFIG><NEWTASKMENU></CONFIG>"));
        FAIL() << "a malformed file must not read";
    } catch (const platform::xml::Error& error) {
        EXPECT_EQ(error.kind, platform::xml::ErrorKind::Malformed);
        EXPECT_FALSE(error.reason.empty());
    }
    const StepwellConfig other = ParseStepwellConfig("<OTHER><NEWTASKMENU><MENUITEM caption=\"x\"/></NEWTASKMENU></OTHER>");
    EXPECT_TRUE(other.menu.items.empty());
    EXPECT_TRUE(other.taskTypes.empty());
}

}  // namespace
}  // namespace stepwell
