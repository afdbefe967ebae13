#pragma once
// An editable combo box that completes what the user types from its own
// items: as soon as the typed text begins an item (ignoring case), the edit
// field shows the whole item with the untyped tail selected, so typing on
// overwrites it and Enter or Tab accepts it. Only the user's own edits
// complete; Delete and Backspace leave the text as edited. Items keep the
// order they were added in.
#include <QComboBox>

namespace shared {

class CAutoCompleteCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CAutoCompleteCombo(QWidget* parent = nullptr);

    // Selects the first item after start (-1: from the top, searching on
    // from the top after the end) whose text begins with prefix, ignoring
    // case, and shows it in the edit field. The item's index, or -1 when
    // none matches (the selection and text then stay as they were).
    int SelectString(int start, const QString& prefix);

    bool completionArmed() const { return m_complete; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnEditUpdate();

    bool m_complete = true;
};

}  // namespace shared
