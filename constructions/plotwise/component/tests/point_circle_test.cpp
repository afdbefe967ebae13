// The point and the circle: defaults, puts, texts and what they draw into a
// 400 by 300 view, origin (200, 150), scale 20.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <limits>

#include "constructions/plotwise/component/plotwise_ids.h"
#include "constructions/plotwise/component/tests/plotwise_host.h"

namespace constructions::plotwise::test {
namespace {

using PointsAndCircles = PlotwiseHost;

bool isRed(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)) == QColor(255, 0, 0); }
bool isBlack(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)) == QColor(0, 0, 0); }

template <class I>
ComPtr<I> make(const Guid& clsid)
{
    ComPtr<I> object;
    EXPECT_EQ(createInstance(clsid, object), platform::S_OK);
    return object;
}

std::string xmlOf(IXMLSupport* object)
{
    std::string text;
    EXPECT_EQ(object->get_xml(&text), platform::S_OK);
    return text;
}

TEST_F(PointsAndCircles, DefaultsPutsAndTexts)
{
    const auto point = make<IPointConstruction>(CLSID_PointConstruction);
    DispatchDriver driver(ComPtr<IDispatch>(point.get()));
    EXPECT_EQ(driver.getProperty<std::int16_t>(disp::construction::LineWidth), 3);
    EXPECT_EQ(driver.getProperty<std::int32_t>(disp::point::ShowProjection), 1);
    double y = -7;
    EXPECT_EQ(point->getFunctionValue(1, &y), 0);
    EXPECT_EQ(y, -7);
    EXPECT_EQ(xmlOf(point.get()), "<gr:pointConstr color=\"255\" lineWidth=\"3\" name=\"\" showName=\"1\" visible=\"1\" "
                                  "useInterval=\"0\" X=\"0.000000\" Y=\"0.000000\" showProjection=\"1\"/>");

    const auto circle = make<ICircleConstruction>(CLSID_CircleConstruction);
    double ry = 0;
    for (double put : {-5.0, std::numeric_limits<double>::quiet_NaN()}) {
        circle->put_RY(put);
        circle->get_RY(&ry);
        EXPECT_EQ(ry, -1.0) << put;
    }
    circle->put_RY(2);
    circle->get_RY(&ry);
    EXPECT_EQ(ry, 2.0);
    circle->put_RY(-1);
    circle->put_Name("R1");
    circle->put_r(2.5);
    circle->put_CenterX(1);
    circle->put_CenterY(-2);
    const std::string text = xmlOf(circle.get());
    EXPECT_EQ(text, "<gr:circleConstr color=\"255\" lineWidth=\"2\" name=\"R1\" showName=\"1\" visible=\"1\" "
                    "useInterval=\"0\" R=\"2.500000\" RY=\"-1.000000\"><gr:pointConstr color=\"255\" lineWidth=\"3\" "
                    "name=\"\" showName=\"1\" visible=\"0\" useInterval=\"0\" X=\"1.000000\" Y=\"-2.000000\" "
                    "showProjection=\"0\"/></gr:circleConstr>");
    // A circle named R1 keeps its radius; RY -1 reads back as r.
    const auto copy = make<ICircleConstruction>(CLSID_CircleConstruction);
    ASSERT_EQ(copy->put_xml(text), platform::S_OK);
    EXPECT_EQ(xmlOf(copy.get()), text);
    double r = 0, cx = 0;
    copy->get_r(&r);
    copy->get_CenterX(&cx);
    EXPECT_EQ(r, 2.5);
    EXPECT_EQ(cx, 1.0);

    const ComPtr<ITask> task = newTask();
    ASSERT_EQ(task->AddFromXml(text), platform::S_OK);
    ASSERT_EQ(task->AddFromXml(xmlOf(point.get())), platform::S_OK);
    std::string taskText;
    task->get_xml(&taskText);
    const ComPtr<ITask> again = newTask();
    ASSERT_EQ(again->put_xml(taskText), platform::S_OK);
    std::string againText;
    again->get_xml(&againText);
    EXPECT_EQ(againText, taskText);
}

class PointPixels : public PlotwiseHost {
protected:
    void SetUp() override
    {
        PlotwiseHost::SetUp();
        task = taskInWindow();
        task->put_ClientOriginPointX(200);
        task->put_ClientOriginPointY(150);
        task->put_ShowGrid(0);
    }
    void drawn(IConstruction* construction, const char* png)
    {
        task->RemoveAll();
        EXPECT_EQ(task->Add(construction), platform::S_OK);
        EXPECT_EQ(task->Update(kPaintUpdate), platform::S_OK);
        canvas.save(QString(PLOTWISE_PNG_DIR "/") + png);
    }
    ComPtr<ITask> task;
};

TEST_F(PointPixels, APointDrawsItsDotProjectionsAndName)
{
    const auto point = make<IPointConstruction>(CLSID_PointConstruction);
    point->put_x(3);
    point->put_y(2);
    point->put_Name("P");
    drawn(point.get(), "plotwise_point.png");
    EXPECT_TRUE(isRed(canvas, 260, 110)) << "the dot";
    EXPECT_TRUE(isRed(canvas, 262, 110));
    EXPECT_FALSE(isRed(canvas, 264, 110)) << "radius 3";
    int dots = 0;
    for (int y = 115; y < 148; ++y)
        dots += isBlack(canvas, 260, y);
    EXPECT_GT(dots, 5) << "the vertical projection";
    EXPECT_LT(dots, 33) << "dotted";
    int label = 0;
    for (int y = 105; y < 125; ++y)
        for (int x = 266; x < 280; ++x)
            label += isRed(canvas, x, y);
    EXPECT_GT(label, 5) << "the name right of the dot";

    // On the client's left edge: no vertical projection; an invisible point
    // still draws its projections.
    point->put_x(-10);
    point->put_Visible(0);
    drawn(point.get(), "plotwise_point_edge.png");
    int vertical = 0, horizontal = 0;
    for (int y = 115; y < 148; ++y)
        vertical += isBlack(canvas, 0, y);
    for (int x = 5; x < 195; ++x)
        horizontal += isBlack(canvas, x, 110);
    EXPECT_EQ(vertical, 0);
    EXPECT_GT(horizontal, 20);
    EXPECT_FALSE(isRed(canvas, 1, 110));
}

TEST_F(PointPixels, ACircleAndAnEllipse)
{
    const auto circle = make<ICircleConstruction>(CLSID_CircleConstruction);
    circle->put_r(2);
    circle->put_Name("c");
    circle->put_ShowName(0);
    drawn(circle.get(), "plotwise_circle.png");
    EXPECT_TRUE(isRed(canvas, 240, 150) || isRed(canvas, 239, 150) || isRed(canvas, 241, 150));
    EXPECT_TRUE(isRed(canvas, 200, 110) || isRed(canvas, 200, 111) || isRed(canvas, 200, 109));
    int label = 0;
    for (int y = 135; y < 155; ++y)
        for (int x = 150; x < 160; ++x)
            label += isRed(canvas, x, y);
    EXPECT_GT(label, 3) << "the label whatever ShowName says";

    circle->put_r(1);
    circle->put_RY(2);
    drawn(circle.get(), "plotwise_ellipse.png");
    EXPECT_TRUE(isRed(canvas, 200, 110) || isRed(canvas, 200, 111) || isRed(canvas, 200, 109));
    EXPECT_TRUE(isRed(canvas, 220, 150) || isRed(canvas, 219, 150) || isRed(canvas, 221, 150));
    EXPECT_FALSE(isRed(canvas, 240, 150));
}

}  // namespace
}  // namespace constructions::plotwise::test

namespace constructions::plotwise::test {
namespace {

TEST_F(PointsAndCircles, ASegmentHoldsItsPointsAndGivesThemItsTask)
{
    const auto segment = make<ISegment>(CLSID_Segment);
    ComPtr<IPointConstruction> a, b;
    ASSERT_EQ(segment->get_PointA(a.put()), platform::S_OK);
    ASSERT_EQ(segment->get_PointB(b.put()), platform::S_OK);
    ASSERT_TRUE(a && b && a != b) << "a segment creates its two points";
    a->put_x(1);
    b->put_x(-2);
    b->put_y(3);
    const std::string text = xmlOf(segment.get());
    EXPECT_EQ(text,
              "<gr:segmentConstr color=\"255\" lineWidth=\"2\" name=\"\" showName=\"1\" visible=\"1\" "
              "useInterval=\"0\"><gr:pointConstr color=\"255\" lineWidth=\"3\" name=\"\" showName=\"1\" visible=\"1\" "
              "useInterval=\"0\" X=\"1.000000\" Y=\"0.000000\" showProjection=\"1\"/><gr:pointConstr color=\"255\" "
              "lineWidth=\"3\" name=\"\" showName=\"1\" visible=\"1\" useInterval=\"0\" X=\"-2.000000\" "
              "Y=\"3.000000\" showProjection=\"1\"/></gr:segmentConstr>");

    const ComPtr<ITask> task = newTask();
    ASSERT_EQ(task->AddFromXml(text), platform::S_OK);
    std::string taskText;
    task->get_xml(&taskText);
    const ComPtr<ITask> again = newTask();
    ASSERT_EQ(again->put_xml(taskText), platform::S_OK);
    std::string againText;
    again->get_xml(&againText);
    EXPECT_EQ(againText, taskText);

    // The task reaches the points, a new point and nobody let go.
    ASSERT_EQ(task->Add(segment.get()), platform::S_OK);
    const auto taskOf = [](IConstruction* c) {
        ComPtr<ITask> t;
        c->get_Task(t.put());
        return t;
    };
    EXPECT_EQ(taskOf(a.get()), task);
    const auto replacement = make<IPointConstruction>(CLSID_PointConstruction);
    DispatchDriver driver(ComPtr<IDispatch>(segment.get()));
    driver.setProperty(disp::segment::PointA, ComPtr<IDispatch>(replacement.get()));
    EXPECT_EQ(taskOf(replacement.get()), task);
    EXPECT_FALSE(taskOf(a.get())) << "the point let go";
    ASSERT_EQ(task->Remove(segment.get()), platform::S_OK);
    EXPECT_FALSE(taskOf(b.get())) << "a removed segment's points";
}

TEST_F(PointsAndCircles, ASegmentsPointOutlivesItsSegmentAndTask)
{
    ComPtr<IPointConstruction> point;
    {
        const ComPtr<ITask> task = newTask();
        const auto segment = make<ISegment>(CLSID_Segment);
        task->Add(segment.get());
        segment->get_PointB(point.put());
    }
    ComPtr<ITask> none;
    point->get_Task(none.put());
    EXPECT_FALSE(none);
    point->put_ShowProjection(0);  // would call into a task that is gone
}

TEST_F(PointPixels, ASegmentDrawsEvenWhenInvisibleWithItsLabelAndEnds)
{
    const auto segment = make<ISegment>(CLSID_Segment);
    ComPtr<IPointConstruction> a, b;
    segment->get_PointA(a.put());
    segment->get_PointB(b.put());
    a->put_x(-4);
    a->put_y(-2);
    b->put_x(4);
    b->put_y(2);
    b->put_Name("B");
    segment->put_Name("s");
    segment->put_Visible(0);
    segment->put_ShowName(0);
    drawn(segment.get(), "plotwise_segment.png");
    EXPECT_TRUE(isRed(canvas, 120, 190)) << "end A";
    EXPECT_TRUE(isRed(canvas, 160, 170) || isRed(canvas, 160, 169) || isRed(canvas, 160, 171));
    EXPECT_FALSE(isRed(canvas, 300, 100) || isRed(canvas, 300, 99) || isRed(canvas, 300, 101)) << "ends at B";
    int label = 0;
    for (int y = 150; y < 170; ++y)
        for (int x = 200; x < 212; ++x)
            label += isRed(canvas, x, y);
    EXPECT_GT(label, 3) << "the label at the midpoint whatever ShowName says";
}

}  // namespace
}  // namespace constructions::plotwise::test

namespace constructions::plotwise::test {
namespace {

TEST_F(PointsAndCircles, LineTypeAndTexts)
{
    const auto line = make<ILineConstruction>(CLSID_LineConstruction);
    std::int32_t type = 0;
    EXPECT_EQ(line->put_Type(1), platform::E_FAIL);
    line->get_Type(&type);
    EXPECT_EQ(type, kLineByPoints);
    line->put_X2(1);
    line->put_Y2(2);
    line->put_ShowPoint2(0);
    const std::string byPoints = xmlOf(line.get());
    EXPECT_EQ(byPoints,
              "<gr:lineConstr color=\"255\" lineWidth=\"2\" name=\"\" showName=\"1\" visible=\"1\" useInterval=\"0\" "
              "type=\"lineByPoints\" showPoint1=\"1\" showPoint2=\"0\"><gr:pointConstr color=\"255\" lineWidth=\"2\" "
              "name=\"\" showName=\"0\" visible=\"1\" X=\"0.000000\" Y=\"0.000000\" showProjection=\"1\"/>"
              "<gr:pointConstr color=\"255\" lineWidth=\"2\" name=\"\" showName=\"0\" visible=\"0\" X=\"1.000000\" "
              "Y=\"2.000000\" showProjection=\"1\"/></gr:lineConstr>");
    ASSERT_EQ(line->put_Type(kLineByEquation), platform::S_OK);
    line->put_A(1);
    line->put_b(-1);
    const std::string byEquation = xmlOf(line.get());
    EXPECT_EQ(byEquation,
              "<gr:lineConstr color=\"255\" lineWidth=\"2\" name=\"\" showName=\"1\" visible=\"1\" useInterval=\"0\" "
              "type=\"lineByEquation\" showPoint1=\"1\" showPoint2=\"0\"><koefficients A=\"1.000000\" "
              "B=\"-1.000000\" C=\"0.000000\"/></gr:lineConstr>");

    const ComPtr<ITask> task = newTask();
    ASSERT_EQ(task->AddFromXml(byPoints), platform::S_OK);
    ASSERT_EQ(task->AddFromXml(byEquation), platform::S_OK);
    std::string taskText;
    task->get_xml(&taskText);
    const ComPtr<ITask> again = newTask();
    ASSERT_EQ(again->put_xml(taskText), platform::S_OK);
    std::string againText;
    again->get_xml(&againText);
    EXPECT_EQ(againText, taskText);

    // A line by equation keeps its dot flags through its text.
    const auto equation = make<ILineConstruction>(CLSID_LineConstruction);
    ASSERT_EQ(equation->put_xml(byEquation), platform::S_OK);
    EXPECT_EQ(xmlOf(equation.get()), byEquation);

    // A text by points reads back by points whatever its type says.
    std::string mislabelled = byPoints;
    mislabelled.replace(mislabelled.find("lineByPoints"), 12, "lineByEquation");
    const auto read = make<ILineConstruction>(CLSID_LineConstruction);
    read->put_Type(kLineByEquation);
    ASSERT_EQ(read->put_xml(mislabelled), platform::S_OK);
    read->get_Type(&type);
    EXPECT_EQ(type, kLineByPoints);

    // A dot flag other than 0 or 1 on the line reads as a flag, so the text
    // written from it reads back the same (one point child left the second
    // dot to the line's own attribute).
    const auto odd = make<ILineConstruction>(CLSID_LineConstruction);
    std::string oddText = byPoints;
    oddText.replace(oddText.find("showPoint2=\"0\""), 15, "showPoint2=\"100\"");
    oddText.erase(oddText.rfind("<gr:pointConstr"), oddText.find("</gr:lineConstr>") - oddText.rfind("<gr:pointConstr"));
    ASSERT_EQ(odd->put_xml(oddText), platform::S_OK);
    std::int32_t shown = 0;
    odd->get_ShowPoint2(&shown);
    EXPECT_EQ(shown, 1);
    const std::string written = xmlOf(odd.get());
    const auto oddAgain = make<ILineConstruction>(CLSID_LineConstruction);
    ASSERT_EQ(oddAgain->put_xml(written), platform::S_OK);
    EXPECT_EQ(xmlOf(oddAgain.get()), written);
}

TEST_F(PointPixels, LinesAcrossTheViewAndTheirIntervals)
{
    const auto line = make<ILineConstruction>(CLSID_LineConstruction);
    line->put_Name("g");
    line->put_Visible(0);  // a line is drawn whatever Visible says
    drawn(line.get(), "plotwise_line_new.png");
    EXPECT_TRUE(isRed(canvas, 200, 20) || isRed(canvas, 201, 20) || isRed(canvas, 199, 20)) << "vertical";
    EXPECT_TRUE(isRed(canvas, 200, 280) || isRed(canvas, 201, 280) || isRed(canvas, 199, 280));

    line->put_Type(kLineByEquation);
    line->put_A(1);
    line->put_b(-1);
    drawn(line.get(), "plotwise_line_diagonal.png");
    EXPECT_TRUE(isRed(canvas, 260, 90) || isRed(canvas, 260, 89) || isRed(canvas, 260, 91));
    EXPECT_TRUE(isRed(canvas, 100, 250) || isRed(canvas, 100, 249) || isRed(canvas, 100, 251));

    line->put_A(0);
    line->put_b(0);
    drawn(line.get(), "plotwise_line_degenerate.png");
    EXPECT_TRUE(isRed(canvas, 200, 20) || isRed(canvas, 201, 20) || isRed(canvas, 199, 20));

    line->put_Type(kLineByPoints);
    line->put_X1(-2);
    line->put_Y1(-1);
    line->put_X2(2);
    line->put_Y2(1);
    line->put_Name("rotated");
    line->put_UseInterval(VARIANT_TRUE);
    line->put_IntervalLeft(-1);
    line->put_IntervalRight(1);
    drawn(line.get(), "plotwise_line_interval.png");
    int outside = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            if (isRed(canvas, x, y) && (x < 178 || x > 222) && std::abs(y - (150 - (x - 200) / 2)) <= 2 &&
                std::abs(x - 160) > 5 && std::abs(x - 240) > 5)
                ++outside;
    EXPECT_EQ(outside, 0) << "clipped to x in [-1, 1] apart from the end dots";
    EXPECT_TRUE(isRed(canvas, 210, 145) || isRed(canvas, 210, 144) || isRed(canvas, 210, 146));
}

}  // namespace
}  // namespace constructions::plotwise::test
