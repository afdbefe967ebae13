// The condition editor with the real formula control, driven by keys and
// clicks: key scripts read back through GetText, texts with formulas, Alt+M,
// read-only, the caret's place, the formula being edited and its events.
// Screenshot: stepwell_condition_editor.png in this build folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "platform/com/com.h"
#include "shared/language.h"
#include "stepwell/app/condition_editor_ctrl.h"
#include "testsupport/temp_dir.h"

namespace stepwell {
namespace {

using solvehost::CLayoutFormulaItem;
using solvehost::CLayoutTextItem;
using solvehost::LayoutItemKind;

const std::string kX = "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi></math>";
const std::string kSum =
    "<math xmlns=\"http://www.w3.org/1998/Math/MathML\"><mi>x</mi><mo>+</mo><mn>1</mn></math>";

class ConditionEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::resetHives();
        ASSERT_EQ(platform::com::registerLibrary(std::filesystem::absolute(FORMAVEL_LIBRARY).string()), platform::S_OK);
        dialog = std::make_unique<QDialog>();
        dialog->resize(420, 240);
        // The dialog's own default button and a mnemonic on Alt+M: the editor's keys come first.
        auto* ok = new QPushButton(QStringLiteral("OK"), dialog.get());
        ok->setDefault(true);
        ok->setGeometry(10, 210, 80, 25);
        QObject::connect(ok, &QPushButton::clicked, dialog.get(), &QDialog::accept);
        auto* math = new QPushButton(QStringLiteral("&Math"), dialog.get());
        math->setGeometry(100, 210, 80, 25);
        QObject::connect(math, &QPushButton::clicked, [this] { ++mathClicks; });
        QFont font = QApplication::font();
        font.setPixelSize(16);
        editor = new CConditionEditorCtrl(dialog.get(), &font);
        editor->setGeometry(10, 10, 400, 190);
        dialog->show();
        QApplication::processEvents();
        editor->setFocus();
    }
    void TearDown() override
    {
        dialog.reset();
        testsupport::resetHives();
    }
    std::string text() const
    {
        std::string out;
        EXPECT_TRUE(editor->GetText(out));
        return out;
    }
    std::vector<const solvehost::CLayoutItemList::Node*> nodes() const
    {
        std::vector<const solvehost::CLayoutItemList::Node*> out;
        for (auto* node = editor->layout().Items().head; node; node = node->next)
            out.push_back(node);
        return out;
    }
    solvehost::CSymbrantCtrl* formulaAt(std::size_t index) const
    {
        return static_cast<const CLayoutFormulaItem*>(nodes().at(index)->item)->GetControl();
    }

    std::unique_ptr<QDialog> dialog;
    CConditionEditorCtrl* editor = nullptr;
    int mathClicks = 0;
};

// Types the characters one key each, as a keyboard gives them (letters
// beyond ASCII without a key code).
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClicks(widget, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A script: characters typed, or one of these keys.
struct Key {
    const char* chars = nullptr;
    Qt::Key key = Qt::Key_unknown;
};

TEST_F(ConditionEditor, KeyScriptsReadBackThroughGetText)
{
    struct Case {
        const char* name;
        std::vector<Key> keys;
        std::string text;
    };
    const Case cases[] = {
        {"letters", {{"ab"}}, "ab"},
        {"a blank reads back as one", {{"a b"}}, "a b"},
        {"markup characters cannot be typed", {{"a&<>b"}}, "ab"},
        {"Cyrillic", {{"Знайти x"}}, "Знайти x"},
        {"Backspace deletes the caret's item", {{"abc"}, {nullptr, Qt::Key_Backspace}}, "ab"},
        {"Backspace at the start deletes nothing", {{"ab"}, {nullptr, Qt::Key_Home}, {nullptr, Qt::Key_Backspace}},
         "ab"},
        {"Delete at the start deletes the first", {{"abc"}, {nullptr, Qt::Key_Home}, {nullptr, Qt::Key_Delete}}, "bc"},
        {"Delete at the end deletes nothing", {{"ab"}, {nullptr, Qt::Key_Delete}}, "ab"},
        {"Left twice, then typing", {{"abc"}, {nullptr, Qt::Key_Left}, {nullptr, Qt::Key_Left}, {"x"}}, "axbc"},
        {"Left stops at the start", {{"ab"}, {nullptr, Qt::Key_Home}, {nullptr, Qt::Key_Left}, {"x"}}, "xab"},
        {"Right from the start", {{"ab"}, {nullptr, Qt::Key_Home}, {nullptr, Qt::Key_Right}, {"x"}}, "axb"},
        {"Right stops at the end", {{"ab"}, {nullptr, Qt::Key_Right}, {"c"}}, "abc"},
        {"End after Home", {{"ab"}, {nullptr, Qt::Key_Home}, {nullptr, Qt::Key_End}, {"c"}}, "abc"},
        {"Up, Down and Insert do nothing",
         {{"ab"}, {nullptr, Qt::Key_Up}, {nullptr, Qt::Key_Down}, {nullptr, Qt::Key_Insert}, {"c"}}, "abc"},
        {"Enter is a line break before the dialog's default button", {{"a"}, {nullptr, Qt::Key_Return}, {"b"}},
         "a\nb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        editor->SetText("");
        while (editor->layout().Items().head) {
            QTest::keyClick(editor, Qt::Key_End);
            QTest::keyClick(editor, Qt::Key_Backspace);
        }
        for (const Key& key : c.keys) {
            if (key.chars)
                typeText(editor, QString::fromUtf8(key.chars));
            else
                QTest::keyClick(editor, key.key);
        }
        EXPECT_EQ(text(), c.text);
        EXPECT_TRUE(dialog->isVisible());
    }
}

TEST_F(ConditionEditor, TextsWithFormulasAndAltM)
{
    // SetText: formulas become controls, a line break is not restored.
    EXPECT_TRUE(editor->SetText("a " + kX + "\nb"));
    EXPECT_EQ(nodes().size(), 4u);
    ASSERT_EQ(nodes()[2]->kind, LayoutItemKind::Formula);
    const std::string x = formulaAt(2)->GetMathMLText();  // as the control writes it
    EXPECT_NE(x.find("<mi>x</mi>"), std::string::npos);
    EXPECT_EQ(text(), "a " + x + "b");
    // Read back in, the text comes out the same (blanks do not grow).
    const std::string first = text();
    editor->SetText(first);
    std::string twice;
    editor->GetText(twice);
    EXPECT_EQ(twice, first + first);
    editor->SetText("");
    while (editor->layout().Items().count > 4) {
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClick(editor, Qt::Key_Backspace);
    }
    EXPECT_EQ(text(), first);
    // An unclosed formula is typed in as characters.
    editor->SetText("<math x");
    EXPECT_EQ(text(), "a " + x + "bmath x");

    // Alt+M: an empty formula after the caret, being edited, not the dialog's mnemonic.
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_M, Qt::AltModifier);
    EXPECT_EQ(mathClicks, 0);
    ASSERT_EQ(nodes()[0]->kind, LayoutItemKind::Formula);
    EXPECT_EQ(editor->caret(), nodes()[0]);
    EXPECT_EQ(editor->editedFormula(), formulaAt(0));
    const std::string empty = formulaAt(0)->GetMathMLText();
    EXPECT_EQ(text().rfind(empty, 0), 0u);
    EXPECT_GT(formulaAt(0)->width(), 0);

    // AddFormula with MathML takes the ids from 2000 in order and the back colour.
    editor->AddFormula(&kSum);
    EXPECT_EQ(editor->caret(), nodes()[1]);
    EXPECT_EQ(nodes()[1]->kind, LayoutItemKind::Formula);
    EXPECT_NE(formulaAt(1)->GetMathMLText().find("<mn>1</mn>"), std::string::npos);
    EXPECT_EQ(formulaAt(0)->GetMathMLText(), empty);
}

TEST_F(ConditionEditor, ReadOnlyIgnoresKeysAndClicks)
{
    editor->SetText("ab");
    editor->SetReadOnly(true);
    const auto* caret = editor->caret();
    QTest::keyClicks(editor, "cd");
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClick(editor, Qt::Key_M, Qt::AltModifier);
    QTest::mouseClick(editor, Qt::LeftButton, {}, QPoint(22, 15));
    EXPECT_EQ(text(), "ab");
    EXPECT_EQ(editor->caret(), caret);
    // A formula added while read-only is a viewer: typing does not reach the editor either.
    editor->AddFormula(&kX);
    EXPECT_EQ(text(), "ab" + formulaAt(2)->GetMathMLText());
}

TEST_F(ConditionEditor, CaretPlacesAndClicks)
{
    editor->SetText("ab" + kX);
    const int fontHeight = editor->caretRect().height();
    EXPECT_EQ(editor->caretRect().width(), 2);
    // After a formula: at its window's right edge, centred on it.
    const QRect formula = formulaAt(2)->geometry();
    EXPECT_EQ(editor->caretRect().left(), formula.right() + 1);
    EXPECT_EQ(editor->caretRect().top(), formula.center().y() - fontHeight / 2);
    // After a text item: at its right edge.
    QTest::keyClick(editor, Qt::Key_Left);
    const auto* b = static_cast<const CLayoutTextItem*>(nodes()[1]->item);
    EXPECT_EQ(editor->caretRect().left(), b->right);
    EXPECT_EQ(editor->caretRect().top(), (b->top + b->bottom - 1) / 2 - fontHeight / 2);
    // None: at the first item's left edge.
    QTest::keyClick(editor, Qt::Key_Home);
    const auto* a = static_cast<const CLayoutTextItem*>(nodes()[0]->item);
    EXPECT_EQ(editor->caretRect().left(), a->left);
    // A click on the first letter puts the caret after it.
    QTest::mouseClick(editor, Qt::LeftButton, {}, QPoint((a->left + a->right) / 2, (a->top + a->bottom) / 2));
    EXPECT_EQ(editor->caret(), nodes()[0]);
    QTest::keyClicks(editor, "z");
    EXPECT_EQ(text(), "azb" + formulaAt(3)->GetMathMLText());
    EXPECT_TRUE(editor->grab().save(STEPWELL_PNG_DIR "/stepwell_condition_editor.png"));
}

TEST_F(ConditionEditor, DeletingTheEditedFormulaThenTypingIntoAnother)
{
    editor->SetText(kX + kSum);
    const std::string sum = formulaAt(1)->GetLexemText();
    editor->AddFormula();
    ASSERT_EQ(editor->editedFormula(), formulaAt(2));
    QTest::keyClick(editor, Qt::Key_Backspace);  // the edited (empty) formula goes
    EXPECT_EQ(editor->editedFormula(), nullptr);
    ASSERT_EQ(nodes().size(), 2u);
    // A click on the other makes it the edited one; its changes relay out.
    solvehost::CSymbrantCtrl* x = formulaAt(0);
    QTest::mouseClick(x, Qt::LeftButton, {}, QPoint(2, x->height() / 2));
    EXPECT_EQ(editor->editedFormula(), x);
    const int before = static_cast<const CLayoutFormulaItem*>(nodes()[0]->item)->width;
    x->SetLexemText(sum);  // the control tells of the change
    EXPECT_GT(static_cast<const CLayoutFormulaItem*>(nodes()[0]->item)->width, before);
}

// Contrast of two colours as the web's accessibility rules count it: 1 (the
// same) to 21 (black on white); 4.5 is the least for ordinary text.
double contrast(QColor a, QColor b)
{
    auto luminance = [](QColor c) {
        auto channel = [](double v) {
            v /= 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The words between the formulas can be read on the editor's paper: the
// darkest pixel of each letter stands out from the back colour.
TEST_F(ConditionEditor, WordsCanBeReadOnThePaper)
{
    editor->SetText("Solve" + kSum + "now");
    QApplication::processEvents();
    const QImage image = editor->grab().toImage();
    image.save(STEPWELL_PNG_DIR "/stepwell_condition_editor_words.png");
    int letters = 0;
    for (const auto* node : nodes()) {
        if (node->kind != LayoutItemKind::Text)
            continue;
        const auto* item = static_cast<const CLayoutTextItem*>(node->item);
        QColor darkest = editor->backColor();
        for (int y = item->top; y < item->bottom; ++y)
            for (int x = item->left; x < item->right; ++x)
                if (image.rect().contains(x, y) && QColor(image.pixel(x, y)).lightness() < darkest.lightness())
                    darkest = QColor(image.pixel(x, y));
        EXPECT_GE(contrast(darkest, editor->backColor()), 4.5) << item->text.toStdString();
        ++letters;
    }
    EXPECT_EQ(letters, 8);
}

}  // namespace
}  // namespace stepwell
