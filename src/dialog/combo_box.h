#pragma once

class CDialog;

// The list control that DDX_Control binds to a member: its selection.
class CComboBox {
public:
    // The selected entry; -1 for none, also when the text typed into the
    // list's edit names no entry.
    int GetCurSel() const;
    void SetCurSel(int index);

private:
    friend class CDataExchange;
    CDialog* m_pDialog = nullptr;
    int m_nID = 0;
};
