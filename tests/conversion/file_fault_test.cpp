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

#include <sys/stat.h>

namespace {

using dalvero::testing::PrintTo;
using dalvero::testing::rowName;

using dalvero::testing::fileBytes;
using dalvero::testing::folderEntries;
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
};

class ReadFault : public ::testing::TestWithParam<ReadFaultCase> {};

TEST_P(ReadFault, ReportsTheFileAndChangesNothing) {
    const ReadFaultCase& c = GetParam();
    ScratchFolder folder;
    const QString path = folder.writeFile(QStringLiteral("mappe/fil.txt"), kContents);
    c.spoil(folder, path);
    const QStringList before = folderEntries(folder.filePath(QStringLiteral("mappe")));
    QByteArray report;
    if (c.unprivileged) {
        folder.openToEveryone();
        const auto outcome =
            dalvero::testing::runAsUnprivileged([&] { return loadReport(c.exportFile, path); });
        ASSERT_TRUE(outcome.setUp && outcome.returned) << "child signal " << outcome.signal;
        report = outcome.report;
    } else {
        report = loadReport(c.exportFile, path);
    }
    EXPECT_EQ(report, "FAIL " + QFile::encodeName(path));
    EXPECT_EQ(folderEntries(folder.filePath(QStringLiteral("mappe"))), before);
    if (QFileInfo(path).isFile()) {
        EXPECT_EQ(fileBytes(path), kContents);
    }
}

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
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fault, ReadFault,
    ::testing::Values(ReadFaultCase{"ExportVanished", true, false, vanish},
                      ReadFaultCase{"ExportIsFolder", true, false, replaceByFolder},
                      ReadFaultCase{"ExportUnreadable", true, true, ownerOnly},
                      ReadFaultCase{"ExportFolderClosed", true, true, folderClosed},
                      ReadFaultCase{"ExportDanglingLink", true, false, danglingLink},
                      ReadFaultCase{"UnikonVanished", false, false, vanish},
                      ReadFaultCase{"UnikonIsFolder", false, false, replaceByFolder},
                      ReadFaultCase{"UnikonUnreadable", false, true, ownerOnly},
                      ReadFaultCase{"UnikonFolderClosed", false, true, folderClosed},
                      ReadFaultCase{"ExportIsPipe", true, false, replaceByPipe},
                      ReadFaultCase{"UnikonIsPipe", false, false, replaceByPipe}),
    rowName);

} // namespace
