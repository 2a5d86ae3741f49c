// Starts the programs of the benchmark inside Wine and times them with the
// performance counter, from CreateProcess to the end of the process.
//
//   bench_driver time <runs> <directory> <command line...>
//       runs the command that many times; prints "run <ms>" for each and
//       "median <ms>"
//   bench_driver uninstall <program> <interpreter>
//       starts the uninstaller (its folder current, COMSPEC naming the given
//       interpreter), answers its confirmation with Yes as soon as it is
//       shown, and prints "box <ms>" (start to confirmation), "removal <ms>"
//       (Yes to the end of the process), "whole <ms>" (start to end, less
//       the time the driver took to answer) and "exit <code>"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool Start(std::string command, const char* directory, PROCESS_INFORMATION* process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory,
                          &startup, process) != 0;
}

// Ends a process that outlived the benchmark's patience; a hung run must
// not hold the whole benchmark.
DWORD Finish(PROCESS_INFORMATION& process, DWORD timeoutMs) {
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 255);
        WaitForSingleObject(process.hProcess, 5000);
        code = 0xFFFFFFFF;
    } else {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

int TimeCommand(int runs, const char* directory, const std::string& command) {
    std::vector<double> times;
    for (int i = 0; i < runs; i++) {
        PROCESS_INFORMATION process = {};
        double begin = Now();
        if (!Start(command, directory, &process)) {
            fprintf(stderr, "bench_driver: cannot start %s (%lu)\n", command.c_str(),
                    GetLastError());
            return 1;
        }
        DWORD code = Finish(process, 600000);
        double took = Now() - begin;
        if (code != 0)
            printf("exit %lu\n", code);
        printf("run %.1f\n", took);
        times.push_back(took);
    }
    std::sort(times.begin(), times.end());
    printf("median %.1f\n", times[times.size() / 2]);
    return 0;
}

struct BoxSearch {
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    BoxSearch* search = reinterpret_cast<BoxSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[16];
    if (pid == search->ProcessId && IsWindowVisible(window) &&
        GetClassNameA(window, name, sizeof(name)) && strcmp(name, "#32770") == 0 &&
        GetDlgItem(window, IDYES)) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

int TimeUninstall(const char* program, const char* interpreter) {
    std::string folder = program;
    size_t slash = folder.find_last_of('\\');
    if (slash == std::string::npos)
        return 2;
    folder.resize(slash);
    SetEnvironmentVariableA("COMSPEC", interpreter);
    PROCESS_INFORMATION process = {};
    double begin = Now();
    if (!Start("\"" + std::string(program) + "\"", folder.c_str(), &process)) {
        fprintf(stderr, "bench_driver: cannot start %s (%lu)\n", program, GetLastError());
        return 1;
    }
    BoxSearch search = {process.dwProcessId, nullptr};
    double shown = 0;
    while (!search.Found) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 || Now() - begin > 60000) {
            fprintf(stderr, "bench_driver: no confirmation from %s\n", program);
            Finish(process, 0);
            return 1;
        }
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        shown = Now();
        if (!search.Found)
            Sleep(1);
    }
    double yes = Now();
    PostMessageA(search.Found, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(search.Found, IDYES)));
    DWORD code = Finish(process, 600000);
    double end = Now();
    printf("box %.1f\n", shown - begin);
    printf("removal %.1f\n", end - yes);
    printf("whole %.1f\n", (end - begin) - (yes - shown));
    printf("exit %lu\n", code);
    return 0;
}

} // namespace

// Wine starts its desktop process for the first window of a session and
// ends it with the session's last program. The uninstaller's confirmation
// needs it, the other programs do not; the driver holds a window of its own
// for as long as it runs, so that every program it times meets the same
// running desktop and none pays for starting it.
struct DesktopHold {
    HWND Window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ~DesktopHold() {
        if (Window)
            DestroyWindow(Window);
    }
};

int main(int argc, char** argv) {
    DesktopHold desktop;
    if (argc >= 5 && strcmp(argv[1], "time") == 0) {
        std::string command;
        for (int i = 4; i < argc; i++) {
            if (i > 4)
                command += ' ';
            bool quote = strchr(argv[i], ' ') != nullptr;
            command += quote ? "\"" + std::string(argv[i]) + "\"" : std::string(argv[i]);
        }
        return TimeCommand(std::max(1, atoi(argv[2])), argv[3], command);
    }
    if (argc == 4 && strcmp(argv[1], "uninstall") == 0)
        return TimeUninstall(argv[2], argv[3]);
    fprintf(stderr, "usage: bench_driver time <runs> <directory> <command...>\n"
                    "       bench_driver uninstall <program> <interpreter>\n");
    return 2;
}
