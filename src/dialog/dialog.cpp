#include "dialog/dialog.h"

#include "dialog/data_exchange.h"
#include "dialog/window.h"

CDialog::CDialog(const DialogTemplate& dialogTemplate, CDialog* parent)
    : m_template(dialogTemplate), m_pParent(parent), m_window(tarnel::dialog::Window::Create(*this))
{
}

CDialog::~CDialog() = default;

int CDialog::DoModal()
{
    return m_window->RunModal();
}

void CDialog::EndDialog(int result)
{
    m_window->End(result);
}

void CDialog::Initialize()
{
    if (OnInitDialog()) {
        m_window->FocusFirstTabStop();
    }
}

bool CDialog::OnInitDialog()
{
    for (const ControlTemplate& control : m_template.controls) {
        if (control.kind == ControlKind::Combo) {
            for (const char* item : control.items) {
                m_window->AddItem(control.id, item);
            }
        }
    }
    UpdateData(false);
    return true;
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.Failed();
}

std::string CDialog::GetDlgItemText(int id) const
{
    return m_window->Text(id);
}

void CDialog::SetDlgItemText(int id, const std::string& text)
{
    m_window->SetText(id, text);
}

bool CDialog::IsDlgButtonChecked(int id) const
{
    return m_window->IsChecked(id);
}

void CDialog::CheckDlgButton(int id, bool checked)
{
    m_window->SetChecked(id, checked);
}

void CDialog::EnableDlgItem(int id, bool enabled)
{
    m_window->Enable(id, enabled);
}

void CDialog::AddListRow(int id, const std::vector<std::string>& cells)
{
    m_window->AddRow(id, cells);
}

void CDialog::ClearList(int id)
{
    m_window->ClearRows(id);
}

void CDialog::SetTimer(int id, unsigned elapseMs)
{
    m_window->StartTimer(id, elapseMs);
}

void CDialog::KillTimer(int id)
{
    m_window->StopTimer(id);
}

void CDialog::AppendToSystemMenu(const std::string& text, unsigned id)
{
    m_window->AppendToSystemMenu(text, id);
}

void CDialog::SetIcon(int iconResource)
{
    m_window->SetIcon(iconResource);
}

void CDialog::SetToolTip(int id, std::function<std::string()> text)
{
    m_window->SetToolTip(id, std::move(text));
}

void CDialog::Clicked(int id)
{
    if (const auto route = m_clickRoutes.find(id); route != m_clickRoutes.end()) {
        route->second();
    } else if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    }
}

void CDialog::Tick(int id)
{
    if (m_timerRoute) {
        m_timerRoute(id);
    }
}

void CDialog::SysCommand(unsigned id)
{
    if (m_sysCommandRoute) {
        m_sysCommandRoute(id);
    }
}

void CDialog::OnOK()
{
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
