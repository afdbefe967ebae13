// The quadratic, the linear fraction and the square root: values, texts and
// what they draw into a 400 by 300 view, origin (200, 150), scale 20.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <limits>

#include "constructions/plotwise/component/plotwise_ids.h"
#include "constructions/plotwise/component/tests/plotwise_host.h"

namespace constructions::plotwise::test {
namespace {

using Curves = PlotwiseHost;

bool isRed(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)) == QColor(255, 0, 0); }

bool redInColumns(const QImage& image, int from, int to)
{
    for (int x = std::max(from, 0); x <= std::min(to, image.width() - 1); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (isRed(image, x, y))
                return true;
    return false;
}

bool redNear(const QImage& image, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (isRed(image, x + dx, y + dy))
                return true;
    return false;
}

// Red both above and below the axis in one column.
bool crosses(const QImage& image, int column)
{
    bool above = false, below = false;
    for (int y = 0; y < image.height(); ++y) {
        if (isRed(image, column, y)) {
            above = above || y < 150;
            below = below || y > 150;
        }
    }
    return above && below;
}

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

TEST_F(Curves, FunctionValuesFollowTheirDomains)
{
    const auto fraction = make<IInverslyConstruction>(CLSID_InverslyConstruction);
    const auto root = make<ISquareRootConstruction>(CLSID_SquareRootConstruction);
    const auto quadric = make<IQuadricConstruction>(CLSID_QuadricConstruction);
    struct Case {
        IConstruction* construction;
        double x;
        std::int16_t defined;
        double y;
    };
    const Case cases[] = {
        {fraction.get(), 0, 0, -7},     {fraction.get(), 1e-10, 0, -7}, {fraction.get(), 2, 1, 0.5},
        {root.get(), -1, 0, -7},        {root.get(), 4, 1, 2},          {quadric.get(), 3, 1, 9},
        {quadric.get(), -2, 1, 4},
    };
    for (const Case& c : cases) {
        double y = -7;
        EXPECT_EQ(c.construction->getFunctionValue(c.x, &y), c.defined) << c.x;
        EXPECT_EQ(y, c.y) << c.x;
    }
    // By dispid, with the parameters' names.
    DispatchDriver driver(ComPtr<IDispatch>(quadric.get()));
    driver.setProperty(disp::curve::A, 2.0);
    driver.setProperty(disp::curve::b, 1.0);
    driver.setProperty(disp::curve::C, -1.0);
    double y = 0;
    EXPECT_EQ(driver.invoke<std::int16_t>(disp::construction::getFunctionValue, 2.0, &y), 1);
    EXPECT_EQ(y, 9.0);
    EXPECT_EQ(driver.getProperty<double>(disp::curve::b), 1.0);
    DispatchDriver rootDriver(ComPtr<IDispatch>(root.get()));
    EXPECT_EQ(rootDriver.getProperty<double>(disp::curve::D), 0.0);
}

TEST_F(Curves, TextsAreWrittenByteForByteAndReadBackThroughATask)
{
    const auto quadric = make<IQuadricConstruction>(CLSID_QuadricConstruction);
    EXPECT_EQ(xmlOf(quadric.get()),
              "<gr:quadricConstr color=\"255\" lineWidth=\"2\" name=\"\" showName=\"1\" visible=\"1\" "
              "useInterval=\"0\" A=\"1.000000\" B=\"0.000000\" C=\"0.000000\"/>");
    const auto fraction = make<IInverslyConstruction>(CLSID_InverslyConstruction);
    fraction->put_UseInterval(VARIANT_TRUE);
    EXPECT_EQ(xmlOf(fraction.get()),
              "<gr:inverslyConstr color=\"255\" lineWidth=\"2\" name=\"\" showName=\"1\" visible=\"1\" "
              "useInterval=\"1\" leftInfinity=\"1\" rightInfinity=\"1\" A=\"0.000000\" B=\"1.000000\" C=\"1.000000\" "
              "D=\"0.000000\"/>");
    const auto root = make<ISquareRootConstruction>(CLSID_SquareRootConstruction);
    root->put_Name("r<1>");
    root->put_D(-2.5);
    root->put_IntervalRight(4);
    root->put_UseInterval(VARIANT_TRUE);
    const std::string rootText = xmlOf(root.get());
    EXPECT_EQ(rootText, "<gr:squareRootConstr color=\"255\" lineWidth=\"2\" name=\"r&lt;1&gt;\" showName=\"1\" "
                        "visible=\"1\" useInterval=\"1\" leftInfinity=\"1\" rightInterval=\"4.000000\" A=\"1.000000\" "
                        "B=\"1.000000\" C=\"0.000000\" D=\"-2.500000\"/>");

    const ComPtr<ITask> task = newTask();
    for (IConstruction* c : {static_cast<IConstruction*>(quadric.get()), static_cast<IConstruction*>(fraction.get()),
                             static_cast<IConstruction*>(root.get())})
        ASSERT_EQ(task->AddFromXml(xmlOf(c)), platform::S_OK);
    std::string taskText;
    task->get_xml(&taskText);
    const ComPtr<ITask> again = newTask();
    ASSERT_EQ(again->put_xml(taskText), platform::S_OK);
    std::string againText;
    again->get_xml(&againText);
    EXPECT_EQ(againText, taskText);
    EXPECT_NE(taskText.find(rootText), std::string::npos);

    // Missing attributes read as 0; a name "C" attribute elsewhere does not
    // stand for the parameter.
    const auto read = make<IQuadricConstruction>(CLSID_QuadricConstruction);
    ASSERT_EQ(read->put_xml("<gr:quadricConstr name=\"C=&quot;5&quot;\" B=\"2\"/>"), platform::S_OK);
    double a = -1, b = -1, c = -1;
    read->get_A(&a);
    read->get_b(&b);
    read->get_C(&c);
    EXPECT_EQ(a, 0.0);
    EXPECT_EQ(b, 2.0);
    EXPECT_EQ(c, 0.0);
}

class CurvePixels : public PlotwiseHost {
protected:
    void SetUp() override
    {
        PlotwiseHost::SetUp();
        task = taskInWindow();
        task->put_ClientOriginPointX(200);
        task->put_ClientOriginPointY(150);
        task->put_ShowGrid(0);
    }
    QImage drawn(IConstruction* construction, const char* png)
    {
        task->RemoveAll();
        EXPECT_EQ(task->Add(construction), platform::S_OK);
        EXPECT_EQ(task->Update(kPaintUpdate), platform::S_OK);
        canvas.save(QString(PLOTWISE_PNG_DIR "/") + png);
        return canvas.copy();
    }
    ComPtr<ITask> task;
};

TEST_F(CurvePixels, IntervalsClipTheGraphs)
{
    const auto quadric = make<IQuadricConstruction>(CLSID_QuadricConstruction);
    quadric->put_Name("q");
    quadric->put_UseInterval(VARIANT_TRUE);
    quadric->put_IntervalLeft(-1);
    quadric->put_IntervalRight(1);
    const QImage q = drawn(quadric.get(), "plotwise_quadric_interval.png");
    EXPECT_TRUE(redNear(q, 220, 130));
    EXPECT_FALSE(redNear(q, 240, 70));
    EXPECT_FALSE(redInColumns(q, 222, 399));

    const auto fraction = make<IInverslyConstruction>(CLSID_InverslyConstruction);
    fraction->put_UseInterval(VARIANT_TRUE);
    fraction->put_IntervalLeft(-5);
    fraction->put_IntervalRight(-1);
    const QImage f = drawn(fraction.get(), "plotwise_fraction_interval.png");
    EXPECT_FALSE(redInColumns(f, 183, 399));
    EXPECT_TRUE(redNear(f, 110, 154)) << "x = -4.5 drawn";
}

TEST_F(CurvePixels, PolesAndDomainEnds)
{
    const auto fraction = make<IInverslyConstruction>(CLSID_InverslyConstruction);
    fraction->put_Name("1/x");
    QImage f = drawn(fraction.get(), "plotwise_fraction.png");
    for (int column = 198; column <= 202; ++column)
        EXPECT_FALSE(crosses(f, column)) << column;
    EXPECT_TRUE(redNear(f, 220, 130));
    EXPECT_TRUE(redNear(f, 180, 170));

    fraction->put_A(0);
    fraction->put_b(0.1);
    fraction->put_C(1);
    fraction->put_D(-0.33);
    f = drawn(fraction.get(), "plotwise_fraction_pole.png");
    for (int column = 205; column <= 209; ++column)
        EXPECT_FALSE(crosses(f, column)) << column;

    fraction->put_C(1e-10);
    task->RemoveAll();
    task->Add(fraction.get());
    EXPECT_EQ(fraction->Draw(0, kPaintUpdate), platform::S_FALSE);

    const auto root = make<ISquareRootConstruction>(CLSID_SquareRootConstruction);
    root->put_Name("sqrt");
    QImage r = drawn(root.get(), "plotwise_root.png");
    EXPECT_FALSE(redInColumns(r, 0, 198));
    EXPECT_TRUE(redNear(r, 280, 110)) << "sqrt(4) = 2";
    root->put_b(-1);
    r = drawn(root.get(), "plotwise_root_left.png");
    EXPECT_FALSE(redInColumns(r, 202, 399));
    EXPECT_TRUE(redNear(r, 120, 110));
    root->put_b(0);
    EXPECT_EQ(root->Draw(0, kPaintUpdate), platform::S_FALSE);
}

TEST_F(CurvePixels, AbsoluteValueArms)
{
    const auto absolute = make<IAbsoluteConstruction>(CLSID_AbsoluteConstruction);
    absolute->put_Name("|x|");
    std::string text;
    absolute->get_xml(&text);
    EXPECT_EQ(text, "<gr:absoluteConstr color=\"255\" lineWidth=\"2\" name=\"|x|\" showName=\"1\" visible=\"1\" "
                    "useInterval=\"0\" A=\"1.000000\" B=\"1.000000\" C=\"0.000000\" D=\"0.000000\"/>");
    QImage v = drawn(absolute.get(), "plotwise_absolute.png");
    EXPECT_TRUE(redNear(v, 100, 50));
    EXPECT_TRUE(redNear(v, 200, 150));
    EXPECT_TRUE(redNear(v, 300, 50));
    EXPECT_TRUE(redNear(v, 50, 0) || redNear(v, 51, 1));

    absolute->put_A(-1);
    v = drawn(absolute.get(), "plotwise_absolute_down.png");
    EXPECT_TRUE(redNear(v, 300, 250));
    EXPECT_TRUE(redNear(v, 100, 250));
    EXPECT_FALSE(redNear(v, 300, 50));

    // b < 0 on [1, 4]: the right arm between its interval ends only.
    absolute->put_A(1);
    absolute->put_b(-1);
    absolute->put_UseInterval(VARIANT_TRUE);
    absolute->put_IntervalLeft(1);
    absolute->put_IntervalRight(4);
    absolute->put_Name("");  // the label is searched from the view's left edge
    v = drawn(absolute.get(), "plotwise_absolute_interval.png");
    EXPECT_FALSE(redInColumns(v, 0, 217));
    EXPECT_FALSE(redInColumns(v, 283, 399));
    EXPECT_TRUE(redNear(v, 250, 100));
    // Only the left end finite: from x = 1 up to the top, nothing left of it.
    absolute->put_IntervalRightIsInfinite(VARIANT_TRUE);
    v = drawn(absolute.get(), "plotwise_absolute_left_end.png");
    EXPECT_FALSE(redInColumns(v, 0, 217));
    EXPECT_TRUE(redNear(v, 340, 10));

    // A = 0: the level line y = D across the view.
    absolute->put_UseInterval(VARIANT_FALSE);
    absolute->put_A(0);
    absolute->put_D(2);
    v = drawn(absolute.get(), "plotwise_absolute_level.png");
    EXPECT_TRUE(redNear(v, 10, 110));
    EXPECT_TRUE(redNear(v, 390, 110));
}

TEST_F(CurvePixels, UpdateEndsAtHalfAndNegativeScales)
{
    const auto quadric = make<IQuadricConstruction>(CLSID_QuadricConstruction);
    const auto fraction = make<IInverslyConstruction>(CLSID_InverslyConstruction);
    const auto root = make<ISquareRootConstruction>(CLSID_SquareRootConstruction);
    const auto absolute = make<IAbsoluteConstruction>(CLSID_AbsoluteConstruction);
    const auto point = make<IPointConstruction>(CLSID_PointConstruction);
    const auto circle = make<ICircleConstruction>(CLSID_CircleConstruction);
    const auto graph = make<IArbitraryConstruction>(CLSID_ArbitraryConstruction);
    graph->put_VarName("x");
    graph->put_Expression("sin(x)*x^2+1");
    for (IConstruction* c : {static_cast<IConstruction*>(quadric.get()), static_cast<IConstruction*>(fraction.get()),
                             static_cast<IConstruction*>(root.get()), static_cast<IConstruction*>(graph.get()),
                             static_cast<IConstruction*>(absolute.get()), static_cast<IConstruction*>(point.get()),
                             static_cast<IConstruction*>(circle.get())})
        task->Add(c);
    for (double scale : {0.5, -20.0}) {
        task->put_AbscissScale(scale);
        task->put_OrdinateScale(scale);
        EXPECT_EQ(task->Update(kSizeUpdate), platform::S_OK);
        EXPECT_EQ(task->Update(kDragUpdate), platform::S_OK);
    }
}

}  // namespace
}  // namespace constructions::plotwise::test
