// What only Windows has: drive letters, folders at the root of a drive (the
// folder's text ends in "\", so every path joined to it holds two separators
// in a row, and it is passed on as it is), file attributes and the user's own
// short date setting.
#include "drive_list.h"
#include "module1.h"
#include "platform_seam.h"
#include "window_test.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <windows.h>

namespace dalvero::testing {
namespace {

// The root of the drive that holds the temporary folder, with names of this
// run's own, removed again afterwards.
struct DriveRootScene {
    QString root = QDir::toNativeSeparators(QDir(QDir::tempPath()).rootPath());
    QString tag = QString::number(QCoreApplication::applicationPid());
    QString exportName = QStringLiteral("dalvero-%1.txt").arg(tag);
    QString unikonName = QStringLiteral("z%1").arg(tag);
    QString backupFolder = root + QStringLiteral("UNI_KOP");
    bool madeBackupFolder = !QFileInfo::exists(backupFolder);
    QString previous = QDir::currentPath();

    ~DriveRootScene() {
        QFile::remove(root + exportName);
        QFile::remove(root + unikonName);
        QFile::remove(backupFolder + QStringLiteral("\\") + unikonName +
                      QStringLiteral("_07-12-26"));
        if (madeBackupFolder)
            QDir(backupFolder).removeRecursively();
        QDir::setCurrent(previous);
    }
    void write(const QString& name, const QByteArray& contents) const {
        QFile file(root + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
};

TEST(DriveRoot, EveryFolderAtTheRootOfADrive) {
    DriveRootScene s;
    s.write(s.exportName, exportFile("h1", "h2", {record("07", "1111")}));
    s.write(s.unikonName, matchKey("07", "1111") + " abcdefghijk\r\n");
    ASSERT_TRUE(QDir::setCurrent(s.root));
    const QString base =
        Module1::chooseBaseFolder(QString(), QDir::toNativeSeparators(QDir::currentPath()));
    ASSERT_EQ(base, s.root);
    ASSERT_FALSE(Module1::ensureBackupFolder(base));
    EXPECT_TRUE(QFileInfo(s.backupFolder).isDir());

    WindowDriver w(base);
    w.loadExport(s.root, s.exportName);
    w.merge(s.root, s.unikonName);
    ASSERT_EQ(w.entries(QStringLiteral("List3")),
              QStringList({matchKey("07", "1111") + "Wabcdefghijk"}));
    // The doubled separator is passed on unchanged, as a report shows.
    QFile::remove(s.root + s.unikonName);
    w.clickDanFil();
    ASSERT_EQ(w.seam.failures.size(), 1);
    EXPECT_EQ(w.seam.failures[0].path, s.root + QStringLiteral("\\") + s.unikonName);
}

TEST(DriveRoot, BackupAndRewriteAtTheRootOfADrive) {
    DriveRootScene s;
    s.write(s.exportName, exportFile("h1", "h2", {record("07", "1111")}));
    const QByteArray old = matchKey("07", "1111") + " abcdefghijk\r\n";
    s.write(s.unikonName, old);
    ASSERT_TRUE(QDir::setCurrent(s.root));
    ASSERT_FALSE(Module1::ensureBackupFolder(s.root));

    WindowDriver w(s.root);
    w.loadExport(s.root, s.exportName);
    w.merge(s.root, s.unikonName);
    w.clickDanFil();
    EXPECT_TRUE(w.seam.failures.isEmpty()) << w.seam.failures.value(0).message().toStdString();
    EXPECT_EQ(w.seam.endStatus, 0);
    EXPECT_EQ(fileBytes(s.root + s.unikonName), matchKey("07", "1111") + "Wabcdefghijk\r\n");
    EXPECT_EQ(fileBytes(s.backupFolder + QStringLiteral("\\") + s.unikonName +
                        QStringLiteral("_07-12-26")),
              old);
}

TEST(WindowsRules, DriveListsShowLetterAndLabelAsWindowsDoes) {
    ScratchFolder scratch;
    WindowDriver w(scratch.path());
    auto* drive3 = w.find<DriveList>(QStringLiteral("Drive3"));
    ASSERT_GT(drive3->count(), 0);
    const QRegularExpression shown(QStringLiteral("^[a-z]:( \\[.+\\])?$"));
    for (int i = 0; i < drive3->count(); ++i)
        EXPECT_TRUE(shown.match(drive3->itemText(i)).hasMatch())
            << drive3->itemText(i).toStdString();
    EXPECT_EQ(drive3->drive(), QDir::toNativeSeparators(QDir::currentPath()).left(3));
}

class WindowsFileList : public WindowTest {};

TEST_F(WindowsFileList, HiddenAndSystemFilesAreNotListed) {
    for (const char* name : {"z1", "z2-skjult", "z3-system"})
        writeUnikon(QString::fromUtf8(name), "");
    const std::wstring hidden =
        QDir::toNativeSeparators(unikonFolder + "/z2-skjult").toStdWString();
    const std::wstring system =
        QDir::toNativeSeparators(unikonFolder + "/z3-system").toStdWString();
    ASSERT_TRUE(::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
    writeExport(QStringLiteral("e.txt"), "h\r\nh\r\n");
    WindowDriver& w = start();
    w.loadExport(exportFolder, QStringLiteral("e.txt"));
    w.openFolder(QStringLiteral("Dir1"), unikonFolder);
    EXPECT_EQ(w.entries(QStringLiteral("File1")), QStringList({"z1"}));
}

// The date in the backup name is the user's own short date, as Windows writes
// it for them ("7.12.2026" under Wine's Danish setting), never a format of ours.
TEST(WindowsRules, TodayIsTheUsersOwnShortDate) {
    wchar_t text[128] = {};
    ASSERT_GT(::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text,
                                128, nullptr),
              0);
    dalvero::PlatformSeam seam;
    EXPECT_EQ(seam.todayText(), QString::fromWCharArray(text));
}

} // namespace
} // namespace dalvero::testing
