// Putting a backup back through the restore window: what is on disk
// afterwards, and what the user was told.
#include "platform/scripted_answers.h"
#include "support/child_process.h"
#include "support/named_row.h"
#include "support/restore_fixture.h"

#include <QFile>
#include <QLabel>
#include <QMap>

#include <functional>
#include <optional>

namespace dalvero::testing {
namespace {

// "A" stands twice in the file and once in the copy: one of them goes.
const QByteArray kNow = "A\r\nB\r\nA\r\n";
const QByteArray kCopy = "A\r\nD\r\nD"; // no line end after the last line
const QString kCopyName = QStringLiteral("z12345_06-12-26");
const QString kUnikon = QStringLiteral("unikon/z12345");

using Step = std::function<void(RestoreTest&)>;

struct RestoreCase {
    const char* name;
    Runs runs = Runs::Everywhere;
    Step arrange = {};
    QStringList putBack = {kCopyName}; // one after another over the chosen file
    QString chosen = kUnikon;
    Step beforePutBack = {};
    // Afterwards: the chosen file, the backups made (each the file as it was
    // before its step), and part of what the window said.
    std::optional<QByteArray> fileAfter = kNow;
    QStringList made = {};
    QString said = {};
    QStringList counts = {}; // of the file and the copy, at the first step
};

class Restore : public RestoreTest, public ::testing::WithParamInterface<RestoreCase> {
public:
    QMap<QString, QByteArray> contents(const QString& folder) const {
        QMap<QString, QByteArray> files;
        for (const QString& name : folderEntries(scratch.filePath(folder)))
            files[name] = fileBytes(scratch.filePath(folder + QLatin1Char('/') + name));
        return files;
    }
    QString caption(const char* label) const { return find<QLabel>(label)->text(); }
    std::unique_ptr<HeldFile> held;
};

TEST_P(Restore, PutsTheCopyBackOrLeavesEverythingAsItWas) {
    const RestoreCase& c = GetParam();
    scratch.writeFile(kUnikon, kNow);
    scratch.writeFile(QStringLiteral("unikon/z99999"), "other member\r\n");
    scratch.writeFile(copyPath(kCopyName), kCopy);
    if (c.arrange)
        c.arrange(*this);
    const QMap<QString, QByteArray> copiesBefore = contents(kCopiesFolder);
    const QMap<QString, QByteArray> unikonBefore = contents(QStringLiteral("unikon"));
    const QString chosen = scratch.filePath(c.chosen);
    start();

    QList<QByteArray> before;
    for (const QString& copy : c.putBack) {
        ASSERT_TRUE(pickCopy(copy)) << copy;
        chooseFile(chosen);
        if (before.isEmpty() && !c.counts.isEmpty()) {
            EXPECT_EQ(QStringList({caption("FileCount"), caption("CopyCount")}), c.counts);
        }
        before << fileBytes(chosen);
        if (c.beforePutBack)
            c.beforePutBack(*this);
        click("PutBack");
        held.reset();
        // The file as it was just now heads the list, ready to be put back.
        EXPECT_EQ(copiesShown().value(0), c.made.value(before.size() - 1, copiesShown().value(0)));
    }
    EXPECT_EQ(find("ChooseFile")->isEnabled(), !c.putBack.isEmpty());

    QStringList said = seam.messages;
    said << caption("Prompt");
    for (const Failure& failure : seam.failures)
        said << failure.message();
    EXPECT_TRUE(said.join(QLatin1Char('\n')).contains(c.said)) << said.join(QLatin1Char('\n'));
    EXPECT_EQ(fileBytes(chosen), c.fileAfter.value_or(fileBytes(chosen)));

    // No copy is ever changed; the new ones hold the file as it was, and
    // no other file changes.
    const QMap<QString, QByteArray> copiesAfter = contents(kCopiesFolder);
    QStringList made = copiesAfter.keys();
    for (const QString& name : copiesBefore.keys()) {
        made.removeOne(name);
        EXPECT_EQ(copiesAfter.value(name), copiesBefore.value(name)) << name;
    }
    EXPECT_EQ(made, c.made);
    for (qsizetype i = 0; i < c.made.size() && i < before.size(); ++i)
        EXPECT_EQ(copiesAfter.value(c.made[i]), before[i]) << c.made[i];
    for (const QString& name : unikonBefore.keys()) {
        const QString path = scratch.filePath(QStringLiteral("unikon/") + name);
        EXPECT_TRUE(path == chosen || fileBytes(path) == unikonBefore.value(name)) << name;
    }
}

const QString kPutBack = QStringLiteral("Kopien z12345_06-12-26 er lagt tilbage over");

INSTANTIATE_TEST_SUITE_P(
    Window, Restore,
    ::testing::ValuesIn(onThisPlatform<RestoreCase>({
        RestoreCase{
            .name = "RightCopyOverRightFile",
            .arrange =
                [](RestoreTest& t) { t.scratch.writeFile(copyPath("z12345_07-12-26"), "x"); },
            .fileAfter = kCopy,
            .made = {"z12345_07-12-26_2"},
            .said = kPutBack,
            .counts = {"3 linjer, 2 forsvinder", "3 linjer, 2 kommer tilbage"}},
        // Windows does not tell "Z12345" from "z12345".
        RestoreCase{.name = "FileNamedInAnotherCase",
                    .runs = Runs::WindowsOnly,
                    .arrange =
                        [](RestoreTest& t) {
                            QFile::remove(t.scratch.filePath(kUnikon));
                            t.scratch.writeFile(QStringLiteral("unikon/Z12345"), kNow);
                        },
                    .chosen = QStringLiteral("unikon/Z12345"),
                    .fileAfter = kCopy,
                    .made = {"Z12345_07-12-26"},
                    .said = kPutBack},
        // A replace that broke off left no file of that name.
        RestoreCase{.name = "CopyBackAsAFileGoneMissing",
                    .arrange = [](RestoreTest& t) { QFile::remove(t.scratch.filePath(kUnikon)); },
                    .fileAfter = kCopy,
                    .said = QStringLiteral("er lagt tilbage som")},
        RestoreCase{.name = "FileOfThatNameAppearedSinceShownMissing",
                    .arrange = [](RestoreTest& t) { QFile::remove(t.scratch.filePath(kUnikon)); },
                    .beforePutBack = [](RestoreTest& t) { t.scratch.writeFile(kUnikon, "ny"); },
                    .fileAfter = "ny",
                    .said = QStringLiteral("ændret af et andet program, siden den blev læst")},
        // Told as soon as the file is chosen, and refused with nothing written.
        RestoreCase{
            .name = "ReadOnlyFile",
            .arrange = [](RestoreTest& t) { setPermissionBits(t.scratch.filePath(kUnikon), 0444); },
            .said = QStringLiteral("Filen kan ikke skrives lige nu: Filen er skrivebeskyttet")},
        RestoreCase{
            .name = "FileChangedSinceItWasShown",
            .beforePutBack = [](RestoreTest& t) { t.scratch.writeFile(kUnikon, "changed\r\n"); },
            .fileAfter = "changed\r\n",
            .said = QStringLiteral("ændret af et andet program, siden den blev læst")},
        RestoreCase{.name = "FileAlreadyAsTheCopy",
                    .arrange = [](RestoreTest& t) { t.scratch.writeFile(kUnikon, kCopy); },
                    .fileAfter = kCopy,
                    .said = QStringLiteral("Filen er allerede som kopien")},
        RestoreCase{.name = "FileLockedByAnotherProgram",
                    .runs = Runs::WindowsOnly,
                    .beforePutBack =
                        [](RestoreTest& t) {
                            static_cast<Restore&>(t).held = std::make_unique<HeldFile>(
                                t.scratch.filePath(kUnikon), HeldFile::Sharing::Nothing);
                        },
                    .said = QStringLiteral("bruges af et andet program")},
        // Picked in the notice, the copy Windows keeps for old programs takes
        // the copy; the file in the redirected folder stays as it was.
        RestoreCase{.name = "VirtualStoreCopyPicked",
                    .arrange =
                        [](RestoreTest& t) {
                            const platform::VirtualStoreLayout layout{
                                {t.scratch.filePath(QStringLiteral("unikon"))},
                                t.scratch.filePath(QStringLiteral("VirtualStore"))};
                            platform::scriptedAnswers().virtualStore = [=] { return layout; };
                            t.scratch.writeFile(QDir(t.scratch.path())
                                                    .relativeFilePath(platform::virtualStorePath(
                                                        t.scratch.filePath(kUnikon))),
                                                kNow);
                            t.seam.choice = 0;
                        },
                    .beforePutBack = [](RestoreTest&) { platform::scriptedAnswers() = {}; },
                    .made = {"z12345_07-12-26"},
                    .said = QStringLiteral("VirtualStore")},
        RestoreCase{
            .name = "EmptyBackupFolder",
            .arrange =
                [](RestoreTest& t) { QFile::remove(t.scratch.filePath(copyPath(kCopyName))); },
            .putBack = {},
            .said = QStringLiteral("Mappen er tom: ")},
        RestoreCase{
            .name = "NoBackupFolder",
            .arrange =
                [](RestoreTest& t) { QDir(t.scratch.filePath(kCopiesFolder)).removeRecursively(); },
            .putBack = {},
            .said = QStringLiteral("Mappen findes ikke: ")},
        RestoreCase{.name = "RestoreOfARestoreBringsTheFirstStateBack",
                    .putBack = {kCopyName, "z12345_07-12-26"},
                    .fileAfter = kNow,
                    .made = {"z12345_07-12-26", "z12345_07-12-26_2"}},
        RestoreCase{
            .name = "CopyOfAnEmptyFile",
            .arrange = [](RestoreTest& t) { t.scratch.writeFile(copyPath("z12345_05-12-26"), ""); },
            .putBack = {"z12345_05-12-26"},
            .fileAfter = "",
            .made = {"z12345_07-12-26"},
            .said = QStringLiteral("er lagt tilbage over"),
            .counts = {"3 linjer, 3 forsvinder", "0 linjer, 0 kommer tilbage"}},
    })),
    rowName);

} // namespace
} // namespace dalvero::testing
