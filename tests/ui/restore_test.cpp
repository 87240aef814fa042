// Putting a backup back through the restore window: what is on disk
// afterwards, and what the user was told.
#include "child_process.h"
#include "line_list.h"
#include "named_row.h"
#include "restore_fixture.h"

#include <QFile>
#include <QLabel>
#include <QMap>

#include <functional>
#include <optional>

namespace dalvero::testing {
namespace {

const QByteArray kNow = "A\r\nB\r\nC\r\n";
const QByteArray kCopy = "A\r\nD\r\nD"; // no line end after the last line
const QString kCopyName = QStringLiteral("z12345_06-12-26");
const QString kUnikon = QStringLiteral("unikon/z12345");

using Step = std::function<void(RestoreTest&)>;

struct RestoreCase {
    const char* name;
    Step arrange = {};
    // The copies put back one after another over the chosen file.
    QStringList putBack = {kCopyName};
    QString chosen = kUnikon;
    Step beforePutBack = {};
    // Afterwards: the chosen file, the backups made (each the file as it was
    // before its step), and part of what the window said.
    std::optional<QByteArray> fileAfter = kNow;
    QStringList made = {};
    QString said = {};
    // Lines of the file that go and of the copy that come back, at the first step.
    int going = -1;
    int comingBack = -1;
};

class Restore : public RestoreTest, public ::testing::WithParamInterface<RestoreCase> {
protected:
    QMap<QString, QByteArray> contents(const QString& folder) const {
        QMap<QString, QByteArray> files;
        for (const QString& name : folderEntries(scratch.filePath(folder)))
            files[name] = fileBytes(scratch.filePath(folder + QLatin1Char('/') + name));
        return files;
    }
    int marked(const char* list, LineMark mark) const {
        const LineList* lines = find<LineList>(list);
        int count = 0;
        for (int row = 0; row < lines->count(); ++row)
            count += lines->mark(row) == mark;
        return count;
    }

public:
    std::unique_ptr<HeldFile> held;
};

TEST_P(Restore, PutsTheCopyBackOrLeavesEverythingAsItWas) {
    const RestoreCase& c = GetParam();
    scratch.writeFile(kUnikon, kNow);
    scratch.writeFile(QStringLiteral("unikon/z99999"), "other member\r\n");
    scratch.writeFile(QStringLiteral("UNI_KOP/") + kCopyName, kCopy);
    if (c.arrange)
        c.arrange(*this);
    const QMap<QString, QByteArray> copiesBefore = contents(QStringLiteral("UNI_KOP"));
    const QMap<QString, QByteArray> unikonBefore = contents(QStringLiteral("unikon"));
    const QString chosen = scratch.filePath(c.chosen);
    start();

    QList<QByteArray> before;
    for (const QString& copy : c.putBack) {
        ASSERT_TRUE(pickCopy(copy)) << copy;
        chooseFile(chosen);
        if (before.isEmpty() && c.going >= 0) {
            EXPECT_EQ(marked("FileLines", LineMark::Going), c.going);
            EXPECT_EQ(marked("CopyLines", LineMark::ComingBack), c.comingBack);
        }
        before << fileBytes(chosen);
        if (c.beforePutBack)
            c.beforePutBack(*this);
        click("PutBack");
        held.reset();
        // The file as it was just now heads the list, ready to be put back.
        if (before.size() <= c.made.size()) {
            EXPECT_EQ(copiesShown().value(0), c.made[before.size() - 1]);
        }
    }
    if (c.putBack.isEmpty()) {
        EXPECT_FALSE(find("ChooseFile")->isEnabled());
        EXPECT_FALSE(find("PutBack")->isEnabled());
    }

    QStringList said = seam.messages;
    for (const Failure& failure : seam.failures)
        said << failure.message();
    said << find<QLabel>("Prompt")->text();
    EXPECT_TRUE(said.join(QLatin1Char('\n')).contains(c.said)) << said.join(QLatin1Char('\n'));
    if (c.fileAfter) {
        EXPECT_EQ(fileBytes(chosen), *c.fileAfter);
    }

    // No copy is ever changed; the new ones hold the file as it was.
    const QMap<QString, QByteArray> copiesAfter = contents(QStringLiteral("UNI_KOP"));
    for (auto each = copiesBefore.cbegin(); each != copiesBefore.cend(); ++each)
        EXPECT_EQ(copiesAfter.value(each.key()), each.value()) << each.key();
    QStringList made = copiesAfter.keys();
    for (const QString& name : copiesBefore.keys())
        made.removeOne(name);
    EXPECT_EQ(made, c.made);
    for (qsizetype i = 0; i < c.made.size() && i < before.size(); ++i)
        EXPECT_EQ(copiesAfter.value(c.made[i]), before[i]) << c.made[i];
    // Nothing else in the UNIKON folder changes.
    const QMap<QString, QByteArray> unikonAfter = contents(QStringLiteral("unikon"));
    for (auto each = unikonBefore.cbegin(); each != unikonBefore.cend(); ++each) {
        if (scratch.filePath(QStringLiteral("unikon/") + each.key()) != chosen) {
            EXPECT_EQ(unikonAfter.value(each.key()), each.value()) << each.key();
        }
    }
}

const QString kPutBack = QStringLiteral("Kopien z12345_06-12-26 er lagt tilbage over");

INSTANTIATE_TEST_SUITE_P(
    Window, Restore,
    ::testing::ValuesIn(onThisPlatform<RestoreCase>({
        RestoreCase{.name = "RightCopyOverRightFile",
                    .arrange =
                        [](RestoreTest& t) {
                            t.scratch.writeFile(QStringLiteral("UNI_KOP/z12345_07-12-26"), "x");
                        },
                    .fileAfter = kCopy,
                    .made = {"z12345_07-12-26_2"},
                    .said = kPutBack,
                    .going = 2,
                    .comingBack = 2},
        RestoreCase{.name = "CopyOverAFileOfAnotherName",
                    .chosen = QStringLiteral("unikon/z99999"),
                    .fileAfter = "other member\r\n",
                    .said = QStringLiteral("hører til filen z12345, ikke til z99999")},
        RestoreCase{
            .name = "ReadOnlyFile",
            .arrange = [](RestoreTest& t) { setPermissionBits(t.scratch.filePath(kUnikon), 0444); },
            .said = QStringLiteral("Filen er skrivebeskyttet")},
        RestoreCase{.name = "FileLockedByAnotherProgram_WindowsOnlyLock",
                    .beforePutBack =
                        [](RestoreTest& t) {
                            static_cast<Restore&>(t).held = std::make_unique<HeldFile>(
                                t.scratch.filePath(kUnikon), HeldFile::Sharing::Nothing);
                        },
                    .said = systemReason(SystemError::InUse)},
        RestoreCase{.name = "Shortcut_WindowsOnlyShortcut",
                    .arrange =
                        [](RestoreTest& t) {
                            QFile::link(t.scratch.filePath(kUnikon),
                                        t.scratch.filePath(QStringLiteral("unikon/z12345.lnk")));
                        },
                    .chosen = QStringLiteral("unikon/z12345.lnk"),
                    .fileAfter = std::nullopt,
                    .said = QStringLiteral("genvej")},
        // Through a link the file would be the copy itself.
        RestoreCase{.name = "FileIsALinkToTheCopy_LinuxOnlySymlink",
                    .arrange =
                        [](RestoreTest& t) {
                            QFile::remove(t.scratch.filePath(kUnikon));
                            makeSymbolicLink(QStringLiteral("../UNI_KOP/") + kCopyName,
                                             t.scratch.filePath(kUnikon));
                        },
                    .fileAfter = kCopy,
                    .said = QStringLiteral("Det er selve kopien")},
        RestoreCase{.name = "EmptyBackupFolder",
                    .arrange =
                        [](RestoreTest& t) {
                            QFile::remove(
                                t.scratch.filePath(QStringLiteral("UNI_KOP/") + kCopyName));
                        },
                    .putBack = {},
                    .said = QStringLiteral("Mappen er tom: ")},
        RestoreCase{.name = "NoBackupFolder",
                    .arrange =
                        [](RestoreTest& t) {
                            QDir(t.scratch.filePath(QStringLiteral("UNI_KOP"))).removeRecursively();
                        },
                    .putBack = {},
                    .said = QStringLiteral("Mappen findes ikke: ")},
        RestoreCase{.name = "RestoreOfARestoreBringsTheFirstStateBack",
                    .putBack = {kCopyName, "z12345_07-12-26"},
                    .fileAfter = kNow,
                    .made = {"z12345_07-12-26", "z12345_07-12-26_2"}},
        RestoreCase{.name = "CopyOfAnEmptyFile",
                    .arrange =
                        [](RestoreTest& t) {
                            t.scratch.writeFile(QStringLiteral("UNI_KOP/z12345_05-12-26"), "");
                        },
                    .putBack = {"z12345_05-12-26"},
                    .fileAfter = "",
                    .made = {"z12345_07-12-26"},
                    .said = QStringLiteral("er lagt tilbage over"),
                    .going = 3,
                    .comingBack = 0},
    })),
    rowName);

// A screen reader finds a name on every control, and the window opens
// without a copy made or a file written.
TEST_F(RestoreTest, EveryControlHasAnAccessibleName) {
    scratch.writeFile(QStringLiteral("UNI_KOP/") + kCopyName, kCopy);
    start();
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty() &&
            !widget->objectName().startsWith(QLatin1String("qt_"))) {
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName();
        }
    }
    EXPECT_EQ(folderEntries(scratch.filePath(QStringLiteral("UNI_KOP"))), QStringList{kCopyName});
}

} // namespace
} // namespace dalvero::testing
