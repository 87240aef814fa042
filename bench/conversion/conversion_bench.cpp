#include "conversion/backup.h"
#include "conversion/export_file.h"
#include "conversion/guarded_rewrite.h"
#include "conversion/merge_marks.h"
#include "conversion/text_file.h"
#include "conversion/unikon_merge.h"
#include "conversion/year_list.h"
#include "ratio_reporter.h"
#include "support/merge_input_generator.h"
#include "support/reference_merge.h"
#include "support/scratch_folder.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

using dalvero::Lines;

// Every list at its limit: a member with as many pigeons as the window holds.
constexpr int kFull = static_cast<int>(dalvero::kMaxListEntries);

struct FullLists {
    Lines records = dalvero::testing::pigeonRecords(kFull);
    std::vector<bool> selected = std::vector<bool>(kFull, true);
    Lines oldLines = dalvero::testing::unikonLines(kFull);
};

const FullLists& fullLists() {
    static const FullLists lists;
    return lists;
}

void BM_MergeIndexed(benchmark::State& state) {
    const FullLists& lists = fullLists();
    for (auto _ : state) {
        auto merged = dalvero::mergeUnikon(lists.records, lists.selected, lists.oldLines, "");
        benchmark::DoNotOptimize(merged);
    }
}
BENCHMARK(BM_MergeIndexed)->Unit(benchmark::kMillisecond);

// The marks of both lists, from where the merge says each line came from.
void BM_MarkMerge(benchmark::State& state) {
    const FullLists& lists = fullLists();
    const auto merged = dalvero::mergeUnikon(lists.records, lists.selected, lists.oldLines, "");
    for (auto _ : state) {
        auto marks = dalvero::markMerge(merged.value().sources, lists.oldLines.size());
        benchmark::DoNotOptimize(marks);
    }
}
BENCHMARK(BM_MarkMerge)->Unit(benchmark::kMillisecond);

void BM_MergeNestedScan(benchmark::State& state) {
    const FullLists& lists = fullLists();
    for (auto _ : state) {
        Lines merged =
            dalvero::testing::referenceMerge(lists.records, lists.selected, lists.oldLines);
        benchmark::DoNotOptimize(merged);
    }
}
BENCHMARK(BM_MergeNestedScan)->Unit(benchmark::kMillisecond)->Iterations(1);

// The floor: one pass that only copies as many 24-character lines.
void BM_CopyFloor(benchmark::State& state) {
    const Lines& source = fullLists().oldLines;
    for (auto _ : state) {
        Lines copy;
        copy.reserve(source.size());
        for (const QByteArray& line : source)
            copy.append(QByteArray(line.constData(), line.size()));
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyFloor)->Unit(benchmark::kMillisecond);

void BM_LoadExportFile(benchmark::State& state) {
    dalvero::testing::ScratchFolder folder;
    const QString path = folder.writeFile(QStringLiteral("eksport.txt"),
                                          dalvero::testing::exportFileBytes(fullLists().records));
    for (auto _ : state) {
        auto loaded = dalvero::loadExportFile(path, 0);
        if (!loaded || loaded.value().records.size() != kFull)
            state.SkipWithError("the export file did not load");
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_LoadExportFile)->Unit(benchmark::kMillisecond);

void BM_LoadUnikonFile(benchmark::State& state) {
    dalvero::testing::ScratchFolder folder;
    const QString path =
        folder.writeFile(QStringLiteral("z12345"), dalvero::joinLines(fullLists().oldLines));
    for (auto _ : state) {
        auto loaded = dalvero::readUnikonFile(path);
        if (!loaded)
            state.SkipWithError("the UNIKON file did not load");
        benchmark::DoNotOptimize(loaded);
    }
}
BENCHMARK(BM_LoadUnikonFile)->Unit(benchmark::kMillisecond);

// As both programs rewrite it: checked, compared, backed up and replaced.
void BM_RewriteUnikonFile(benchmark::State& state) {
    dalvero::testing::ScratchFolder folder;
    const QByteArray bytes = dalvero::joinLines(fullLists().oldLines);
    const QString path = folder.writeFile(QStringLiteral("z12345"), bytes);
    folder.makeFolder(dalvero::kBackupFolderName);
    const dalvero::GuardedRewrite job{.chosenPath = path,
                                      .shownBytes = bytes,
                                      .backupPath = dalvero::backupPath(folder.path(),
                                                                        QStringLiteral("z12345"),
                                                                        QStringLiteral("07-12-26")),
                                      .newBytes = bytes,
                                      .whenChanged = {}};
    for (auto _ : state) {
        const auto written = dalvero::rewriteGuarded(job);
        if (!written)
            state.SkipWithError("the UNIKON file was not written");
        state.PauseTiming();
        if (written)
            QFile::remove(written.value().backup);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RewriteUnikonFile)->Unit(benchmark::kMillisecond);

// Year codes at the list limit, nearly all of them distinct.
void BM_YearListDistinct(benchmark::State& state) {
    Lines records;
    for (int i = 0; i < kFull; ++i)
        records.append("DVK " + QByteArray(1, char(i >> 8)) + char(i & 0xff) + " 1234");
    for (auto _ : state) {
        Lines codes = dalvero::newYearCodes({}, records);
        benchmark::DoNotOptimize(codes);
    }
}
BENCHMARK(BM_YearListDistinct)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
