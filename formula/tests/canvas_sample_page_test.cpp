// A page of sample formulas drawn on the Qt canvas into a PNG in the build
// folder, to be looked at: every template kind, nested indexes, a system, a
// mixed number, an integral over a fraction.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include <string>
#include <vector>

#include "formula/layout/formula_layout.h"
#include "formula/layout/qt_canvas.h"
#include "formula/model/display_settings.h"
#include "formula/model/parse_context.h"
#include "formula/model/templates/multi_row.h"
#include "formula/tests/canvas_samples.h"
#include "formula/tests/formula_test_util.h"

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

}  // namespace
}  // namespace formula
