// Every user action of the window on full lists (32,767 pigeons, 32,767 old
// UNIKON lines), timed from the user's click until the window has repainted,
// and the longest time the event loop is held while loading and merging.
// Run offscreen: QT_QPA_PLATFORM=offscreen dalvero_ui_bench
#include "conversion/backup.h"
#include "conversion/guarded_rewrite.h"
#include "list_limit_data.h"
#include "platform/scripted_answers.h"
#include "support/scratch_folder.h"
#include "support/window_driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <memory>

using dalvero::testing::ScratchFolder;
using dalvero::testing::WindowDriver;

namespace {

const QString kExportName = QStringLiteral("eksport.txt");
const QString kUnikonName = QStringLiteral("z12345");

// One scratch folder for the whole run, the process's current folder.
struct Workplace {
    Workplace() {
        QDir::setCurrent(scratch.path());
        scratch.makeFolder(dalvero::kBackupFolderName);
        data = scratch.makeFolder(QStringLiteral("data"));
        scratch.writeFile(QStringLiteral("data/") + kExportName, dalvero::bench::fullExportFile());
        restoreUnikonFile();
    }
    void restoreUnikonFile() {
        scratch.writeFile(QStringLiteral("data/") + kUnikonName, unikon);
        QDir backups(scratch.filePath(dalvero::kBackupFolderName));
        for (const QString& name : backups.entryList(QDir::Files))
            backups.remove(name);
    }

    ScratchFolder scratch;
    QString data;
    const QByteArray unikon = dalvero::bench::fullUnikonFile();
};

Workplace& workplace() {
    static Workplace place;
    return place;
}

enum class Stage { Started, Loaded, Merged };

std::unique_ptr<WindowDriver> windowAt(Stage stage) {
    auto driver = std::make_unique<WindowDriver>(workplace().scratch.path());
    driver->openFolder(QStringLiteral("Dir3"), workplace().data);
    if (stage == Stage::Started)
        return driver;
    driver->click(driver->files(QStringLiteral("File2")), kExportName);
    driver->openFolder(QStringLiteral("Dir1"), workplace().data);
    if (stage == Stage::Merged)
        driver->doubleClick(driver->files(QStringLiteral("File1")), kUnikonName);
    QApplication::processEvents();
    return driver;
}

// Times `action` up to the window's repaint, on a fresh window per sample.
void timeAction(benchmark::State& state, Stage stage,
                const std::function<void(WindowDriver&)>& action) {
    for (auto _ : state) {
        std::unique_ptr<WindowDriver> driver = windowAt(stage);
        QElapsedTimer clock;
        clock.start();
        action(*driver);
        driver->window().repaint();
        QApplication::processEvents();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    }
}

void BM_LoadExportFile(benchmark::State& state) {
    timeAction(state, Stage::Started, [](WindowDriver& w) {
        w.click(w.files(QStringLiteral("File2")), kExportName);
        if (w.pigeonList()->count() != dalvero::kMaxListEntries)
            throw std::runtime_error("not loaded");
    });
}

void BM_YearPick(benchmark::State& state) {
    timeAction(state, Stage::Merged, [](WindowDriver& w) {
        // An arrow key in the year list picks the first year code.
        QTest::keyClick(w.yearCodes(), Qt::Key_Down);
    });
}

void BM_ListReset(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<WindowDriver> driver = windowAt(Stage::Merged);
        driver->toggleYearBox(); // ticking runs nothing
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        driver->toggleYearBox();
        driver->window().repaint();
        QApplication::processEvents();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    }
}

void BM_Merge(benchmark::State& state) {
    timeAction(state, Stage::Loaded, [](WindowDriver& w) {
        w.doubleClick(w.files(QStringLiteral("File1")), kUnikonName);
        if (w.lineList(QStringLiteral("List3"))->count() != dalvero::kMaxListEntries)
            throw std::runtime_error("not merged");
    });
}

// "Dan fil" from the click to the moment the final message is shown.
void BM_DanFil(benchmark::State& state) {
    for (auto _ : state) {
        workplace().restoreUnikonFile();
        std::unique_ptr<WindowDriver> driver = windowAt(Stage::Merged);
        QElapsedTimer clock;
        qint64 untilMessage = -1;
        driver->seam.whileMessageShown = [&](const QString&) {
            driver->window().repaint();
            untilMessage = clock.nsecsElapsed();
        };
        clock.start();
        driver->clickDanFil();
        if (untilMessage < 0 || !driver->seam.failures.isEmpty())
            throw std::runtime_error("no final message");
        state.SetIterationTime(untilMessage / 1e9);
    }
    workplace().restoreUnikonFile();
}

// The longest stretch in which a 1 ms timer could not fire while the action
// runs from the event loop, as the user's click does.
void longestBlock(benchmark::State& state, Stage stage,
                  const std::function<void(WindowDriver&)>& action, int runMs = 400) {
    for (auto _ : state) {
        std::unique_ptr<WindowDriver> driver = windowAt(stage);
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 worst = 0;
        QTimer ticker;
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            worst = std::max(worst, now - last);
            last = now;
        });
        QEventLoop loop;
        QTimer::singleShot(20, [&] { action(*driver); });
        QTimer::singleShot(runMs, &loop, &QEventLoop::quit);
        clock.start();
        ticker.start();
        loop.exec();
        state.SetIterationTime(worst / 1e9);
    }
}

void BM_LongestBlockLoading(benchmark::State& state) {
    longestBlock(state, Stage::Started,
                 [](WindowDriver& w) { w.click(w.files(QStringLiteral("File2")), kExportName); });
}

void BM_LongestBlockMerging(benchmark::State& state) {
    longestBlock(state, Stage::Loaded, [](WindowDriver& w) {
        w.doubleClick(w.files(QStringLiteral("File1")), kUnikonName);
    });
}

// "Dan fil" while another program holds the UNIKON file for its first second:
// the window waits, then writes. `sleeping` waits as a program with no window
// does, on the thread, for comparison.
void longestBlockWhileHeld(benchmark::State& state, bool sleeping) {
    QElapsedTimer held;
    dalvero::platform::scriptedAnswers().held = [&](const QString&) {
        return held.elapsed() < 1000;
    };
    longestBlock(
        state, Stage::Merged,
        [&](WindowDriver& w) {
            workplace().restoreUnikonFile();
            held.start();
            if (!sleeping) {
                w.clickDanFil();
                return;
            }
            const QString file = workplace().data + QLatin1Char('/') + kUnikonName;
            if (!dalvero::rewriteGuarded({file,
                                          workplace().unikon,
                                          file + QStringLiteral("_kopi"),
                                          workplace().unikon,
                                          {}}))
                throw std::runtime_error("not written");
        },
        2500);
    dalvero::platform::scriptedAnswers().held = {};
    workplace().restoreUnikonFile();
}

void BM_LongestBlockWaitingForAHeldFile(benchmark::State& state) {
    longestBlockWhileHeld(state, false);
}
void BM_LongestBlockSleepingForAHeldFile(benchmark::State& state) {
    longestBlockWhileHeld(state, true);
}

// Opening a folder that holds 5,000 folders: the folder list fills and is
// shown again.
void BM_OpenFolderOfManyFolders(benchmark::State& state) {
    static const QString many = [] {
        const QString folder = workplace().scratch.makeFolder(QStringLiteral("mange"));
        for (int i = 0; i < 5000; ++i)
            QDir(folder).mkdir(QString::number(i));
        return folder;
    }();
    dalvero::FolderList folders;
    folders.resize(170, 96);
    folders.show();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (dalvero::Status failed = folders.setPath(many))
            state.SkipWithError(failed->message().toUtf8().constData());
        QApplication::processEvents();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    }
}

void configure(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(
        benchmark::kMillisecond);
}

BENCHMARK(BM_LoadExportFile)->Apply(configure);
BENCHMARK(BM_YearPick)->Apply(configure);
BENCHMARK(BM_ListReset)->Apply(configure);
BENCHMARK(BM_Merge)->Apply(configure);
BENCHMARK(BM_DanFil)->Apply(configure);
BENCHMARK(BM_LongestBlockLoading)->Apply(configure);
BENCHMARK(BM_LongestBlockMerging)->Apply(configure);
BENCHMARK(BM_OpenFolderOfManyFolders)->Apply(configure);
BENCHMARK(BM_LongestBlockWaitingForAHeldFile)->Apply(configure);
BENCHMARK(BM_LongestBlockSleepingForAHeldFile)->Apply(configure);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
