#pragma once

#include "dialog/dialog.h"
#include "site/commissioning.h"
#include "site_port.h"
#include "words/report_file.h"

#include <cstdint>
#include <optional>
#include <string>

// 现场调试: a site's new controllers, connected one after another at the
// factory address, each given the next free address, verified, optionally
// zero-calibrated, and written to the record; the window's timer drives
// the work a step a tick.
class CCommissionDlg : public CDialog, private tarnel::site::CommissioningView {
public:
    CCommissionDlg(CDialog* pParent, SitePort& port);

    // Handlers, reached through the routing table.
    void OnBrowse();
    // The record's handover report, beside it, opened in the browser.
    void OnReport();
    void OnStart();
    void OnStop();
    void OnRopeInWater();
    void OnSkip();
    void OnTimer(int nIDEvent);

    std::uint32_t m_nFactory = 1;
    std::uint32_t m_nFirst = 1;
    std::uint32_t m_nLast = 255;
    bool m_bCalibrate = false;
    std::string m_strRecord;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    // Closing stops the work first; the line is left quiet.
    void OnCancel() override;

private:
    // The record, refused in a box; none when it cannot be used.
    std::optional<tarnel::site::Record> OpenRecord();
    void ReportRefused(const tarnel::words::ReportTrouble& trouble, const std::string& report);
    void ShowRecorded(const tarnel::site::RecordRow& row);
    void ShowWorking(bool working);
    void ShowStep(const std::string& text);
    void AskForTheRope(bool asking);

    void Stepped(tarnel::site::CommissionStep step, std::uint32_t address, unsigned done) override;
    void Skipped(std::uint32_t address) override;
    void SeveralAtFactory(std::uint32_t factory) override;
    void SecondAtFactory(std::uint32_t factory) override;
    void RopeDry(std::uint32_t address, std::uint16_t value) override;
    void Recorded(const tarnel::site::RecordRow& row) override;
    void NotRecorded(const tarnel::site::RecordRow& row, std::error_code error) override;
    void Ended(const tarnel::site::CommissionEnd& end) override;

    SitePort& m_port;
    StopFlag m_stop;
    const tarnel::site::SystemWallClock m_clock;
    // One run of the work, from 开始 to its end.
    struct Work {
        Work(tarnel::site::Record opened, tarnel::link::Line& line, const tarnel::site::CommissionPlan& plan,
             const tarnel::site::WallClock& clock, tarnel::site::CommissioningView& view)
            : record(std::move(opened)), bus(line, plan.baud), commissioning(bus, plan, record, clock, view)
        {
        }

        tarnel::site::Record record;
        tarnel::site::Bus bus;
        tarnel::site::Commissioning commissioning;
    };
    std::optional<Work> m_work;
    std::optional<std::uint32_t> m_label;  // the address the last controller moved to, to be labelled
    std::string m_ended;                   // what the step line says once the work has ended
};
