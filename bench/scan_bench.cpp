// The address scan in the real window on a silent simulated bus: how long a
// full scan from 0 to 255 at period 250 takes against 256 x 250 ms. What
// real clicks during a scan do is measured by scan_clicks_bench.sh.

#include "dialog/qt_access.h"
#include "main_dlg.h"
#include "pseudo_terminal.h"
#include "resource.h"
#include "sim_process.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Closes every message box at once, noting when the last one opened.
class BoxCloser : public QObject {
public:
    BoxCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_lastBox = Clock::now();
                m_lastText = box->text();
                box->accept();
            }
        });
        m_timer.start(1);
    }

    Clock::time_point m_lastBox{};
    QString m_lastText;

private:
    QTimer m_timer;
};

void RunUntil(const std::function<bool()>& done)
{
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    tarnel::test::SimProcess sim({"1,silent"});
    tarnel::test::PortsOverride ports(sim.DevicePath());
    CMainDlg dlg;
    tarnel::dialog::qt::Widget(dlg)->show();
    BoxCloser closer;
    auto* search = qobject_cast<QPushButton*>(tarnel::dialog::qt::Item(dlg, IDC_SEARCH));
    dlg.OnOpenPort();
    if (!dlg.m_port.IsOpen()) {
        std::fprintf(stderr, "scan_bench: the simulated port did not open\n");
        return 1;
    }

    const auto start = Clock::now();
    search->click();
    RunUntil([&] { return closer.m_lastText == QStringLiteral("没有搜到地址！"); });
    const double fullScan = Ms(closer.m_lastBox - start);
    std::printf("full silent scan 0..255 at 250 ms: %.0f ms, %.4f x 256 x 250 ms (target <= 1.02)\n", fullScan,
                fullScan / (256 * 250.0));

    return 0;
}
