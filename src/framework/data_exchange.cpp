// Dialog data exchange and validation. The number rules and the messages
// are the settings' own, so the window and the command line agree.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>

#include "framework/afxwin.h"
#include "framework/dialog_window.h"
#include "settings/number_text.h"
#include "settings/settings_fields.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

QWidget* CDataExchange::PrepareCtrl(int nIDC) {
    auto* dialog = dynamic_cast<afx::DialogWindow*>(m_pDlgWnd->m_hWnd);
    QWidget* control = dialog != nullptr ? dialog->Control(nIDC) : nullptr;
    if (control == nullptr) {
        // A program error, reported like a failed check so that the
        // exchange counts as failed.
        m_pLastControl = nullptr;
        AfxMessageBox("The window has no control " + std::to_string(nIDC) + " to exchange data with.");
        throw CUserException();
    }
    m_pLastControl = control;
    m_bEditLastControl = false;
    return control;
}

QWidget* CDataExchange::PrepareEditCtrl(int nIDC) {
    QWidget* control = PrepareCtrl(nIDC);
    m_bEditLastControl = true;
    return control;
}

void CDataExchange::Fail() {
    if (m_pLastControl != nullptr) {
        if (afx::DialogWindow* dialog = afx::DialogOf(m_pLastControl))
            dialog->FocusFailedControl(m_pLastControl, m_bEditLastControl);
    }
    throw CUserException();
}

namespace {

template <class Widget>
Widget* ControlAs(CDataExchange* pDX, QWidget* control, int nIDC) {
    auto* widget = qobject_cast<Widget*>(control);
    if (widget == nullptr) {
        AfxMessageBox("Control " + std::to_string(nIDC) + " cannot exchange this kind of data.");
        pDX->Fail();
    }
    return widget;
}

[[noreturn]] void Reject(CDataExchange* pDX, const std::string& message) {
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    auto* edit = ControlAs<QLineEdit>(pDX, pDX->PrepareEditCtrl(nIDC), nIDC);
    if (pDX->m_bSaveAndValidate) value = afx::Latin1FromQString(edit->text());
    else edit->setText(afx::QStringFromLatin1(value));
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    std::string text = pDX->m_bSaveAndValidate ? std::string() : std::to_string(value);
    DDX_Text(pDX, nIDC, text);
    if (!pDX->m_bSaveAndValidate) return;
    const std::optional<int> number = trovik::ParseIntText(text);
    if (!number) Reject(pDX, trovik::IntegerMessage());
    value = *number;
}

void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value) {
    std::string text = pDX->m_bSaveAndValidate ? std::string() : std::to_string(value);
    DDX_Text(pDX, nIDC, text);
    if (!pDX->m_bSaveAndValidate) return;
    const std::optional<int> number = trovik::ParseByteText(text);
    if (!number || *number > 255) Reject(pDX, trovik::ByteMessage());
    value = static_cast<BYTE>(*number);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    auto* button = ControlAs<QAbstractButton>(pDX, pDX->PrepareCtrl(nIDC), nIDC);
    if (pDX->m_bSaveAndValidate) value = button->isChecked() ? 1 : 0;
    else button->setChecked(value == 1);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    pDX->PrepareCtrl(nIDC);
    const auto group = afx::DialogOf(pDX->LastControl())->RadioGroup(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->isChecked()) value = static_cast<int>(i);
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        // An exclusive group refuses to clear its checked button; -1 clears all.
        QButtonGroup* buttons = group[i]->group();
        if (buttons != nullptr) buttons->setExclusive(false);
        group[i]->setChecked(static_cast<int>(i) == value);
        if (buttons != nullptr) buttons->setExclusive(true);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    auto* list = ControlAs<QComboBox>(pDX, pDX->PrepareCtrl(nIDC), nIDC);
    if (pDX->m_bSaveAndValidate) index = list->currentIndex();
    else list->setCurrentIndex(index);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr) return;
    QWidget* control = pDX->PrepareCtrl(nIDC);
    afx::DialogOf(control)->Attach(rControl, control);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        Reject(pDX, trovik::RangeMessage(minVal, maxVal));
}

void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal) {
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal))
        Reject(pDX, trovik::RangeMessage(minVal, maxVal));
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars) {
    if (!pDX->m_bSaveAndValidate) {
        if (auto* edit = qobject_cast<QLineEdit*>(pDX->LastControl())) edit->setMaxLength(nChars);
        return;
    }
    if (value.size() > static_cast<std::size_t>(nChars)) Reject(pDX, trovik::LengthMessage(nChars));
}
