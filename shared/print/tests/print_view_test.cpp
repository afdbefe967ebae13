// The print window with a temporary install of fixture stylesheets. Every
// case starts the browser engine (about 1.5 s and 0.8 GB), so the page checks
// are gathered into few cases.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <filesystem>
#include <string>

#include "platform/html/html_view.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/xml.h"
#include "shared/language.h"
#include "shared/print/print_html_view.h"
#include "shared/settings.h"
#include "testsupport/temp_dir.h"

namespace shared {
namespace {

namespace fs = std::filesystem;

std::string sheet(const std::string& body, const std::string& first = {})
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
        + first + "<xsl:output method=\"html\" encoding=\"UTF-8\"/>" + body + "</xsl:stylesheet>";
}

std::string page(const std::string& heading)
{
    return "<xsl:template match=\"/\"><html><head><title>" + heading + "</title></head><body><h1>" + heading
        + "</h1><xsl:apply-templates/></body></html></xsl:template>";
}

class PrintView : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, kSuiteRegistryKey,
                                                  "InstallPath", root.path()),
                  0);
        platform::setMessageRecorder(&messages);
        for (auto [key, text] : {std::pair{"versionPrint", "Версія для друку"}, {"MenuPrintPreView", "Друк"},
                                 {"fileMenuPrint", "Друкувати..."}, {"fileMenuPrintPreView", "Попередній перегляд"},
                                 {"messageTitle", "Повідомлення"},
                                 {"erPrintPage", "Не вдалося підготувати версію для друку."}})
            ProgramLanguageTable().Set(key, text);

        const std::string data = "kernel/data/lang/ua/";
        root.write(data + "taskbaseprintLang.xslt",
                   sheet("<xsl:template match=\"TASK\"><p>Base print: <xsl:value-of select=\"TEXT\"/></p>"
                         "</xsl:template>"));
        root.write(data + "taskbaseprintLangZ.xslt",
                   sheet("<xsl:template match=\"TASK\"><p>Base print Z: <xsl:value-of select=\"TEXT\"/></p>"
                         "</xsl:template>"));
        root.write(data + "conspbaseprintLang.xslt",
                   sheet("<xsl:template match=\"CONSPECT\"><p>Conspect print: <xsl:value-of select=\"TEXT\"/>"
                         "</p></xsl:template>"));
        // The libraries' sheets name their base-print sheet where it is not.
        root.write(base + "libgeomt/tasks/task.xslt",
                   sheet(page("Geometry"), "<xsl:include href=\"../../../../kernel/data/taskbaseprintLang.xslt\"/>"));
        root.write(base + "libalgt/tasks/task.xslt",
                   sheet(page("Algebra"), "<xsl:include href=\"../../../../kernel/data/taskbaseprintLangZ.xslt\"/>"));
        root.write(base + "libofsa/doc/consp.xslt",
                   "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                   "<xsl:import href=\"nowhere.xslt\"/><xsl:output method=\"html\" encoding=\"UTF-8\"/>"
                       + page("Conspect") + "</xsl:stylesheet>");
        for (const char* book : {"TextBook", "TaskBook"})
            root.write(base + book + "/book.xslt",
                       sheet(page(std::string(book) + " page") + "<xsl:template match=\"P\"><p><xsl:value-of "
                                                                 "select=\".\"/></p></xsl:template>"));
    }
    void TearDown() override
    {
        platform::setMessageRecorder(nullptr);
        platform::html::setPrinterChooser({});
        testsupport::resetHives();
    }

    // The text of the page the view shows once its load has finished.
    static std::string text(CPrintHtmlView& window)
    {
        EXPECT_TRUE(window.View()->waitForLoad());
        QString result;
        bool done = false;
        QEventLoop loop;
        window.View()->webView()->page()->toPlainText([&](const QString& t) {
            result = t;
            done = true;
            loop.quit();
        });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        if (!done)
            loop.exec();
        return result.toStdString();
    }
    static bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

    testsupport::TempDir root;
    const std::string base = "modules/tessaly/lang/ua/";
    platform::MessageRecorder messages;
};

TEST_F(PrintView, ShowsEachKindOfDocumentThroughItsStylesheet)
{
    CPrintHtmlView window;
    const std::string geometry = root.write(base + "libgeomt/tasks/task1.xml",
                                            "<TASK><TEXT>Побудуйте трикутник</TEXT></TASK>");
    const std::string algebra = root.write(base + "libalgt/tasks/task2.xml",
                                           "<TASK><TEXT>Розв'яжіть рівняння</TEXT></TASK>");
    const std::string conspect = root.write(base + "libofsa/doc/c1.xml",
                                            "<CONSPECT><TEXT>Квадратні рівняння</TEXT></CONSPECT>");

    // The include now names the six-level href with the language folder.
    EXPECT_TRUE(window.PrintDocument("  " + geometry + "\n"));
    std::string shown = text(window);
    EXPECT_TRUE(has(shown, "Geometry")) << shown;
    EXPECT_TRUE(has(shown, "Base print: Побудуйте трикутник")) << shown;
    EXPECT_TRUE(has(testsupport::readFile(CPrintHtmlView::TemporaryPagePath()), "Base print: Побудуйте"));
    EXPECT_EQ(CPrintHtmlView::TemporaryPagePath(),
              testsupport::sandboxPath() + "cache/Pelmarin/Tessaly/navigateTempFile.htm");

    EXPECT_TRUE(window.PrintDocument(algebra));
    shown = text(window);
    EXPECT_TRUE(has(shown, "Algebra")) << shown;
    EXPECT_TRUE(has(shown, "Base print Z: Розв'яжіть рівняння")) << shown;

    EXPECT_TRUE(window.PrintDocument(conspect));  // through xsl:import
    shown = text(window);
    EXPECT_TRUE(has(shown, "Conspect print: Квадратні рівняння")) << shown;

    // Another root: false, and the page stays.
    EXPECT_FALSE(window.PrintDocument(root.write("lessons/l1.xml", "<LESSON/>")));
    EXPECT_EQ(text(window), shown);

    // HTML is shown as it is; ".HTML" is not HTML and is read as XML.
    EXPECT_TRUE(window.PrintDocument(root.write("pages/plain.html", "<html><body>Plain page</body></html>")));
    EXPECT_TRUE(has(text(window), "Plain page"));
    const std::string upper = root.write("pages/x.HTML", "<html><body>not XML<br></body></html>");
    try {
        window.PrintDocument(upper);
        ADD_FAILURE() << "no error";
    } catch (const CPrintError& error) {
        EXPECT_EQ(std::string(error.what()), "File " + upper + " do not load");
    }
    // The pupil reads the program's text and the file, the reason goes to
    // the error stream.
    testing::internal::CaptureStderr();
    EXPECT_FALSE(window.ShowDocument(upper));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("File " + upper + " do not load"), std::string::npos) << errors;
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Не вдалося підготувати версію для друку.\n" + upper);
    EXPECT_EQ(messages.messages[0].caption, "Повідомлення");
    EXPECT_EQ(messages.messages[0].icon, platform::MessageIcon::Warning);

    // A sheet without include or import is used as it is.
    root.write(base + "libalgt/tasks/task.xslt",
               sheet(page("Plain algebra") + "<xsl:template match=\"TEXT\">Own: <xsl:value-of select=\".\"/>"
                                             "</xsl:template>"));
    EXPECT_TRUE(window.ShowDocument(algebra));
    shown = text(window);
    EXPECT_TRUE(has(shown, "Own: Розв'яжіть рівняння")) << shown;

    // A missing sheet is named in the error.
    fs::remove(root.file(base + "libofsa/doc/consp.xslt"));
    EXPECT_FALSE(window.ShowDocument(conspect));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text,
              "Не вдалося підготувати версію для друку.\n" + root.file(base + "libofsa/doc/consp.xslt"));

    // Books are copied by their path and shown through their xml-stylesheet.
    const std::string book = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<?xml-stylesheet type=\"text/xsl\" href=\"../book.xslt\"?><Book><P>Глава перша</P></Book>";
    const std::string textBook = root.write(base + "TextBook/ch1/page.xml", book);
    EXPECT_TRUE(window.ShowDocument(textBook));
    shown = text(window);
    EXPECT_TRUE(has(shown, "TextBook page")) << shown;
    EXPECT_TRUE(has(shown, "Глава перша")) << shown;
    EXPECT_EQ(testsupport::readFile(root.file(base + "TextBook/temp/temp.xml")), book);
    const std::string taskBook = root.write(base + "TaskBook/t1/page.xml", book);
    EXPECT_TRUE(window.ShowDocument(taskBook));
    EXPECT_TRUE(has(text(window), "TaskBook page"));
    EXPECT_EQ(testsupport::readFile(root.file(base + "TaskBook/temp/temp.xml")), book);

    // A copy that cannot be made is an error, not the previous copy.
    fs::remove_all(root.file(base + "TaskBook/temp"));
    root.write(base + "TaskBook/temp", "a file where the folder belongs");
    EXPECT_FALSE(window.ShowDocument(taskBook));
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_TRUE(has(messages.messages[2].text, "TaskBook/temp")) << messages.messages[2].text;
}

TEST_F(PrintView, WindowMenusTextsAndPrinting)
{
    CPrintHtmlView window(QStringLiteral("PrintView"));
    EXPECT_EQ(window.windowTitle(), QString("Версія для друку"));
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(window.testAttribute(Qt::WA_QuitOnClose));
    ASSERT_EQ(window.menuBar()->actions().size(), 1);
    QMenu* menu = window.menuBar()->actions()[0]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QString("Друк"));
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0], window.CommandAction(40002));
    EXPECT_EQ(menu->actions()[0]->text(), QString("Друкувати..."));
    EXPECT_EQ(menu->actions()[1], window.CommandAction(32859));
    EXPECT_EQ(menu->actions()[1]->text(), QString("Попередній перегляд"));
    EXPECT_TRUE(window.View()->waitForLoad());
    EXPECT_EQ(window.View()->webView()->url().toString(), QString("about:blank"));

    // Stepwell's print: the task text through the base-print sheet as it is.
    const std::string basePrint = root.file("kernel/data/lang/ua/taskbaseprintLang.xslt");
    const std::string task = "<TASK><TEXT>Спростіть вираз (a+b)(a-b)</TEXT></TASK>";
    EXPECT_TRUE(window.ShowDocument(basePrint, task));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMaximized());
    EXPECT_TRUE(has(text(window), "Base print: Спростіть вираз (a+b)(a-b)"));
    fs::create_directories(PRINT_VIEW_SHOT_DIR);
    // The page reaches the screen a little after its load: wait for ink
    // below the menu bar.
    QImage shot;
    const bool painted = QTest::qWaitFor(
        [&] {
            shot = window.grab().toImage();
            for (int y = 40; y < shot.height(); y += 2)
                for (int x = 0; x < shot.width(); x += 2)
                    if (qGray(shot.pixel(x, y)) < 128)
                        return true;
            return false;
        },
        20000);
    EXPECT_TRUE(painted);
    EXPECT_TRUE(shot.save(PRINT_VIEW_SHOT_DIR "/print_view_task.png"));

    // Closing hides; showing again brings the same window back maximised.
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.ShowDocument(basePrint, task));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMaximized());
    EXPECT_FALSE(window.ShowDocument(basePrint, "<TASK>"));
    EXPECT_FALSE(window.ShowDocument(root.file("missing.xslt"), task));
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "Не вдалося підготувати версію для друку.");
    EXPECT_EQ(messages.messages[1].text, "Не вдалося підготувати версію для друку.\n" + root.file("missing.xslt"));
    EXPECT_TRUE(has(text(window), "Base print: Спростіть"));

    // Print through the menu, with the printer chooser replaced.
    const std::string pdf = root.file("printed.pdf");
    int asked = 0;
    platform::html::setPrinterChooser([&](QPrinter& printer, QWidget*) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    });
    window.menuBar()->setActiveAction(window.menuBar()->actions()[0]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 10000));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[0]).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(pdf) && fs::file_size(pdf) > 0; }, 60000));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(testsupport::readFile(pdf).substr(0, 4), "%PDF");

    // The preview shows the printed pages; it is looked at, then closed.
    int previewPages = -1;
    QTimer watcher;
    QElapsedTimer watched;
    watched.start();
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (watched.elapsed() > 60000)
                watcher.stop();
            return;
        }
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        if (preview && preview->pageCount() == 0 && watched.elapsed() < 60000)
            return;
        previewPages = preview ? preview->pageCount() : -1;
        dialog->grab().save(PRINT_VIEW_SHOT_DIR "/print_view_preview.png");
        dialog->reject();
        watcher.stop();
    });
    watcher.start(50);
    window.CommandAction(32859)->trigger();
    EXPECT_EQ(previewPages, 1);
}

}  // namespace
}  // namespace shared
