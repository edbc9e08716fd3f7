// Runs a program as a child process with pipes on its standard input and
// output, for tests that drive the native programs as a user would.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
    // Starts `program` in `directory` with extra environment variables (an
    // empty value removes the variable), the arguments, and its standard
    // error in `errorFile` when one is named.
    ChildProcess(const std::string& program, const std::string& directory,
                 const std::map<std::string, std::string>& environment,
                 const std::vector<std::string>& arguments = {}, const std::string& errorFile = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void WriteLine(const std::string& line);
    void CloseInput();
    // Closes the pipe the child writes to, as a terminal that went away.
    void CloseOutput();
    void Signal(int signalNumber);

    // The next line of standard output, or nothing when none came in time
    // or the output ended.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Reads lines until one equals `expected`; the lines read before it are
    // appended to `skipped`.
    bool WaitForLine(const std::string& expected, std::chrono::milliseconds timeout = std::chrono::seconds(5),
                     std::vector<std::string>* skipped = nullptr);

    // What was read but is no whole line (after the output ended: its last,
    // unterminated line).
    std::string RemainingOutput();

    // The exit code, or nothing when the process did not end in time.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    void Kill();

private:
    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
    std::string m_buffer;
    bool m_outputEnded = false;
    std::optional<int> m_exitCode;
};

// What a program that ran to its end printed and returned.
struct ProgramRun {
    std::string output;
    std::string errors;
    int exitCode = -1;
};

// Runs `program` with the arguments and extra environment variables, its
// standard input empty; kills it when it has not ended within the timeout.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& environment = {},
                      std::chrono::milliseconds timeout = std::chrono::seconds(20));

// A fresh temporary directory, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);
