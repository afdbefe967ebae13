// Layout and drawing of a typical school formula (a system of two equations
// with fractions and powers) into an image through the Qt canvas.
#include <benchmark/benchmark.h>

#include <QColor>
#include <QImage>
#include <QPainter>

#include "bench/formula_bench_support.h"
#include "formula/layout/formula_layout.h"
#include "formula/layout/qt_canvas.h"
#include "formula/model/display_settings.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/lexem_parser.h"

namespace {

const char* const kSystem =
    "@system$@hor_frac$x+1$2#+@index_up$y$2#=5$3x-@hor_frac$@index_up$y$3#$x-4#=@index_up$x$2#-1#";

void BM_FormulaLayoutAndDraw(benchmark::State& state)
{
    bench::EnsureGuiApplication();
    formula::CDisplaySettings settings;
    settings.SetMode(formula::FormulaMode::Viewer);
    formula::CAggregateTemplate root;
    root.SetOwner(&settings, nullptr);
    formula::CLexemParser parser;
    root.InsertNewRow(nullptr, false)->InsertLexems(parser.Parse(kSystem));

    QImage image(400, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (auto _ : state) {
        QPainter painter(&image);
        formula::QtCanvas canvas(&painter);
        formula::LayoutFormula(canvas, root, {4, 4});
        formula::DrawFormula(canvas, root);
    }
    if (image.pixel(root.GetBox().x + root.GetBox().width / 2, root.GetBox().y + root.GetBox().height / 2) ==
            qRgb(255, 255, 255) &&
        image.pixel(6, 10) == qRgb(255, 255, 255)) {
        state.SkipWithError("nothing was drawn");
    }
}
BENCHMARK(BM_FormulaLayoutAndDraw)->Unit(benchmark::kMicrosecond);

}  // namespace
