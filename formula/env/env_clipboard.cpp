// The clipboard of the environment: the lexeme text as text/plain through
// the GUI application's clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include "formula/edit/formula_editor.h"
#include "formula/edit/selection.h"
#include "formula/env/formula_env.h"
#include "formula/model/errors.h"
#include "formula/model/messages.h"
#include "formula/notation/lexem_parser.h"

namespace formula {
namespace {

QClipboard* Clipboard()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return nullptr;
    }
    return QGuiApplication::clipboard();
}

bool SetClipboardText(const std::string& text)
{
    QClipboard* clipboard = Clipboard();
    if (!clipboard) {
        return false;
    }
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    clipboard->setMimeData(data);
    const QMimeData* held = clipboard->mimeData();
    return held && held->hasText();
}

}  // namespace

bool CFormulaEnv::Copy()
{
    if (!m_selection) {
        return false;
    }
    return SetClipboardText(m_selection->GetLexemText());
}

bool CFormulaEnv::CopyAll()
{
    return SetClipboardText(GetLexemText());
}

bool CFormulaEnv::CanPaste() const
{
    const QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText();
}

bool CFormulaEnv::Paste()
{
    if (Mode() != FormulaMode::Editor || !m_editor) {
        return false;
    }
    std::string text;
    if (CanPaste()) {
        text = Clipboard()->text().toStdString();
    }
    return PasteText(text);
}

bool CFormulaEnv::PasteText(std::string_view text)
{
    if (Mode() != FormulaMode::Editor || !m_editor) {
        return false;
    }
    m_pressPath.reset();
    PushUndoSnapshot();
    if (!text.empty()) {
        // Read first: a text that cannot be read leaves the selection in place.
        LexemList list;
        bool read = true;
        try {
            list = CLexemParser().Parse(text);
        } catch (const CMEException& e) {
            ShowMessage(e.Message(), MessageIcon::Information);
            read = false;
        }
        if (read) {
            if (m_selection && !m_selection->IsEmpty()) {
                m_editor->DeleteSelection();
            }
            const EditPoint point = m_editor->Point();
            if (point.row && !FitsTextDepth(*point.row, list)) {
                // The formula could no longer be written and read back.
                ShowMessage(GetMessageText(msg::TooDeep), MessageIcon::Exclamation);
            } else if (point.row) {
                InsertListAt(*point.row, point.flat, std::move(list));
            }
        }
    }
    // Read again from its own text: the pasted lexemes join their
    // neighbours (digits become one number).
    EnvError error;
    SetLexemText(GetLexemText(), error);
    PushUndoSnapshot();
    return true;
}

}  // namespace formula
