// The Qt canvas: the GDI font rules, and invariants of laid-out sample
// formulas (hit testing, nesting of boxes, fractions, painted pixels). No
// golden images: pixel counts and ink boxes only.
#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <string>
#include <vector>

#include "formula/layout/formula_layout.h"
#include "formula/layout/layout_support.h"
#include "formula/layout/qt_canvas.h"
#include "formula/layout/text_codes.h"
#include "formula/model/cursor_path.h"
#include "formula/model/parse_context.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/all.h"
#include "formula/tests/canvas_samples.h"
#include "formula/tests/formula_test_util.h"
#include "formula/tests/layout_test_util.h"

namespace formula {
namespace {

QFont FontOfFamily(std::string_view face)
{
    return QFont(QString::fromUtf8(QtCanvas::FamilyOf(face).data(),
                                   static_cast<qsizetype>(QtCanvas::FamilyOf(face).size())));
}

TEST(QtCanvasFonts, FacesResolveToTheShippedFonts)
{
    for (std::string_view face : {"Times New Roman", "Arial", "Symbol"}) {
        SCOPED_TRACE(std::string(face));
        const QString family = QFontInfo(FontOfFamily(face)).family();
        EXPECT_EQ(family.toStdString(), std::string(QtCanvas::FamilyOf(face)));
    }
    EXPECT_EQ(QtCanvas::FamilyOf("Times New Roman"), "Liberation Serif");
    EXPECT_EQ(QtCanvas::FamilyOf("Symbol"), "DejaVu Sans");
}

TEST(QtCanvasFonts, CellHeightIsTheLargestPixelSizeThatFits)
{
    QtCanvas canvas;
    for (std::string_view face : {"Times New Roman", "Arial", "Symbol"}) {
        for (int cell : {6, 8, 11, 14, 17, 20, 24, 31, 40}) {
            SCOPED_TRACE(std::string(face) + " " + std::to_string(cell));
            canvas.SetFont({std::string(face), cell, 0, 400});
            const int pixelSize = canvas.PixelSize();
            EXPECT_LE(canvas.TextExtent("x").height, cell);
            QFont larger = FontOfFamily(face);
            larger.setPixelSize(pixelSize + 1);
            EXPECT_GT(QFontMetrics(larger).height(), cell);
        }
    }
    canvas.SetFont({"Times New Roman", 20, 10, 400});
    EXPECT_EQ(canvas.PixelSize(), 18);
    EXPECT_EQ(canvas.TextExtent("x").height, 20);
}

TEST(QtCanvasFonts, WidthStretchesTheFace)
{
    QtCanvas canvas;
    canvas.SetFont({"Times New Roman", 20, 10, 400});
    const int narrow = canvas.TextExtent("xxxxxxxxxx").width;
    canvas.SetFont({"Times New Roman", 20, 20, 400});
    const int wide = canvas.TextExtent("xxxxxxxxxx").width;
    EXPECT_GT(wide, narrow * 18 / 10);
    EXPECT_LT(wide, narrow * 22 / 10);
    EXPECT_EQ(canvas.TextExtent("xxxxxxxxxx").height, 20);
}

TEST(QtCanvasFonts, SymbolCodesHaveGlyphs)
{
    const QFontMetrics metrics(FontOfFamily("Symbol"));
    std::vector<int> codes = {CIntegralTemplate::kSignTop, CIntegralTemplate::kSignExtension,
                              CIntegralTemplate::kSignBottom, CSummaTemplate::kSign};
    for (const RelationInfo& relation : kRelations) {
        codes.push_back(relation.code);
    }
    for (const AtomInfo& atom : kAtoms) {
        codes.push_back(atom.code);
    }
    for (const OperatorSignInfo& sign : kOperatorSigns) {
        codes.push_back(sign.symbolCode);
    }
    for (int code : codes) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(metrics.inFontUcs4(SymbolToUnicode(static_cast<unsigned char>(code))));
    }
}

// The box of the pixels that are not white; empty when none.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

TEST(QtCanvasText, CentredTextKeepsItsTopAtTheRectanglesTop)
{
    QImage image(200, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtCanvas canvas(&painter);
    canvas.SetFont({"Times New Roman", 20, 10, 400});
    const Rect rect{20, 10, 120, 50};
    canvas.DrawTextCentred(rect, "H");
    painter.end();
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isEmpty());
    const int inkCentre2 = ink.left() + ink.right() + 1;  // twice the centre
    EXPECT_NEAR(inkCentre2, 2 * rect.x + rect.width, 4);
    EXPECT_GE(ink.top(), rect.y);
    EXPECT_LE(ink.bottom(), rect.y + 20);
}

// The laid-out samples.
class SampleInvariants : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_settings.SetMode(FormulaMode::Viewer);
        QtCanvas canvas;
        for (const SampleFormula& sample : SampleFormulas()) {
            auto root = test::Read(sample.text, &m_settings);
            ParseContext context;
            root->Normalize(context);
            LayoutFormula(canvas, *root, {5, 5});
            m_roots.push_back(std::move(root));
        }
    }

    CDisplaySettings m_settings;
    std::vector<std::unique_ptr<CAggregateTemplate>> m_roots;
};

// Leaves and truth values in rows the cursor can enter.
void CollectHittable(CLexem& lexem, std::vector<CLexem*>& leaves)
{
    if (CLexemRow* row = AsRow(&lexem)) {
        for (int pos = row->FirstPos(); pos < row->Count(); ++pos) {
            CLexem* child = row->Child(pos);
            if (child->Kind() == LexemKind::Character || child->Kind() == LexemKind::RelationSign ||
                child->Type() == TemplateType::Bool) {
                leaves.push_back(child);
            } else {
                CollectHittable(*child, leaves);
            }
        }
    } else if (CTemplate* tmpl = AsTemplate(&lexem)) {
        for (int n = 1; n <= tmpl->CursorRowCount(); ++n) {
            if (CLexemRow* row = tmpl->CursorRow(n)) {
                CollectHittable(*row, leaves);
            }
        }
    }
}

TEST_F(SampleInvariants, TheCentreOfEveryLeafHitsThatLeaf)
{
    for (auto& root : m_roots) {
        std::vector<CLexem*> leaves;
        CollectHittable(*root, leaves);
        ASSERT_FALSE(leaves.empty());
        for (CLexem* leaf : leaves) {
            SCOPED_TRACE(root->LexemText() + " at " + leaf->LexemText());
            const Box& box = leaf->GetBox();
            CCursorPath path;
            ASSERT_TRUE(root->HitTest(path, {box.x + box.width / 2, box.y + box.height / 2}));
            EXPECT_EQ(path.Top(), leaf);
        }
    }
}

TEST_F(SampleInvariants, APointOnAFractionBarHitsTheFraction)
{
    int fractions = 0;
    for (auto& root : m_roots) {
        for (CLexem* lexem : test::AllLexems(*root)) {
            if (lexem->Type() != TemplateType::HorFrac || !lexem->IsTemplate()) {
                continue;
            }
            ++fractions;
            const Box& box = lexem->GetBox();
            for (int x : {box.x + 2, box.x + box.width / 2, Right(box) - 1}) {
                SCOPED_TRACE(lexem->LexemText() + " x=" + std::to_string(x));
                CCursorPath path;
                ASSERT_TRUE(root->HitTest(path, {x, box.axisY}));
                EXPECT_EQ(path.Top(), lexem);
                EXPECT_EQ(path.GetPos(), 0);
            }
        }
    }
    EXPECT_GT(fractions, 10);
}

TEST_F(SampleInvariants, NumeratorAboveAndDenominatorBelowTheAxis)
{
    for (auto& root : m_roots) {
        for (CLexem* lexem : test::AllLexems(*root)) {
            if (!lexem->IsTemplate()) {
                continue;
            }
            const CLexemRow* numerator = nullptr;
            const CLexemRow* denominator = nullptr;
            if (lexem->Type() == TemplateType::HorFrac || lexem->Type() == TemplateType::DiagFrac) {
                numerator = static_cast<CHorFracTemplate*>(lexem)->Numerator();
                denominator = static_cast<CHorFracTemplate*>(lexem)->Denominator();
            } else if (lexem->Type() == TemplateType::MixedFrac || lexem->Type() == TemplateType::SimpleFrac) {
                numerator = static_cast<CMixedFracTemplate*>(lexem)->Numerator();
                denominator = static_cast<CMixedFracTemplate*>(lexem)->Denominator();
            } else {
                continue;
            }
            SCOPED_TRACE(lexem->LexemText());
            const int axis = lexem->GetBox().axisY;
            EXPECT_LE(Bottom(numerator->GetBox()), axis);
            EXPECT_GE(denominator->GetBox().y, axis);
            EXPECT_LT(numerator->GetBox().y, axis);
            EXPECT_GT(Bottom(denominator->GetBox()), axis);
        }
    }
}

bool Inside(const Box& inner, const Box& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && Right(inner) <= Right(outer) &&
           Bottom(inner) <= Bottom(outer);
}

bool InsideHorizontally(const Box& inner, const Box& outer)
{
    return inner.x >= outer.x && Right(inner) <= Right(outer);
}

// Where the layout rules themselves let a part stick out of its parent.
bool MayStickOut(const CLexem& parent, const CLexem& child)
{
    const Box& inner = child.GetBox();
    const Box& outer = parent.GetBox();
    if (const CTemplate* tmpl = AsTemplate(&parent)) {
        // An index base or derivative body taller than its indexes: the box
        // runs from the upper index's top (or half the base's height above
        // the axis) to the lower index's bottom (or the base's).
        if (const auto* index = dynamic_cast<const CIndexTemplate*>(tmpl)) {
            return &child == index->Base() && InsideHorizontally(inner, outer);
        }
        if (const auto* deriv = dynamic_cast<const CDerivTemplate*>(tmpl)) {
            return &child == deriv->Body() && InsideHorizontally(inner, outer);
        }
        // A function is centred on its axis at the larger of its name's and
        // argument's heights; an argument off centre sticks out.
        if (const auto* func = dynamic_cast<const CFuncTemplate*>(tmpl)) {
            return &child == func->Argument() && InsideHorizontally(inner, outer);
        }
        // The limit's arrow row starts 8 pixels before the variable's right
        // edge (its sign's padding takes that up): under a narrow variable
        // the row starts left of the box, its sign does not.
        if (const auto* lim = dynamic_cast<const CLimTemplate*>(tmpl)) {
            const CLexemRow* arrow = lim->Arrow();
            return &child == arrow && inner.y >= outer.y && Bottom(inner) <= Bottom(outer) &&
                   arrow->Child(arrow->FirstPos())->GetBox().x >= outer.x;
        }
    }
    // An interval starts 2 pixels left of where its row placed it.
    if (parent.IsRow() && child.Type() == TemplateType::Interval && child.IsTemplate()) {
        return inner.x == outer.x - 2 && Right(inner) <= Right(outer) && inner.y >= outer.y &&
               Bottom(inner) <= Bottom(outer);
    }
    return false;
}

TEST_F(SampleInvariants, PartsLieInsideTheirParents)
{
    int exceptions = 0;
    for (auto& root : m_roots) {
        for (CLexem* parent : test::AllLexems(*root)) {
            for (CLexem* child : test::PartsOf(*parent)) {
                if (Inside(child->GetBox(), parent->GetBox())) {
                    continue;
                }
                SCOPED_TRACE(root->LexemText() + ": " + parent->LexemText() + " > " + child->LexemText());
                EXPECT_TRUE(MayStickOut(*parent, *child));
                ++exceptions;
            }
        }
    }
    EXPECT_LT(exceptions, 10);
}

TEST_F(SampleInvariants, EveryFormulaPaintsPixelsInsideItsBox)
{
    for (auto& root : m_roots) {
        SCOPED_TRACE(root->LexemText());
        const Box& box = root->GetBox();
        QImage image(box.width + 20, box.height + 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QtCanvas canvas(&painter);
        DrawFormula(canvas, *root);
        painter.end();
        const QRect ink = InkBox(image);
        ASSERT_FALSE(ink.isEmpty());
        // Glyphs may overhang their cells a little (italics).
        EXPECT_GE(ink.left(), box.x - 3);
        EXPECT_GE(ink.top(), box.y - 3);
        EXPECT_LE(ink.right(), Right(box) + 3);
        EXPECT_LE(ink.bottom(), Bottom(box) + 3);
    }
}

}  // namespace
}  // namespace formula
