#include "child_process.h"
#include "export_file.h"
#include "named_row.h"
#include "scratch_folder.h"
#include "unikon_merge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

using dalvero::testing::PrintTo;
using dalvero::testing::rowName;

using dalvero::testing::fileBytes;
using dalvero::testing::folderEntries;
using dalvero::testing::HeldFile;
using dalvero::testing::onThisPlatform;
using dalvero::testing::ScratchFolder;
using dalvero::testing::setPermissionBits;

const QByteArray kContents = "H1\r\nH2\r\nxDVK 07 1234F\r\n";

dalvero::Status loadFailure(bool exportFile, const QString& path) {
    if (exportFile) {
        const auto loaded = dalvero::loadExportFile(path, 0);
        return loaded ? dalvero::Status() : loaded.failure();
    }
    const auto loaded = dalvero::loadUnikonFile(path);
    return loaded ? dalvero::Status() : loaded.failure();
}

QByteArray loadReport(bool exportFile, const QString& path) {
    const dalvero::Status failed = loadFailure(exportFile, path);
    if (!failed)
        return "OK";
    // The report must say what, which file and why.
    if (failed->what.isEmpty() || failed->reason.isEmpty())
        return "FAIL without what or why";
    return "FAIL " + QFile::encodeName(failed->path);
}

struct ReadFaultCase {
    const char* name;
    bool exportFile;
    bool unprivileged;
    // Spoils the file at `path` (or the folder around it).
    std::function<void(const ScratchFolder&, const QString& path)> spoil;
    bool heldByAnotherProgram = false; // open without sharing while it is read
};

class ReadFault : public ::testing::TestWithParam<ReadFaultCase> {};

TEST_P(ReadFault, ReportsTheFileAndChangesNothing) {
    const ReadFaultCase& c = GetParam();
    ScratchFolder folder;
    const QString path = folder.writeFile(QStringLiteral("mappe/fil.txt"), kContents);
    c.spoil(folder, path);
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
            dalvero::testing::runAsUnprivileged([&] { return loadReport(c.exportFile, path); });
        ASSERT_TRUE(outcome.setUp && outcome.returned) << "child signal " << outcome.signal;
        report = outcome.report;
    } else {
        report = loadReport(c.exportFile, path);
    }
    held.reset();
    EXPECT_EQ(report, "FAIL " + QFile::encodeName(path));
    EXPECT_EQ(folderEntries(folder.filePath(QStringLiteral("mappe"))), before);
    if (QFileInfo(path).isFile()) {
        EXPECT_EQ(fileBytes(path), kContents);
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

// Opening a pipe for reading waits for a writer: it would hang the window.
void replaceByPipe(const ScratchFolder&, const QString& path) {
    QFile::remove(path);
    ASSERT_TRUE(dalvero::testing::makeNamedPipe(path));
}

INSTANTIATE_TEST_SUITE_P(
    Fault, ReadFault,
    ::testing::ValuesIn(onThisPlatform<ReadFaultCase>(
        {{"ExportVanished", true, false, vanish},
         {"ExportIsFolder", true, false, replaceByFolder},
         {"ExportUnreadable_LinuxOnlyUnprivileged", true, true, ownerOnly},
         {"ExportFolderClosed_LinuxOnlyUnprivileged", true, true, folderClosed},
         {"ExportDanglingLink_LinuxOnlySymlink", true, false, danglingLink},
         {"ExportLocked_WindowsOnlyLock", true, false, untouched, true},
         {"UnikonVanished", false, false, vanish},
         {"UnikonIsFolder", false, false, replaceByFolder},
         {"UnikonUnreadable_LinuxOnlyUnprivileged", false, true, ownerOnly},
         {"UnikonFolderClosed_LinuxOnlyUnprivileged", false, true, folderClosed},
         {"UnikonLocked_WindowsOnlyLock", false, false, untouched, true},
         {"ExportIsPipe_LinuxOnlyNamedPipe", true, false, replaceByPipe},
         {"UnikonIsPipe_LinuxOnlyNamedPipe", false, false, replaceByPipe}})),
    rowName);

} // namespace
