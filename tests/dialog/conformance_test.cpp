// The dialog framework's rules, the same on every backend: one dialog run
// twice through DoModal and scripted from its own handlers, with nothing
// but CDialog's calls and what the operator would see, inside the run of
// another whose ticks go on meanwhile and end a run that hangs. It runs as
// the program does, as the application object; exits 1 on any mismatch.

#include "dialog/application.h"
#include "dialog/combo_box.h"
#include "dialog/data_exchange.h"
#include "dialog/desktop.h"
#include "dialog/message_box.h"
#include "dialog_script.h"

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using namespace tarnel::dialog::testing;
using namespace tarnel::test;

constexpr int kEdit = 10, kButton = 11, kList = 12, kCheck = 13, kRows = 14, kText = 15;
constexpr std::array<const char*, 2> kEntries{"甲", "乙"};
constexpr std::array<const char*, 2> kColumns{"地址", "结果"};
constexpr std::array kWidths{30, 60};
constexpr std::array kControls{
    ControlTemplate{ControlKind::Edit, kEdit, "edit", "", 7, 7, 50, 14},
    ControlTemplate{ControlKind::Button, kButton, "button", "按钮", 70, 7, 50, 14},
    ControlTemplate{ControlKind::Combo, kList, "list", "", 7, 28, 50, 60, "列表", kEntries},
    ControlTemplate{ControlKind::DefaultButton, IDOK, "IDOK", "确定", 70, 28, 50, 14},
    ControlTemplate{ControlKind::CheckBox, kCheck, "check", "勾选", 130, 7, 50, 14},
    ControlTemplate{ControlKind::List, kRows, "rows", "", 7, 50, 110, 50, "行", kColumns, 0, kWidths},
    ControlTemplate{ControlKind::Text, kText, "text", "", 130, 50, 60, 50},
};
const DialogTemplate kTemplate{"规则", 200, 110, kControls};

constexpr int kTimer = 1;
constexpr milliseconds kPeriod{100};

// A dialog whose initialisation and ticks do what the script says.
struct ScriptedDlg : CDialog {
    explicit ScriptedDlg(CDialog* parent = nullptr) : CDialog(kTemplate, parent)
    {
        RouteTimer([this](int id) {
            Expect("the tick names its timer", id, kTimer);
            ++ticks;
            onTick();
        });
        RouteSysCommand([this](unsigned command) { commands.push_back(command); });
        for (const int id : {kButton, kCheck}) {
            RouteClicked(id, [this, id] {
                clicks.push_back(id);
                onClick(id);
            });
        }
    }

    void Start() { SetTimer(kTimer, static_cast<unsigned>(kPeriod.count())); }

    std::function<void()> onInit = [] {};
    std::function<void()> onTick = [] {};
    std::function<void(int)> onClick = [](int) {};
    std::vector<int> clicks;
    bool checked = false;
    int inits = 0;
    int ticks = 0;
    std::vector<unsigned> commands;
    CComboBox list;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, kList, list);
        DDX_Check(pDX, kCheck, checked);
    }

    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ++inits;
        onInit();
        return true;
    }
};

// Ticks: the first a period after the start, one for all the expiries a
// blocking tick let pass, none for an expiry a restart overtook; and ticks
// that go on inside a box.
void FirstRun(ScriptedDlg& dlg)
{
    Clock::time_point started, restarted;
    std::vector<milliseconds> at;
    std::optional<Box> box;
    dlg.onInit = [&] {
        Expect("a button starts with its template caption", dlg.GetDlgItemText(kButton), std::string("按钮"));
        dlg.SetDlgItemText(kButton, "改过");
        dlg.SetToolTip(kEdit, [] { return std::string("第一次"); });
        dlg.AppendToSystemMenu("项一", 0x10);
        started = Clock::now();
        dlg.Start();
    };
    dlg.onTick = [&] {
        at.push_back(std::chrono::duration_cast<milliseconds>(Clock::now() - started));
        switch (dlg.ticks) {
        case 1: std::this_thread::sleep_for(kPeriod * 7 / 2); break;
        case 3:
            std::this_thread::sleep_for(kPeriod * 5 / 2);
            dlg.Start();
            restarted = Clock::now();
            break;
        case 4:
            Expect("a restart drops the tick that fell due", Clock::now() - restarted >= kPeriod / 2);
            Expect("the tooltip", ToolTipText(dlg, kEdit), std::string("第一次"));
            Expect("the window menu", WindowMenuItems(dlg), std::vector<std::string>{"项一"});
            ChooseWindowMenuItem(dlg, 0);
            Expect("the window-menu command", dlg.commands, std::vector<unsigned>{0x10});
            WindowMessageBox(dlg, "消息");
            Expect("ticks go on inside a box, which shows",
                   box ? std::vector{box->title, box->text, box->ok} : std::vector<std::string>{},
                   std::vector<std::string>{AfxGetApp()->Name(), "消息", "确定"});
            dlg.KillTimer(kTimer);
            dlg.KillTimer(kTimer);
            dlg.EndDialog(IDOK);
            break;
        case 5: box = CloseMessageBox(); break;
        }
    };
    Expect("the first run ends with OK", dlg.DoModal(), IDOK);
    Expect("five ticks", dlg.ticks, 5);
    if (at.size() >= 3) {
        Expect("the first tick comes a period after the start", at[0] >= kPeriod / 2);
        Expect("the expiries a blocking tick let pass make one tick", at[2] - at[1] >= kPeriod * 2 / 5);
    }
}

// The controls the site's dialogs need: a check box and its exchange, a
// list's rows, several lines of text, a control turned off, a click that
// restarts the timer while a tick is due (the restart drops it), a file
// chosen without touching it, and the bell.
void ControlsRun(ScriptedDlg& dlg)
{
    dlg.ticks = 0;
    Clock::time_point restarted;
    const std::filesystem::path kept = std::filesystem::temp_directory_path() / "tarnel-rules.csv";
    std::ofstream(kept, std::ios::binary) << "kept\n";
    dlg.onInit = [&] {
        Expect("a check box starts unticked", dlg.IsDlgButtonChecked(kCheck), false);
        dlg.checked = true;
        dlg.UpdateData(false);
        Expect("the exchange ticks it", dlg.IsDlgButtonChecked(kCheck), true);
        dlg.AddListRow(kRows, {"10", "已设置"});
        dlg.AddListRow(kRows, {"11", "失败"});
        Expect("a list's rows", ListRows(dlg, kRows), Rows{{"10", "已设置"}, {"11", "失败"}});
        dlg.SetDlgItemText(kText, "一\n二");
        Expect("several lines", dlg.GetDlgItemText(kText), std::string("一\n二"));
        dlg.EnableDlgItem(kButton, false);
        Expect("a control turned off", IsEnabled(dlg, kButton), false);
        dlg.Start();
    };
    dlg.onClick = [&](int id) {
        if (id == kButton) {
            dlg.Start();
            restarted = Clock::now();
        }
    };
    dlg.onTick = [&] {
        switch (dlg.ticks) {
        case 1:
            Click(dlg, kButton);
            Click(dlg, kCheck);
            break;
        case 2:
            Expect("a click on a control turned off does nothing", dlg.clicks, std::vector<int>{kCheck});
            Expect("a click unticks it", dlg.IsDlgButtonChecked(kCheck), false);
            dlg.UpdateData(true);
            Expect("the exchange reads it", dlg.checked, false);
            dlg.ClearList(kRows);
            Expect("a list emptied", ListRows(dlg, kRows), Rows{});
            dlg.EnableDlgItem(kButton, true);
            std::this_thread::sleep_for(kPeriod * 3 / 2);
            Click(dlg, kButton);
            LetTickFallDue(dlg);
            break;
        case 3: {
            Expect("a restart from a click drops the tick that fell due", Clock::now() - restarted >= kPeriod / 2);
            const auto chosen = tarnel::dialog::ChooseFile(dlg, "文件", kept.string());
            Expect("the file chosen", chosen.value_or(""), kept.string());
            Expect("and left as it was", Text(kept), std::string("kept\n"));
            tarnel::dialog::Beep();
            dlg.EndDialog(IDOK);
            break;
        }
        case 4: Expect("a file chooser to answer", AnswerFileChooser(kept.string())); break;
        }
    };
    Expect("the controls' run ends with OK", dlg.DoModal(), IDOK);
    std::filesystem::remove(kept);
}

// The second run starts afresh: initialised again, on controls as the
// template has them, with none of the first run's tooltips or menu items.
void SecondRun(ScriptedDlg& dlg)
{
    dlg.ticks = 0;
    dlg.commands.clear();
    dlg.onInit = [&] {
        Expect("a caption the last run changed is the template's again", dlg.GetDlgItemText(kButton),
               std::string("按钮"));
        Expect("and the rest as the template has it", std::vector{IsEnabled(dlg, kButton),
               dlg.IsDlgButtonChecked(kCheck), ListRows(dlg, kRows).empty(), dlg.GetDlgItemText(kText).empty()},
               std::vector{true, false, true, true});
        dlg.list.SetCurSel(static_cast<int>(kEntries.size()));
        Expect("the list holds the template's entries once", dlg.list.GetCurSel(), -1);
        dlg.SetToolTip(kEdit, [] { return std::string("第二次"); });
        dlg.AppendToSystemMenu("项二", 0x20);
        dlg.Start();
    };
    dlg.onTick = [&] {
        Expect("the new run's tooltip", ToolTipText(dlg, kEdit), std::string("第二次"));
        Expect("the new run's window menu", WindowMenuItems(dlg), std::vector<std::string>{"项二"});
        ChooseWindowMenuItem(dlg, 0);
        Expect("the new run's window-menu command", dlg.commands, std::vector<unsigned>{0x20});
        dlg.EndDialog(IDCANCEL);
    };
    Expect("the second run ends with Cancel", dlg.DoModal(), IDCANCEL);
    Expect("each run is initialised", dlg.inits, 3);
}

struct ConformanceApp : CWinApp {
    ConformanceApp() : CWinApp("对话框规则") {}

    bool InitInstance() override
    {
        Script script;
        Host host(script);
        ScriptedDlg dlg(&host);
        bool running = true;
        int hostTicks = 0;
        script.Add(Do([&] {
            FirstRun(dlg);
            ControlsRun(dlg);
            SecondRun(dlg);
            running = false;
            Expect("ticks go on inside another dialog's run", hostTicks > 0);
            host.EndDialog(IDOK);
        }));
        // Meanwhile, inside the runs: one that hangs is ended, so that the program ends.
        script.Add([&] {
            if (++hostTicks % 250 == 0) {
                Fail("a run went on for five seconds");
                dlg.EndDialog(-1);
            }
            return !running;
        });
        host.DoModal();
        ExitWithMismatches();
    }
};

ConformanceApp theApp;

}  // namespace
