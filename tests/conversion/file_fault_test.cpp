#include "conversion/export_file.h"
#include "conversion/text_file.h"
#include "conversion/unikon_merge.h"
#include "support/child_process.h"
#include "support/named_row.h"
#include "support/scratch_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace dalvero::testing {
namespace {

const QByteArray kContents = "H1\r\nH2\r\nxDVK 07 1234F\r\n";

dalvero::Status loadFailure(bool exportFile, const QString& path) {
    if (exportFile) {
        const auto loaded = dalvero::loadExportFile(path, 0);
        return loaded ? dalvero::Status() : loaded.failure();
    }
    const auto loaded = dalvero::readUnikonFile(path);
    return loaded ? dalvero::Status() : loaded.failure();
}

QByteArray loadReport(bool exportFile, const QString& path, const char* reasonHas) {
    const dalvero::Status failed = loadFailure(exportFile, path);
    if (!failed)
        return "OK";
    // The report must say what, which file and why.
    if (failed->what.isEmpty() || failed->reason.isEmpty())
        return "FAIL without what or why";
    if (reasonHas && !failed->reason.contains(QString::fromUtf8(reasonHas)))
        return "FAIL because " + failed->reason.toUtf8();
    return "FAIL " + QFile::encodeName(failed->path);
}

// The first bytes of a file, which may be too big to read whole.
QByteArray fileHead(const QString& path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(size) : QByteArray();
}

struct ReadFaultCase {
    const char* name;
    bool exportFile;
    bool unprivileged;
    // Spoils the file at `path` (or the folder around it).
    std::function<void(const ScratchFolder&, const QString& path)> spoil;
    bool heldByAnotherProgram = false; // open without sharing while it is read
    // What the reason must say (empty: the system's own); null for a file
    // that must load after all.
    const char* reasonHas = "";
    Runs runs = Runs::Everywhere;
};

class ReadFault : public ::testing::TestWithParam<ReadFaultCase> {};

TEST_P(ReadFault, ReportsTheFileAndChangesNothing) {
    const ReadFaultCase& c = GetParam();
    ScratchFolder folder;
    const QString path = folder.writeFile(QStringLiteral("mappe/fil.txt"), kContents);
    c.spoil(folder, path);
    const qint64 sizeBefore = QFileInfo(path).size();
    const QStringList before = folderEntries(folder.filePath(QStringLiteral("mappe")));
    QByteArray report;
    std::optional<HeldFile> held;
    if (c.heldByAnotherProgram) {
        held.emplace(path, HeldFile::Sharing::Nothing);
        ASSERT_TRUE(held->isHeld());
    }
    if (c.unprivileged) {
        folder.openToEveryone();
        const auto outcome =
            runAsUnprivileged([&] { return loadReport(c.exportFile, path, c.reasonHas); });
        ASSERT_TRUE(outcome.setUp && outcome.returned) << "child signal " << outcome.signal;
        report = outcome.report;
    } else {
        report = loadReport(c.exportFile, path, c.reasonHas);
    }
    held.reset();
    EXPECT_EQ(report, c.reasonHas ? "FAIL " + QFile::encodeName(path) : QByteArray("OK"));
    EXPECT_EQ(folderEntries(folder.filePath(QStringLiteral("mappe"))), before);
    if (QFileInfo(path).isFile()) {
        EXPECT_EQ(QFileInfo(path).size(), sizeBefore);
        EXPECT_EQ(fileHead(path, kContents.size()), kContents);
    }
}

void untouched(const ScratchFolder&, const QString&) {}
void vanish(const ScratchFolder&, const QString& path) {
    QFile::remove(path);
}
void replaceByFolder(const ScratchFolder&, const QString& path) {
    QFile::remove(path);
    QDir().mkdir(path);
}
void ownerOnly(const ScratchFolder&, const QString& path) {
    setPermissionBits(path, 0600);
}
void folderClosed(const ScratchFolder& folder, const QString& path) {
    setPermissionBits(path, 0644);
    setPermissionBits(folder.filePath(QStringLiteral("mappe")), 0700);
}
void danglingLink(const ScratchFolder& folder, const QString& path) {
    QFile::remove(path);
    QFile::link(folder.filePath(QStringLiteral("gone")), path);
}

// A sparse file of that size: it takes no room on the disk, and reading it
// whole would take its size in memory.
std::function<void(const ScratchFolder&, const QString&)> sizedTo(qint64 size) {
    return [size](const ScratchFolder&, const QString& path) {
        ASSERT_TRUE(QFile::resize(path, size));
    };
}
constexpr qint64 kGiB = qint64(1) << 30;

// Opening a pipe for reading waits for a writer: it would hang the window.
void replaceByPipe(const ScratchFolder&, const QString& path) {
    QFile::remove(path);
    ASSERT_TRUE(makeNamedPipe(path));
}

INSTANTIATE_TEST_SUITE_P(
    Fault, ReadFault,
    ::testing::ValuesIn(onThisPlatform<ReadFaultCase>(
        {{"ExportVanished", true, false, vanish},
         {"ExportIsFolder", true, false, replaceByFolder},
         linuxOnly(ReadFaultCase{"ExportUnreadable", true, true, ownerOnly}),
         linuxOnly(ReadFaultCase{"ExportFolderClosed", true, true, folderClosed}),
         linuxOnly(ReadFaultCase{"ExportDanglingLink", true, false, danglingLink}),
         windowsOnly(ReadFaultCase{"ExportLocked", true, false, untouched, true}),
         {"UnikonVanished", false, false, vanish},
         {"UnikonIsFolder", false, false, replaceByFolder},
         linuxOnly(ReadFaultCase{"UnikonUnreadable", false, true, ownerOnly}),
         linuxOnly(ReadFaultCase{"UnikonFolderClosed", false, true, folderClosed}),
         windowsOnly(ReadFaultCase{"UnikonLocked", false, false, untouched, true}),
         linuxOnly(ReadFaultCase{"ExportIsPipe", true, false, replaceByPipe}),
         linuxOnly(ReadFaultCase{"UnikonIsPipe", false, false, replaceByPipe}),
         // Too big for a list of sane lines: refused before it is read, with
         // how big it is and the most that is read.
         {"ExportJustPastTheSizeBound", true, false, sizedTo(dalvero::kMaxListFileBytes + 1), false,
          "67.110.913 byte"},
         {"UnikonFarPastTheSizeBound", false, false, sizedTo(4 * kGiB), false,
          "4.294.967.296 byte"},
         {"ExportAtTheSizeBoundLoads", true, false, sizedTo(dalvero::kMaxListFileBytes), false,
          nullptr}})),
    rowName);

} // namespace
} // namespace dalvero::testing
