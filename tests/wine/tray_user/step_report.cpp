#include "step_report.h"

#include <cstdarg>

StepReport::StepReport(const std::string& path) : m_path(path) {
    if (!path.empty()) m_file = std::fopen(path.c_str(), "w");
}

StepReport::~StepReport() {
    if (m_file) std::fclose(m_file);
}

void StepReport::Line(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Write(stdout, "", format, args);
    va_end(args);
}

void StepReport::Error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    Write(stderr, "error: ", format, args);
    va_end(args);
}

void StepReport::Write(FILE* console, const char* prefix, const char* format, va_list args) {
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    std::fprintf(console, "tray_user: %s%s\n", prefix, text);
    std::fflush(console);
    // Flushed line by line, so a report cut short still shows how far it got.
    if (m_file) {
        std::fprintf(m_file, "%s%s\n", prefix, text);
        std::fflush(m_file);
    }
}
