#pragma once

#include "dialog/combo_box.h"
#include "dialog/dialog.h"
#include "site/bus_sweep.h"
#include "site_port.h"

#include <cstdint>
#include <optional>
#include <string>

// 总线诊断: the doctor's look at the bus the window has open, at its speed
// or at every speed in turn (put back at the end): what answers, and what
// is wrong with it and how to fix it. The window's timer drives the sweep a
// step a tick.
class CDoctorDlg : public CDialog, private tarnel::site::SweepView, private tarnel::site::SweepLines {
public:
    CDoctorDlg(CDialog* pParent, SitePort& port);

    // Handlers, reached through the routing table.
    void OnStart();
    void OnStop();
    void OnTimer(int nIDEvent);

    CComboBox m_cbSpeed;
    std::uint32_t m_nFrom = 0;
    std::uint32_t m_nTo = 255;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    // Closing stops the sweep first and puts the port's speed back.
    void OnCancel() override;

private:
    void ShowWorking(bool working);
    void Finish();

    void Listening(std::uint32_t baud, std::uint32_t ms) override;
    void Probing(std::uint32_t baud, std::uint32_t from, std::uint32_t to) override;
    void Probed(std::uint32_t baud, std::uint32_t address, unsigned done, unsigned total) override;
    void Ended(const tarnel::site::SweepEnd& end) override;
    tarnel::link::Line* AtSpeed(int baudIndex) override;

    SitePort& m_port;
    StopFlag m_stop;
    std::optional<int> m_windowSpeed;  // put back at the end
    std::optional<tarnel::site::BusSweep> m_sweep;
    std::string m_ended;
};
