// A page of sample formulas drawn on the Qt canvas into a PNG in the build
// folder, to be looked at: every template kind, nested indexes, a system, a
// mixed number, an integral over a fraction. Nested fractions into a second
// PNG (nested_fraction_bars.png, a copy kept beside this file), whose bars are
// measured in the pixels.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "formula/layout/formula_layout.h"
#include "formula/layout/layout_support.h"
#include "formula/layout/qt_canvas.h"
#include "formula/model/display_settings.h"
#include "formula/model/parse_context.h"
#include "formula/model/templates/all.h"
#include "formula/model/templates/multi_row.h"
#include "formula/tests/canvas_samples.h"
#include "formula/tests/formula_test_util.h"
#include "formula/tests/layout_test_util.h"

namespace formula {
namespace {

TEST(CanvasSamplePage, RendersEverySampleToAPng)
{
    CDisplaySettings viewer;
    viewer.SetMode(FormulaMode::Viewer);
    CDisplaySettings editor;
    editor.SetMode(FormulaMode::Editor);

    QImage image(1000, 1500, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(&painter);

    const int columnWidth = 500;
    int column = 0;
    int y[2] = {10, 10};
    for (const SampleFormula& sample : SampleFormulas()) {
        SCOPED_TRACE(sample.text);
        auto root = test::Read(sample.text, sample.editor ? &editor : &viewer);
        ParseContext context;
        root->Normalize(context);
        const int x = 10 + column * columnWidth;
        LayoutFormula(canvas, *root, {x, y[column]});
        const Box& box = root->GetBox();
        EXPECT_EQ(box.x, x);
        EXPECT_EQ(box.y, y[column]);
        EXPECT_GT(box.width, 0);
        EXPECT_LT(box.width, columnWidth - 20);
        DrawFormula(canvas, *root);
        y[column] += box.height + 14;
        column = y[0] <= y[1] ? 0 : 1;
    }
    painter.end();
    const int height = std::max(y[0], y[1]) + 10;
    EXPECT_LT(height, image.height());
    const QString path = QStringLiteral(FORMULA_SAMPLE_DIR "/formula_samples.png");
    ASSERT_TRUE(image.copy(0, 0, image.width(), height).save(path));
}

// The columns of the pixels in the bar's colour on the rows next to a
// fraction's axis, within its box; {-1, -1} when none.
std::pair<int, int> BarInk(const QImage& image, const Box& box, QRgb colour)
{
    int left = -1;
    int right = -1;
    for (int y = box.axisY - 1; y <= box.axisY + 1; ++y) {
        for (int x = box.x; x < Right(box); ++x) {
            if (image.pixel(x, y) == colour) {
                left = left < 0 ? x : std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

TEST(CanvasNestedFractions, EveryBarShowsPastTheBarsUnderIt)
{
    CDisplaySettings viewer;
    viewer.SetMode(FormulaMode::Viewer);
    const Colour pen = viewer.Style().mainPen.colour;
    const QRgb barColour = qRgb(pen & 0xFF, (pen >> 8) & 0xFF, (pen >> 16) & 0xFF);

    QImage image(360, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(&painter);
    std::vector<std::unique_ptr<CAggregateTemplate>> roots;
    int x = 10;
    for (const char* text : {"@hor_frac$@hor_frac$a$b#$@hor_frac$c$d##", "@hor_frac$a$@hor_frac$b$@hor_frac$c$d###",
                             "@hor_frac$@hor_frac$@hor_frac$a$b#$c#$d#"}) {
        roots.push_back(test::Read(text, &viewer));
        LayoutFormula(canvas, *roots.back(), {x, 10});
        DrawFormula(canvas, *roots.back());
        x += roots.back()->GetBox().width + 40;
    }
    painter.end();
    // Cut to the formulas and magnified four times, pixel for pixel.
    int bottom = 0;
    for (auto& root : roots) {
        bottom = std::max(bottom, Bottom(root->GetBox()));
    }
    const QImage drawn = image.copy(0, 0, x - 30, bottom + 10);
    ASSERT_TRUE(drawn.scaled(drawn.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(QStringLiteral(FORMULA_SAMPLE_DIR "/nested_fraction_bars.png")));

    for (auto& root : roots) {
        SCOPED_TRACE(root->LexemText());
        std::vector<CLexem*> fractions;
        for (CLexem* lexem : test::AllLexems(*root)) {
            if (lexem->IsTemplate() && lexem->Type() == TemplateType::HorFrac) {
                fractions.push_back(lexem);
            }
        }
        ASSERT_EQ(fractions.size(), 3u);
        for (CLexem* outer : fractions) {
            const auto [left, right] = BarInk(image, outer->GetBox(), barColour);
            ASSERT_GE(left, 0);
            const std::vector<CLexem*> inside = test::AllLexems(*outer);
            for (CLexem* inner : fractions) {
                if (inner == outer || std::find(inside.begin(), inside.end(), inner) == inside.end()) {
                    continue;
                }
                const auto [innerLeft, innerRight] = BarInk(image, inner->GetBox(), barColour);
                ASSERT_GE(innerLeft, 0);
                EXPECT_LE(left, innerLeft - 2);
                EXPECT_GE(right, innerRight + 2);
            }
        }
    }
}

}  // namespace
}  // namespace formula
