#include "constructions/plotwise/component/tests/plotwise_host.h"

#include <QPainter>
#include <QTest>

#include <filesystem>

#include "constructions/plotwise/component/plotwise_ids.h"
#include "testsupport/temp_dir.h"

namespace constructions::plotwise::test {

HRESULT TestConstruction::Draw(DeviceContextHandle dc, std::int32_t code)
{
    drawCodes.push_back(code);
    if (onDraw)
        onDraw(dc);
    return platform::S_OK;
}

void PlotwiseHost::SetUp()
{
    testsupport::resetHives();
    const std::string library = std::filesystem::absolute(PLOTWISE_LIBRARY).lexically_normal().string();
    ASSERT_EQ(registerLibrary(library), platform::S_OK);
}

void PlotwiseHost::TearDown()
{
    tasks.reset();
    control.reset();
    parent.reset();
    canvasDc.reset();
    canvasPainter.reset();
    plainWindow.reset();
    testsupport::resetHives();
}

ComPtr<ITask> PlotwiseHost::newTask()
{
    ComPtr<ITask> task;
    EXPECT_EQ(createInstance(CLSID_Task, task), platform::S_OK);
    return task;
}

ComPtr<ITasks> PlotwiseHost::newTasks()
{
    ComPtr<ITasks> list;
    EXPECT_EQ(createInstance(CLSID_Tasks, list), platform::S_OK);
    return list;
}

ComPtr<ITask> PlotwiseHost::taskInWindow(int width, int height)
{
    plainWindow = std::make_unique<QWidget>();
    plainWindow->resize(width, height);
    canvas = QImage(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    canvasPainter = std::make_unique<QPainter>(&canvas);
    canvasDc = std::make_unique<platform::handles::DeviceContext>(canvasPainter.get());
    tasks = newTasks();
    tasks->put_hWND(platform::handles::windowHandle(plainWindow.get()));
    tasks->put_hDc(canvasDc->handle());
    ComPtr<ITask> task = newTask();
    EXPECT_EQ(tasks->Add(task.get()), platform::S_OK);
    EXPECT_EQ(tasks->put_ActiveTask(task.get()), platform::S_OK);
    return task;
}

ComPtr<ITasks> PlotwiseHost::placeControl(int width, int height)
{
    parent = std::make_unique<QWidget>();
    parent->resize(width, height);
    EXPECT_EQ(createControl(CLSID_ZezidoziBuilder, parent.get(), &control, &controlWindow), platform::S_OK);
    if (controlWindow)
        controlWindow->setGeometry(0, 0, width, height);
    parent->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(parent.get()));
    ComPtr<IZezidoziBuilder> builder;
    EXPECT_EQ(control.query(builder), platform::S_OK);
    ComPtr<ITasks> list;
    EXPECT_EQ(builder->get_Tasks(list.put()), platform::S_OK);
    return list;
}

std::optional<ErrorInfo> lastError(IUnknown* object, const IID& iid) { return errorInfoFor(object, iid); }

}  // namespace constructions::plotwise::test
