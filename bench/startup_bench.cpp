// Start-up time to the first painted frame, and resident memory then, of
// Tarnel's window against a bare Qt dialog, each in fresh processes. A second
// baseline, the bare dialog showing one Chinese line in the dialog font, tells
// how much of the difference is the CJK face alone.
//
// usage: startup_bench [RUNS]

#include "dialog/look_qt.h"
#include "dialog/qt_access.h"
#include "dialog/startup_qt.h"
#include "main_dlg.h"

#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

long ResidentKilobytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

// Reports the resident size once the window has painted, then quits.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_bDone) {
            m_bDone = true;
            QTimer::singleShot(0, [] {
                std::printf("%ld\n", ResidentKilobytes());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool m_bDone = false;
};

enum class Kind { Tarnel, Bare, BareChinese };

int Child(int argc, char** argv, Kind kind)
{
    if (kind == Kind::Tarnel) {
        // As the program's main routine readies Qt.
        QApplication app(argc, argv);
        tarnel::dialog::qt::ReadyQt(app);
        CMainDlg dlg;
        FirstPaint probe;
        tarnel::dialog::qt::Widget(dlg)->installEventFilter(&probe);
        tarnel::dialog::qt::Widget(dlg)->show();
        return app.exec();
    }
    QApplication app(argc, argv);
    QDialog dlg;
    dlg.resize(468, 350);
    if (kind == Kind::BareChinese) {
        dlg.setFont(tarnel::dialog::qt::DialogFont());
        new QLabel(QStringLiteral("如果水浸绳报警的初始位置不准"), &dlg);
    }
    FirstPaint probe;
    dlg.installEventFilter(&probe);
    dlg.show();
    return app.exec();
}

struct Sample {
    double ms;
    long kilobytes;
};

Sample Run(const char* self, const char* kind)
{
    const std::string command = std::string(self) + " --child " + kind;
    const auto start = std::chrono::steady_clock::now();
    FILE* child = ::popen(command.c_str(), "r");
    long kilobytes = 0;
    if (!child || std::fscanf(child, "%ld", &kilobytes) != 1) {
        std::fprintf(stderr, "startup_bench: the %s child failed\n", kind);
        std::exit(1);
    }
    const auto painted = std::chrono::steady_clock::now();
    ::pclose(child);
    return {std::chrono::duration<double, std::milli>(painted - start).count(), kilobytes};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const char* kinds[] = {"tarnel", "bare", "bare-chinese"};
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        const auto kind = std::find_if(std::begin(kinds), std::end(kinds),
                                       [&](const char* name) { return std::strcmp(name, argv[2]) == 0; });
        return Child(argc, argv, static_cast<Kind>(kind - std::begin(kinds)));
    }
    const int runs = argc >= 2 ? std::atoi(argv[1]) : 20;
    std::vector<double> ms[3], kb[3];
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 3; ++k) {
            const Sample sample = Run(argv[0], kinds[k]);
            ms[k].push_back(sample.ms);
            kb[k].push_back(static_cast<double>(sample.kilobytes));
        }
    }
    std::printf("medians of %d runs   start-up to first paint   resident memory\n", runs);
    for (int k = 0; k < 3; ++k) {
        std::printf("%-20s %10.1f ms %16.0f KiB\n", kinds[k], Median(ms[k]), Median(kb[k]));
    }
    std::printf("Tarnel / bare:         time %.2f (target <= 1.5), memory %.2f (target <= 1.25)\n",
                Median(ms[0]) / Median(ms[1]), Median(kb[0]) / Median(kb[1]));
    std::printf("Tarnel / bare-chinese: time %.2f, memory %.2f\n", Median(ms[0]) / Median(ms[2]),
                Median(kb[0]) / Median(kb[2]));
    return 0;
}
