#include "dialog/combo_box.h"

#include "dialog/dialog.h"
#include "dialog/window.h"

int CComboBox::GetCurSel() const
{
    return m_pDialog ? tarnel::dialog::Backend::WindowOf(*m_pDialog).Selection(m_nID) : -1;
}

void CComboBox::SetCurSel(int index)
{
    if (m_pDialog) {
        tarnel::dialog::Backend::WindowOf(*m_pDialog).Select(m_nID, index);
    }
}
