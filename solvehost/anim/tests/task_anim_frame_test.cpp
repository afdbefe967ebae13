// The animation window in a temporary install whose kernel/temp holds fixture
// style sheets. Every case starts the browser engine (about 1.5 s and 0.8 GB),
// so the page checks are gathered into one case.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWebEngineView>

#include <filesystem>
#include <string>

#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/xml.h"
#include "shared/settings.h"
#include "solvehost/anim/task_anim_frame.h"
#include "testsupport/temp_dir.h"

namespace solvehost {
namespace {

namespace fs = std::filesystem;

std::string fixtureSheet(const std::string& heading)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
           "<xsl:output method=\"html\" encoding=\"UTF-8\"/>"
           "<xsl:template match=\"/\"><html><head><title>" +
           heading + "</title></head><body style=\"background:#eef4ff;font-family:sans-serif\"><h1>" + heading +
           "</h1><p>Animation: <b><xsl:value-of select=\"ANIM/@file\"/></b></p></body></html></xsl:template>"
           "</xsl:stylesheet>";
}

// The text of the page the view shows once its load has finished.
std::string pageText(CTaskAnimFrame& frame)
{
    EXPECT_TRUE(frame.GetView()->waitForLoad());
    QString result;
    bool done = false;
    QEventLoop loop;
    frame.GetView()->webView()->page()->toPlainText([&](const QString& text) {
        result = text;
        done = true;
        loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec();
    return result.toStdString();
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// (style sheet, ANIM/@file) of the written anim.xml.
std::pair<std::string, std::string> written(const std::string& path)
{
    const platform::xml::Document document = platform::xml::Document::loadFile(path);
    const std::string text = document.xml();
    const std::string marker = "<?xml-stylesheet type = \"text/xsl\" href = \"";
    const auto start = text.find(marker);
    EXPECT_NE(start, std::string::npos) << text;
    if (start == std::string::npos)
        return {};
    const auto from = start + marker.size();
    const std::string sheet = text.substr(from, text.find('"', from) - from);
    EXPECT_EQ(document.root()->name(), "ANIM");
    return {sheet, document.root()->attribute("file").value_or("<none>")};
}

TEST(TaskAnimFrame, WritesTheAnimationAndShowsItsPage)
{
    testsupport::resetHives();
    testsupport::TempDir root;
    ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey,
                                              "InstallPath", root.path()),
              0);
    platform::MessageRecorder messages;
    platform::setMessageRecorder(&messages);
    root.write("kernel/temp/guide.xslt", fixtureSheet("Guide animation"));
    root.write("kernel/temp/task.xslt", fixtureSheet("Task animation"));
    const std::string anim = root.file("kernel/temp/anim.xml");
    ASSERT_EQ(CTaskAnimFrame::AnimXmlPath(), anim);

    QPointer<CTaskAnimFrame> guide = new CTaskAnimFrame("guide.xslt");
    EXPECT_FALSE(guide->testAttribute(Qt::WA_QuitOnClose));

    // Before the window exists the name is only stored.
    const std::string awkward = "a \"quoted\" step & x < y";
    guide->SetAnimFile(awkward);
    EXPECT_EQ(guide->GetView(), nullptr);
    EXPECT_FALSE(fs::exists(anim));

    ASSERT_TRUE(guide->Create());
    ASSERT_NE(guide->GetView(), nullptr);
    EXPECT_EQ(guide->centralWidget(), guide->GetView());
    EXPECT_FALSE(guide->Create());
    EXPECT_EQ(written(anim), (std::pair<std::string, std::string>{"guide.xslt", awkward}));
    guide->resize(640, 360);
    guide->show();
    std::string shown = pageText(*guide);
    EXPECT_TRUE(has(shown, "Guide animation")) << shown;
    EXPECT_TRUE(has(shown, "Animation: " + awkward)) << shown;

    // The page as the pupil sees it.
    {
        QEventLoop loop;
        QTimer::singleShot(1500, &loop, &QEventLoop::quit);
        loop.exec();
        const QImage shot = guide->grab().toImage();
        EXPECT_TRUE(shot.save(QStringLiteral(ANIM_SHOT_DIR "/anim_frame_fixture.png")));
    }

    // A second name replaces the page (the same file, read again).
    guide->SetAnimFile("linear equation");
    shown = pageText(*guide);
    EXPECT_TRUE(has(shown, "Animation: linear equation")) << shown;
    EXPECT_FALSE(has(shown, awkward)) << shown;

    // An empty name writes nothing and the page stays.
    const std::string before = testsupport::readFile(anim);
    guide->SetAnimFile("");
    EXPECT_EQ(testsupport::readFile(anim), before);
    EXPECT_FALSE(guide->GetView()->isLoading());
    EXPECT_EQ(pageText(*guide), shown);

    // A file that cannot be written: the message, and the page stays.
    fs::rename(root.file("kernel/temp"), root.file("kernel/temp.away"));
    root.write("kernel/temp", "a file where the folder belongs");
    guide->SetAnimFile("quadratic");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Не вдалося записати файл:\n" + anim);
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Warning);
    EXPECT_FALSE(guide->GetView()->isLoading());
    EXPECT_EQ(pageText(*guide), shown);
    fs::remove(root.file("kernel/temp"));
    fs::rename(root.file("kernel/temp.away"), root.file("kernel/temp"));

    // Two frames write the same file: the last writer wins.
    QPointer<CTaskAnimFrame> task = new CTaskAnimFrame("task.xslt");
    task->SetAnimFile("task one");
    ASSERT_TRUE(task->Create());
    EXPECT_EQ(written(anim), (std::pair<std::string, std::string>{"task.xslt", "task one"}));
    EXPECT_TRUE(has(pageText(*task), "Task animation"));
    guide->SetAnimFile("guide again");
    EXPECT_EQ(written(anim), (std::pair<std::string, std::string>{"guide.xslt", "guide again"}));
    shown = pageText(*guide);
    EXPECT_TRUE(has(shown, "Guide animation")) << shown;
    EXPECT_TRUE(has(shown, "Animation: guide again")) << shown;
    EXPECT_EQ(messages.messages.size(), 1u);

    // Closing destroys a frame, as a frame's close does; the program goes on.
    guide->close();
    task->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guide.isNull());
    EXPECT_TRUE(task.isNull());

    platform::setMessageRecorder(nullptr);
    testsupport::resetHives();
}

}  // namespace
}  // namespace solvehost
