// The time from starting the real program, without arguments, to its window
// being shown, on Windows: the counterpart of start_bench.cpp. Under Wine it
// needs a display, as the program's own window does.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Built on Linux, the program's path is a Linux one: Wine shows the Linux
// root as drive Z:. DALVERO_BENCH_OTHER_PROGRAM times another program's start
// instead: Wine's own notepad.exe shows what Wine takes to start any program
// with a window.
std::wstring programPath() {
    const char* other = std::getenv("DALVERO_BENCH_OTHER_PROGRAM");
    std::wstring path = std::filesystem::path(other ? other : DALVERO_PROGRAM).wstring();
    if (!path.empty() && path.front() == L'/')
        path.insert(0, L"Z:");
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

struct Search {
    DWORD process;
    bool shown;
};

BOOL CALLBACK findShownWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window)) {
        search->shown = true;
        return FALSE;
    }
    return TRUE;
}

// Waits for a shown top-level window of the program; false when the program
// ended first or nothing came within thirty seconds (Wine's first start of a
// run takes long).
bool waitForShownWindow(const PROCESS_INFORMATION& program) {
    const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(30);
    while (Clock::now() < giveUp) {
        Search search{program.dwProcessId, false};
        EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.shown)
            return true;
        if (WaitForSingleObject(program.hProcess, 5) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

void BM_StartToShownWindow(benchmark::State& state) {
    namespace fs = std::filesystem;
    std::error_code failed;
    const fs::path folder = fs::temp_directory_path(failed) /
                            ("dalvero-start-" + std::to_string(GetCurrentProcessId()));
    if (failed || !fs::create_directories(folder, failed)) {
        state.SkipWithError("no scratch folder");
        return;
    }
    // The program draws with the platform a user's Windows gives it, whatever
    // the benchmark itself was started with.
    SetEnvironmentVariableW(L"QT_QPA_PLATFORM", L"windows");
    const std::wstring program = programPath();
    for (auto _ : state) {
        // CreateProcessW may write into the command line.
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        const Clock::time_point start = Clock::now();
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, folder.wstring().c_str(), &startup, &started)) {
            state.SkipWithError("the program did not start");
            break;
        }
        const bool shown = waitForShownWindow(started);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        TerminateProcess(started.hProcess, 1);
        WaitForSingleObject(started.hProcess, INFINITE);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
        // As the X server's drain on Linux: the ended window's last messages.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!shown) {
            state.SkipWithError("the window was not shown");
            break;
        }
        state.SetIterationTime(seconds);
    }
    fs::remove_all(folder, failed);
}

BENCHMARK(BM_StartToShownWindow)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(11)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
