#include <windows.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_directory.h"

namespace {

class NamedMutexTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1); }
    void TearDown() override { unsetenv("XDG_RUNTIME_DIR"); }

    // A process that creates the mutex, reports its last error and then
    // holds the handle until it is killed.
    class Holder {
    public:
        Holder() {
            int channel[2];
            if (pipe(channel) != 0) return;
            pid_ = fork();
            if (pid_ == 0) {
                close(channel[0]);
                const HANDLE handle = CreateMutexA(nullptr, FALSE, kName);
                const DWORD error = handle ? GetLastError() : 0xFFFFFFFFu;
                if (write(channel[1], &error, sizeof error) != sizeof error) _exit(1);
                for (;;) pause();
            }
            close(channel[1]);
            if (read(channel[0], &lastError_, sizeof lastError_) != sizeof lastError_) lastError_ = 0xDEADu;
            close(channel[0]);
        }
        ~Holder() { Kill(); }
        Holder(const Holder&) = delete;
        Holder& operator=(const Holder&) = delete;

        DWORD lastError() const { return lastError_; }
        void Kill() {
            if (pid_ <= 0) return;
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }

    private:
        pid_t pid_ = -1;
        DWORD lastError_ = 0xDEADu;
    };

    static constexpr const char* kName = "LODESTAR";
    TempDirectory runtime;
};

TEST_F(NamedMutexTest, SecondHandleSeesTheNameUntilTheLastHandleCloses) {
    SetLastError(1234);
    const HANDLE first = CreateMutexA(nullptr, FALSE, kName);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_TRUE(std::filesystem::exists(runtime.File("LODESTAR.lock")));

    const HANDLE second = CreateMutexA(nullptr, FALSE, kName);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    EXPECT_TRUE(CloseHandle(first));
    const HANDLE third = CreateMutexA(nullptr, FALSE, kName);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_TRUE(CloseHandle(third));

    const HANDLE fresh = CreateMutexA(nullptr, FALSE, kName);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_TRUE(CloseHandle(fresh));
    EXPECT_FALSE(CloseHandle(fresh));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(NamedMutexTest, NameIsSharedAcrossProcessesAndFreedWhenItsHolderIsKilled) {
    Holder holder;
    EXPECT_EQ(holder.lastError(), 0u);
    {
        Holder second;
        EXPECT_EQ(second.lastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    }
    const HANDLE mine = CreateMutexA(nullptr, FALSE, kName);
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(mine);

    holder.Kill();
    Holder after;
    EXPECT_EQ(after.lastError(), 0u);
}

TEST(ModuleFileTest, ReportsTheExecutableWithWindowsCutRules) {
    const std::string expected = std::filesystem::read_symlink("/proc/self/exe").string();
    char path[4096];
    ASSERT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), path, sizeof path), expected.size());
    EXPECT_EQ(path, expected);

    char small[6] = "xxxxx";
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, 5), 5u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(small), expected.substr(0, 4));
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, 0), 0u);
}

TEST(TickCountTest, SleepAdvancesTheTickCount) {
    const DWORD before = GetTickCount();
    Sleep(30);
    EXPECT_GE(GetTickCount() - before, 30u);
}

}  // namespace
