#include "tray_steps.h"

namespace {

// The tray entry's id and callback message, as the tray program registers
// them; the shell posts the mouse message in lParam.
constexpr UINT kTrayEntryId = 128;
constexpr UINT kTrayCallbackMessage = WM_APP + 0x69;
constexpr DWORD kPollMs = 50;

// The program whose window was last found; wait-gone waits for it even when
// its window has already gone.
struct FoundProgram {
    DWORD processId = 0;
    HANDLE process = nullptr;

    FoundProgram() = default;
    FoundProgram(const FoundProgram&) = delete;
    FoundProgram& operator=(const FoundProgram&) = delete;
    ~FoundProgram() { Forget(); }
    void Forget() {
        if (process) ::CloseHandle(process);
        process = nullptr;
        processId = 0;
    }
    void Remember(HWND window) {
        DWORD id = 0;
        ::GetWindowThreadProcessId(window, &id);
        if (id == processId && process) return;
        Forget();
        processId = id;
        process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id);
    }
};

// Waits for the window, then for its program to reach its message loop: the
// window exists before the program has finished setting it up.
HWND WaitForWindow(const TrayScript& script, FoundProgram& found, StepReport& report) {
    DWORD start = ::GetTickCount();
    HWND window = nullptr;
    while (!(window = ::FindWindowA(nullptr, script.caption.c_str()))) {
        if (::GetTickCount() - start >= script.timeoutMs) {
            report.Error("no window captioned \"%s\" within %lu ms", script.caption.c_str(),
                         static_cast<unsigned long>(script.timeoutMs));
            return nullptr;
        }
        ::Sleep(kPollMs);
    }
    found.Remember(window);
    if (found.process && ::WaitForInputIdle(found.process, script.timeoutMs) == WAIT_TIMEOUT) {
        report.Error("process %lu did not reach its message loop within %lu ms", found.processId,
                     static_cast<unsigned long>(script.timeoutMs));
        return nullptr;
    }
    return window;
}

bool Post(StepReport& report, HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* what) {
    if (::PostMessageA(window, message, wParam, lParam)) {
        report.Line("%s: posted 0x%04X (0x%llX, 0x%llX)", what, message, static_cast<unsigned long long>(wParam),
                    static_cast<unsigned long long>(lParam));
        return true;
    }
    report.Error("%s: PostMessage failed, error %lu", what, ::GetLastError());
    return false;
}

bool PressKey(StepReport& report, HWND window, UINT key, const char* name) {
    LPARAM scanCode = static_cast<LPARAM>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16;
    // Key-up carries the previous-state and transition bits.
    return Post(report, window, WM_KEYDOWN, key, scanCode | 1, name) &&
           Post(report, window, WM_KEYUP, key, scanCode | 1 | (LPARAM{3} << 30), name);
}

bool CheckHidden(StepReport& report, HWND window) {
    bool visible = ::IsWindowVisible(window) != FALSE;
    bool onTaskBar = (::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
    if (visible || onTaskBar) {
        report.Error("hidden: the window is%s visible and%s on the task bar", visible ? "" : " not",
                     onTaskBar ? "" : " not");
        return false;
    }
    report.Line("hidden: not visible, not on the task bar");
    return true;
}

bool WaitGone(const TrayScript& script, FoundProgram& found, StepReport& report) {
    if (!found.process) {
        HWND window = ::FindWindowA(nullptr, script.caption.c_str());
        if (!window) {
            report.Line("wait-gone: no window captioned \"%s\"", script.caption.c_str());
            return true;
        }
        found.Remember(window);
        if (!found.process) {
            report.Error("wait-gone: cannot open process %lu, error %lu", found.processId, ::GetLastError());
            return false;
        }
    }
    // The process, not just the window: the program still writes its
    // settings after its window has gone.
    if (::WaitForSingleObject(found.process, script.timeoutMs) != WAIT_OBJECT_0) {
        report.Error("wait-gone: process %lu still running after %lu ms", found.processId,
                     static_cast<unsigned long>(script.timeoutMs));
        return false;
    }
    report.Line("wait-gone: process %lu has ended", found.processId);
    found.Forget();
    return true;
}

// Starts the program in this desktop, as the user would a second time, and
// waits for it; one that outlives the timeout is ended.
bool RunProgram(const TrayScript& script, const std::string& path, StepReport& report) {
    std::string commandLine = "\"" + path + "\"";
    std::string desktop = script.desktop;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Into the same desktop: a new process otherwise starts in tray_user's.
    if (!desktop.empty()) startup.lpDesktop = desktop.data();
    PROCESS_INFORMATION process{};
    DWORD start = ::GetTickCount();
    if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        report.Error("run: cannot start %s, error %lu", path.c_str(), ::GetLastError());
        return false;
    }
    ::CloseHandle(process.hThread);
    DWORD waited = ::WaitForSingleObject(process.hProcess, script.timeoutMs);
    DWORD elapsed = ::GetTickCount() - start;
    bool ended = waited == WAIT_OBJECT_0;
    if (!ended) ::TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hProcess);
    if (!ended) {
        report.Error("run: %s still running after %lu ms; ended it", path.c_str(),
                     static_cast<unsigned long>(script.timeoutMs));
        return false;
    }
    report.Line("run: %s ended after %lu ms with exit code %lu", path.c_str(), static_cast<unsigned long>(elapsed),
                static_cast<unsigned long>(exitCode));
    return true;
}

bool RunStep(const TrayScript& script, const Step& step, FoundProgram& found, StepReport& report) {
    if (step.kind == StepKind::Sleep) {
        ::Sleep(step.value);
        report.Line("sleep: %u ms", step.value);
        return true;
    }
    if (step.kind == StepKind::WaitGone) return WaitGone(script, found, report);
    if (step.kind == StepKind::Run) return RunProgram(script, step.path, report);

    HWND window = WaitForWindow(script, found, report);
    if (!window) return false;
    switch (step.kind) {
    case StepKind::Find:
        report.Line("find: window %p of process %lu", static_cast<void*>(window), found.processId);
        return true;
    case StepKind::Post:
        return Post(report, window, kTrayCallbackMessage, kTrayEntryId, step.value, step.word.c_str());
    case StepKind::Command:
        return Post(report, window, WM_COMMAND, MAKEWPARAM(step.value, 0), 0, "command");
    case StepKind::Key:
        return PressKey(report, window, step.value, step.word.c_str());
    case StepKind::CheckHidden:
        return CheckHidden(report, window);
    default:
        return false;
    }
}

// Moves this thread into the named desktop, once it exists: windows are found
// only within the finder's own desktop.
bool JoinDesktop(const TrayScript& script, StepReport& report) {
    DWORD start = ::GetTickCount();
    HDESK desktop = nullptr;
    while (!(desktop = ::OpenDesktopA(script.desktop.c_str(), 0, FALSE, GENERIC_ALL))) {
        if (::GetTickCount() - start >= script.timeoutMs) {
            report.Error("no desktop \"%s\" within %lu ms", script.desktop.c_str(),
                         static_cast<unsigned long>(script.timeoutMs));
            return false;
        }
        ::Sleep(kPollMs);
    }
    if (!::SetThreadDesktop(desktop)) {
        report.Error("cannot join desktop \"%s\", error %lu", script.desktop.c_str(), ::GetLastError());
        return false;
    }
    return true;
}

}  // namespace

bool RunTrayScript(const TrayScript& script, StepReport& report) {
    if (!script.desktop.empty() && !JoinDesktop(script, report)) return false;
    FoundProgram found;
    for (const Step& step : script.steps) {
        if (!RunStep(script, step, found, report)) return false;
    }
    return true;
}
