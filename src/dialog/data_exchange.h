#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CComboBox;
class CDialog;

// One pass of the form exchange between a dialog's fields and its controls.
// Reading stops at the first field that fails: the operator is told why, the
// focus goes back to that edit with its text selected, and every later
// exchange of the pass does nothing.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate);

    CDialog* const m_pDlgWnd;
    const bool m_bSaveAndValidate;

    bool Failed() const { return m_bFailed; }

    // Remembers the edit that a following range check speaks about.
    void PrepareEditCtrl(int id) { m_idLastControl = id; }

    // Reports `message`, returns the focus to the last edit and stops the pass.
    void Fail(const std::string& message);

    // Binds `control` to the list with this ID.
    void Bind(CComboBox& control, int id);

private:
    int m_idLastControl = 0;
    bool m_bFailed = false;
};

// Binds `control` to the list with this ID (once).
void DDX_Control(CDataExchange* pDX, int id, CComboBox& control);

// An unsigned field and its edit, as decimal text.
void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value);

// A text field and its edit, as they are.
void DDX_Text(CDataExchange* pDX, int id, std::string& value);

// A check box and whether it is ticked.
void DDX_Check(CDataExchange* pDX, int id, bool& checked);

// When reading: `value` must lie within [min, max].
void DDV_MinMaxUInt(CDataExchange* pDX, std::uint32_t value, std::uint32_t min, std::uint32_t max);

// Optional blanks around decimal digits, no sign, at most 2^32 - 1.
std::optional<std::uint32_t> ParseUnsigned(std::string_view text);

// The two validation messages.
std::string NotANumberMessage();
std::string OutOfRangeMessage(std::uint32_t min, std::uint32_t max);
