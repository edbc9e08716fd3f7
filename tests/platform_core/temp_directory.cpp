#include "temp_directory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

TempDirectory::TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "platform_core.XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned long RunAsOrdinaryUser(const std::string& directory, const std::function<unsigned long()>& action) {
    constexpr uid_t kNobody = 65534;
    const bool root = geteuid() == 0;
    if (root) {
        std::error_code ignored;
        if (lchown(directory.c_str(), kNobody, kNobody) != 0) return ~0ul;
        for (const auto& entry : std::filesystem::directory_iterator(directory, ignored))
            if (lchown(entry.path().c_str(), kNobody, kNobody) != 0) return ~0ul;
    }
    int channel[2];
    if (pipe(channel) != 0) return ~0ul;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (root && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(1);
        const unsigned long result = action();
        _exit(write(channel[1], &result, sizeof result) == sizeof result ? 0 : 1);
    }
    close(channel[1]);
    unsigned long result = ~0ul;
    if (child < 0 || read(channel[0], &result, sizeof result) != sizeof result) result = ~0ul;
    close(channel[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return result;
}
