#include "link_process.h"

#include "sim_process.h"

#include <QElapsedTimer>
#include <csignal>

namespace tarnel::test {

LinkProcess::LinkProcess(const std::vector<std::string>& args, const std::vector<std::string>& language)
{
    process_.setProcessEnvironment(Language(language));
    QStringList list;
    for (const std::string& arg : args) {
        list << QString::fromStdString(arg);
    }
    process_.start(QString::fromStdString(LinkPath()), list);
    process_.closeWriteChannel();
    process_.waitForStarted();
}

bool LinkProcess::Says(const std::string& text, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (out_.find(text) == std::string::npos && timer.elapsed() < ms) {
        process_.waitForReadyRead(50);
        out_ += process_.readAllStandardOutput().toStdString();
    }
    return out_.find(text) != std::string::npos;
}

void LinkProcess::Interrupt()
{
    ::kill(static_cast<pid_t>(process_.processId()), SIGINT);
}

LinkProcess::Outcome LinkProcess::Finish()
{
    const bool finished = process_.waitForFinished(30000);
    out_ += process_.readAllStandardOutput().toStdString();
    return {out_, process_.readAllStandardError().toStdString(),
            finished && process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1};
}

std::string LinkPath()
{
    return TARNEL_LINK_PATH;
}

LinkProcess::Outcome LinkTool(const std::vector<std::string>& args, const std::vector<std::string>& language)
{
    return LinkProcess(args, language).Finish();
}

}  // namespace tarnel::test
