// The address scan in the real window on a silent simulated bus: how long a
// full scan from 0 to 255 at period 250 takes against 256 x 250 ms, and how
// soon a click on "停止" that arrives during a probe (period 1000) takes
// effect.
//
// usage: scan_bench [STOP_TRIALS]

#include "main_dlg.h"
#include "pseudo_terminal.h"
#include "resource.h"
#include "sim_process.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

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

// Posts a click from another thread, as the window system queues one while
// the window is busy.
void Click(QPushButton* button, QPointF centre, QPointF global, const QPointingDevice* mouse)
{
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier, mouse));
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier, mouse));
}

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
    const int trials = argc >= 2 ? std::atoi(argv[1]) : 8;

    tarnel::test::SimProcess sim({"1,silent"});
    tarnel::test::PortsOverride ports(sim.DevicePath());
    CMainDlg dlg;
    dlg.show();
    BoxCloser closer;
    auto* search = qobject_cast<QPushButton*>(dlg.GetDlgItem(IDC_SEARCH));
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

    // A click posted at a random moment during a probe is only seen once the
    // probe returns; it must stop the scan before the next one.
    qobject_cast<QLineEdit*>(dlg.GetDlgItem(IDC_INTERVAL))->setText(QStringLiteral("1000"));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> into(50, 950);
    std::vector<double> latencies;
    const QPointingDevice* mouse = QPointingDevice::primaryPointingDevice();
    const QPointF centre = QRectF(search->rect()).center();
    const QPointF global = search->mapToGlobal(centre);
    for (int i = 0; i < trials; ++i) {
        search->click();
        const auto probed = sim.ProbedAddresses().size();
        RunUntil([&] { return sim.ProbedAddresses().size() > probed; });  // the first probe is under way
        Clock::time_point clickedAt;
        std::thread operatorHand([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(into(random)));
            clickedAt = Clock::now();
            Click(search, centre, global, mouse);
        });
        RunUntil([&] { return search->text() == QStringLiteral("搜索"); });
        const auto stoppedAt = Clock::now();
        operatorHand.join();
        latencies.push_back(Ms(stoppedAt - clickedAt));
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("click on 停止 to caption 搜索 at period 1000, %d trials: median %.0f ms, max %.0f ms "
                "(target <= 1000 ms)\n",
                trials, latencies[latencies.size() / 2], latencies.back());
    return 0;
}
