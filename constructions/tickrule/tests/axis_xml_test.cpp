// The element texts of the number axis: exact writing, reading back, and the
// reader's edge and failure cases.
#include <gtest/gtest.h>

#include <string>

#include "constructions/tickrule/axis_task_xml.h"
#include "constructions/tickrule/tickrule_classes.h"

namespace constructions::tickrule {
namespace {

using platform::E_INVALIDARG;
using platform::S_OK;
using platform::com::ComPtr;
using platform::com::make;
using platform::com::VARIANT_TRUE;

const std::string kNs = "xmlns:na=\"urn:pelmarin:tessaly:axis\"";
const std::string kSep = " \t\t\t\t\t\t\t\t\t\t\t\t ";
const std::string kDefaultPoint =
    "<na:pointConstr " + kNs + " coord=\"0.000000\" formulaTip=\"\" included=\"0\" infinity=\"0\"/>";
const std::string kDefaultInterval = "<na:intervalConstr " + kNs +
                                     " color=\"0\" isSelected=\"0\" name=\"\" showName=\"1\">" + kDefaultPoint +
                                     kDefaultPoint + "</na:intervalConstr>";

std::string taskText(const std::string& name, const std::string& showGrid, const std::string& body)
{
    return "<na:task " + kNs + " abscissName=\"" + name + "\"" + kSep + "abscissScale=\"30.000000\"" + kSep +
           "backColor=\"16777215\"" + kSep + "clientOriginPointX=\"0\"" + kSep + "clientOriginPointY=\"0\"" +
           kSep + "showGrid=\"" + showGrid + "\">" + body + "</na:task>";
}

std::string xmlOf(IXMLSupport* object)
{
    std::string text;
    EXPECT_EQ(object->get_xml(&text), S_OK);
    return text;
}

ComPtr<CInterval> interval(double left, double right)
{
    const ComPtr<CInterval> result = make<CInterval>();
    ComPtr<INumberAxisPoint> point;
    result->get_LeftPoint(point.put());
    point->put_Coordinate(left);
    result->get_RightPoint(point.put());
    point->put_Coordinate(right);
    return result;
}

TEST(AxisXml, DefaultsWriteTheExactTexts)
{
    const ComPtr<CAxisTask> task = make<CAxisTask>();
    EXPECT_EQ(xmlOf(task.get()), taskText("X", "1", ""));
    EXPECT_EQ(xmlOf(make<CNumberAxisPoint>().get()), kDefaultPoint);
    const ComPtr<CInterval> fresh = make<CInterval>();
    EXPECT_EQ(xmlOf(fresh.get()), kDefaultInterval);
    task->Add(fresh.get());
    EXPECT_EQ(xmlOf(task.get()), taskText("X", "1", kDefaultInterval));
}

TEST(AxisXml, TaskReadsBackWholeWithItsIntervalsInOrder)
{
    const ComPtr<CAxisTask> task = make<CAxisTask>();
    task->put_AbscissName("x \"<t>\" & y");
    task->put_AbscissScale(12.5);
    task->put_BackColor(0x00FF8040);
    task->put_ClientOriginPointX(-7);
    task->put_ClientOriginPointY(90);
    const ComPtr<CInterval> first = interval(-1.5, 2);
    first->put_Name("say \"hi\"");
    first->put_Color(0x123456);
    first->put_ShowName(0);
    ComPtr<INumberAxisPoint> point;
    first->get_LeftPoint(point.put());
    point->put_FormulaTip("a>b & \"c\" abscissScale=");
    point->put_Included(VARIANT_TRUE);
    const ComPtr<CInterval> second = interval(0, 0);
    second->get_RightPoint(point.put());
    point->put_Infinity(1);
    task->Add(first.get());
    task->Add(second.get());
    second->put_IsSelected(VARIANT_TRUE);
    const std::string written = xmlOf(task.get());
    EXPECT_NE(written.find("isSelected=\"-1\""), std::string::npos);

    const ComPtr<CAxisTask> read = make<CAxisTask>();
    ASSERT_EQ(read->put_xml(written), S_OK);
    // Read back: the grid flag as -1, no selection; everything else the same.
    std::string again = xmlOf(read.get());
    EXPECT_NE(again.find("showGrid=\"-1\""), std::string::npos);
    std::string expected = written;
    expected.replace(expected.find("showGrid=\"1\""), 12, "showGrid=\"-1\"");
    expected.replace(expected.find("isSelected=\"-1\""), 15, "isSelected=\"0\"");
    EXPECT_EQ(again, expected);
    std::string tip;
    ComPtr<IInterval> readFirst;
    read->MoveFirst();
    read->GetNext(readFirst.put());
    ASSERT_TRUE(readFirst);
    readFirst->get_LeftPoint(point.put());
    point->get_FormulaTip(&tip);
    EXPECT_EQ(tip, "a>b & \"c\" abscissScale=");
    std::string name;
    read->get_AbscissName(&name);
    EXPECT_EQ(name, "x \"<t>\" & y");
}

struct ReadCase {
    const char* what;
    std::string text;
    platform::HRESULT hr;
    std::string name;       // the abscissa name read
    double scale;           // the scale after reading (30 when refused)
    std::int32_t back;      // the back colour read
    int intervals;          // intervals added
};

TEST(AxisXml, TaskReaderEdgeAndFailureCases)
{
    const std::string one = "<na:intervalConstr color=\"5\">" + kDefaultPoint + kDefaultPoint + "</na:intervalConstr>";
    const ReadCase cases[] = {
        {"settings without intervals", taskText("T", "1", ""), S_OK, "T", 30.0, 16777215, 0},
        {"missing task element: empty name, origin 0, intervals still read", one + one, S_OK, "", 30.0, 0, 2},
        {"zero scale refused", "<na:task abscissScale=\"0\" abscissName=\"a\">", S_OK, "a", 30.0, 0, 0},
        {"infinite scale refused", "<na:task abscissScale=\"1e999\">", S_OK, "", 30.0, 0, 0},
        {"key without closing quote reads empty", "<na:task abscissName=\"abc>", S_OK, "", 30.0, 0, 0},
        {"unclosed interval stops; settings and intervals before it stay",
         "<na:task abscissName=\"k\" abscissScale=\"2.5\">" + one + "<na:intervalConstr color=\"1\"", E_INVALIDARG,
         "k", 2.5, 0, 1},
        {"interval without end tag ends the list", one + "<na:intervalConstr color=\"1\">" + kDefaultPoint, S_OK,
         "", 30.0, 0, 1},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ComPtr<CAxisTask> task = make<CAxisTask>();
        EXPECT_EQ(task->put_xml(c.text), c.hr);
        std::string name = "?";
        double scale = 0;
        OLE_COLOR back = 1;
        task->get_AbscissName(&name);
        task->get_AbscissScale(&scale);
        task->get_BackColor(&back);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(scale, c.scale);
        EXPECT_EQ(static_cast<std::int32_t>(back), c.back);
        int count = 0;
        ComPtr<IInterval> each;
        task->MoveFirst();
        while (task->GetNext(each.put()) == S_OK && each)
            ++count;
        EXPECT_EQ(count, c.intervals);
    }
}

TEST(AxisXml, PointAndIntervalReaderCases)
{
    const ComPtr<CNumberAxisPoint> point = make<CNumberAxisPoint>();
    point->put_xml("<na:pointConstr coord=\"1.500000\" formulaTip=\"x\" included=\"7\" infinity=\"65535\"/>");
    double coordinate = 0;
    std::string tip;
    VARIANT_BOOL included{};
    std::int16_t infinity = 0;
    point->get_Coordinate(&coordinate);
    point->get_FormulaTip(&tip);
    point->get_Included(&included);
    point->get_Infinity(&infinity);
    EXPECT_EQ(coordinate, 1.5);
    EXPECT_EQ(tip, "x");
    EXPECT_EQ(included, VARIANT_TRUE);
    EXPECT_EQ(infinity, -1);  // cut to 16 bits

    // Missing keys: numbers 0, texts empty (not the key itself).
    point->put_xml("<na:pointConstr/>");
    point->get_Coordinate(&coordinate);
    point->get_FormulaTip(&tip);
    EXPECT_EQ(coordinate, 0.0);
    EXPECT_EQ(tip, "");

    // A missing second point element leaves the right end as an empty text reads it.
    const ComPtr<CInterval> read = interval(4, 5);
    read->put_xml("<na:intervalConstr isSelected=\"1\" name=\"n\" showName=\"9\">"
                  "<na:pointConstr coord=\"2.25\"/></na:intervalConstr>");
    EXPECT_EQ(xmlOf(read.get()),
              "<na:intervalConstr " + kNs + " color=\"0\" isSelected=\"0\" name=\"n\" showName=\"1\">" +
                  "<na:pointConstr " + kNs + " coord=\"2.250000\" formulaTip=\"\" included=\"0\" infinity=\"0\"/>" +
                  kDefaultPoint + "</na:intervalConstr>");
    // Without both end points there is nothing to write.
    read->put_LeftPoint(nullptr);
    std::string text;
    EXPECT_EQ(read->get_xml(&text), platform::E_FAIL);
}

TEST(AxisXml, ScannersFindTheNthTagAndElement)
{
    const std::string text = "<a x=\"1\"/><a x=\"2\"><b/></a><a";
    EXPECT_EQ(axisxml::startTag(text, "a", 0), "<a x=\"1\"/>");
    EXPECT_EQ(axisxml::startTag(text, "a", 1), "<a x=\"2\">");
    EXPECT_EQ(axisxml::startTag(text, "a", 2), "");
    std::string element;
    EXPECT_EQ(axisxml::element(text, "a", 0, element), axisxml::ElementScan::Found);
    EXPECT_EQ(element, "<a x=\"1\"/>");
    EXPECT_EQ(axisxml::element(text, "a", 1, element), axisxml::ElementScan::Found);
    EXPECT_EQ(element, "<a x=\"2\"><b/></a>");
    EXPECT_EQ(axisxml::element(text, "a", 2, element), axisxml::ElementScan::Unclosed);
    EXPECT_EQ(axisxml::element(text, "a", 3, element), axisxml::ElementScan::Absent);
    // A key inside another attribute's value is not that attribute.
    constexpr std::string_view keys[] = {"b=\"", "a=\""};
    EXPECT_EQ(axisxml::attributeValues("<t a=\"b=\" b=\"2\">", keys), (std::vector<std::string>{"2", "b="}));
}

}  // namespace
}  // namespace constructions::tickrule
