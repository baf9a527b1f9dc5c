#pragma once

// The console report of Google Benchmark, keeping each case's time per iteration so that a
// benchmark can print the ratios it is about once all cases have run (in its Finalize).

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class TTimingReporter : public benchmark::ConsoleReporter {
  public:
    struct TTimes {
        double Real = 0;  // seconds per iteration
        double Cpu = 0;
    };

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
            Times[run.benchmark_name()] = {run.GetAdjustedRealTime() / perSecond,
                                           run.GetAdjustedCPUTime() / perSecond};
        }
    }

  protected:
    std::map<std::string, TTimes> Times;
};
