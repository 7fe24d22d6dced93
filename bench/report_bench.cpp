// The handover report of a 250-row record, read from the disk, made into
// its page and written beside it (target < 50 ms).

#include "site/record.h"
#include "words/report_file.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace {

// A site's day: 250 controllers, every 23rd rope dry, every 37th failed.
std::filesystem::path WriteRecord(const std::filesystem::path& folder)
{
    const std::filesystem::path record = folder / "site.csv";
    std::ofstream out(record);
    out << tarnel::site::kRecordHeader << '\n';
    for (int a = 1; a <= 250; ++a) {
        out << "2026-12-07T09:" << (a % 60 < 10 ? "0" : "") << a % 60 << ":00+01:00," << a << ",9600,1,"
            << (a % 37 == 0 ? "verify: no answer,not asked,"
                : a % 23 == 0 ? "moved,rope dry (value 0x0001),5"
                              : "moved,calibrated,4")
            << '\n';
    }
    return record;
}

void HandoverReportOf250Rows(benchmark::State& state)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tarnel-report-bench";
    std::filesystem::create_directories(folder);
    const std::string record = WriteRecord(folder).string();
    const std::string output = (folder / "site.html").string();
    for (auto _ : state) {
        const auto made = tarnel::words::ReportOfRecord(record, "hall-b", tarnel::messages::kChinese);
        benchmark::DoNotOptimize(tarnel::words::PutReport(output, std::get<tarnel::words::Report>(made).page, false));
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(HandoverReportOf250Rows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
