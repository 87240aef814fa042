// Folder and file names a user may well have, through the whole job in the
// window: spaces, quotes, letters beyond ASCII and a leading "-". Windows
// forbids quotes and some shell characters in names, so those rows are Linux's.
#include "reliability_scene.h"
#include "support/named_row.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace dalvero::testing {
namespace {

const QByteArray kExport = "Klub\r\nMedlem\r\nxDK-X07-1111F\r\n";
const QByteArray kUnikon = " 0700DK-1111 abcdefghijk\r\n";
const QByteArray kNewUnikon = " 0700DK-1111Wabcdefghijk\r\n";

struct NameCase {
    const char* name;
    const char* baseName; // the base folder, also the current folder at start
    const char* exportFolder;
    const char* exportName;
    const char* unikonFolder;
    const char* unikonName; // the UNIKON file list offers "z*.*" only
    Runs runs = Runs::Everywhere;
};

class OddNameWindow : public ::testing::TestWithParam<NameCase> {};

TEST_P(OddNameWindow, WholeJobWorks) {
    const NameCase& c = GetParam();
    ReliabilityScene scene;
    ASSERT_TRUE(scene.scratch.isValid());
    const QString base = QString::fromUtf8(c.baseName);
    scene.baseName = base;
    scene.exportFolder = base + QLatin1Char('/') + QString::fromUtf8(c.exportFolder);
    scene.exportName = QString::fromUtf8(c.exportName);
    scene.unikonFolder = base + QLatin1Char('/') + QString::fromUtf8(c.unikonFolder);
    scene.unikonName = QString::fromUtf8(c.unikonName);
    scene.exportBytes = kExport;
    scene.unikonBytes = kUnikon;
    scene.build();
    const TreeSnapshot before = TreeSnapshot::of(scene.scratch.path());

    const WorkflowRun run = runWorkflowInChild(scene.workflow());
    ASSERT_TRUE(run.finished) << "the child died: " << run.ending;
    ASSERT_TRUE(run.report.driverError.isEmpty()) << run.report.driverError.toStdString();
    EXPECT_TRUE(run.report.failures.isEmpty()) << run.report.failures.value(0).message();
    EXPECT_EQ(run.report.endStatus, 0);
    EXPECT_EQ(TreeSnapshot::of(scene.scratch.path())
                  .differencesFrom(afterDanFil(before, scene.unikonFile(),
                                               scene.backupFile(scene.today), kNewUnikon)),
              "");
}

INSTANTIATE_TEST_SUITE_P(
    Window, OddNameWindow,
    ::testing::ValuesIn(onThisPlatform<NameCase>(
        {NameCase{"Spaces", "mine duer", "eksport filer", "eksport fil.txt", "unikon filer",
                  "z 12345"},
         linuxOnly(NameCase{"Quotes", "\"due\" 'x'", "'eks\"", "\"a\" 'b'.txt", "\"uni'",
                            "z\"1'2"}),
         NameCase{"DanishLetters", "Brevduer æøå ÆØÅ", "Ørnen", "Æble.txt", "Ålen", "zæøå"},
         NameCase{"OtherScripts", "голуби 鸽子", "ü€", "δ.txt", "ñ", "z鸽"},
         NameCase{"LeadingDash", "-due", "-eksport", "-e.txt", "-unikon", "z-12345"},
         NameCase{"OnlyDashes", "--", "-", "-.txt", "---", "z-"},
         linuxOnly(NameCase{"ShellCharacters", "a;b&c$(d)", "*?[x]", "`e`.txt", "|<>",
                            "z;$(x)"})})),
    rowName);

} // namespace
} // namespace dalvero::testing
