#pragma once
// A test host of the formula control: Formavel.so registered in the
// temporary machine hive, the control created by CLSID (with or without a
// window), its events recorded through a connection point and its message
// boxes through the recorder.
#include <gtest/gtest.h>

#include <QPoint>
#include <QWidget>

#include <memory>
#include <string_view>
#include <string>
#include <vector>

#include "formula/control/formavel_ids.h"
#include "platform/com/com.h"
#include "platform/message_box.h"


namespace formula::control::test {

using namespace platform::com;

// Where a lexeme of a formula lies in the control: the same text laid out
// by the same code at the control's position.
QPoint pointOf(const std::string& text, std::string_view lexeme, int nth);

class ControlHost : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A control without a window.
    DispatchDriver createWindowless();
    // A control placed in a parent widget of the given size.
    DispatchDriver createPlaced(int width = 420, int height = 120);

    // Events as text: "1", "2 I4 12 String \"x+!y=!5\" ...".
    std::vector<std::string> events;
    std::vector<std::string> eventsWithId(int id) const;
    platform::MessageRecorder messages;
    std::unique_ptr<QWidget> parent;
    QWidget* window = nullptr;
    ComPtr<IDispatch> object;

private:
    void advise();
    ComPtr<EventSink> m_sink;
    std::uint32_t m_cookie = 0;
};

}  // namespace formula::control::test
