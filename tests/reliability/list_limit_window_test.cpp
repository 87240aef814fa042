// Lists at and past the 32,767 entries a list may hold, through the window:
// the step stops with a clear error before its list changes, and nothing is
// written.
#include "reliability_scene.h"
#include "support/merge_input_generator.h"
#include "support/named_row.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <functional>

namespace dalvero::testing {
namespace {

constexpr int kLimit = 32767;

// Old lines that all carry the key of `record`, each with its own tail.
QByteArray sameKeyLines(const QByteArray& record, int count) {
    Lines lines;
    for (int i = 0; i < count; ++i)
        lines << keyOf(record) + " " + QByteArray::number(i).rightJustified(11, '0');
    return withCrLf(lines);
}

struct LimitCase {
    const char* name;
    std::function<void(ReliabilityScene&, Workflow&)> arrange;
    // The file the error names; none when the run goes through.
    std::function<QString(const ReliabilityScene&)> failingFile;
    int pigeonsListed;
};

QString secondExportFile(const ReliabilityScene& s) {
    return s.absolute(s.exportFolder + QStringLiteral("/b.txt"));
}

void pigeons(ReliabilityScene& s, int count) {
    s.exportBytes = exportFileBytes(pigeonRecords(count));
}

class ListLimitWindow : public ::testing::TestWithParam<LimitCase> {};

TEST_P(ListLimitWindow, StopsBeforeTheListChangesAndWritesNothing) {
    const LimitCase& c = GetParam();
    ReliabilityScene scene;
    ASSERT_TRUE(scene.scratch.isValid());
    scene.exportBytes = exportFileBytes(pigeonRecords(2));
    scene.unikonBytes = withCrLf(unikonLines(2));
    Workflow flow;
    c.arrange(scene, flow);
    scene.build();
    const Workflow built = scene.workflow();
    flow.baseFolder = built.baseFolder;
    flow.exportFolder = built.exportFolder;
    flow.unikonFolder = built.unikonFolder;
    flow.unikonName = built.unikonName;
    if (flow.exportNames.isEmpty())
        flow.exportNames = built.exportNames;
    const TreeSnapshot before = TreeSnapshot::of(scene.scratch.path());

    const WorkflowRun run = runWorkflowInChild(flow);
    ASSERT_TRUE(run.finished) << "the child died: " << run.ending;
    const WindowReport& report = run.report;
    ASSERT_TRUE(report.driverError.isEmpty()) << report.driverError.toStdString();
    const TreeSnapshot after = TreeSnapshot::of(scene.scratch.path());

    if (c.failingFile) {
        ASSERT_EQ(report.failures.size(), 1);
        EXPECT_EQ(report.failures[0].path, c.failingFile(scene));
        EXPECT_FALSE(report.failures[0].what.isEmpty());
        EXPECT_FALSE(report.failures[0].reason.isEmpty());
        EXPECT_EQ(report.endStatus, -1);
        EXPECT_EQ(report.pigeonList.size(), c.pigeonsListed);
        EXPECT_TRUE(report.newList.isEmpty());
        EXPECT_FALSE(report.danFilEnabled);
        EXPECT_EQ(after.differencesFrom(before), "");
    } else {
        EXPECT_TRUE(report.failures.isEmpty()) << report.failures.value(0).message();
        EXPECT_EQ(report.endStatus, 0);
        EXPECT_EQ(report.newList.size(), kLimit);
        EXPECT_EQ(after.differencesFrom(afterDanFil(before, scene.unikonFile(),
                                                    scene.backupFile(scene.today),
                                                    withCrLf(report.newList))),
                  "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Window, ListLimitWindow,
    ::testing::Values(LimitCase{"ExportAtTheLimit",
                                [](ReliabilityScene& s, Workflow&) {
                                    pigeons(s, kLimit);
                                    s.unikonBytes = withCrLf(unikonLines(kLimit));
                                },
                                {},
                                0},
                      LimitCase{"ExportPastTheLimit",
                                [](ReliabilityScene& s, Workflow&) { pigeons(s, kLimit + 1); },
                                exportPath, 0},
                      LimitCase{"SecondExportPastTheLimit",
                                [](ReliabilityScene& s, Workflow& flow) {
                                    pigeons(s, 30000);
                                    s.scratch.writeFile(
                                        s.exportFolder + QStringLiteral("/b.txt"),
                                        exportFileBytes(pigeonRecords(kLimit + 1 - 30000)));
                                    flow.exportNames = {s.exportName, QStringLiteral("b.txt")};
                                },
                                secondExportFile, 30000},
                      LimitCase{"UnikonFilePastTheLimit",
                                [](ReliabilityScene& s, Workflow&) {
                                    s.unikonBytes = withCrLf(unikonLines(kLimit + 1));
                                },
                                unikonPath, 2},
                      LimitCase{"NewListPastTheLimit",
                                [](ReliabilityScene& s, Workflow&) {
                                    const QByteArray record = pigeonRecords(1)[0];
                                    s.exportBytes = exportFileBytes({record, record});
                                    s.unikonBytes = sameKeyLines(record, (kLimit + 1) / 2);
                                },
                                unikonPath, 2}),
    rowName);

} // namespace
} // namespace dalvero::testing
