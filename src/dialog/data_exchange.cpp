#include "dialog/data_exchange.h"

#include "dialog/dialog.h"
#include "dialog/message_box.h"

#include <QComboBox>
#include <QLineEdit>

CDataExchange::CDataExchange(CDialog* dialog, bool saveAndValidate)
    : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate)
{
}

void CDataExchange::Fail(const QString& message)
{
    m_bFailed = true;
    AfxMessageBox(message);
    if (auto* edit = qobject_cast<QLineEdit*>(m_pDlgWnd->GetDlgItem(m_idLastControl))) {
        edit->setFocus();
        edit->selectAll();
    }
}

void DDX_Control(CDataExchange* pDX, int id, QComboBox*& control)
{
    if (!control) {
        control = qobject_cast<QComboBox*>(pDX->m_pDlgWnd->GetDlgItem(id));
    }
}

void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value)
{
    if (pDX->Failed()) {
        return;
    }
    pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->SetDlgItemText(id, QString::number(value));
        return;
    }
    const auto parsed = ParseUnsigned(pDX->m_pDlgWnd->GetDlgItemText(id));
    if (!parsed) {
        pDX->Fail(NotANumberMessage());
        return;
    }
    value = *parsed;
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

std::optional<std::uint32_t> ParseUnsigned(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c.unicode() - u'0');
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

QString NotANumberMessage()
{
    return QStringLiteral("请输入一个整数。");
}

QString OutOfRangeMessage(std::uint32_t min, std::uint32_t max)
{
    return QStringLiteral("请输入一个介于 %1 和 %2 之间的整数。").arg(min).arg(max);
}
