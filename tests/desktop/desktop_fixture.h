// Drives the console desktop in-process: input lines go through a pipe,
// event and error lines are recorded, and a modal loop like the framework's
// runs test dialogs.
#pragma once

#include "desktop/desktop_console.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

// Records whole lines and lets a test react to each as it is written.
class LineRecorder : public std::streambuf {
public:
    std::vector<std::string> lines;
    std::function<void(const std::string&)> onLine;

protected:
    int overflow(int c) override;

private:
    std::string current_;
};

// A dialog that records what its procedure receives and ends on IDOK or
// IDCANCEL, as the framework's dialogs do.
struct TestDialog {
    HWND hwnd = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    bool stayHidden = false;       // clears SWP_SHOWWINDOW like the tray monitor
    bool swallowReturnSpace = false;  // its PreTranslate keeps Return and Space away
    std::vector<MSG> received;     // hwnd unused; message, wParam, lParam
    std::function<void(TestDialog&, UINT, WPARAM, LPARAM)> onMessage;

    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND Create();
    // The framework's modal loop; returns the result the dialog ended with.
    INT_PTR RunModal();
    std::vector<UINT> MessagesNamed(UINT message) const;  // wParams of that message
};

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void Type(const std::string& text);  // written to the input pipe
    void EndInput();
    // Waits for one message like GetMessageA and dispatches it.
    BOOL PumpOne(MSG* msg = nullptr);

    LineRecorder events;
    LineRecorder errors;

private:
    std::ostream eventStream_{&events};
    std::ostream errorStream_{&errors};
    int readEnd_ = -1;
    int writeEnd_ = -1;
};
