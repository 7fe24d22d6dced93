#include "doctor_dlg.h"

#include "dialog/data_exchange.h"
#include "dialog/message_box.h"
#include "dialog/routing.h"
#include "link/protocol.h"
#include "messages/messages.h"
#include "platform/error_text.h"
#include "resource.h"
#include "site_texts.h"
#include "templates.h"
#include "words/site_words.h"

#include <array>

namespace messages = tarnel::messages;
namespace platform = tarnel::platform;
namespace site = tarnel::site;
namespace words = tarnel::words;

namespace {

using DoctorRoute = MessageRoute<CDoctorDlg>;

const std::array kDoctorRoutes{
    DoctorRoute::Clicked(IDC_START, &CDoctorDlg::OnStart),
    DoctorRoute::Clicked(IDC_STOP, &CDoctorDlg::OnStop),
    DoctorRoute::Timer(&CDoctorDlg::OnTimer),
};

// The speed list's last entry, after the list's own speeds.
constexpr int kAllSpeedsEntry = static_cast<int>(tarnel::link::kBaudRates.size());

// How long each speed is listened to, and each answer waited for: as tarnel-link's doctor.
constexpr std::uint32_t kListenMs = 2000;
constexpr std::uint32_t kTimeoutMs = 250;

}  // namespace

CDoctorDlg::CDoctorDlg(CDialog* pParent, SitePort& port) : CDialog(kDoctorDialogTemplate, pParent), m_port(port)
{
    WireRoutes<CDoctorDlg>(this, kDoctorRoutes);
}

void CDoctorDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_SPEED, m_cbSpeed);
    DDX_Text(pDX, IDC_FROM, m_nFrom);
    DDV_MinMaxUInt(pDX, m_nFrom, tarnel::link::kFirstAddress, tarnel::link::kLastAddress);
    DDX_Text(pDX, IDC_TO, m_nTo);
    DDV_MinMaxUInt(pDX, m_nTo, tarnel::link::kFirstAddress, tarnel::link::kLastAddress);
}

bool CDoctorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_windowSpeed = m_port.BaudIndex();
    m_cbSpeed.SetCurSel(m_windowSpeed.value_or(kAllSpeedsEntry));
    ShowWorking(false);
    return true;
}

void CDoctorDlg::ShowWorking(bool working)
{
    for (const int id : {IDC_SPEED, IDC_FROM, IDC_TO, IDC_START}) {
        EnableDlgItem(id, !working);
    }
    EnableDlgItem(IDC_STOP, working);
}

void CDoctorDlg::OnStart()
{
    if (!UpdateData(true)) {
        return;
    }
    if (m_nFrom > m_nTo) {
        AfxMessageBox(kFirstAboveLast);
        return;
    }
    const int speed = m_cbSpeed.GetCurSel();
    site::SweepPlan plan{{}, m_nFrom, m_nTo, kTimeoutMs, kListenMs, false};
    if (speed < 0 || speed == kAllSpeedsEntry) {
        plan.baudIndexes.assign(tarnel::link::kCommonSpeedsFirst.begin(), tarnel::link::kCommonSpeedsFirst.end());
    } else {
        plan.baudIndexes = {speed};
    }
    ClearList(IDC_FOUND);
    SetDlgItemText(IDC_FINDINGS, "");
    m_stop.Clear();
    m_ended.clear();
    m_sweep.emplace(plan, static_cast<site::SweepLines&>(*this), static_cast<site::SweepView&>(*this),
                    site::Bus::kUnwatched);
    ShowWorking(true);
    SetTimer(SITE_TIMER_ID, kSiteTickMs);
}

void CDoctorDlg::OnStop()
{
    m_stop.Request();
}

void CDoctorDlg::OnTimer(int)
{
    if (!m_sweep) {
        return;
    }
    m_sweep->Tick();
    if (m_sweep->Finished()) {
        Finish();
    }
}

void CDoctorDlg::Finish()
{
    KillTimer(SITE_TIMER_ID);
    m_sweep.reset();
    if (m_windowSpeed) {
        m_port.SetSpeed(*m_windowSpeed);
    }
    ShowWorking(false);
    SetDlgItemText(IDC_STEP, m_ended);
}

void CDoctorDlg::OnCancel()
{
    if (m_sweep) {
        m_stop.Request();
        // Stopped, each step ends at once.
        while (!m_sweep->Finished()) {
            m_sweep->Tick();
        }
        Finish();
    }
    CDialog::OnCancel();
}

tarnel::link::Line* CDoctorDlg::AtSpeed(int baudIndex)
{
    if (!m_port.SetSpeed(baudIndex)) {
        m_ended = kPortRefusesSpeed;
        return nullptr;
    }
    return &m_port.Line(m_stop);
}

void CDoctorDlg::Listening(std::uint32_t baud, std::uint32_t ms)
{
    SetDlgItemText(IDC_STEP, messages::Format(kListening, baud, ms));
}

void CDoctorDlg::Probing(std::uint32_t, std::uint32_t, std::uint32_t) {}

void CDoctorDlg::Probed(std::uint32_t baud, std::uint32_t address, unsigned done, unsigned total)
{
    SetDlgItemText(IDC_STEP, messages::Format(kProbing, address, baud, done, total));
}

void CDoctorDlg::Ended(const site::SweepEnd& end)
{
    using Reason = site::SweepEnd::Reason;
    switch (end.reason) {
    case Reason::Stopped: m_ended = messages::Format(kNoVerdict, kStopped); return;
    case Reason::AdapterLost: {
        const std::string lost = messages::Format(kAdapterLost, platform::ErrorText(end.error).c_str());
        m_ended = messages::Format(kNoVerdict, lost.c_str());
        return;
    }
    case Reason::CannotOpen: m_ended = messages::Format(kNoVerdict, m_ended.c_str()); return;
    case Reason::OtherMaster:
    case Reason::Complete: break;
    }
    for (const site::Controller& c : end.diagnosis->controllers) {
        AddListRow(IDC_FOUND, {std::to_string(c.address), std::to_string(c.baud),
                               messages::Format("%u/%u/%u", c.minMs, c.medianMs, c.maxMs)});
    }
    SetDlgItemText(IDC_FINDINGS, words::FindingsText(*end.diagnosis, messages::kChinese));
    m_ended = words::Verdict(*end.diagnosis, messages::kChinese);
}
