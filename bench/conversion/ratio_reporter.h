#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// The console report, followed by how the benchmarks of one run compare:
// medians when repetitions were asked for, single runs otherwise.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, so that a saved report stays plain text.
    RatioReporter();

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    void printRatio(const char* what, const std::string& slow, const std::string& fast);

    std::map<std::string, double> m_medians; // nanoseconds by benchmark name
};
