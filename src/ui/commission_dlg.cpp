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
    const std::string date = tarnel::site::IsoText(tarnel::site::LocalTime(std::chrono::system_clock::now()));
    return tarnel::platform::Joined(tarnel::platform::Joined(tarnel::dialog::DocumentsFolder(), "Tarnel"),
                                    date.substr(0, 10) + ".csv");
}

// "2026-12-08 09:15:02": the row's local time.
std::string Shown(const tarnel::site::RecordTime& time)
{
    std::string text = tarnel::site::IsoText(time).substr(0, 19);
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
    if (const auto chosen = tarnel::dialog::ChooseFile(*this, kChooseRecord, m_strRecord)) {
        m_strRecord = *chosen;
        SetDlgItemText(IDC_RECORD, m_strRecord);
    }
}

void CCommissionDlg::OnReport()
{
    if (!UpdateData(true)) {
        return;
    }
    const std::string report = tarnel::site::ReportPathFor(m_strRecord);
    const auto made =
        tarnel::words::ReportOfRecord(m_strRecord, tarnel::site::SiteNameFor(m_strRecord), tarnel::messages::kChinese);
    if (const auto* trouble = std::get_if<tarnel::words::ReportTrouble>(&made)) {
        ReportRefused(*trouble, report);
    } else if (const auto trouble = tarnel::words::PutReport(report, std::get<tarnel::words::Report>(made).page, false)) {
        ReportRefused(*trouble, report);
    } else if (!tarnel::dialog::OpenDocument(report)) {
        AfxMessageBox(tarnel::messages::Format(kReportNotOpened, report.c_str()));
    }
}

void CCommissionDlg::ReportRefused(const tarnel::words::ReportTrouble& trouble, const std::string& report)
{
    using Kind = tarnel::words::ReportTrouble::Kind;
    const std::string error = tarnel::platform::ErrorText(trouble.error);
    switch (trouble.kind) {
    case Kind::RecordUnreadable:
        AfxMessageBox(tarnel::messages::Format(kRecordUnreadable, m_strRecord.c_str(), error.c_str()));
        break;
    case Kind::NotARecord:
        AfxMessageBox(tarnel::messages::Format(
            kNoReportOfIt, m_strRecord.c_str(),
            tarnel::words::RecordProblemText(trouble.problem, tarnel::messages::kChinese).c_str()));
        break;
    case Kind::OutputIsARecord: AfxMessageBox(tarnel::messages::Format(kReportOverRecord, report.c_str())); break;
    case Kind::OutputNotOurs: AfxMessageBox(tarnel::messages::Format(kReportOverOther, report.c_str())); break;
    case Kind::OutputUnwritable:
        AfxMessageBox(tarnel::messages::Format(kReportUnwritable, report.c_str(), error.c_str()));
        break;
    }
}

std::optional<tarnel::site::Record> CCommissionDlg::OpenRecord()
{
    // A missing folder is the record's refusal to say.
    tarnel::platform::MakeFolders(tarnel::platform::FolderOf(m_strRecord));
    auto opened = tarnel::site::OpenRecord(m_strRecord);
    if (auto* record = std::get_if<tarnel::site::Record>(&opened)) {
        return std::move(*record);
    }
    const auto& refusal = std::get<tarnel::site::RecordRefusal>(opened);
    const char* path = m_strRecord.c_str();
    switch (refusal.kind) {
    case tarnel::site::RecordRefusal::Kind::NotARecord:
        AfxMessageBox(tarnel::messages::Format(kNotARecord, path, tarnel::words::RecordProblemText(refusal.problem, tarnel::messages::kChinese).c_str()));
        break;
    case tarnel::site::RecordRefusal::Kind::HeldElsewhere: AfxMessageBox(tarnel::messages::Format(kRecordHeld, path)); break;
    default:
        AfxMessageBox(tarnel::messages::Format(kRecordUnusable, path, tarnel::platform::ErrorText(refusal.error).c_str()));
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
    std::optional<tarnel::site::Record> record = OpenRecord();
    if (!record) {
        return;
    }
    ClearList(IDC_ROWS);
    for (const tarnel::site::RecordRow& row : record->Rows()) {
        ShowRecorded(row);
    }
    m_stop.Clear();
    m_label.reset();
    m_ended.clear();
    const tarnel::site::CommissionPlan plan{.factory = m_nFactory,
                                    .first = m_nFirst,
                                    .last = m_nLast,
                                    .calibrate = m_bCalibrate,
                                    .baud = tarnel::link::RateAt(*baudIndex)};
    m_work.emplace(std::move(*record), m_port.Line(m_stop), plan, m_clock,
                   static_cast<tarnel::site::CommissioningView&>(*this));
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

void CCommissionDlg::ShowRecorded(const tarnel::site::RecordRow& row)
{
    AddListRow(IDC_ROWS, {std::to_string(row.address), tarnel::words::OutcomeText(row.outcome, row.from, tarnel::messages::kChinese),
                          tarnel::words::CalibrationText(row.calibration, tarnel::messages::kChinese), Shown(row.time),
                          row.responseMs ? tarnel::messages::Format(kMilliseconds, *row.responseMs) : std::string()});
}

void CCommissionDlg::Stepped(tarnel::site::CommissionStep step, std::uint32_t address, unsigned)
{
    AskForTheRope(step == tarnel::site::CommissionStep::AwaitingRope);
    switch (step) {
    case tarnel::site::CommissionStep::AwaitingController:
        // The last one's label stays asked for while the next is connected.
        ShowStep(m_label ? tarnel::messages::Format(kLabelThenConnect, *m_label, address)
                         : tarnel::messages::Format(kConnectNext, address));
        break;
    case tarnel::site::CommissionStep::Moving:
        m_label.reset();
        ShowStep(tarnel::messages::Format(kMoving, address));
        break;
    case tarnel::site::CommissionStep::AwaitingRope: ShowStep(tarnel::messages::Format(kRopePrompt, address)); break;
    case tarnel::site::CommissionStep::Calibrating: ShowStep(tarnel::messages::Format(kCalibrating, address)); break;
    case tarnel::site::CommissionStep::Choosing:
    case tarnel::site::CommissionStep::AwaitingDisconnection: break;  // said with the row before
    }
}

void CCommissionDlg::Skipped(std::uint32_t address)
{
    ShowStep(tarnel::messages::Format(kSkipped, address));
}

void CCommissionDlg::SeveralAtFactory(std::uint32_t factory)
{
    ShowStep(tarnel::messages::Format(kSeveralAtFactory, factory));
}

void CCommissionDlg::SecondAtFactory(std::uint32_t factory)
{
    ShowStep(tarnel::messages::Format(kSecondAtFactory, factory));
}

void CCommissionDlg::RopeDry(std::uint32_t, std::uint16_t value)
{
    const std::string dry = tarnel::words::CalibrationText({tarnel::site::Calibration::Kind::RopeDry, value}, tarnel::messages::kChinese);
    ShowStep(tarnel::messages::Format(kRopeDry, dry.c_str()));
    AskForTheRope(true);
}

void CCommissionDlg::Recorded(const tarnel::site::RecordRow& row)
{
    ShowRecorded(row);
    AskForTheRope(false);
    if (row.outcome.kind == tarnel::site::Outcome::Kind::Moved) {
        m_label = row.address;
        ShowStep(tarnel::messages::Format(kLabelIt, row.address));
        tarnel::dialog::Beep();
    } else {
        ShowStep(tarnel::messages::Format(kDisconnect, tarnel::words::OutcomeText(row.outcome, row.from, tarnel::messages::kChinese).c_str(), row.from));
    }
}

void CCommissionDlg::NotRecorded(const tarnel::site::RecordRow&, std::error_code error)
{
    m_ended = tarnel::messages::Format(kNotRecorded, tarnel::platform::ErrorText(error).c_str());
}

void CCommissionDlg::Ended(const tarnel::site::CommissionEnd& end)
{
    using Reason = tarnel::site::CommissionEnd::Reason;
    std::string why;
    switch (end.reason) {
    case Reason::NoFreeAddress: why = tarnel::messages::Format(kNoFreeAddress, m_nFirst, m_nLast); break;
    case Reason::AdapterLost: why = tarnel::messages::Format(kAdapterLost, tarnel::platform::ErrorText(end.error).c_str()); break;
    case Reason::OtherMaster:
        why = tarnel::messages::Format(kOtherMasterStops, tarnel::words::OtherMasterText(*end.master, tarnel::messages::kChinese).c_str());
        break;
    case Reason::Stopped: why = kStopped; break;
    case Reason::RecordUnwritable: why = m_ended; break;
    case Reason::CountReached: break;
    }
    const std::string summary = tarnel::messages::Format(kSummary, end.tally.moved, end.tally.failed);
    m_ended = why.empty() ? summary : why + "。" + summary;
}
