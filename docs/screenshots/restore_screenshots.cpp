// Grabs the restore window with a copy and its file chosen (once more with
// the tooltip of a marked line) and with the message after putting it back,
// into the folder named on the command line. Run it under a real X server,
// e.g. xvfb-run -s "-screen 0 1280x800x24" dalvero_restore_screenshots docs
#include "conversion/backup.h"
#include "support/restore_fixture.h"
#include "ui/display_scale.h"
#include "ui/line_list.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QToolTip>

#include <cstdio>

using namespace dalvero::testing;

namespace {

QByteArray unikonLines(int from, int count, char tail) {
    QByteArray text;
    for (int i = from; i < from + count; ++i)
        text +=
            " 2200DK-" + QByteArray::number(1000 + i * 37) + "W" + QByteArray(11, tail) + "\r\n";
    return text;
}

} // namespace

int main(int argc, char** argv) {
    // The dates of the copy list in Danish, as the user's settings give them.
    qputenv("LC_ALL", "da_DK.UTF-8");
    dalvero::followDisplayScale();
    QApplication app(argc, argv);
    const QString outFolder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".")).absolutePath();
    ScratchFolder scratch;
    scratch.makeFolder(dalvero::kBackupFolderName);
    const QString copies = dalvero::kBackupFolderName + u'/';
    // Made one after another, the newest last.
    const QByteArray older = unikonLines(0, 14, '5');
    for (const char* name : {"z12345_05.12.2026", "z12345_07.12.2026", "z12345_07.12.2026_2"}) {
        scratch.writeFile(copies + QString::fromLatin1(name), older);
        QThread::msleep(20);
    }
    // The newest copy: what "Dan fil" replaced a moment ago.
    scratch.writeFile(copies + QStringLiteral("z12345_08.12.2026"),
                      unikonLines(0, 12, '1') + unikonLines(30, 2, '2'));
    const QString unikon = scratch.writeFile(QStringLiteral("medlem/z12345"),
                                             unikonLines(0, 12, '1') + unikonLines(12, 3, '0'));
    QDir::setCurrent(scratch.path());

    RecordingSeam seam;
    seam.today = QStringLiteral("08.12.2026");
    ScriptedChooser chooser;
    dalvero::RestoreWindow window(scratch.path(), seam, chooser);
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowExposed(&window))
        std::printf("the window was not shown\n");
    const QRect area = window.frameGeometry().adjusted(-8, -8, 8, 8);

    chooser.answers << unikon;
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("ChooseFile")), Qt::LeftButton);
    bool ok = grab(outFolder + QStringLiteral("/restore-chosen.png"), area);

    // The tooltip of a line that putting the copy back removes.
    auto* fileLines = window.findChild<dalvero::LineList*>(QStringLiteral("FileLines"));
    for (int row = 0; row < fileLines->count(); ++row) {
        if (fileLines->mark(row) != dalvero::LineMark::Going)
            continue;
        const QModelIndex going = fileLines->model()->index(row, 0);
        fileLines->scrollTo(going, QAbstractItemView::PositionAtBottom);
        QToolTip::showText(
            fileLines->viewport()->mapToGlobal(fileLines->visualRect(going).center()),
            going.data(Qt::ToolTipRole).toString(), fileLines);
        break;
    }
    ok &= grab(outFolder + QStringLiteral("/restore-marks.png"), area);
    QToolTip::hideText();

    seam.whileMessageShown = [&](const QString& text) {
        // The box as the program shows it, left open while it is grabbed.
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("dalvero"), text, QMessageBox::Ok,
                        &window);
        box.show();
        box.move(window.geometry().center() - box.rect().center());
        ok &= grab(outFolder + QStringLiteral("/restore-done.png"), area);
    };
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("PutBack")), Qt::LeftButton);
    return ok ? 0 : 1;
}
