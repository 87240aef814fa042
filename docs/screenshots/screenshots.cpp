// Grabs the window at start, after loading, after the merge (once more with
// the tooltip of a marked line), with a refused "Dan fil" and with the final
// message into the folder
// named on the command line. Run it under a
// real X server, e.g. xvfb-run -s "-screen 0 1280x800x24" dalvero_screenshots docs
#include "conversion/backup.h"
#include "support/child_process.h"
#include "support/scratch_folder.h"
#include "support/window_driver.h"
#include "ui/display_scale.h"
#include "ui/pigeon_list.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QToolTip>

#include <cstdio>

using namespace dalvero::testing;

namespace {

QByteArray demoExport() {
    QByteArray text = "Eksport for medlem 12345\r\nUdskrevet 07-12-2026\r\n";
    const char* years[] = {"22", "23", "24", "25"};
    for (int i = 0; i < 24; ++i) {
        text += "xDK-0" + QByteArray(years[i % 4]) + "-" +
                QByteArray::number(1000 + i * 37).rightJustified(4, '0') + (i % 3 ? "F" : "H") +
                " Bl\xe5 hun\r\n";
    }
    return text;
}

QByteArray demoUnikon() {
    QByteArray text;
    for (int i = 0; i < 20; i += 2) {
        text += " 2200DK-" + QByteArray::number(1000 + i * 37).rightJustified(4, '0') + "W" +
                QByteArray::number(51234567890LL + i) + "\r\n";
    }
    // One pigeon stands twice in the old file.
    return text + " 2200DK-1296W51234567999\r\n";
}

} // namespace

int main(int argc, char** argv) {
    dalvero::followDisplayScale();
    QApplication app(argc, argv);
    const QString outFolder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".")).absolutePath();
    ScratchFolder scratch;
    const QString data = scratch.makeFolder(QStringLiteral("medlem"));
    scratch.makeFolder(dalvero::kBackupFolderName);
    scratch.writeFile(QStringLiteral("medlem/eksport.txt"), demoExport());
    scratch.writeFile(QStringLiteral("medlem/z12345"), demoUnikon());
    QDir::setCurrent(data);

    WindowDriver driver(scratch.path());
    dalvero::MainWindow& window = driver.window();
    window.activateWindow();
    const QRect area = window.frameGeometry().adjusted(-8, -8, 8, 8);
    bool ok = grab(outFolder + QStringLiteral("/start.png"), area);

    driver.click(driver.files(QStringLiteral("File2")), QStringLiteral("eksport.txt"));
    driver.clickRow(driver.pigeonList(), 4);
    ok &= grab(outFolder + QStringLiteral("/loaded.png"), area);

    driver.doubleClick(driver.files(QStringLiteral("File1")), QStringLiteral("z12345"));
    ok &= grab(outFolder + QStringLiteral("/merged.png"), area);

    // The doubled pigeon at the foot of the new list, with the tooltip the
    // mouse resting on it shows; new pigeons stand above it.
    dalvero::LineList* newList = driver.lineList(QStringLiteral("List3"));
    for (int row = 0; row < newList->count(); ++row) {
        if (newList->mark(row) != dalvero::LineMark::Doubled)
            continue;
        const QModelIndex doubled = newList->model()->index(row + 1, 0);
        newList->scrollTo(doubled, QAbstractItemView::PositionAtBottom);
        const QRect line = newList->visualRect(doubled);
        QToolTip::showText(newList->viewport()->mapToGlobal(line.center()),
                           doubled.data(Qt::ToolTipRole).toString(), newList);
        break;
    }
    // The tooltip reaches past the window's right edge.
    ok &= grab(outFolder + QStringLiteral("/marks.png"), area.adjusted(0, 0, 160, 0));
    QToolTip::hideText();

    // "Dan fil" refused, the file being read-only: the report over the window
    // as it was; then the same click once the file may be written again.
    const QString unikon = scratch.filePath(QStringLiteral("medlem/z12345"));
    const QFile::Permissions writable = QFile::permissions(unikon);
    QFile::setPermissions(unikon, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    driver.clickDanFil();
    if (driver.seam.failures.size() == 1) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("dalvero"),
                        driver.seam.failures[0].message(), QMessageBox::Ok, &window);
        box.show();
        box.move(window.geometry().center() - box.rect().center());
        ok &= grab(outFolder + QStringLiteral("/refused.png"), area);
    } else {
        ok = false;
    }
    QFile::setPermissions(unikon, writable);

    // Written with the file kept open as a race-clock program keeps it
    // (sharing reading and writing, not deleting; Windows only): in place,
    // after the copy.
    const HeldFile keptOpen(unikon, HeldFile::Sharing::ReadingAndWriting);
    driver.seam.whileMessageShown = [&](const QString& text) {
        // The box as the program shows it, left open while it is grabbed.
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("dalvero"), text, QMessageBox::Ok,
                        &window);
        box.show();
        box.move(window.geometry().center() - box.rect().center());
        ok &= grab(outFolder + QStringLiteral("/written.png"), area);
    };
    driver.clickDanFil();
    return ok ? 0 : 1;
}
