#include "ratio_reporter.h"

#include <cstdio>
#include <unistd.h>

RatioReporter::RatioReporter()
    : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        const std::string& name = run.run_name.function_name;
        const double nanoseconds =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
            m_medians[name] = nanoseconds;
        else if (run.run_type == Run::RT_Iteration && !m_medians.count(name))
            m_medians[name] = nanoseconds;
    }
}

void RatioReporter::printRatio(const char* what, const std::string& slow, const std::string& fast) {
    if (!m_medians.count(slow) || !m_medians.count(fast) || m_medians[fast] <= 0)
        return;
    std::fprintf(stdout, "%-44s %8.1f x\n", what, m_medians[slow] / m_medians[fast]);
}

void RatioReporter::Finalize() {
    std::fprintf(stdout, "\n");
    printRatio("nested scan / indexed merge", "BM_MergeNestedScan", "BM_MergeIndexed");
    printRatio("indexed merge / copying floor", "BM_MergeIndexed", "BM_CopyFloor");
    ConsoleReporter::Finalize();
}
