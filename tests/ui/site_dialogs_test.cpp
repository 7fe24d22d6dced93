// The site dialogs' wiring, the same on every backend: each run on a
// scripted bus and driven as the operator drives it, through what the
// dialog framework lets a test see and do, from the ticks of a host dialog
// whose timer goes on inside their runs and boxes. Exits 1 on any mismatch.

#include "commission_dlg.h"
#include "dialog/application.h"
#include "dialog_script.h"
#include "doctor_dlg.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "link/protocol.h"
#include "main_dlg.h"
#include "resource.h"
#include "scripted_line.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using namespace std::chrono_literals;
using namespace tarnel::dialog::testing;
using namespace tarnel::test;
constexpr auto npos = std::string::npos;

// The window's port, played by a scripted bus at 9600 baud.
struct ScriptedPort : SitePort {
    explicit ScriptedPort(ScriptedLine::Responder responder) : m_line({}, std::move(responder)) {}

    tarnel::link::Line& Line(const tarnel::link::StopSource& stop) override
    {
        m_line.StopWith(&stop);
        return m_line;
    }
    std::optional<int> BaudIndex() const override { return 3; }
    bool SetSpeed(int baudIndex) override
    {
        speeds.push_back(baudIndex);
        return true;
    }

    std::vector<int> speeds;
    ScriptedLine m_line;
};

// A new controller at 1, moved wherever it is told; its rope reads dry the
// first time. Probes of 6 meet two controllers answering together.
std::vector<ScriptedLine::Reply> Controllers(const Bytes& request, std::uint8_t& at, int& calibrations)
{
    const auto reply = [](Bytes bytes) { return std::vector<ScriptedLine::Reply>{{12ms, std::move(bytes)}}; };
    if (request[1] == tarnel::link::kWriteRegister && request[0] == at) {
        at = request[7];
        return reply(tarnel::link::Sealed({1, tarnel::link::kWriteRegister, 0x80, 0x01, 0x00, at}));
    }
    if (request == AsBytes(tarnel::link::ZeroCalibrationFrame(at))) {
        return reply(ValueReply(at, calibrations++ == 0 ? 1 : 0));
    }
    if (request[0] == 6) {
        return reply({0x00, 0x00, 0x01, 0x00, 0x00, 0x12, 0x34});
    }
    return request[0] == at ? reply(ValueReply(at)) : std::vector<ScriptedLine::Reply>{};
}

// 现场调试: a controller connected, moved to 10, its rope dry and then in
// water, recorded; then 停止.
struct CommissioningRun {
    CommissioningRun(Script& script, CDialog& host, std::filesystem::path record)
        : m_port([this](const Bytes& request, unsigned) { return Controllers(request, m_at, m_calibrations); }),
          m_dlg(&host, m_port), m_record(std::move(record)), m_report(std::filesystem::path(m_record).replace_extension(".html"))
    {
        m_dlg.m_nFirst = 10;
        m_dlg.m_nLast = 12;
        m_dlg.m_bCalibrate = true;
        m_dlg.m_strRecord = m_record.string();
        script.Add(Do([this] { m_dlg.DoModal(); }));
        script.Add(Do([this] {
            Expect("before 开始", States({IDC_START, IDC_STOP, IDC_ROPE_IN_WATER}), std::vector{true, false, false});
            Click(m_dlg, IDC_START);
        }));
        script.Add(Until([this] { return Step().starts_with("请将地址 10 的水浸绳"); }));
        script.Add(Do([this] {
            Expect("at work, the form kept", States({IDC_START, IDC_RECORD, IDC_STOP, IDC_SKIP}),
                   std::vector{false, false, true, true});
            Click(m_dlg, IDC_ROPE_IN_WATER);
        }));
        script.Add(Until([this] { return Step().starts_with("水浸绳不在水中（读数 0x0001）："); }));
        script.Add(Do([this] { Click(m_dlg, IDC_ROPE_IN_WATER); }));
        script.Add(Until([this] { return Step() == "请贴标签 10，然后接入下一台控制器（出厂地址 1）"; }));
        script.Add(Do([this] {
            Rows rows = ListRows(m_dlg, IDC_ROWS);
            for (auto& row : rows) {
                row.erase(row.begin() + 3);  // the time
            }
            Expect("the row shown", rows, Rows{{"10", "已设置", "已校零", "3 毫秒"}});
            Expect("and written, after its time", Text(m_record).ends_with(",10,9600,1,moved,calibrated,3\n"));
            Click(m_dlg, IDC_STOP);
        }));
        script.Add(Until([this] { return IsEnabled(m_dlg, IDC_START); }));
        script.Add(Do([this] {
            Expect("the end", Step(), std::string("已停止。已设置 1 台，失败 0 台"));
            Click(m_dlg, IDC_REPORT);
        }));
        // The browser is the test's stand-in, which notes what it was given.
        script.Add(Until([] {
            const char* noted = std::getenv("TARNEL_OPENED");
            return noted && Text(noted).find("tarnel-site-record.html") != npos;
        }));
        script.Add(Do([this] {
            Expect("the report beside the record", Text(m_report).find("<td class=\"number\">10</td>") != npos);
            m_dlg.EndDialog(IDCANCEL);
        }));
    }

    std::string Step() const { return m_dlg.GetDlgItemText(IDC_STEP); }
    std::vector<bool> States(std::initializer_list<int> ids) const
    {
        std::vector<bool> enabled;
        for (const int id : ids) {
            enabled.push_back(IsEnabled(m_dlg, id));
        }
        return enabled;
    }

    std::uint8_t m_at = 1;
    int m_calibrations = 0;
    ScriptedPort m_port;
    CCommissionDlg m_dlg;
    std::filesystem::path m_record;
    std::filesystem::path m_report;
};

// A record that is not one: said in a box, nothing sent, the file untouched.
struct RefusedRun {
    RefusedRun(Script& script, CDialog& host, std::filesystem::path notes)
        : m_port([](const Bytes&, unsigned) { return std::vector<ScriptedLine::Reply>{}; }), m_dlg(&host, m_port),
          m_notes(std::move(notes))
    {
        std::ofstream(m_notes, std::ios::binary) << "name,phone\n";
        m_dlg.m_strRecord = m_notes.string();
        script.Add(Do([this] { m_dlg.DoModal(); }));
        script.Add(Do([this] { Click(m_dlg, IDC_START); }));
        script.Add(Until([this] { return (m_box = CloseMessageBox()).has_value(); }));
        script.Add(Do([this] {
            Expect("the refusal", m_box->text.starts_with("“" + m_notes.string() + "”不是调试记录："));
            Expect("the file untouched", Text(m_notes), std::string("name,phone\n"));
            Expect("nothing sent", m_port.m_line.Writes().size(), std::size_t{0});
            m_dlg.EndDialog(IDCANCEL);
        }));
    }

    ScriptedPort m_port;
    CCommissionDlg m_dlg;
    std::filesystem::path m_notes;
    std::optional<Box> m_box;
};

// 总线诊断 at the window's speed, which is put back: 5 answers, two
// controllers answer together at 6.
struct DoctorRun {
    DoctorRun(Script& script, CDialog& host)
        : m_port([this](const Bytes& request, unsigned) { return Controllers(request, m_at, m_calibrations); }),
          m_dlg(&host, m_port)
    {
        m_dlg.m_nTo = 7;
        script.Add(Do([this] { m_dlg.DoModal(); }));
        script.Add(Do([this] { Click(m_dlg, IDC_START); }));
        script.Add(Until([this] { return IsEnabled(m_dlg, IDC_START); }));
        script.Add(Do([this] {
            Expect("the controllers found", ListRows(m_dlg, IDC_FOUND), Rows{{"5", "9600", "3/3/3"}});
            Expect("the findings", m_dlg.GetDlgItemText(IDC_FINDINGS).substr(0, 69),
                   std::string("发现 1 个问题\n- 地址 6 的应答有 5 次（共 5 次）损坏"));
            Expect("the speed put back", m_port.speeds, std::vector{3, 3});
            m_dlg.EndDialog(IDCANCEL);
        }));
    }

    std::uint8_t m_at = 5;
    int m_calibrations = 0;
    ScriptedPort m_port;
    CDoctorDlg m_dlg;
};

// The window's menu opens them, once a port is open.
struct MenuRun {
    MenuRun(Script& script, CDialog& host) : m_window(&host)
    {
        script.Add(Do([this] { m_window.DoModal(); }));
        script.Add(Do([this] {
            Expect("the window menu", WindowMenuItems(m_window),
                   std::vector<std::string>{"关于 Tarnel(&A)...", "现场调试…", "总线诊断…"});
            ChooseWindowMenuItem(m_window, 1);
        }));
        script.Add(Until([this] { return (m_box = CloseMessageBox()).has_value(); }));
        script.Add(Do([this] {
            Expect("without a port", m_box->text, std::string("请先打开串口"));
            m_window.EndDialog(IDCANCEL);
        }));
    }

    CMainDlg m_window;
    std::optional<Box> m_box;
};

struct SiteDialogsApp : CWinApp {
    SiteDialogsApp() : CWinApp("现场") {}

    bool InitInstance() override
    {
        const std::filesystem::path folder = std::filesystem::temp_directory_path();
        const std::filesystem::path record = folder / "tarnel-site-record.csv";
        std::filesystem::remove(record);
        if (const char* noted = std::getenv("TARNEL_OPENED")) {
            std::filesystem::remove(noted);
        }
        Script script;
        Host host(script);
        CommissioningRun commissioning(script, host, record);
        RefusedRun refused(script, host, folder / "tarnel-notes.csv");
        DoctorRun doctor(script, host);
        MenuRun menu(script, host);
        script.Add(Do([&host] { host.EndDialog(IDOK); }));
        host.DoModal();
        std::filesystem::remove(record);
        std::filesystem::remove(std::filesystem::path(record).replace_extension(".html"));
        std::filesystem::remove(folder / "tarnel-notes.csv");
        ExitWithMismatches();
    }
};

SiteDialogsApp theApp;

}  // namespace
