#include "dialog/combo_box.h"

#include "dialog/dialog.h"
#include "dialog/window.h"

int CComboBox::GetCurSel() const
{
    return m_pDialog ? m_pDialog->Window().Selection(m_nID) : -1;
}

void CComboBox::SetCurSel(int index)
{
    if (m_pDialog) {
        m_pDialog->Window().Select(m_nID, index);
    }
}
