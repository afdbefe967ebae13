#include <gtest/gtest.h>

#include <utility>

#include "stepwell/model/task_receiver.h"

namespace stepwell {
namespace {

std::string taskText(const std::string& id)
{
    return "<TASK id=\"" + id + "\" type=\"linear\"><CONDITION><TEXT>t</TEXT></CONDITION></TASK>";
}

// A frame as the receiver sees it: what is open, what was asked, what opened.
struct FakeFrame {
    bool boxOpen = false;
    bool taskOpen = false;
    std::vector<bool> answers;  // to "msgCloseTask", in order
    int questions = 0;
    int dialogsClosed = 0;
    std::vector<std::string> opened;
    std::function<void()> duringQuestion;
    bool formulasRead = true;
    int refused = 0;

    CTaskReceiver::Hooks hooks()
    {
        return {[this] { return boxOpen; }, [this] { return taskOpen; },
                [this] {
                    const bool yes = answers.at(static_cast<std::size_t>(questions++));
                    if (duringQuestion) {
                        const std::function<void()> once = std::exchange(duringQuestion, nullptr);
                        boxOpen = true;
                        once();
                        boxOpen = false;
                    }
                    return yes;
                },
                [this] { ++dialogsClosed; },
                [this](const ReceivedTask& task) {
                    opened.push_back(task.task);
                    taskOpen = true;
                },
                [this](const ReceivedTask&) { return formulasRead; }, [this] { ++refused; }};
    }
};

TEST(TaskReceiver, OnlyTheOpeningCodesAreKept)
{
    FakeFrame frame;
    frame.answers = {true};
    CTaskReceiver receiver(frame.hooks());
    const std::pair<std::uint32_t, bool> codes[] = {{0, false}, {1, true}, {3, true}, {4, false}, {6, false}, {2, false}};
    for (const auto& [code, kept] : codes)
        EXPECT_EQ(receiver.Receive(code, taskText(std::to_string(code))), kept) << code;
    EXPECT_EQ(receiver.ProcessPending(), CTaskReceiver::Outcome::Done);
    EXPECT_EQ(frame.opened, (std::vector<std::string>{taskText("1"), taskText("3")}));
}

TEST(TaskReceiver, AnOpenTaskIsClosedOnlyOnYes)
{
    FakeFrame frame;
    frame.taskOpen = true;
    frame.answers = {false, true};
    CTaskReceiver receiver(frame.hooks());
    receiver.Receive(1, taskText("no"));
    receiver.Receive(1, "<SOLUTION/>");  // not a task: dropped without a question
    receiver.Receive(1, taskText("yes"));
    receiver.ProcessPending();
    EXPECT_EQ(frame.questions, 2);
    EXPECT_EQ(frame.dialogsClosed, 1);
    EXPECT_EQ(frame.opened, (std::vector<std::string>{taskText("yes")}));
    EXPECT_EQ(receiver.pending(), 0u);
}

// A text that does not read, or whose formulas do not, is refused before
// any question: the open task stays.
TEST(TaskReceiver, ATextThatDoesNotReadIsRefusedBeforeTheQuestion)
{
    FakeFrame frame;
    frame.taskOpen = true;
    CTaskReceiver receiver(frame.hooks());
    for (const std::string& text : {std::string(), taskText("1").substr(0, 30), std::string("\xFF\xFE\x00\x01", 4),
                                    std::string("<TASK id=\"1\"><CONDITION><TEXT><FORMULA>x</FORMULA></TEXT>"
                                                "</CONDITION></TASK>")})
        receiver.Receive(1, text);
    receiver.ProcessPending();
    EXPECT_EQ(frame.refused, 4);
    frame.formulasRead = false;
    receiver.Receive(3, taskText("2"));
    receiver.ProcessPending();
    EXPECT_EQ(frame.refused, 5);
    EXPECT_EQ(frame.questions, 0);
    EXPECT_EQ(frame.dialogsClosed, 0);
    EXPECT_TRUE(frame.opened.empty());
}

TEST(TaskReceiver, ArrivalsUnderABoxWaitInOrder)
{
    FakeFrame frame;
    frame.boxOpen = true;
    CTaskReceiver receiver(frame.hooks());
    receiver.Receive(1, taskText("a"));
    receiver.Receive(3, taskText("b"));
    EXPECT_EQ(receiver.ProcessPending(), CTaskReceiver::Outcome::Busy);
    EXPECT_TRUE(frame.opened.empty());
    EXPECT_EQ(receiver.pending(), 2u);

    frame.boxOpen = false;
    frame.answers = {true};
    EXPECT_EQ(receiver.ProcessPending(), CTaskReceiver::Outcome::Done);
    EXPECT_EQ(frame.opened, (std::vector<std::string>{taskText("a"), taskText("b")}));
}

TEST(TaskReceiver, ATaskArrivingWhileTheQuestionIsOpenWaitsForIt)
{
    FakeFrame frame;
    frame.taskOpen = true;
    frame.answers = {true, true};
    CTaskReceiver receiver(frame.hooks());
    std::vector<CTaskReceiver::Outcome> inner;
    frame.duringQuestion = [&] {
        receiver.Receive(1, taskText("second"));
        inner.push_back(receiver.ProcessPending());
        EXPECT_TRUE(frame.opened.empty());  // nothing replaced under the open question
    };
    receiver.Receive(1, taskText("first"));
    EXPECT_EQ(receiver.ProcessPending(), CTaskReceiver::Outcome::Done);
    EXPECT_EQ(inner, (std::vector<CTaskReceiver::Outcome>{CTaskReceiver::Outcome::Busy}));
    EXPECT_EQ(frame.opened, (std::vector<std::string>{taskText("first"), taskText("second")}));
}

}  // namespace
}  // namespace stepwell
