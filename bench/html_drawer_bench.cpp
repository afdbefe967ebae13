// The About box's credits: a text of about 2 KB measured and drawn into 350
// x 500 as the box does every 50 ms (goal: under 5 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

#include "shared/html/html_drawer.h"

namespace {

void EnsureApplication()
{
    if (QGuiApplication::instance())
        return;
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "tessaly_bench";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

QString Credits()
{
    QString text = QStringLiteral(
        "<center><h1>Tessaly</h1><br><h5>Algebra lessons for schools</h5><br><br>"
        "<hr width=80% size=2 color=#ff9900><br>");
    const char* const names[] = {"Anna Lindqvist", "Marek Dvorak", "Claire Moreau", "Tomas Berg", "Ines Costa",
                                 "Olek Nowak", "Ruth Adler", "Piet de Vries"};
    for (const char* section : {"Programming", "Lessons", "Pictures", "Sound", "Translation"}) {
        text += QStringLiteral("<h2>%1</h2><br>").arg(section);
        for (const char* name : names)
            text += QStringLiteral("<a href=\"mailto:x\">%1</a><br>").arg(name);
        text += QStringLiteral("<br>");
    }
    text += QStringLiteral(
        "<table width=80% align=center border=1 bordercolor=navy bgeffect=vgradient bgcolor=lightyellow "
        "bgendcolor=gold><tr><td colspan=2 align=center><b>Thanks</b></td></tr>"
        "<tr><td>Testing</td><td>Ines Costa</td></tr><tr><td>Pictures</td><td>Olek Nowak</td></tr></table><br>"
        "<i>x<sup>2</sup> + y<sub>1</sub></i><br><font color=red style=o>with thanks to every pupil</font>"
        "</center>");
    return text;
}

void BM_HtmlCredits(benchmark::State& state)
{
    EnsureApplication();
    const QString text = Credits();
    shared::CHtmlDrawer drawer;
    QImage image(350, 500, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        const QSize size = drawer.DrawHtmlOnBitmap(painter, text);
        drawer.DrawHtml(painter, text, image.rect());
        benchmark::DoNotOptimize(size);
    }
    state.counters["chars"] = double(text.size());
}
BENCHMARK(BM_HtmlCredits)->Unit(benchmark::kMillisecond);

}  // namespace
