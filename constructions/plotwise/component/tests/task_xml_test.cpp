// The task's GraphTaskXml: the text byte for byte, read back, and the
// reader's hold on odd texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "constructions/plotwise/component/plotwise_ids.h"
#include "constructions/plotwise/component/tests/plotwise_host.h"

namespace constructions::plotwise::test {
namespace {

constexpr const char* kDefaultTask =
    "<gr:task xmlns:gr=\"urn:pelmarin:tessaly:graph\" abscissName=\"x\" ordinateName=\"y\" "
    "abscissScale=\"20.000000\" ordinateScale=\"20.000000\" gridColor=\"16763080\" clientOriginPointX=\"0\" "
    "clientOriginPointY=\"0\" gridWidth=\"1\" showGrid=\"1\"></gr:task>";

using TaskXml = PlotwiseHost;

std::string xmlOf(ITask* task)
{
    std::string text;
    EXPECT_EQ(task->get_xml(&text), platform::S_OK);
    return text;
}

TEST_F(TaskXml, DefaultTaskAndBodyAreWrittenByteForByte)
{
    const ComPtr<ITask> task = newTask();
    EXPECT_EQ(xmlOf(task.get()), kDefaultTask);

    const auto first = make<TestConstruction>();
    const auto second = make<TestConstruction>();
    second->text = "<gr:other/>";
    ASSERT_EQ(task->Add(first.get()), platform::S_OK);
    ASSERT_EQ(task->Add(second.get()), platform::S_OK);
    std::string expected = kDefaultTask;
    expected.insert(expected.size() - std::string("</gr:task>").size(),
                    "<gr:testConstr color=\"255\" name=\"t\"/><gr:other/>");
    EXPECT_EQ(xmlOf(task.get()), expected);

    // Through dispatch too.
    DispatchDriver driver(ComPtr<IDispatch>(task.get()));
    EXPECT_EQ(driver.getProperty<std::string>(disp::xml), expected);
}

TEST_F(TaskXml, AttributesReadBackIntoANewTask)
{
    const ComPtr<ITask> task = newTask();
    task->put_AbscissName("a\"<b>&c");
    task->put_OrdinateName("ось");
    task->put_AbscissScale(12.5);
    task->put_OrdinateScale(-3.25);
    task->put_GridColor(0x123456);
    task->put_ClientOriginPointX(-17);
    task->put_ClientOriginPointY(250);
    task->put_GridWidth(3);
    task->put_ShowGrid(0);
    const std::string text = xmlOf(task.get());

    const ComPtr<ITask> copy = newTask();
    ASSERT_EQ(copy->put_xml(text), platform::S_OK);
    std::string name;
    double scale = 0;
    std::int32_t value = 0;
    copy->get_AbscissName(&name);
    EXPECT_EQ(name, "a\"<b>&c");
    copy->get_OrdinateName(&name);
    EXPECT_EQ(name, "ось");
    copy->get_AbscissScale(&scale);
    EXPECT_EQ(scale, 12.5);
    copy->get_OrdinateScale(&scale);
    EXPECT_EQ(scale, -3.25);
    copy->get_GridColor(&value);
    EXPECT_EQ(value, 0x123456);
    copy->get_ClientOriginPointX(&value);
    EXPECT_EQ(value, -17);
    copy->get_ClientOriginPointY(&value);
    EXPECT_EQ(value, 250);
    copy->get_GridWidth(&value);
    EXPECT_EQ(value, 3);
    copy->get_ShowGrid(&value);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(xmlOf(copy.get()), text);
}

// Each row: a task text; the attributes it gives; whether reading ends well.
struct ReadCase {
    const char* what;
    std::string text;
    double abscissScale;
    std::int32_t originX;
    std::string abscissName;
    HRESULT hr;
};

TEST_F(TaskXml, ReaderCases)
{
    const std::string head = "<gr:task xmlns:gr=\"urn:pelmarin:tessaly:graph\" abscissName=\"u\" "
                             "abscissScale=\"8.000000\" clientOriginPointX=\"5\">";
    const ReadCase cases[] = {
        {"line breaks between elements and before the end tag", head + "\n  \n</gr:task>", 8.0, 5, "u",
         platform::S_OK},
        {"blanks only before the end tag end the walk", head + "   </gr:task>", 8.0, 5, "u", platform::S_OK},
        {"a missing end tag is the text's end", head + "\n", 8.0, 5, "u", platform::S_OK},
        {"an unknown element fails and reading goes on", head + "<gr:unknown a=\"1\"/>\n<gr:other/></gr:task>",
         8.0, 5, "u", platform::E_FAIL},
        {"an element without its end tag stops the walk", head + "<gr:lineConstr color=\"1\">", 8.0, 5, "u",
         platform::S_OK},
        {"no task head: no body read", "<gr:pointConstr/>", 20.0, 0, "", platform::S_OK},
        {"a zero scale keeps the old one", "<gr:task abscissScale=\"0\"></gr:task>", 20.0, 0, "",
         platform::S_OK},
        {"a NaN scale keeps the old one", "<gr:task abscissScale=\"nan\"></gr:task>", 20.0, 0, "",
         platform::S_OK},
        {"an infinite scale keeps the old one", "<gr:task abscissScale=\"1e999\"></gr:task>", 20.0, 0, "",
         platform::S_OK},
        {"an origin beyond 32 bits is narrowed", "<gr:task clientOriginPointX=\"99999999999\"></gr:task>", 20.0,
         std::numeric_limits<std::int32_t>::max(), "", platform::S_OK},
        {"a scale written as zero keeps the old one", "<gr:task abscissScale=\"0.0000001\"></gr:task>", 20.0,
         0, "", platform::S_OK},
        {"a value holding another attribute's name=\" is not taken for it",
         "<gr:task abscissName=\"a clientOriginPointX=\" clientOriginPointX=\"9\"></gr:task>", 20.0, 9,
         "a clientOriginPointX=", platform::S_OK},
        {"attributes match whole names only",
         "<gr:task xabscissName=\"no\" abscissName=\"yes\" myabscissScale=\"3\"></gr:task>", 20.0, 0, "yes",
         platform::S_OK},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ComPtr<ITask> task = newTask();
        EXPECT_EQ(task->put_xml(c.text), c.hr);
        double scale = 0;
        std::int32_t origin = 0;
        std::string name;
        task->get_AbscissScale(&scale);
        task->get_ClientOriginPointX(&origin);
        task->get_AbscissName(&name);
        EXPECT_EQ(scale, c.abscissScale);
        EXPECT_EQ(origin, c.originX);
        EXPECT_EQ(name, c.abscissName);
        IConstruction* none = nullptr;
        task->GetNext(&none);
        EXPECT_EQ(none, nullptr) << "no construction element in the text";
    }
}

TEST_F(TaskXml, ElementsWithoutAClassAreNotMade)
{
    const ComPtr<ITask> task = newTask();
    for (const char* text : {"<gr:lineConstrX/>", "<gr:nothing/>", "<gr:arbitraryConstrX/>", ""}) {
        SCOPED_TRACE(text);
        ComPtr<IConstruction> made;
        EXPECT_EQ(task->CreateConstructionFromXml(text, made.put()), platform::E_NOTIMPL);
        EXPECT_FALSE(made);
        EXPECT_EQ(task->AddFromXml(text), platform::E_FAIL);
    }
}

}  // namespace
}  // namespace constructions::plotwise::test
