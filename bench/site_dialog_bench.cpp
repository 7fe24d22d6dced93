// 现场调试 on Qt, off screen, against tarnel-sim at 9600 baud: a new
// controller connected at address 1 one after another; for each, the time
// from its first answer at 1 (the simulator's trace) to its row in the
// dialog's list (target < 0.5 s); then 停止 while it probes for the next
// one, and what the line heard after the click (target: quiet within one
// tick).

#include "commission_dlg.h"
#include "dialog/application.h"
#include "dialog/test_access.h"
#include "link/serial_port.h"
#include "platform/serial_line.h"
#include "resource.h"
#include "sim_process.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace tarnel::dialog::testing;
using Clock = std::chrono::system_clock;

// Seconds since local midnight, as the simulator's trace stamps its lines.
double TimeOfDay(Clock::time_point when)
{
    const std::time_t seconds = Clock::to_time_t(when);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + millis / 1000.0;
}

double Stamp(const std::string& line)
{
    int h = 0, m = 0;
    double s = 0;
    std::sscanf(line.c_str(), "%d:%d:%lf", &h, &m, &s);
    return h * 3600.0 + m * 60.0 + s;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The stamp of the first answer from 1 after the `n`th controller was added.
double FirstAnswer(const std::string& trace, int n)
{
    int added = 0;
    for (const std::string& line : Lines(trace)) {
        added += line.starts_with("added controller") ? 1 : 0;
        if (added == n && line.find(" -> 01 04 02") != std::string::npos) {
            return Stamp(line);
        }
    }
    return 0;
}

// The requests the simulator heard from `since` on.
int RequestsSince(const std::string& trace, double since)
{
    const auto lines = Lines(trace);
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [since](const std::string& line) {
        return line.find(" <- ") != std::string::npos && Stamp(line) >= since;
    }));
}

constexpr std::array<ControlTemplate, 0> kNoControls{};
const DialogTemplate kHostTemplate{"宿主", 60, 30, kNoControls};

// Polls the work every few milliseconds from a dialog of its own, whose
// timer goes on inside the commissioning dialog's run.
class Host : public CDialog {
public:
    explicit Host(std::function<void()> poll) : CDialog(kHostTemplate)
    {
        RouteTimer([poll = std::move(poll)](int) { poll(); });
    }

protected:
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 2);
        return true;
    }
};

constexpr int kBaud9600 = 3;

class Bench {
public:
    Bench(int controllers, const std::filesystem::path& record)
        : m_controllers(controllers), m_sim({"200"}),
          m_line(tarnel::link::OpenPort(m_sim.DevicePath(), kBaud9600)), m_port(m_line),
          m_host([this] { Poll(); }), m_dlg(&m_host, m_port)
    {
        m_dlg.m_nFirst = 10;
        m_dlg.m_strRecord = record.string();
    }

    void Run() { m_host.DoModal(); }

private:
    enum class Phase { Open, Start, Connect, Shown, Stop, Stopped, Done, Reported };

    void Poll()
    {
        const Clock::time_point now = Clock::now();
        switch (m_phase) {
        case Phase::Open:
            m_phase = Phase::Start;
            m_dlg.DoModal();
            break;
        case Phase::Start:
            Click(m_dlg, IDC_START);
            m_phase = Phase::Connect;
            m_due = now + std::chrono::milliseconds(600);
            break;
        case Phase::Connect:
            if (now >= m_due) {
                m_sim.Tell("add 1");
                m_phase = Phase::Shown;
            }
            break;
        case Phase::Shown:
            if (static_cast<int>(ListRows(m_dlg, IDC_ROWS).size()) > static_cast<int>(m_latencies.size())) {
                const int n = static_cast<int>(m_latencies.size()) + 1;
                m_latencies.push_back((TimeOfDay(now) - FirstAnswer(m_sim.Output(), n)) * 1000);
                m_phase = n == m_controllers ? Phase::Stop : Phase::Connect;
                m_due = now + std::chrono::milliseconds(600);
            }
            break;
        case Phase::Stop:
            if (now >= m_due) {
                m_stopClicked = now;
                Click(m_dlg, IDC_STOP);
                m_phase = Phase::Stopped;
            }
            break;
        case Phase::Stopped:
            if (IsEnabled(m_dlg, IDC_START)) {
                m_stopped = now;
                m_due = now + std::chrono::milliseconds(500);
                m_phase = Phase::Done;
            }
            break;
        case Phase::Done:
            if (now >= m_due) {
                Report();
                m_dlg.EndDialog(IDCANCEL);
                m_host.EndDialog(IDOK);
                m_phase = Phase::Reported;
            }
            break;
        case Phase::Reported:
            break;
        }
    }

    void Report()
    {
        std::vector<double> sorted = m_latencies;
        std::sort(sorted.begin(), sorted.end());
        std::printf("first answer at the factory address to its row in the list, ms: median %.0f, max %.0f "
                    "(%zu controllers; target < 500)\n",
                    sorted[sorted.size() / 2], sorted.back(), sorted.size());
        const auto toStopped = std::chrono::duration<double, std::milli>(m_stopped - m_stopClicked).count();
        std::printf("停止 to 开始 enabled: %.0f ms; requests the line heard from the click on: %d "
                    "(target: none after the tick that was under way)\n",
                    toStopped, RequestsSince(m_sim.Output(), TimeOfDay(m_stopClicked)));
    }

    int m_controllers;
    tarnel::test::SimProcess m_sim;
    tarnel::platform::SerialLine m_line;
    WindowPort m_port;
    Host m_host;
    CCommissionDlg m_dlg;
    Phase m_phase = Phase::Open;
    Clock::time_point m_due;
    Clock::time_point m_stopClicked;
    Clock::time_point m_stopped;
    std::vector<double> m_latencies;
};

constexpr int kControllers = 20;

class BenchApp : public CWinApp {
public:
    BenchApp() : CWinApp("现场") {}

    bool InitInstance() override
    {
        const std::filesystem::path record = std::filesystem::temp_directory_path() / "tarnel-bench-record.csv";
        std::filesystem::remove(record);
        Bench(kControllers, record).Run();
        std::filesystem::remove(record);
        std::fflush(stdout);
        std::_Exit(0);
    }
};

BenchApp theApp;

}  // namespace
