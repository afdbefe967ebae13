// The environment's clipboard through the GUI application's clipboard
// (text/plain): copy of the selection, copy of the whole formula, paste.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "formula/edit/selection.h"
#include "formula/env/formula_env.h"

namespace formula {
namespace {

std::string ClipboardText()
{
    return QGuiApplication::clipboard()->text().toStdString();
}

void SetClipboard(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

CFormulaEnv& Editor(CFormulaEnv& env, std::string_view text)
{
    EnvError error;
    env.SetLexemText(text, error);
    env.SetEditorMode();
    return env;
}

TEST(EnvClipboard, CopyOfTheSelectionAndOfTheWholeFormula)
{
    CFormulaEnv env;
    Editor(env, "x+@hor_frac$1$2#=3");
    env.Selection()->SelectRange(*env.Root().GetFirstRow(), 2, 3);
    ASSERT_TRUE(env.Copy());
    EXPECT_EQ(ClipboardText(), "+@hor_frac$1$2#");
    ASSERT_TRUE(env.CopyAll());
    EXPECT_EQ(ClipboardText(), "x+@hor_frac$1$2#=3");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat("text/plain"));

    // An empty selection copies an empty text; no selection object: false.
    env.Selection()->Clear(true);
    EXPECT_TRUE(env.Copy());
    EXPECT_EQ(ClipboardText(), "");
    env.SetViewerMode();
    EXPECT_FALSE(env.Copy());
    EXPECT_TRUE(env.CopyAll());
}

TEST(EnvClipboard, PasteOverASelection)
{
    CFormulaEnv env;
    Editor(env, "a+b=c");
    env.Selection()->SelectRange(*env.Root().GetFirstRow(), 3, 3);
    SetClipboard("@hor_frac$1$2#");
    EXPECT_TRUE(env.CanPaste());
    EXPECT_TRUE(env.Paste());
    EXPECT_EQ(env.GetLexemText(), "a+@hor_frac$1$2#=c");

    // Copy then paste at the caret.
    env.Selection()->SelectRange(*env.Root().GetFirstRow(), 1, 1);
    ASSERT_TRUE(env.Copy());
    env.Selection()->Clear(true);
    EXPECT_TRUE(env.Paste());
    EXPECT_EQ(env.GetLexemText(), "a+@hor_frac$1$2#=ca");

    // Without text the formula is read again and stays.
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(env.CanPaste());
    EXPECT_TRUE(env.Paste());
    EXPECT_EQ(env.GetLexemText(), "a+@hor_frac$1$2#=ca");

    env.SetViewerMode();
    SetClipboard("x");
    EXPECT_FALSE(env.Paste());
}

}  // namespace
}  // namespace formula
