#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

// tray_user's report: standard output, and a copy in a file when asked for
// one (a program started inside a Wine desktop has its output lost).
class StepReport {
public:
    explicit StepReport(const std::string& path);
    ~StepReport();
    StepReport(const StepReport&) = delete;
    StepReport& operator=(const StepReport&) = delete;

    bool FileOpen() const { return m_file != nullptr || m_path.empty(); }
    void Line(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
    void Error(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));

private:
    void Write(FILE* console, const char* prefix, const char* format, va_list args);

    std::string m_path;
    FILE* m_file = nullptr;
};
