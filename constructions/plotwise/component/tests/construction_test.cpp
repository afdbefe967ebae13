// The constructions' shared rules (accessors, redraws, the common element
// text, the name label) and the arbitrary construction: its text, its cache
// and what it draws.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <limits>

#include "constructions/plotwise/component/plotwise_ids.h"
#include "constructions/plotwise/component/tests/plotwise_host.h"

namespace constructions::plotwise::test {
namespace {

using Constructions = PlotwiseHost;

const QColor kRed(255, 0, 0);

bool isRed(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)) == kRed; }

int redCount(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += isRed(image, x, y);
    return count;
}

std::string xmlOf(IXMLSupport* object)
{
    std::string text;
    EXPECT_EQ(object->get_xml(&text), platform::S_OK);
    return text;
}

ComPtr<IArbitraryConstruction> newArbitrary(const std::string& expression = "", const std::string& var = "x")
{
    ComPtr<IArbitraryConstruction> graph;
    EXPECT_EQ(createInstance(CLSID_ArbitraryConstruction, graph), platform::S_OK);
    if (graph && !expression.empty()) {
        graph->put_VarName(var);
        graph->put_Expression(expression);
    }
    return graph;
}

// The task in a 400 by 300 window with its origin in the middle, scale 20.
ComPtr<ITask> centredTask(ComPtr<ITask> task)
{
    task->put_ClientOriginPointX(200);
    task->put_ClientOriginPointY(150);
    task->put_ShowGrid(0);
    return task;
}

TEST_F(Constructions, AreMadeByClassIdAndProgIdWithTheirDefaults)
{
    ComPtr<IArbitraryConstruction> byId = newArbitrary();
    ASSERT_TRUE(byId);
    ComPtr<IDispatch> byProgId;
    EXPECT_EQ(createInstance("ZezidoziCtrlTessaly.ArbitraryConstruction", byProgId), platform::S_OK);
    ASSERT_TRUE(byProgId);
    ComPtr<IConstruction> asConstruction;
    EXPECT_EQ(byProgId->QueryInterface(IConstruction::iid, asConstruction.putVoid()), platform::S_OK);
    ComPtr<ISupportErrorInfo> errors;
    ASSERT_EQ(byId->QueryInterface(ISupportErrorInfo::iid, errors.putVoid()), platform::S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(IID_IArbitraryConstruction), platform::S_OK);

    DispatchDriver driver(ComPtr<IDispatch>(byId.get()));
    EXPECT_EQ(driver.getProperty<std::int32_t>(disp::construction::Color), 255);
    EXPECT_EQ(driver.getProperty<std::int16_t>(disp::construction::LineWidth), 2);
    EXPECT_EQ(driver.getProperty<std::int32_t>(disp::construction::Visible), 1);
    EXPECT_EQ(driver.getProperty<std::int32_t>(disp::construction::ShowName), 1);
    EXPECT_EQ(driver.getProperty<double>(disp::construction::IntervalLeft), -10.0);
    EXPECT_EQ(driver.getProperty<double>(disp::construction::IntervalRight), 10.0);
    EXPECT_EQ(driver.getProperty<VARIANT_BOOL>(disp::construction::IntervalLeftIsInfinite), VARIANT_TRUE);
    EXPECT_EQ(driver.getProperty<VARIANT_BOOL>(disp::construction::UseInterval), VARIANT_FALSE);
    EXPECT_EQ(driver.getProperty<double>(disp::arbitrary::TabStepInPixels), 1.0);
    EXPECT_EQ(driver.getProperty<std::string>(disp::arbitrary::Expression), "");
    EXPECT_EQ(byId->Init(0), platform::S_OK);
}

TEST_F(Constructions, AccessorRulesHoldByVtableAndDispid)
{
    const ComPtr<IArbitraryConstruction> graph = newArbitrary();
    VARIANT_BOOL flag{7};
    // Only VARIANT_TRUE stores a set flag; 1 stores 0.
    graph->put_UseInterval(VARIANT_BOOL{1});
    graph->get_UseInterval(&flag);
    EXPECT_EQ(flag, VARIANT_FALSE);
    graph->put_UseInterval(VARIANT_TRUE);
    graph->get_UseInterval(&flag);
    EXPECT_EQ(flag, VARIANT_TRUE);
    graph->put_IntervalRightIsInfinite(VARIANT_BOOL{1});
    graph->get_IntervalRightIsInfinite(&flag);
    EXPECT_EQ(flag, VARIANT_FALSE);

    graph->put_IntervalLeft(2.5);
    graph->get_IntervalLeftIsInfinite(&flag);
    EXPECT_EQ(flag, VARIANT_FALSE);
    double left = 0;
    graph->get_IntervalLeft(&left);
    EXPECT_EQ(left, 2.5);

    graph->put_TabStepInPixels(-2);
    double step = 0;
    graph->get_TabStepInPixels(&step);
    EXPECT_EQ(step, 2.0);

    graph->put_Visible(5);
    std::int32_t visible = 0;
    graph->get_Visible(&visible);
    EXPECT_EQ(visible, 5) << "stored unchanged";

    // Through dispatch an integer 1 is a true VARIANT_BOOL.
    DispatchDriver driver(ComPtr<IDispatch>(graph.get()));
    driver.setProperty(disp::construction::IntervalLeftIsInfinite, std::int32_t(1));
    EXPECT_EQ(driver.getProperty<VARIANT_BOOL>(disp::construction::IntervalLeftIsInfinite), VARIANT_TRUE);
    driver.setProperty(disp::construction::Name, std::string("f"));
    EXPECT_EQ(driver.getProperty<std::string>(disp::construction::Name), "f");
    driver.setProperty(disp::arbitrary::Expression, std::string("x^2"));
    driver.setProperty(disp::arbitrary::VarName, std::string("x"));
    double y = 0;
    EXPECT_EQ(driver.invoke<std::int16_t>(disp::construction::getFunctionValue, 3.0, &y), 1);
    EXPECT_EQ(y, 9.0);
}

TEST_F(Constructions, VisibleAndIntervalPutsRedrawTheActiveTaskColourDoesNot)
{
    const ComPtr<ITask> task = centredTask(taskInWindow());
    const ComPtr<IArbitraryConstruction> graph = newArbitrary("x");
    ASSERT_EQ(task->Add(graph.get()), platform::S_OK);
    const QColor black(Qt::black);
    canvasPainter->fillRect(canvas.rect(), Qt::black);
    graph->put_Color(0xFF);
    EXPECT_EQ(canvas.pixelColor(5, 5), black) << "a colour put waits for the host";
    graph->put_Visible(1);
    EXPECT_NE(canvas.pixelColor(5, 5), black) << "a Visible put redraws at once";
    canvasPainter->fillRect(canvas.rect(), Qt::black);
    graph->put_ShowName(0);
    EXPECT_NE(canvas.pixelColor(5, 5), black);
    graph->put_UseInterval(VARIANT_TRUE);
    canvasPainter->fillRect(canvas.rect(), Qt::black);
    graph->put_IntervalRight(1.0);
    EXPECT_NE(canvas.pixelColor(5, 5), black) << "the arbitrary graph's interval puts redraw";
    EXPECT_FALSE(isRed(canvas, 240, 110)) << "x = 2 is outside the new interval";
    EXPECT_TRUE(isRed(canvas, 210, 140) || isRed(canvas, 210, 141) || isRed(canvas, 210, 139));
}

TEST_F(Constructions, ArbitraryTextIsWrittenByteForByteAndReadBack)
{
    const ComPtr<IArbitraryConstruction> graph = newArbitrary();
    EXPECT_EQ(xmlOf(graph.get()),
              "<gr:arbitraryConstr color=\"255\" lineWidth=\"2\" name=\"\" showName=\"1\" visible=\"1\" "
              "useInterval=\"0\" var=\"\" tabStepInPixels=\"1.000000\"></gr:arbitraryConstr>");
    graph->put_UseInterval(VARIANT_TRUE);
    graph->put_VarName("x");
    graph->put_Expression("sin(x)");
    EXPECT_EQ(xmlOf(graph.get()),
              "<gr:arbitraryConstr color=\"255\" lineWidth=\"2\" name=\"\" showName=\"1\" visible=\"1\" "
              "useInterval=\"1\" leftInfinity=\"1\" rightInfinity=\"1\" var=\"x\" "
              "tabStepInPixels=\"1.000000\">sin(x)</gr:arbitraryConstr>");
    graph->put_IntervalLeft(-1.5);
    graph->put_IntervalRight(2);
    graph->put_Name("a\"<b>&c");
    graph->put_Expression("x<2");
    graph->put_TabStepInPixels(3);
    graph->put_Color(0x00FF00);
    graph->put_LineWidth(4);
    const std::string text = xmlOf(graph.get());
    EXPECT_EQ(text,
              "<gr:arbitraryConstr color=\"65280\" lineWidth=\"4\" name=\"a&quot;&lt;b&gt;&amp;c\" showName=\"1\" "
              "visible=\"1\" useInterval=\"1\" leftInterval=\"-1.500000\" rightInterval=\"2.000000\" var=\"x\" "
              "tabStepInPixels=\"3.000000\">x&lt;2</gr:arbitraryConstr>");

    // Read into a new construction and through a task: the same text again.
    const ComPtr<IArbitraryConstruction> copy = newArbitrary();
    ASSERT_EQ(copy->put_xml(text), platform::S_OK);
    EXPECT_EQ(xmlOf(copy.get()), text);
    std::string name, expression;
    copy->get_Name(&name);
    copy->get_Expression(&expression);
    EXPECT_EQ(name, "a\"<b>&c");
    EXPECT_EQ(expression, "x<2");

    const ComPtr<ITask> task = newTask();
    ASSERT_EQ(task->AddFromXml(text), platform::S_OK);
    const std::string taskText = xmlOf(task.get());
    const ComPtr<ITask> again = newTask();
    ASSERT_EQ(again->put_xml(taskText), platform::S_OK);
    EXPECT_EQ(xmlOf(again.get()), taskText);
    EXPECT_NE(taskText.find(text), std::string::npos);
}

TEST_F(Constructions, ArbitraryTextEdgeCases)
{
    struct Case {
        const char* what;
        const char* text;
        const char* var;
        const char* expression;
        double step;
        const char* name;
    };
    const Case cases[] = {
        {"an empty var reads as x, a missing step as 0", "<gr:arbitraryConstr var=\"\">x^2</gr:arbitraryConstr>", "x",
         "x^2", 0.0, ""},
        {"a name holding var leaves the variable alone",
         "<gr:arbitraryConstr name=\"var=&quot;t&quot;\" var=\"u\" tabStepInPixels=\"2\">u+1</gr:arbitraryConstr>",
         "u", "u+1", 2.0, "var=\"t\""},
        {"a text without entities reads as before",
         "<gr:arbitraryConstr color=\"1\" name=\"f\" var=\"t\" tabStepInPixels=\"0.5\">sin(t)</gr:arbitraryConstr>",
         "t", "sin(t)", 0.5, "f"},
        {"no element at all", "", "x", "", 0.0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ComPtr<IArbitraryConstruction> graph = newArbitrary();
        EXPECT_EQ(graph->put_xml(c.text), platform::S_OK);
        std::string var, expression, name;
        double step = -1;
        graph->get_VarName(&var);
        graph->get_Expression(&expression);
        graph->get_TabStepInPixels(&step);
        graph->get_Name(&name);
        EXPECT_EQ(var, c.var);
        EXPECT_EQ(expression, c.expression);
        EXPECT_EQ(step, c.step);
        EXPECT_EQ(name, c.name);
    }

    // useInterval 0 keeps the interval fields the construction had.
    const ComPtr<IArbitraryConstruction> graph = newArbitrary();
    graph->put_IntervalLeft(3);
    graph->put_xml("<gr:arbitraryConstr useInterval=\"0\" leftInterval=\"7\">x</gr:arbitraryConstr>");
    double left = 0;
    graph->get_IntervalLeft(&left);
    EXPECT_EQ(left, 3.0);
}

TEST_F(Constructions, ArbitraryGraphsDrawWithBreaksAtPolesAndGapsAtHoles)
{
    struct Case {
        const char* expression;
        const char* png;
    };
    const ComPtr<ITask> task = centredTask(taskInWindow());
    const auto drawn = [&](const std::string& expression, const char* png, double step = 1.0) {
        task->RemoveAll();
        const ComPtr<IArbitraryConstruction> graph = newArbitrary(expression);
        graph->put_TabStepInPixels(step);
        graph->put_Name("f");
        EXPECT_EQ(task->Add(graph.get()), platform::S_OK);
        EXPECT_EQ(task->Update(kPaintUpdate), platform::S_OK);
        canvas.save(QString(PLOTWISE_PNG_DIR "/") + png);
        return canvas.copy();
    };
    // Red both above and below the axis in one column.
    const auto crosses = [](const QImage& image, int column) {
        bool above = false, below = false;
        for (int y = 0; y < image.height(); ++y) {
            if (isRed(image, column, y)) {
                above = above || y < 150;
                below = below || y > 150;
            }
        }
        return above && below;
    };

    const QImage parabola = drawn("x^2", "plotwise_arbitrary_parabola.png");
    EXPECT_TRUE(isRed(parabola, 220, 130) || isRed(parabola, 220, 129) || isRed(parabola, 220, 131));
    EXPECT_TRUE(isRed(parabola, 200, 150) || isRed(parabola, 200, 149));

    for (const char* pole : {"1/x", "0.1/(x-0.33)"}) {
        SCOPED_TRACE(pole);
        const QImage image = drawn(pole, pole[0] == '1' ? "plotwise_arbitrary_pole.png" : "plotwise_arbitrary_pole2.png");
        const int poleColumn = pole[0] == '1' ? 200 : 207;
        for (int column = poleColumn - 2; column <= poleColumn + 2; ++column)
            EXPECT_FALSE(crosses(image, column)) << column;
        EXPECT_GT(redCount(image), 100);
    }
    for (const char* hole : {"x^0.5", "x^0.25"}) {
        SCOPED_TRACE(hole);
        const QImage image = drawn(hole, "plotwise_arbitrary_root.png");
        for (int column = 0; column < 198; ++column)
            for (int y = 0; y < 300; ++y)
                ASSERT_FALSE(isRed(image, column, y)) << column << "," << y;
        EXPECT_GT(redCount(image), 100);
    }
    const QImage ring = drawn("(x^2-1)^0.5", "plotwise_arbitrary_hole.png");
    for (int column = 182; column <= 218; ++column)
        for (int y = 0; y < 300; ++y)
            ASSERT_FALSE(isRed(ring, column, y)) << column << "," << y;

    // A step of 0 (a text without tabStepInPixels) samples every pixel.
    const QImage everyPixel = drawn("x^2", "plotwise_arbitrary_step0.png", 0.0);
    EXPECT_TRUE(isRed(everyPixel, 220, 130) || isRed(everyPixel, 220, 129) || isRed(everyPixel, 220, 131));

    // Without a variable name nothing is drawn.
    task->RemoveAll();
    const ComPtr<IArbitraryConstruction> unnamed = newArbitrary();
    unnamed->put_Expression("x^2");
    task->Add(unnamed.get());
    task->Update(kPaintUpdate);
    EXPECT_EQ(redCount(canvas), 0);
}

TEST_F(Constructions, TheNameLabelFollowsShowName)
{
    const ComPtr<ITask> task = centredTask(taskInWindow());
    const ComPtr<IArbitraryConstruction> graph = newArbitrary("x^2");
    graph->put_Name("WWW");
    graph->put_Color(0xFF0000);  // blue label and graph
    task->Add(graph.get());
    task->Update(kPaintUpdate);
    canvas.save(PLOTWISE_PNG_DIR "/plotwise_arbitrary_label.png");
    const auto blueIn = [&](QRect box) {
        int count = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                count += QColor(canvas.pixel(x, y)) == QColor(0, 0, 255);
        return count;
    };
    // x^2 enters the band below the top at x = -sqrt(7.5): the label stands
    // 10 pixels right of it.
    const QRect labelBox(200 - 55 + 10 + 4, 0, 30, 25);
    const int withLabel = blueIn(labelBox);
    graph->put_ShowName(0);
    EXPECT_LT(blueIn(labelBox), withLabel - 10);
}

TEST_F(Constructions, UpdateEndsAtHugeHalfAndNegativeScales)
{
    const ComPtr<ITask> task = centredTask(taskInWindow());
    task->put_AbscissScale(1e300);
    const ComPtr<IArbitraryConstruction> graph = newArbitrary("0/0");
    graph->put_Name("f");
    task->Add(graph.get());
    EXPECT_EQ(task->Update(kPaintUpdate), platform::S_OK);
    task->put_AbscissScale(0.5);
    EXPECT_EQ(task->Update(kSizeUpdate), platform::S_OK);
    task->put_AbscissScale(-20);
    EXPECT_EQ(task->Update(kSizeUpdate), platform::S_OK);
}

TEST_F(Constructions, AConstructionOutlivesItsTask)
{
    ComPtr<IArbitraryConstruction> graph = newArbitrary("x");
    {
        const ComPtr<ITask> task = newTask();
        task->Add(graph.get());
    }
    ComPtr<ITask> none;
    graph->get_Task(none.put());
    EXPECT_FALSE(none);
    graph->put_Visible(0);
}

}  // namespace
}  // namespace constructions::plotwise::test

namespace constructions::plotwise::test {
namespace {

TEST_F(Constructions, ATaskRefusesAConstructionAnotherTaskHolds)
{
    const Guid kinds[] = {CLSID_ArbitraryConstruction, CLSID_QuadricConstruction, CLSID_AbsoluteConstruction,
                          CLSID_InverslyConstruction, CLSID_SquareRootConstruction, CLSID_PointConstruction,
                          CLSID_CircleConstruction,   CLSID_LineConstruction,      CLSID_Segment};
    for (const Guid& kind : kinds) {
        ComPtr<IConstruction> construction;
        ASSERT_EQ(createInstance(kind, construction), platform::S_OK);
        const ComPtr<ITask> first = newTask();
        const ComPtr<ITask> second = newTask();
        ASSERT_EQ(first->Add(construction.get()), platform::S_OK);
        EXPECT_TRUE(platform::Failed(second->Add(construction.get())));
        const std::optional<ErrorInfo> error = lastError(second.get(), ITask::iid);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->description, "The Construction is already in some Task!");
        ASSERT_EQ(first->Remove(construction.get()), platform::S_OK);
        EXPECT_EQ(second->Add(construction.get()), platform::S_OK) << "free again once removed";
    }
}

}  // namespace
}  // namespace constructions::plotwise::test
