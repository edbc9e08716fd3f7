#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
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

// The lock lives only where no other user can take or plant it; when there
// is no such place, the failure is said in one line, not met in silence.
TEST(NamedMutexPlaceTest, TheLockIsMadeOnlyInADirectoryOfThisUsersAlone) {
    struct Case {
        const char* what;
        void (*prepare)(const std::string& runtime, const std::string& fallback);
        bool made;
        bool inRuntime;
    };
    const Case cases[] = {
        {"private runtime directory", [](const std::string&, const std::string&) {}, true, true},
        {"runtime directory writable by others",
         [](const std::string& runtime, const std::string&) { chmod(runtime.c_str(), 0777); }, true, false},
        {"runtime directory is a file",
         [](const std::string& runtime, const std::string&) {
             rmdir(runtime.c_str());
             WriteBytes(runtime, "");
         },
         true, false},
        {"lock planted as a link",
         [](const std::string& runtime, const std::string&) {
             symlink((runtime + "/elsewhere").c_str(), (runtime + "/LODESTAR.lock").c_str());
         },
         false, true},
        {"fallback planted as a link",
         [](const std::string& runtime, const std::string& fallback) {
             chmod(runtime.c_str(), 0777);
             mkdir((fallback + ".real").c_str(), 0700);
             symlink((fallback + ".real").c_str(), fallback.c_str());
         },
         false, false},
    };
    for (const Case& c : cases) {
        TempDirectory temporary;
        const std::string runtime = temporary.File("runtime");
        const std::string fallback = temporary.File("lodestar-" + std::to_string(geteuid()));
        mkdir(runtime.c_str(), 0700);
        c.prepare(runtime, fallback);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        setenv("TMPDIR", temporary.path().c_str(), 1);

        testing::internal::CaptureStderr();
        SetLastError(0);
        const HANDLE handle = CreateMutexA(nullptr, FALSE, "LODESTAR");
        const DWORD error = GetLastError();
        const std::string said = testing::internal::GetCapturedStderr();
        unsetenv("XDG_RUNTIME_DIR");
        unsetenv("TMPDIR");

        const std::string lock = (c.inRuntime ? runtime : fallback) + "/LODESTAR.lock";
        if (c.made) {
            EXPECT_NE(handle, nullptr) << c.what;
            EXPECT_EQ(said, "") << c.what;
            EXPECT_TRUE(std::filesystem::is_regular_file(lock)) << c.what;
            struct stat info {};
            EXPECT_EQ(stat(lock.substr(0, lock.rfind('/')).c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u) << c.what;
            CloseHandle(handle);
        } else {
            EXPECT_EQ(handle, nullptr) << c.what;
            EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED)) << c.what;
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << c.what << ": " << said;
            EXPECT_NE(said.find("single-instance lock"), std::string::npos) << c.what;
            EXPECT_FALSE(std::filesystem::exists(runtime + "/elsewhere")) << c.what;
        }
    }
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
