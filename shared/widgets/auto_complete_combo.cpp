#include "shared/widgets/auto_complete_combo.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace shared {

CAutoCompleteCombo::CAutoCompleteCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { OnEditUpdate(); });
}

int CAutoCompleteCombo::SelectString(int start, const QString& prefix)
{
    const int total = count();
    if (total == 0)
        return -1;
    const int from = start < 0 || start >= total ? -1 : start;
    for (int step = 1; step <= total; ++step) {
        const int index = (from + step) % total;
        if (itemText(index).startsWith(prefix, Qt::CaseInsensitive)) {
            setCurrentIndex(index);
            lineEdit()->setText(itemText(index));
            return index;
        }
    }
    return -1;
}

bool CAutoCompleteCombo::eventFilter(QObject* watched, QEvent* event)
{
    // Every key press re-arms the completion; Delete and Backspace disarm
    // it, so what they leave stands as edited. The key goes on unchanged.
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        m_complete = key != Qt::Key_Delete && key != Qt::Key_Backspace;
    }
    return QComboBox::eventFilter(watched, event);
}

void CAutoCompleteCombo::OnEditUpdate()
{
    if (!m_complete)
        return;
    QLineEdit* edit = lineEdit();
    const QString typed = edit->text();
    const int length = static_cast<int>(typed.size());
    int selStart = edit->cursorPosition();
    int selEnd = selStart;
    if (edit->hasSelectedText()) {
        selStart = edit->selectionStart();
        selEnd = selStart + static_cast<int>(edit->selectedText().size());
    }
    if (SelectString(-1, typed) < 0) {
        edit->setText(typed);
        edit->setSelection(selStart, selEnd - selStart);
        if (selStart == selEnd)
            edit->setCursorPosition(selStart);
    }
    if (selEnd < length) {
        edit->setCursorPosition(selStart);
        if (selEnd > selStart)
            edit->setSelection(selStart, selEnd - selStart);
    } else {
        const int total = static_cast<int>(edit->text().size());
        edit->setCursorPosition(length);
        if (total > length)
            edit->setSelection(length, total - length);
    }
}

}  // namespace shared
