#pragma once
// The two small dialogs of the solver and the calculator: the name of a new
// task (131) and the precision of approximate arithmetic (130).
#include <QDialog>
#include <QString>

class QLineEdit;
class QSpinBox;
class QDialogButtonBox;

namespace reckonry {

// Dialog 131: edit 1005 with the proposed name; OK keeps the typed text.
class CNameDialog : public QDialog {
public:
    static constexpr int kDialogId = 131;
    static constexpr int kEditId = 1005;

    CNameDialog(const QString& proposedName, QWidget* parent);
    // The text as it stood when OK was pressed (the proposed one before).
    const QString& GetName() const { return m_name; }
    QLineEdit* edit() const { return m_edit; }

    void accept() override;

private:
    QLineEdit* m_edit;
    QString m_name;
};

// Dialog 130: edit 1000 with the precision text and up-down 1002 over it,
// from 0 to 33.
class CExactDialog : public QDialog {
public:
    static constexpr int kDialogId = 130;
    static constexpr int kEditId = 1000;
    static constexpr int kUpDownId = 1002;
    static constexpr int kLower = 0;
    static constexpr int kUpper = 33;

    CExactDialog(const QString& precision, QWidget* parent);
    // The edit's text as it stood when OK was pressed.
    const QString& GetText() const { return m_text; }
    QSpinBox* upDown() const { return m_upDown; }

    void accept() override;

private:
    QSpinBox* m_upDown;
    QString m_text;
};

}  // namespace reckonry
