// The time from starting the real program, without arguments, to its window
// being mapped on the X server. Needs an X server: run it under
//   xvfb-run -a -s "-screen 0 1280x800x24" dalvero_start_bench
#include "conversion/backup.h"

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

pid_t startProgram(const char* folder) {
    const pid_t pid = fork();
    if (pid == 0) {
        // Any argument would select the development folder: none is given.
        if (chdir(folder) != 0)
            _exit(126);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        execl(DALVERO_PROGRAM, DALVERO_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// Waits for a top-level window to be mapped; false when the program ended
// first or nothing came within thirty seconds (a busy machine).
bool waitForMappedWindow(xcb_connection_t* connection, pid_t program) {
    const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(30);
    pollfd wait{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (Clock::now() < giveUp) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & ~0x80) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                return true;
        }
        int status = 0;
        if (waitpid(program, &status, WNOHANG) == program)
            return false;
        poll(&wait, 1, 5);
    }
    return false;
}

void drainEvents(xcb_connection_t* connection) {
    usleep(50 * 1000);
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection))
        std::free(event);
}

void BM_StartToShownWindow(benchmark::State& state) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        state.SkipWithError("no X server: run under xvfb-run");
        xcb_disconnect(connection);
        return;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    char folder[] = "/tmp/dalvero-start-XXXXXX";
    if (!mkdtemp(folder)) {
        state.SkipWithError("no scratch folder");
        return;
    }
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const pid_t program = startProgram(folder);
        const bool shown = waitForMappedWindow(connection, program);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        kill(program, SIGTERM);
        waitpid(program, nullptr, 0);
        drainEvents(connection);
        if (!shown) {
            state.SkipWithError("the window was not shown");
            break;
        }
        state.SetIterationTime(seconds);
    }
    xcb_disconnect(connection);
    const std::string backups =
        std::string(folder) + '/' + dalvero::kBackupFolderName.toStdString();
    rmdir(backups.c_str());
    rmdir(folder);
}

BENCHMARK(BM_StartToShownWindow)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(11)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
