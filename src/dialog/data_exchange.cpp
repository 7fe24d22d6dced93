#include "dialog/data_exchange.h"

#include "dialog/combo_box.h"
#include "dialog/dialog.h"
#include "dialog/message_box.h"
#include "dialog/window.h"

#include <array>

CDataExchange::CDataExchange(CDialog* dialog, bool saveAndValidate)
    : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate)
{
}

void CDataExchange::Fail(const std::string& message)
{
    m_bFailed = true;
    AfxMessageBox(message);
    tarnel::dialog::Backend::WindowOf(*m_pDlgWnd).FocusAndSelect(m_idLastControl);
}

void CDataExchange::Bind(CComboBox& control, int id)
{
    if (!control.m_pDialog) {
        control.m_pDialog = m_pDlgWnd;
        control.m_nID = id;
    }
}

void DDX_Control(CDataExchange* pDX, int id, CComboBox& control)
{
    pDX->Bind(control, id);
}

void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value)
{
    if (pDX->Failed()) {
        return;
    }
    pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->SetDlgItemText(id, std::to_string(value));
        return;
    }
    const auto parsed = ParseUnsigned(pDX->m_pDlgWnd->GetDlgItemText(id));
    if (!parsed) {
        pDX->Fail(NotANumberMessage());
        return;
    }
    value = *parsed;
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value)
{
    if (pDX->Failed()) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
    } else {
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
    }
}

void DDX_Check(CDataExchange* pDX, int id, bool& checked)
{
    if (pDX->Failed()) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        checked = pDX->m_pDlgWnd->IsDlgButtonChecked(id);
    } else {
        pDX->m_pDlgWnd->CheckDlgButton(id, checked);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, std::uint32_t value, std::uint32_t min, std::uint32_t max)
{
    if (pDX->Failed() || !pDX->m_bSaveAndValidate) {
        return;
    }
    if (value < min || value > max) {
        pDX->Fail(OutOfRangeMessage(min, max));
    }
}

namespace {

// The blanks an operator may leave around a number: ASCII white space, and
// the no-break and ideographic spaces of a Chinese input method.
constexpr std::array<std::string_view, 8> kBlanks{" ", "\t", "\n", "\v", "\f", "\r", "\u00A0", "\u3000"};

std::string_view Trimmed(std::string_view text)
{
    for (bool trimmed = true; trimmed && !text.empty();) {
        trimmed = false;
        for (const std::string_view blank : kBlanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return text;
}

}  // namespace

std::optional<std::uint32_t> ParseUnsigned(std::string_view text)
{
    const std::string_view digits = Trimmed(text);
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

std::string NotANumberMessage()
{
    return "请输入一个整数。";
}

std::string OutOfRangeMessage(std::uint32_t min, std::uint32_t max)
{
    return "请输入一个介于 " + std::to_string(min) + " 和 " + std::to_string(max) + " 之间的整数。";
}
