#include "reckonry/dialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "shared/language.h"

namespace reckonry {
namespace {

QString lang(const char* key) { return QString::fromStdString(shared::GetLangString(key)); }

// OK and Cancel captioned from the language table ("dlgOK", "dlgCancle").
QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(lang("dlgOK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(lang("dlgCancle"));
    buttons->button(QDialogButtonBox::Ok)->setProperty("dlgCtrlId", 1);
    buttons->button(QDialogButtonBox::Cancel)->setProperty("dlgCtrlId", 2);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

CNameDialog::CNameDialog(const QString& proposedName, QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(proposedName, this)), m_name(proposedName)
{
    setProperty("dlgCtrlId", kDialogId);
    setWindowTitle(lang("DlgNameTitle"));
    m_edit->setProperty("dlgCtrlId", kEditId);
    m_edit->selectAll();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(okCancel(this));
    m_edit->setFocus();
}

void CNameDialog::accept()
{
    m_name = m_edit->text();
    QDialog::accept();
}

CExactDialog::CExactDialog(const QString& precision, QWidget* parent)
    : QDialog(parent), m_upDown(new QSpinBox(this)), m_text(precision)
{
    setProperty("dlgCtrlId", kDialogId);
    setWindowTitle(lang("DlgExactTitle"));
    m_upDown->setProperty("dlgCtrlId", kUpDownId);
    m_upDown->setRange(kLower, kUpper);
    bool number = false;
    const int value = precision.trimmed().toInt(&number);
    m_upDown->setValue(number ? value : kLower);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_upDown);
    layout->addWidget(okCancel(this));
    m_upDown->setFocus();
    m_upDown->selectAll();
}

void CExactDialog::accept()
{
    m_upDown->interpretText();
    m_text = QString::number(m_upDown->value());
    QDialog::accept();
}

}  // namespace reckonry
