// A scratch directory for one test, removed with everything in it afterwards.
#pragma once

#include <functional>
#include <string>

class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

// Runs an action in a child process as an ordinary user, whose file
// permissions the system enforces (when this process is root, the child
// becomes nobody, and the directory and what is in it are handed to nobody
// first). Returns what the action returned.
unsigned long RunAsOrdinaryUser(const std::string& directory, const std::function<unsigned long()>& action);
