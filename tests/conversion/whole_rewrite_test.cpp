#include "child_process.h"
#include "merge_input_generator.h"
#include "named_row.h"
#include "raw_bytes.h"
#include "scratch_folder.h"
#include "text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using dalvero::testing::PrintTo;
using dalvero::testing::rowName;

using dalvero::testing::raw;

using dalvero::Lines;
using dalvero::testing::fileBytes;
using dalvero::testing::folderEntries;
using dalvero::testing::HeldFile;
using dalvero::testing::makeSymbolicLink;
using dalvero::testing::onThisPlatform;
using dalvero::testing::permissionBits;
using dalvero::testing::ScratchFolder;
using dalvero::testing::setPermissionBits;

const QByteArray kOld = " 0700DVK1234W00000000001\r\n 0800DVK2345 00000000002\r\n";
const Lines kNew = {" 0700DVK1234Wnew-tail-01", " 0900DVK3456 00000000000"};
const QByteArray kNewBytes = " 0700DVK1234Wnew-tail-01\r\n 0900DVK3456 00000000000\r\n";

// The one place a rewrite runs: the caller's own process or a restricted child.
QByteArray rewriteReport(const QString& path, const Lines& lines) {
    const dalvero::Status failed = dalvero::writeLinesWhole(path, lines);
    return failed ? "FAIL " + failed->message().toUtf8() : QByteArray("OK");
}

struct Scene {
    ScratchFolder folder;
    QString uniFolder = folder.makeFolder(QStringLiteral("uni"));
    QString unikon = folder.writeFile(QStringLiteral("uni/z12345"), kOld);
    QString target = unikon; // the file whose bytes must change, or not
    QByteArray expected = kNewBytes;
    QByteArray report;
    std::unique_ptr<HeldFile> held; // another program's, during the rewrite
    QStringList gone;               // entries the rewrite removes
};

struct RewriteCase {
    const char* name;
    std::function<void(Scene&)> arrange;
    std::function<void(Scene&)> act;
    bool succeeds;
    std::function<void(const Scene&)> check;
};

class WholeRewrite : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(WholeRewrite, WritesAllOrNothing) {
    const RewriteCase& c = GetParam();
    Scene scene;
    c.arrange(scene);
    const QStringList before = folderEntries(QFileInfo(scene.target).absolutePath());
    c.act(scene);
    ASSERT_EQ(scene.report.startsWith("OK"), c.succeeds) << scene.report.constData();
    if (!c.succeeds) {
        EXPECT_TRUE(scene.report.contains(QFile::encodeName(scene.unikon)))
            << "the report names the file: " << scene.report.constData();
    }
    // Whole or not at all, and no temporary file left behind.
    if (QFileInfo(scene.target).isFile()) {
        EXPECT_EQ(fileBytes(scene.target), c.succeeds ? scene.expected : kOld);
    }
    QStringList expected = before;
    for (const QString& name : scene.gone)
        expected.removeOne(name);
    EXPECT_EQ(folderEntries(QFileInfo(scene.target).absolutePath()), expected);
    c.check(scene);
}

void inProcess(Scene& s) {
    s.report = rewriteReport(s.unikon, kNew);
}

void asUnprivileged(Scene& s) {
    const auto outcome =
        dalvero::testing::runAsUnprivileged([&] { return rewriteReport(s.unikon, kNew); });
    ASSERT_TRUE(outcome.setUp && outcome.returned) << "child signal " << outcome.signal;
    s.report = outcome.report;
}

void onFullDisk(Scene& s) {
    // Far more than the limit lets through, so the disk fills part-way.
    const Lines many = dalvero::testing::unikonLines(32767);
    const auto outcome = dalvero::testing::runWithFileSizeLimit(
        16 * 1024, [&] { return rewriteReport(s.unikon, many); });
    ASSERT_TRUE(outcome.setUp && outcome.returned) << "child signal " << outcome.signal;
    s.report = outcome.report;
}

// Another program has the file open and lets others only read it.
void heldElsewhere(Scene& s) {
    s.held = std::make_unique<HeldFile>(s.unikon, HeldFile::Sharing::Reading);
    ASSERT_TRUE(s.held->isHeld());
    s.report = rewriteReport(s.unikon, kNew);
    s.held.reset();
}

void nothing(Scene&) {}
void nothingToCheck(const Scene&) {}

INSTANTIATE_TEST_SUITE_P(
    Fault, WholeRewrite,
    ::testing::ValuesIn(onThisPlatform<RewriteCase>({
        RewriteCase{"PlainRewrite", nothing, inProcess, true, nothingToCheck},
        RewriteCase{"OneLineGetsCrLf", [](Scene& s) { s.expected = "only\r\n"; },
                    [](Scene& s) { s.report = rewriteReport(s.unikon, {"only"}); }, true,
                    nothingToCheck},
        RewriteCase{"PermissionsKept_LinuxOnlyModeBits", [](Scene& s) { setPermissionBits(s.unikon, 0640); },
                    inProcess, true,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0640); }},
        RewriteCase{"ReadOnlyRefusedEvenForRoot",
                    [](Scene& s) { setPermissionBits(s.unikon, 0444); }, inProcess, false,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0444); }},
        RewriteCase{"NoPermissionAtAllRefused_LinuxOnlyModeBits", [](Scene& s) { setPermissionBits(s.unikon, 0); },
                    inProcess, false,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0); }},
        RewriteCase{"SymlinkTargetRewrittenLinkKept_LinuxOnlySymlink",
                    [](Scene& s) {
                        QFile::rename(s.unikon, s.folder.filePath(QStringLiteral("real")));
                        s.target = s.folder.filePath(QStringLiteral("real"));
                        QFile::link(s.target, s.unikon);
                    },
                    inProcess, true,
                    [](const Scene& s) {
                        EXPECT_TRUE(QFileInfo(s.unikon).isSymLink());
                        EXPECT_EQ(QFileInfo(s.unikon).symLinkTarget(), s.target);
                    }},
        RewriteCase{"RelativeSymlinkFollowed_LinuxOnlySymlink",
                    [](Scene& s) {
                        s.folder.makeFolder(QStringLiteral("real"));
                        s.target = s.folder.filePath(QStringLiteral("real/z12345"));
                        QFile::rename(s.unikon, s.target);
                        makeSymbolicLink(QStringLiteral("../real/z12345"), s.unikon);
                    },
                    inProcess, true,
                    [](const Scene& s) {
                        EXPECT_TRUE(QFileInfo(s.unikon).isSymLink());
                        EXPECT_EQ(fileBytes(s.unikon), kNewBytes);
                    }},
        RewriteCase{"SymlinkToReadOnlyRefused_LinuxOnlySymlink",
                    [](Scene& s) {
                        QFile::rename(s.unikon, s.folder.filePath(QStringLiteral("real")));
                        s.target = s.folder.filePath(QStringLiteral("real"));
                        setPermissionBits(s.target, 0444);
                        QFile::link(s.target, s.unikon);
                    },
                    inProcess, false,
                    [](const Scene& s) { EXPECT_TRUE(QFileInfo(s.unikon).isSymLink()); }},
        RewriteCase{"PathIsFolder",
                    [](Scene& s) {
                        QFile::remove(s.unikon);
                        s.folder.writeFile(QStringLiteral("uni/z12345/inside"), kOld);
                        s.target = s.folder.filePath(QStringLiteral("uni/z12345/inside"));
                    },
                    inProcess, false,
                    [](const Scene& s) { EXPECT_TRUE(QFileInfo(s.unikon).isDir()); }},
        RewriteCase{"FullDiskPartWay_LinuxOnlyFileSizeLimit", nothing, onFullDisk, false,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0644); }},
        // Written in place: the folder takes no replacement file.
        RewriteCase{"FolderNotWritable_LinuxOnlyUnprivileged",
                    [](Scene& s) {
                        s.folder.openToEveryone();
                        setPermissionBits(s.uniFolder, 0755);
                        setPermissionBits(s.unikon, 0666);
                    },
                    asUnprivileged, true, nothingToCheck},
        RewriteCase{"FileNotWritableInWritableFolder_LinuxOnlyUnprivileged",
                    [](Scene& s) {
                        s.folder.openToEveryone();
                        setPermissionBits(s.uniFolder, 0777);
                        setPermissionBits(s.unikon, 0644);
                    },
                    asUnprivileged, false,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0644); }},
        RewriteCase{"WritableForUnprivilegedUser_LinuxOnlyUnprivileged",
                    [](Scene& s) {
                        s.folder.openToEveryone();
                        setPermissionBits(s.uniFolder, 0777);
                        setPermissionBits(s.unikon, 0666);
                    },
                    asUnprivileged, true,
                    [](const Scene& s) { EXPECT_EQ(permissionBits(s.unikon), 0666); }},
        RewriteCase{"LeftoverOfABrokenRewriteRemoved",
                    [](Scene& s) {
                        s.gone << QFileInfo(s.folder.writeFile(
                                                QStringLiteral("uni/.~dalvero-z12345-x7.tmp"),
                                                "half"))
                                      .fileName();
                    },
                    inProcess, true, nothingToCheck},
        RewriteCase{"OpenInAnotherProgram_WindowsOnlyLock", nothing, heldElsewhere, false,
                    nothingToCheck},
        RewriteCase{"HiddenFileStaysHidden_WindowsOnlyAttribute",
                    [](Scene& s) { ASSERT_TRUE(dalvero::testing::makeHidden(s.unikon)); },
                    inProcess, true,
                    [](const Scene& s) { EXPECT_TRUE(QFileInfo(s.unikon).isHidden()); }}})),
    rowName);

// Whatever the merge can give is written and read back byte for byte.
TEST(WholeRewrite, ReadsBackEveryByte) {
    Lines lines;
    QByteArray allButCr;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r')
            allButCr += static_cast<char>(b);
    }
    lines << allButCr << "" << raw("\0") << "\n"
          << "\xe6\xf8\xe5"
          << "";
    dalvero::testing::MergeInputGenerator generator(7);
    lines += generator.next(200, 200).oldLines;
    ScratchFolder folder;
    const QString path = folder.filePath(QStringLiteral("z12345"));
    ASSERT_FALSE(dalvero::writeLinesWhole(path, lines));
    const auto read = dalvero::readLines(path, QStringLiteral("læs"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value(), lines);
}

} // namespace
