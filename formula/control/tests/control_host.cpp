#include "formula/control/tests/control_host.h"

#include <QWidget>

#include <filesystem>

#include "formula/layout/qt_canvas.h"
#include "formula/tests/transformer_test_util.h"
#include "platform/registry.h"
#include "testsupport/temp_dir.h"

namespace formula::control::test {

QPoint pointOf(const std::string& text, std::string_view lexeme, int nth)
{
    formula::test::TransformerFixture layout(text);
    QtCanvas canvas;
    layout.env.Layout(canvas);
    const Point at = layout.At(lexeme, nth);
    return {at.x, at.y};
}

void ControlHost::SetUp()
{
    testsupport::resetHives();
    const std::string library = std::filesystem::absolute(FORMAVEL_LIBRARY).lexically_normal().string();
    ASSERT_EQ(registerLibrary(library), platform::S_OK);
    platform::setMessageRecorder(&messages);
}

void ControlHost::TearDown()
{
    if (object && m_cookie != 0) {
        connectionUnadvise(object.get(), DIID__DFormavelEvents, m_cookie);
    }
    object.reset();
    parent.reset();
    platform::setMessageRecorder(nullptr);
    testsupport::resetHives();
}

void ControlHost::advise()
{
    m_sink = make<EventSink>([this](DISPID id, std::span<const Variant> args) {
        std::string line = std::to_string(id);
        for (const Variant& arg : args) {
            line += " " + arg.describe();
        }
        events.push_back(line);
    });
    EXPECT_EQ(connectionAdvise(object.get(), DIID__DFormavelEvents, m_sink.get(), &m_cookie), platform::S_OK);
}

DispatchDriver ControlHost::createWindowless()
{
    EXPECT_EQ(createInstance(CLSID_Formavel, object), platform::S_OK);
    advise();
    return DispatchDriver(object);
}

DispatchDriver ControlHost::createPlaced(int width, int height)
{
    parent = std::make_unique<QWidget>();
    parent->resize(width, height);
    EXPECT_EQ(createControl(CLSID_Formavel, parent.get(), &object, &window), platform::S_OK);
    if (window) {
        window->setGeometry(0, 0, width, height);
    }
    parent->show();
    advise();
    return DispatchDriver(object);
}

std::vector<std::string> ControlHost::eventsWithId(int id) const
{
    std::vector<std::string> found;
    const std::string prefix = std::to_string(id);
    for (const std::string& event : events) {
        if (event == prefix || event.starts_with(prefix + " ")) {
            found.push_back(event);
        }
    }
    return found;
}

}  // namespace formula::control::test
