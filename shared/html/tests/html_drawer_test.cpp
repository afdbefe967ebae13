// The HTML text drawer: runs, tags, tab stops, tables, hot areas and
// pictures, measured and drawn into pictures; the credits text of the About
// box saved as html_credits.png in this build folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "platform/fonts.h"
#include "shared/html/html_drawer.h"

namespace shared {
namespace {

QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Measures, then draws into the whole canvas, as an owner does.
QImage Render(CHtmlDrawer& drawer, const QString& text, int width = 300, int height = 100, QSize* size = nullptr)
{
    QImage image = Canvas(width, height);
    QPainter painter(&image);
    const QSize needed = drawer.DrawHtmlOnBitmap(painter, text);
    if (size)
        *size = needed;
    drawer.DrawHtml(painter, text, image.rect());
    return image;
}

// The body font of the built-in sheet: Times New Roman 10pt, 13 pixels.
QFont BodyFont()
{
    return platform::fonts::gdiFont("Times New Roman", 13, 0, 400);
}

TEST(HtmlDrawer, RunsMeasureAndTabStops)
{
    CHtmlDrawer drawer;
    const QFontMetrics metrics(BodyFont());
    const int x = metrics.boundingRect(QStringLiteral("x")).width();
    QImage image = Canvas(300, 50);
    QPainter painter(&image);
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, QString()), QSize(0, 0));
    const struct {
        const char* text;
        int width;
    } rows[] = {
        {"x", x + 1},
        {"<t>x", 32 + x + 1},
        {"\tx", 32 + x + 1},
        {"<t=2>x", 64 + x + 1},
        {"x<t>x", 32 + x + 1},         // off a stop: to the next one
        {"<t>x<t>x", 64 + x + 1},      // 32 + x is off a stop
        {"x<br>x<br>x", x + 1},
    };
    for (const auto& row : rows)
        EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, row.text).width(), row.width) << row.text;
    // Lines end only at breaks; a line feed is a break, a carriage return nothing.
    const int line = drawer.DrawHtmlOnBitmap(painter, "x").height() - 1;
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "x<br>x").height() - 1, 2 * line);
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "x\r\nx").height() - 1, 2 * line);
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "x<br=3>x").height() - 1, 4 * line);
    drawer.SetControlCharacters(false);
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "x\nx\tx").height() - 1, line);
}

TEST(HtmlDrawer, LiteralLessThanAndIgnoredTags)
{
    // "a<<b" draws the same pixels as "a<b" written straight with the body font.
    QImage expected = Canvas(120, 30);
    {
        QPainter painter(&expected);
        painter.setFont(BodyFont());
        painter.setPen(Qt::black);
        const QRect box = QFontMetrics(BodyFont()).boundingRect(QRect(0, 0, 119, 1 << 20), Qt::TextWordWrap,
                                                                QStringLiteral("a<b"));
        painter.drawText(QRect(0, 0, box.width(), box.height()), Qt::TextWordWrap, QStringLiteral("a<b"));
    }
    CHtmlDrawer drawer;
    EXPECT_EQ(Render(drawer, "a<<b", 120, 30), expected);
    // Unknown tags and an unmatched closing tag change nothing.
    const QImage plain = Render(drawer, "a<b>b</b>c", 120, 30);
    EXPECT_EQ(Render(drawer, "</i></font>a<b>b</b>c", 120, 30), plain);
    EXPECT_EQ(Render(drawer, "a<b><blink>bc</blink></b>", 120, 30), Render(drawer, "a<b>bc</b>", 120, 30));
    EXPECT_NE(plain, Render(drawer, "abc", 120, 30));  // the bold b shows
}

TEST(HtmlDrawer, HotAreasAndHoverStyle)
{
    CHtmlDrawer drawer;
    const QString text = QStringLiteral("x <a href=\"u\">go</a> <a msg=m7>on</a> <a>bare</a>");
    const QImage plain = Render(drawer, text);
    Render(drawer, text);  // every drawing pass starts a new list
    ASSERT_EQ(drawer.hotAreas().size(), 3);
    const HtmlHotArea& first = drawer.hotAreas()[0];
    EXPECT_EQ(first.kind, 1);
    EXPECT_EQ(first.target, "u");
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(drawer.hotAreas()[1].kind, 2);
    EXPECT_EQ(drawer.hotAreas()[1].target, "m7");
    EXPECT_EQ(drawer.hotAreas()[1].index, 1);
    EXPECT_EQ(drawer.hotAreas()[2].kind, 2);
    EXPECT_EQ(drawer.hotAreas()[2].target, "");
    EXPECT_GT(first.rect.left(), 0);
    EXPECT_EQ(drawer.HotAreaAt(first.rect.center()), 0);
    EXPECT_EQ(drawer.HotAreaAt(QPoint(0, 0)), -1);
    // Links are blue; the hot one is underlined (a:hover), the others not.
    const QImage& image = plain;
    bool blue = false;
    for (int y = first.rect.top(); y <= first.rect.bottom(); ++y) {
        for (int x = first.rect.left(); x <= first.rect.right(); ++x)
            blue |= qBlue(image.pixel(x, y)) > 200 && qRed(image.pixel(x, y)) < 60;
    }
    EXPECT_TRUE(blue);
    drawer.SetHotLink(1);
    const QImage hot = Render(drawer, text);
    const QRect second = drawer.hotAreas()[1].rect;
    EXPECT_EQ(hot.copy(first.rect), plain.copy(first.rect));
    EXPECT_NE(hot.copy(second), plain.copy(second));
}

TEST(HtmlDrawer, TablesColumnsAndCentring)
{
    CHtmlDrawer drawer;
    QImage image = Canvas(300, 100);
    QPainter painter(&image);
    drawer.DrawHtmlOnBitmap(painter, "<table><tr><td colspan=2>wide</td><td>c</td></tr><tr><td>a</td></tr></table>");
    ASSERT_EQ(drawer.tables().size(), 1);
    EXPECT_EQ(drawer.tables()[0].columnWidths.size(), 3);
    EXPECT_EQ(drawer.tables()[0].rowHeights.size(), 2);
    // Spread over the available width, the remainder to the first column.
    int sum = 0;
    for (const int w : drawer.tables()[0].columnWidths)
        sum += w;
    EXPECT_EQ(sum, 300);
    // A table without cells is skipped; nested tables are recorded too.
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<table><tr></tr></table>"), QSize(1, 1));
    drawer.DrawHtmlOnBitmap(painter, "<table><tr><td><table><tr><td>i</td><td>j</td></tr></table></td></tr></table>");
    EXPECT_EQ(drawer.tables().size(), 2);
    painter.end();

    // A 100-pixel table centred in 299 pixels starts at 99; its solid black
    // frame is there.
    const QString centred = QStringLiteral("<table width=100 align=center border=1><tr><td>x</td></tr></table>");
    const QImage drawn = Render(drawer, centred, 300, 60);
    EXPECT_EQ(drawn.pixel(99, 0), qRgb(0, 0, 0));
    EXPECT_EQ(drawn.pixel(98, 0), qRgb(255, 255, 255));
    EXPECT_EQ(drawn.pixel(198, 0), qRgb(0, 0, 0));
    EXPECT_EQ(drawn.pixel(199, 0), qRgb(255, 255, 255));
    const QImage left = Render(drawer, "<table width=100 border=1><tr><td>x</td></tr></table>", 300, 60);
    EXPECT_EQ(left.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(left.pixel(99, 0), qRgb(0, 0, 0));
    EXPECT_EQ(left.pixel(100, 0), qRgb(255, 255, 255));
}

TEST(HtmlDrawer, PicturesStayInTheDataFolder)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir(root.path()).mkpath("data"));
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(root.filePath("data/p.png")));
    ASSERT_TRUE(picture.save(root.filePath("outside.png")));
    CHtmlDrawer drawer;
    drawer.SetDataFolder(root.filePath("data"));
    QImage image = Canvas(100, 40);
    QPainter painter(&image);
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<bmp file=p.png>"), QSize(21, 11));
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<bmp file=p.png width=200%>"), QSize(41, 21));
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<bmp file=../outside.png>"), QSize(1, 1));
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<bmp file=\"" + root.filePath("outside.png") + "\">"), QSize(1, 1));
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<bmp srcdll=x.dll iddll=5><bmp handle=77>"), QSize(1, 1));
    drawer.DrawHtml(painter, "<bmp file=p.png>", image.rect());
    painter.end();
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(21, 11), qRgb(255, 255, 255));
    // Style "s": a soft shadow 4 pixels right and down, blurred 7 by 7, half
    // of RGB(128,128,128) laid over the white.
    const QImage shadowed = Render(drawer, "<bmp file=p.png style=s>", 100, 40);
    EXPECT_EQ(shadowed.pixel(5, 5), qRgb(255, 0, 0));
    QImage expected = Canvas(100, 40);
    {
        QPainter painter(&expected);
        CDrawEffects().DrawBitmap(painter, 0, 0, 20, 10, picture, false, QColor(), ImageEffect::SoftShadow, 4, 4,
                                  ShadowLook{7, 7, QColor(128, 128, 128), 50});
    }
    EXPECT_EQ(shadowed, expected);
    EXPECT_NE(qRed(shadowed.pixel(21, 11)), 255);
}

TEST(HtmlDrawer, ResourcePicturesByModuleAndId)
{
    CHtmlDrawer drawer;
    QImage image = Canvas(100, 60);
    QPainter painter(&image);
    // Without a module no resource is looked up.
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<bmp idres=3>"), QSize(1, 1));
    drawer.SetResourceModule("splashtest");
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<bmp idres=3>"), QSize(41, 31));
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<icon idres=3 cx=16 cy=16>"), QSize(17, 17));
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<bmp idres=3 height=15>"), QSize(21, 16));
    EXPECT_EQ(drawer.DrawHtmlOnBitmap(painter, "<bmp idres=99><string idres=3>"), QSize(1, 1));
}

// The About box's credits: 350 x 500, measured then drawn, saved to look at.
TEST(HtmlDrawer, CreditsPicture)
{
    const QString credits = QStringLiteral(
        "<center><h1>Tessaly</h1><br><h5>Algebra lessons for schools</h5><br><br>"
        "<hr width=80% size=2 color=#ff9900><br>"
        "<h2>Programming</h2><br>Anna Lindqvist<br>Marek Dvorak<br><br>"
        "<h3>Lessons</h3><br><i>Claire Moreau</i><br><b>Tomas Berg</b><br><br>"
        "<table width=80% align=center border=1 bordercolor=navy bgeffect=vgradient bgcolor=lightyellow "
        "bgendcolor=gold><tr><td colspan=2 align=center><b>Thanks</b></td></tr>"
        "<tr><td>Testing</td><td>Ines Costa</td></tr><tr><td>Pictures</td><td>Olek Nowak</td></tr></table><br>"
        "x<sup>2</sup> + y<sub>1</sub> and <font color=red style=o>overline</font><br>"
        "<a href=\"https://example.org\">example.org</a></center>");
    CHtmlDrawer drawer;
    QSize size;
    const QImage image = Render(drawer, credits, 350, 500, &size);
    EXPECT_GT(size.height(), 200);
    EXPECT_LE(size.width(), 351);
    EXPECT_EQ(drawer.tables().size(), 1);
    EXPECT_EQ(drawer.hotAreas().size(), 1);
    ASSERT_TRUE(image.save(QStringLiteral(LIST_PNG_DIR "/html_credits.png")));
}

}  // namespace
}  // namespace shared
