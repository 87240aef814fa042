#include "app/startup.h"
#include "support/child_process.h"
#include "support/named_row.h"
#include "support/qt_printers.h"
#include "support/scratch_folder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// The program's own main (app/main.cpp), renamed for this test.
int startTheProgram(int argc, char** argv);

namespace dalvero::testing {
namespace {

struct ArgumentCase {
    const char* name;
    std::vector<const char*> argv;
    QString text;
    bool developmentFolder;
};

class BaseFolder : public ::testing::TestWithParam<ArgumentCase> {};

// "æ" as the system hands it to main: UTF-8 on Linux, the ANSI code page on
// Windows.
const QByteArray kAeArgument = QStringLiteral("æ").toLocal8Bit();

// Any argument text at all selects the development folder.
TEST_P(BaseFolder, ChosenByArgumentText) {
    const ArgumentCase& c = GetParam();
    const QString text = startup::argumentText(static_cast<int>(c.argv.size()), c.argv.data());
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(startup::chooseBaseFolder(text, QStringLiteral("/home/due")),
              c.developmentFolder ? QStringLiteral("C:\\data\\Data\\pri_udv\\dalvero")
                                  : QStringLiteral("/home/due"));
}

INSTANTIATE_TEST_SUITE_P(
    Rule, BaseFolder,
    ::testing::Values(ArgumentCase{"NoArguments", {"dalvero"}, "", false},
                      ArgumentCase{"OneLetter", {"dalvero", "x"}, "x", true},
                      ArgumentCase{"Several", {"dalvero", "-a", "b c"}, "-a b c", true},
                      ArgumentCase{"Blank", {"dalvero", " "}, " ", true},
                      ArgumentCase{"NonAscii", {"dalvero", kAeArgument.constData()}, "æ", true}),
    rowName);

TEST(BaseFolder, RootCurrentFolderKeptAsItIs) {
    EXPECT_EQ(startup::chooseBaseFolder(QString(), QStringLiteral("/")), QStringLiteral("/"));
}

struct BackupFolderCase {
    const char* name;
    // Prepares the base folder and returns it.
    std::function<QString(const ScratchFolder&)> arrange;
    bool unprivileged;
    bool succeeds;
    std::function<void(const QString& base)> check;
    // Started in the base folder as the program starts itself.
    bool asTheProgram = false;
    Runs runs = Runs::Everywhere;
};

// What a call queued as the application is made sees once it runs: the
// windows shown, and how deep in event loops it runs.
struct Started {
    bool armed = false;
    QStringList shown;
    int loopLevel = 0;
};
Started started;
constexpr int kSeenFromTheLoop = 42;

// Leaves the program's event loop, once there is one to leave.
void leaveTheLoop() {
    if (QThread::currentThread()->loopLevel() == 0)
        QTimer::singleShot(0, leaveTheLoop);
    else
        QCoreApplication::exit(kSeenFromTheLoop);
}

void lookOnceTheLoopRuns() {
    if (!started.armed)
        return;
    QTimer::singleShot(0, [] {
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible())
                continue;
            const bool owned = window->parentWidget() || window->windowHandle()->transientParent();
            started.shown << window->objectName() + (window->isModal() ? " modal" : "") +
                                 (owned ? " owned" : "");
        }
        started.loopLevel = QThread::currentThread()->loopLevel();
        leaveTheLoop();
    });
}
Q_COREAPP_STARTUP_FUNCTION(lookOnceTheLoopRuns)

class BackupFolder : public ::testing::TestWithParam<BackupFolderCase> {};

QString uniKop(const QString& base) {
    return base + QDir::separator() + kCopiesFolder;
}

TEST_P(BackupFolder, MadeWhenMissing) {
    const BackupFolderCase& c = GetParam();
    ScratchFolder scratch;
    const QString base = c.arrange(scratch);
    bool succeeded = false;
    if (c.asTheProgram) {
        const QString previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(base));
        char name[] = "dalvero";
        char* argv[] = {name, nullptr};
        started.armed = true;
        succeeded = startTheProgram(1, argv) == kSeenFromTheLoop;
        started.armed = false;
        QDir::setCurrent(previous);
        EXPECT_EQ(started.shown, QStringList{QStringLiteral("Form1")});
        EXPECT_EQ(started.loopLevel, 1);
    } else if (c.unprivileged) {
        scratch.openToEveryone();
        const auto outcome = runAsUnprivileged([&] {
            const dalvero::Status failed = startup::ensureBackupFolder(base);
            return failed ? "FAIL " + QFile::encodeName(failed->path) : QByteArray("OK");
        });
        ASSERT_TRUE(outcome.setUp && outcome.returned) << "child signal " << outcome.signal;
        succeeded = outcome.report == "OK";
        if (!succeeded) {
            EXPECT_EQ(outcome.report, "FAIL " + QFile::encodeName(uniKop(base)));
        }
    } else {
        const dalvero::Status failed = startup::ensureBackupFolder(base);
        succeeded = !failed;
        if (failed) {
            EXPECT_EQ(failed->path, uniKop(base));
            EXPECT_FALSE(failed->reason.isEmpty());
        }
    }
    EXPECT_EQ(succeeded, c.succeeds);
    c.check(base);
}

QString plainBase(const ScratchFolder& scratch) {
    return scratch.makeFolder(QStringLiteral("base"));
}

void madeEmptyFolder(const QString& base) {
    EXPECT_TRUE(QFileInfo(uniKop(base)).isDir());
    EXPECT_TRUE(folderEntries(uniKop(base)).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Fault, BackupFolder,
    ::testing::ValuesIn(onThisPlatform<BackupFolderCase>(
        {BackupFolderCase{"Missing", plainBase, false, true, madeEmptyFolder},
         BackupFolderCase{"MissingWhenTheProgramStarts", plainBase, false, true, madeEmptyFolder,
                          true},
         BackupFolderCase{"ExistsWithBackups",
                          [](const ScratchFolder& s) {
                              s.writeFile("base/" + copyPath("z1_07.12.2026"), "gammel");
                              return s.filePath(QStringLiteral("base"));
                          },
                          false, true,
                          [](const QString& base) {
                              EXPECT_EQ(fileBytes(base + '/' + copyPath("z1_07.12.2026")),
                                        "gammel");
                          }},
         BackupFolderCase{
             "PlainFileCountsAsPresent",
             [](const ScratchFolder& s) {
                 s.writeFile("base/" + kCopiesFolder, "fil");
                 return s.filePath(QStringLiteral("base"));
             },
             false, true,
             [](const QString& base) { EXPECT_EQ(fileBytes(base + '/' + kCopiesFolder), "fil"); }},
         linuxOnly(BackupFolderCase{"DanglingLinkLeftAlone",
                                    [](const ScratchFolder& s) {
                                        const QString base = s.makeFolder(QStringLiteral("base"));
                                        QFile::link(s.filePath(QStringLiteral("gone")),
                                                    base + '/' + kCopiesFolder);
                                        return base;
                                    },
                                    false, true,
                                    [](const QString& base) {
                                        EXPECT_TRUE(
                                            QFileInfo(base + '/' + kCopiesFolder).isSymLink());
                                    }}),
         // The development folder does not exist here: only one level is made.
         BackupFolderCase{"BaseFolderMissing",
                          [](const ScratchFolder& s) { return s.filePath(QStringLiteral("gone")); },
                          false, false, [](const QString& base) { EXPECT_FALSE(exists(base)); }},
         BackupFolderCase{"DevelopmentFolderOnThisMachine",
                          [](const ScratchFolder& s) {
                              // Relative, as the text has no leading "/": keep it inside the
                              // scratch.
                              QDir::setCurrent(s.path());
                              return startup::kDevelopmentFolder;
                          },
                          false, false,
                          [](const QString&) {
                              EXPECT_TRUE(folderEntries(QDir::currentPath()).isEmpty());
                              QDir::setCurrent(QDir::tempPath());
                          }},
         linuxOnly(BackupFolderCase{
             "BaseNotWritable",
             [](const ScratchFolder& s) {
                 const QString base = s.makeFolder(QStringLiteral("base"));
                 setPermissionBits(base, 0755);
                 return base;
             },
             true, false,
             [](const QString& base) { EXPECT_FALSE(exists(base + '/' + kCopiesFolder)); }}),
         linuxOnly(BackupFolderCase{
             "RootDoubledSeparatorFails", [](const ScratchFolder&) { return QStringLiteral("/"); },
             true, false, [](const QString&) { EXPECT_FALSE(exists('/' + kCopiesFolder)); }}),
         linuxOnly(BackupFolderCase{
             "OddFolderName",
             [](const ScratchFolder&
                    s) { return s.makeFolder(QStringLiteral("-\"mine\" duer æøå")); },
             false, true, madeEmptyFolder})})),
    rowName);

} // namespace
} // namespace dalvero::testing
