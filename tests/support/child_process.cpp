#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

ChildProcess::ChildProcess(const std::string& program, const std::string& directory,
                           const std::map<std::string, std::string>& environment,
                           const std::vector<std::string>& arguments, const std::string& errorFile) {
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    m_pid = fork();
    if (m_pid < 0) throw std::runtime_error("fork failed");
    if (m_pid == 0) {
        dup2(toChild[0], STDIN_FILENO);
        dup2(fromChild[1], STDOUT_FILENO);
        if (!errorFile.empty()) {
            const int errors = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            if (errors < 0 || dup2(errors, STDERR_FILENO) < 0) _exit(126);
        }
        if (chdir(directory.c_str()) != 0) _exit(126);
        for (const auto& [name, value] : environment) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    m_input = toChild[1];
    m_output = fromChild[0];
    signal(SIGPIPE, SIG_IGN);
}

ChildProcess::~ChildProcess() {
    Kill();
    if (m_input >= 0) close(m_input);
    if (m_output >= 0) close(m_output);
}

void ChildProcess::WriteLine(const std::string& line) {
    const std::string text = line + "\n";
    if (m_input >= 0 && write(m_input, text.data(), text.size()) < 0) {
        // The child has gone; the test sees that through its output.
    }
}

void ChildProcess::CloseInput() {
    if (m_input >= 0) close(m_input);
    m_input = -1;
}

void ChildProcess::CloseOutput() {
    if (m_output >= 0) close(m_output);
    m_output = -1;
    m_outputEnded = true;
}

void ChildProcess::Signal(int signalNumber) {
    if (m_pid > 0 && !m_exitCode) kill(m_pid, signalNumber);
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto newline = m_buffer.find('\n');
        if (newline != std::string::npos) {
            std::string line = m_buffer.substr(0, newline);
            m_buffer.erase(0, newline + 1);
            return line;
        }
        if (m_outputEnded) return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd fd{m_output, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
        char chunk[4096];
        const ssize_t got = read(m_output, chunk, sizeof chunk);
        if (got <= 0)
            m_outputEnded = true;
        else
            m_buffer.append(chunk, static_cast<size_t>(got));
    }
}

bool ChildProcess::WaitForLine(const std::string& expected, std::chrono::milliseconds timeout,
                               std::vector<std::string>* skipped) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        const auto line = ReadLine(left);
        if (!line) return false;
        if (*line == expected) return true;
        if (skipped) skipped->push_back(*line);
    }
}

std::string ChildProcess::RemainingOutput() { return std::exchange(m_buffer, {}); }

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (m_exitCode) return m_exitCode;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return m_exitCode;
        }
        usleep(10000);
    }
    return std::nullopt;
}

void ChildProcess::Kill() {
    if (m_pid <= 0 || m_exitCode) return;
    kill(m_pid, SIGKILL);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_exitCode = 128 + SIGKILL;
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& environment, std::chrono::milliseconds timeout) {
    TempDir dir;
    ProgramRun run;
    {
        ChildProcess child(program, dir.Path(), environment, arguments, dir.File("errors"));
        child.CloseInput();
        while (auto line = child.ReadLine(timeout)) run.output += *line + "\n";
        // A last line without its line feed is kept as it is.
        run.output += child.RemainingOutput();
        run.exitCode = child.WaitForExit(timeout).value_or(-1);
    }
    run.errors = ReadFile(dir.File("errors"));
    return run;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lodestar-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}
