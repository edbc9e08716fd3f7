#include "desktop_fixture.h"

#include <unistd.h>

int LineRecorder::overflow(int c) {
    if (c == traits_type::eof()) return 0;
    if (c != '\n') {
        current_ += static_cast<char>(c);
        return c;
    }
    lines.push_back(current_);
    current_.clear();
    if (onLine) onLine(lines.back());
    return c;
}

INT_PTR CALLBACK TestDialog::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    auto* self = reinterpret_cast<TestDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    if (!self) return FALSE;
    self->received.push_back(MSG{nullptr, message, wParam, lParam, 0, {}});
    if (self->onMessage) self->onMessage(*self, message, wParam, lParam);
    switch (message) {
        case WM_INITDIALOG:
            self->hwnd = hwnd;
            return TRUE;
        case WM_WINDOWPOSCHANGING:
            if (self->stayHidden) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                self->ended = true;
                self->result = LOWORD(wParam);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

HWND TestDialog::Create() {
    return CreateDialogParamA(nullptr, MAKEINTRESOURCE(102), nullptr, Proc, reinterpret_cast<LPARAM>(this));
}

INT_PTR TestDialog::RunModal() {
    if (!hwnd) Create();
    while (!ended) {
        MSG msg;
        GetMessageA(&msg, nullptr, 0, 0);
        const bool swallowed = swallowReturnSpace && msg.message == WM_KEYDOWN &&
                               (msg.wParam == VK_RETURN || msg.wParam == VK_SPACE);
        if (!swallowed && !IsDialogMessageA(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return result;
}

std::vector<UINT> TestDialog::MessagesNamed(UINT message) const {
    std::vector<UINT> values;
    for (const MSG& msg : received)
        if (msg.message == message) values.push_back(static_cast<UINT>(msg.wParam));
    return values;
}

void DesktopTest::SetUp() {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    readEnd_ = fds[0];
    writeEnd_ = fds[1];
    desktop::ResetForTests();
    desktop::SetInputFd(readEnd_);
    desktop::SetEventOutput(&eventStream_);
    desktop::SetErrorOutput(&errorStream_);
}

void DesktopTest::TearDown() {
    desktop::ResetForTests();
    desktop::SetInputFd(-1);
    desktop::SetEventOutput(nullptr);
    desktop::SetErrorOutput(nullptr);
    EndInput();
    close(readEnd_);
}

void DesktopTest::Type(const std::string& text) {
    ASSERT_GE(writeEnd_, 0) << "input already ended";
    ASSERT_EQ(write(writeEnd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
}

void DesktopTest::EndInput() {
    if (writeEnd_ >= 0) close(writeEnd_);
    writeEnd_ = -1;
}

BOOL DesktopTest::PumpOne(MSG* out) {
    MSG msg;
    const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
    if (result > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (out) *out = msg;
    return result;
}
