#include "commission_dlg.h"

#include "dialog/data_exchange.h"
#include "dialog/desktop.h"
#include "dialog/message_box.h"
#include "dialog/routing.h"
#include "link/protocol.h"
#include "messages/messages.h"
#include "platform/error_text.h"
#include "platform/paths.h"
#include "platform/whole_file.h"
#include "resource.h"
#include "site/handover.h"
#include "site_texts.h"
#include "templates.h"
#include "words/site_words.h"

#include <array>
#include <chrono>

namespace dialog = tarnel::dialog;
namespace messages = tarnel::messages;
namespace platform = tarnel::platform;
namespace site = tarnel::site;
namespace words = tarnel::words;

namespace {

using CommissionRoute = MessageRoute<CCommissionDlg>;

const std::array kCommissionRoutes{
    CommissionRoute::Clicked(IDC_BROWSE, &CCommissionDlg::OnBrowse),
    CommissionRoute::Clicked(IDC_REPORT, &CCommissionDlg::OnReport),
    CommissionRoute::Clicked(IDC_START, &CCommissionDlg::OnStart),
    CommissionRoute::Clicked(IDC_STOP, &CCommissionDlg::OnStop),
    CommissionRoute::Clicked(IDC_ROPE_IN_WATER, &CCommissionDlg::OnRopeInWater),
    CommissionRoute::Clicked(IDC_SKIP, &CCommissionDlg::OnSkip),
    CommissionRoute::Timer(&CCommissionDlg::OnTimer),
};

// The fields the operator sets before 开始, which stay as they are while it works.
constexpr std::array kForm{IDC_FACTORY, IDC_FIRST, IDC_LAST, IDC_CALIBRATE, IDC_RECORD, IDC_BROWSE, IDC_REPORT};

// Today's record: a file named for the date in a Tarnel folder among the user's documents.
std::string TodaysRecord()
{
    const std::string date = site::IsoText(site::LocalTime(std::chrono::system_clock::now()));
    return platform::Joined(platform::Joined(dialog::DocumentsFolder(), "Tarnel"),
                                    date.substr(0, 10) + ".csv");
}

// "2026-12-08 09:15:02": the row's local time.
std::string Shown(const site::RecordTime& time)
{
    std::string text = site::IsoText(time).substr(0, 19);
    text[10] = ' ';
    return text;
}

}  // namespace

CCommissionDlg::CCommissionDlg(CDialog* pParent, SitePort& port)
    : CDialog(kCommissionDialogTemplate, pParent), m_strRecord(TodaysRecord()), m_port(port)
{
    WireRoutes<CCommissionDlg>(this, kCommissionRoutes);
}

void CCommissionDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_FACTORY, m_nFactory);
    DDV_MinMaxUInt(pDX, m_nFactory, tarnel::link::kFirstAddress, tarnel::link::kLastAddress);
    DDX_Text(pDX, IDC_FIRST, m_nFirst);
    DDV_MinMaxUInt(pDX, m_nFirst, tarnel::link::kFirstAddress, tarnel::link::kLastAddress);
    DDX_Text(pDX, IDC_LAST, m_nLast);
    DDV_MinMaxUInt(pDX, m_nLast, tarnel::link::kFirstAddress, tarnel::link::kLastAddress);
    DDX_Check(pDX, IDC_CALIBRATE, m_bCalibrate);
    DDX_Text(pDX, IDC_RECORD, m_strRecord);
}

bool CCommissionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowWorking(false);
    AskForTheRope(false);
    return true;
}

void CCommissionDlg::ShowStep(const std::string& text)
{
    SetDlgItemText(IDC_STEP, text);
}

void CCommissionDlg::ShowWorking(bool working)
{
    for (const int id : kForm) {
        EnableDlgItem(id, !working);
    }
    EnableDlgItem(IDC_START, !working);
    EnableDlgItem(IDC_STOP, working);
}

void CCommissionDlg::AskForTheRope(bool asking)
{
    EnableDlgItem(IDC_ROPE_IN_WATER, asking);
    EnableDlgItem(IDC_SKIP, asking);
}

void CCommissionDlg::OnBrowse()
{
    UpdateData(true);
    if (const auto chosen = dialog::ChooseFile(*this, kChooseRecord, m_strRecord)) {
        m_strRecord = *chosen;
        SetDlgItemText(IDC_RECORD, m_strRecord);
    }
}

void CCommissionDlg::OnReport()
{
    if (!UpdateData(true)) {
        return;
    }
    const std::string report = site::ReportPathFor(m_strRecord);
    const auto made =
        words::ReportOfRecord(m_strRecord, site::SiteNameFor(m_strRecord), messages::kChinese);
    if (const auto* trouble = std::get_if<words::ReportTrouble>(&made)) {
        ReportRefused(*trouble, report);
    } else if (const auto trouble = words::PutReport(report, std::get<words::Report>(made).page, false)) {
        ReportRefused(*trouble, report);
    } else if (!dialog::OpenDocument(report)) {
        AfxMessageBox(messages::Format(kReportNotOpened, report.c_str()));
    }
}

void CCommissionDlg::ReportRefused(const words::ReportTrouble& trouble, const std::string& report)
{
    using Kind = words::ReportTrouble::Kind;
    const std::string error = platform::ErrorText(trouble.error);
    switch (trouble.kind) {
    case Kind::RecordUnreadable:
        AfxMessageBox(messages::Format(kRecordUnreadable, m_strRecord.c_str(), error.c_str()));
        break;
    case Kind::NotARecord:
        AfxMessageBox(messages::Format(
            kNoReportOfIt, m_strRecord.c_str(),
            words::RecordProblemText(trouble.problem, messages::kChinese).c_str()));
        break;
    case Kind::OutputIsARecord: AfxMessageBox(messages::Format(kReportOverRecord, report.c_str())); break;
    case Kind::OutputNotOurs: AfxMessageBox(messages::Format(kReportOverOther, report.c_str())); break;
    case Kind::OutputUnwritable:
        AfxMessageBox(messages::Format(kReportUnwritable, report.c_str(), error.c_str()));
        break;
    }
}

std::optional<site::Record> CCommissionDlg::OpenRecord()
{
    // A missing folder is the record's refusal to say.
    platform::MakeFolders(platform::FolderOf(m_strRecord));
    auto opened = site::OpenRecord(m_strRecord);
    if (auto* record = std::get_if<site::Record>(&opened)) {
        return std::move(*record);
    }
    const auto& refusal = std::get<site::RecordRefusal>(opened);
    const char* path = m_strRecord.c_str();
    switch (refusal.kind) {
    case site::RecordRefusal::Kind::NotARecord:
        AfxMessageBox(
            messages::Format(kNotARecord, path, words::RecordProblemText(refusal.problem, messages::kChinese).c_str()));
        break;
    case site::RecordRefusal::Kind::HeldElsewhere: AfxMessageBox(messages::Format(kRecordHeld, path)); break;
    default:
        AfxMessageBox(messages::Format(kRecordUnusable, path, platform::ErrorText(refusal.error).c_str()));
        break;
    }
    return std::nullopt;
}

void CCommissionDlg::OnStart()
{
    if (!UpdateData(true)) {
        return;
    }
    if (m_nFirst > m_nLast) {
        AfxMessageBox(kFirstAboveLast);
        return;
    }
    const std::optional<int> baudIndex = m_port.BaudIndex();
    if (!baudIndex) {
        AfxMessageBox(kSpeedNotListed);
        return;
    }
    std::optional<site::Record> record = OpenRecord();
    if (!record) {
        return;
    }
    ClearList(IDC_ROWS);
    for (const site::RecordRow& row : record->Rows()) {
        ShowRecorded(row);
    }
    m_stop.Clear();
    m_label.reset();
    m_ended.clear();
    const site::CommissionPlan plan{.factory = m_nFactory,
                                    .first = m_nFirst,
                                    .last = m_nLast,
                                    .calibrate = m_bCalibrate,
                                    .baud = tarnel::link::RateAt(*baudIndex)};
    m_work.emplace(std::move(*record), m_port.Line(m_stop), plan, m_clock,
                   static_cast<site::CommissioningView&>(*this));
    ShowWorking(true);
    SetTimer(SITE_TIMER_ID, kSiteTickMs);
}

void CCommissionDlg::OnStop()
{
    m_stop.Request();
}

void CCommissionDlg::OnRopeInWater()
{
    if (m_work) {
        m_work->commissioning.RopeInWater();
    }
}

void CCommissionDlg::OnSkip()
{
    if (m_work) {
        m_work->commissioning.SkipCalibration();
    }
}

void CCommissionDlg::OnTimer(int)
{
    if (!m_work) {
        return;
    }
    m_work->commissioning.Tick();
    if (m_work->commissioning.Finished()) {
        KillTimer(SITE_TIMER_ID);
        m_work.reset();
        ShowWorking(false);
        AskForTheRope(false);
        ShowStep(m_ended);
    }
}

void CCommissionDlg::OnCancel()
{
    if (m_work) {
        KillTimer(SITE_TIMER_ID);
        m_stop.Request();
        // Stopped, each step ends at once: the controller under way is recorded.
        while (!m_work->commissioning.Finished()) {
            m_work->commissioning.Tick();
        }
        m_work.reset();
    }
    CDialog::OnCancel();
}

void CCommissionDlg::ShowRecorded(const site::RecordRow& row)
{
    AddListRow(IDC_ROWS, {std::to_string(row.address), words::OutcomeText(row.outcome, row.from, messages::kChinese),
                          words::CalibrationText(row.calibration, messages::kChinese), Shown(row.time),
                          row.responseMs ? messages::Format(kMilliseconds, *row.responseMs) : std::string()});
}

void CCommissionDlg::Stepped(site::CommissionStep step, std::uint32_t address, unsigned)
{
    AskForTheRope(step == site::CommissionStep::AwaitingRope);
    switch (step) {
    case site::CommissionStep::AwaitingController:
        // The last one's label stays asked for while the next is connected.
        ShowStep(m_label ? messages::Format(kLabelThenConnect, *m_label, address)
                         : messages::Format(kConnectNext, address));
        break;
    case site::CommissionStep::Moving:
        m_label.reset();
        ShowStep(messages::Format(kMoving, address));
        break;
    case site::CommissionStep::AwaitingRope: ShowStep(messages::Format(kRopePrompt, address)); break;
    case site::CommissionStep::Calibrating: ShowStep(messages::Format(kCalibrating, address)); break;
    case site::CommissionStep::Choosing:
    case site::CommissionStep::AwaitingDisconnection: break;  // said with the row before
    }
}

void CCommissionDlg::Skipped(std::uint32_t address)
{
    ShowStep(messages::Format(kSkipped, address));
}

void CCommissionDlg::SeveralAtFactory(std::uint32_t factory)
{
    ShowStep(messages::Format(kSeveralAtFactory, factory));
}

void CCommissionDlg::SecondAtFactory(std::uint32_t factory)
{
    ShowStep(messages::Format(kSecondAtFactory, factory));
}

void CCommissionDlg::RopeDry(std::uint32_t, std::uint16_t value)
{
    const std::string dry = words::CalibrationText({site::Calibration::Kind::RopeDry, value}, messages::kChinese);
    ShowStep(messages::Format(kRopeDry, dry.c_str()));
    AskForTheRope(true);
}

void CCommissionDlg::Recorded(const site::RecordRow& row)
{
    ShowRecorded(row);
    AskForTheRope(false);
    if (row.outcome.kind == site::Outcome::Kind::Moved) {
        m_label = row.address;
        ShowStep(messages::Format(kLabelIt, row.address));
        dialog::Beep();
    } else {
        const std::string outcome = words::OutcomeText(row.outcome, row.from, messages::kChinese);
        ShowStep(messages::Format(kDisconnect, outcome.c_str(), row.from));
    }
}

void CCommissionDlg::NotRecorded(const site::RecordRow&, std::error_code error)
{
    m_ended = messages::Format(kNotRecorded, platform::ErrorText(error).c_str());
}

void CCommissionDlg::Ended(const site::CommissionEnd& end)
{
    using Reason = site::CommissionEnd::Reason;
    std::string why;
    switch (end.reason) {
    case Reason::NoFreeAddress: why = messages::Format(kNoFreeAddress, m_nFirst, m_nLast); break;
    case Reason::AdapterLost: why = messages::Format(kAdapterLost, platform::ErrorText(end.error).c_str()); break;
    case Reason::OtherMaster:
        why = messages::Format(kOtherMasterStops, words::OtherMasterText(*end.master, messages::kChinese).c_str());
        break;
    case Reason::Stopped: why = kStopped; break;
    case Reason::RecordUnwritable: why = m_ended; break;
    case Reason::CountReached: break;
    }
    const std::string summary = messages::Format(kSummary, end.tally.moved, end.tally.failed);
    m_ended = why.empty() ? summary : why + "。" + summary;
}
