// The whole job from start-up in a fresh folder to the rewritten UNIKON file
// and its backup, byte for byte.
#include "app/startup.h"
#include "support/window_test.h"

namespace dalvero::testing {
namespace {

TEST(EndToEnd, FromStartUpToTheRewrittenFileAndItsBackup) {
    ScratchFolder scratch;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(scratch.path()));

    const QByteArray exportBytes = "Eksport \xd8stby\r\nMedlem 12345\r\n"
                                   "1DK-X07-1111F\xe6\r\n" // kept, known, marker F
                                   "2DK-X07-2222x\r\n"     // kept, not known
                                   "3DK-X08-3333F\r\n"     // year 08, deselected by year
                                   "4DK-X09-4444F\r\n";    // deselected by hand
    const QByteArray oldUnikon = " 0700DK-1111 \xc5\xc6\xd8-tail-01\r\n"
                                 " 0800DK-3333W33333333333\r\n"
                                 " 0900DK-4444W44444444444\r\n";
    scratch.writeFile(QStringLiteral("data/eksport.txt"), exportBytes);
    const QString unikon = scratch.writeFile(QStringLiteral("data/z12345"), oldUnikon);
    {
        // Start-up as the program runs it, without arguments.
        const QString base = startup::chooseBaseFolder(QString(), QDir::currentPath());
        ASSERT_FALSE(startup::ensureBackupFolder(base));
        WindowDriver w(base);
        const QString data = scratch.filePath(QStringLiteral("data"));
        w.loadExport(data, QStringLiteral("eksport.txt"));
        w.pickYear(QStringLiteral("08"));
        w.clickRow(w.pigeonList(), 3);
        w.merge(data, QStringLiteral("z12345"));
        w.clickDanFil();

        EXPECT_TRUE(w.seam.failures.isEmpty());
        EXPECT_EQ(w.seam.messages, QStringList({kWritten}));
        EXPECT_EQ(w.seam.endStatus, 0);
    }
    EXPECT_EQ(fileBytes(unikon), QByteArray(" 0700DK-1111W\xc5\xc6\xd8-tail-01\r\n"
                                            " 0700DK-2222 00000000000\r\n"));
    EXPECT_EQ(folderEntries(scratch.filePath(kCopiesFolder)), QStringList({"z12345_07-12-26"}));
    EXPECT_EQ(fileBytes(scratch.filePath(copyPath("z12345_07-12-26"))), oldUnikon);
    QDir::setCurrent(previous);
}

} // namespace
} // namespace dalvero::testing
