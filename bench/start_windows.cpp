// SPDX-License-Identifier: GPL-3.0-or-later
// The start on Windows (run under Wine here): from the moment a program's
// process is created to the moment its first top-level window is shown
// (visible), for the program and for the yardstick, a bare Qt window built
// with the same static Qt, pair by pair in alternating order. Prints the
// medians and the median of the pairs' ratios.
//
//   velitar_start_bench.exe PROGRAM.exe YARDSTICK.exe [PAIRS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    bool shown;
};

BOOL CALLBACK findShown(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
        search->shown = true;
        return FALSE;
    }
    return TRUE;
}

double seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// Milliseconds from creating the process to its window shown; -1 on failure.
double timeStart(const std::wstring& program)
{
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&begin);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    double ms = -1;
    for (;;) {
        Search search{process.dwProcessId, false};
        EnumWindows(findShown, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&now);
        if (search.shown) {
            ms = 1000 * seconds(begin, now, frequency);
            break;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 || seconds(begin, now, frequency) > 60)
            break;
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::wstring wide(const char* text)
{
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), n);
    result.resize(static_cast<std::size_t>(n - 1));
    return result;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM.exe YARDSTICK.exe [PAIRS]\n", argv[0]);
        return 2;
    }
    const std::wstring program = wide(argv[1]), yardstick = wide(argv[2]);
    const int pairs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 21;
    timeBeginPeriod(1);
    // One pair of each first, not counted: the first start of a program
    // reads its file from disk.
    timeStart(program);
    timeStart(yardstick);
    std::vector<double> programMs, yardstickMs, ratios;
    for (int i = 0; i < pairs; ++i) {
        double p, y;
        if (i % 2 == 0) {
            p = timeStart(program);
            y = timeStart(yardstick);
        } else {
            y = timeStart(yardstick);
            p = timeStart(program);
        }
        if (p < 0 || y < 0) {
            std::fprintf(stderr, "a program did not show its window\n");
            return 1;
        }
        programMs.push_back(p);
        yardstickMs.push_back(y);
        ratios.push_back(p / y);
    }
    timeEndPeriod(1);
    const double ratio = median(ratios);
    std::printf("Windows (Wine), %d pairs: process created to window shown: program %.1f ms, bare window %.1f ms; "
                "ratio (median of the pairs) %.3f, target at most 1.10: %s\n",
                pairs, median(programMs), median(yardstickMs), ratio, ratio <= 1.10 ? "met" : "MISSED");
    return 0;
}
