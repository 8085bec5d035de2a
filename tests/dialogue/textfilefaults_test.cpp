// Saving and reading through system calls that fail, write short, stop the program or see the
// file change, at every point where one is made.
#include "dialogue/textfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// What the fake calls do. Calls are counted from 1 across the table, reads apart as well.
struct TInjection {
    int failAt = 0; // This call fails with error.
    int error = 0;
    std::size_t step = SIZE_MAX; // The most bytes one read or write moves; more are cut short.
    int killAfter = 0;           // The process is killed when this call returns.
    // Runs before read changeAt, returning an errno for that read to fail with, or 0.
    int (*change)(const std::string &path) = nullptr;
    int changeAt = 0;
    std::string path = {};
    int calls = 0;
    int reads = 0;
    int renamedAt = 0; // The call that put the new file in place.
};

TInjection injection;

// Counts a call; true when it is the one to fail, with errno set.
bool failsNow()
{
    if (++injection.calls != injection.failAt)
        return false;
    errno = injection.error;
    return true;
}

// Passes a call's result on, killing the process first when that call was killAfter.
template <typename TResult>
TResult returned(TResult result)
{
    if (injection.calls == injection.killAfter)
        ::kill(::getpid(), SIGKILL);
    return result;
}

TFileCalls fakeCalls()
{
    TFileCalls calls = SystemFileCalls();
    calls.open = [](const char *path, int flags, mode_t mode) {
        return failsNow() ? -1 : returned(SystemFileCalls().open(path, flags, mode));
    };
    calls.read = [](int descriptor, void *buffer, std::size_t count) -> ssize_t {
        if (++injection.reads == injection.changeAt)
            if (const int error = injection.change(injection.path); error != 0) {
                errno = error;
                return -1;
            }
        if (failsNow())
            return -1;
        return returned(
            SystemFileCalls().read(descriptor, buffer, std::min(count, injection.step)));
    };
    calls.write = [](int descriptor, const void *buffer, std::size_t count) -> ssize_t {
        if (failsNow())
            return -1;
        return returned(
            SystemFileCalls().write(descriptor, buffer, std::min(count, injection.step)));
    };
    calls.fstat = [](int descriptor, struct stat *status) {
        return failsNow() ? -1 : returned(SystemFileCalls().fstat(descriptor, status));
    };
    calls.fchmod = [](int descriptor, mode_t mode) {
        return failsNow() ? -1 : returned(SystemFileCalls().fchmod(descriptor, mode));
    };
    calls.fsync = [](int descriptor) {
        return failsNow() ? -1 : returned(SystemFileCalls().fsync(descriptor));
    };
    calls.close = [](int descriptor) {
        // A failed close has closed the descriptor all the same.
        const int closed = SystemFileCalls().close(descriptor);
        return failsNow() ? -1 : returned(closed);
    };
    calls.rename = [](const char *from, const char *to) {
        if (failsNow())
            return -1;
        const int renamed = SystemFileCalls().rename(from, to);
        if (renamed == 0)
            injection.renamedAt = injection.calls;
        return returned(renamed);
    };
    calls.unlink = [](const char *path) {
        return failsNow() ? -1 : returned(SystemFileCalls().unlink(path));
    };
    return calls;
}

// The fake calls while it lives, doing what setUp says.
class TInjected {
public:
    explicit TInjected(TInjection setUp)
    {
        injection = std::move(setUp);
        FileCalls() = fakeCalls();
    }
    TInjected(const TInjected &) = delete;
    TInjected &operator=(const TInjected &) = delete;
    ~TInjected() { FileCalls() = SystemFileCalls(); }
};

class TFolder {
public:
    TFolder()
        : m_path(fs::temp_directory_path()
                 / ("korvane-faults-"
                    + std::string(testing::UnitTest::GetInstance()->current_test_info()->name())
                    + "-" + std::to_string(::getpid())))
    {
        fs::remove_all(m_path);
        fs::create_directories(m_path);
    }
    TFolder(const TFolder &) = delete;
    TFolder &operator=(const TFolder &) = delete;
    ~TFolder() { fs::remove_all(m_path); }

    std::string file(const char *name) const { return (m_path / name).string(); }
    std::size_t count() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_path), {}));
    }

private:
    fs::path m_path;
};

std::string contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

const std::string OldBytes = "STATEMENT MOVE: \r\n    old\r\n        TYPE: Issue\r\n";
const std::string NewBytes = OldBytes + "STATEMENT MOVE: \r\n    new, and longer\r\n"
                                        "        TYPE: Assumption\r\n";

} // namespace

TEST(TextFileFaultsTest, ASaveWhoseCallFailsAnywhereLeavesTheOldFileAndSaysSo)
{
    TFolder folder;
    const std::string path = folder.file("line.btg");
    int points = 0;
    // Whole writes, then writes of 7 bytes at most, so that every write is a short one.
    for (const std::size_t step : {SIZE_MAX, std::size_t{7}}) {
        for (const int error : {ENOSPC, EIO}) {
            for (int failAt = 1;; ++failAt) {
                SCOPED_TRACE("step " + std::to_string(step) + ", errno " + std::to_string(error)
                             + ", call " + std::to_string(failAt));
                put(path, OldBytes);
                bool threw = false;
                TInjection seen;
                {
                    const TInjected injected({.failAt = failAt, .error = error, .step = step});
                    try {
                        WriteFileAtomically(path, NewBytes);
                    } catch (const TFileError &) {
                        threw = true;
                    }
                    seen = injection;
                }
                if (seen.calls < failAt) { // Every call has been failed once.
                    EXPECT_FALSE(threw);
                    EXPECT_EQ(contents(path), NewBytes);
                    break;
                }
                ++points;
                const bool renamed = seen.renamedAt != 0;
                EXPECT_EQ(contents(path), renamed ? NewBytes : OldBytes);
                if (renamed) {
                    EXPECT_GT(failAt, seen.renamedAt) << "a failure before the rename was ignored";
                } else {
                    EXPECT_TRUE(threw);
                    EXPECT_EQ(folder.count(), 1u) << "a temporary was left behind";
                }
            }
        }
    }
    RecordProperty("points", points);
}

TEST(TextFileFaultsTest, ASaveKilledAfterAnyCallLeavesTheOldFileOrTheNewOneWhole)
{
    TFolder folder;
    const std::string path = folder.file("line.btg");
    int points = 0;
    for (int killAfter = 1;; ++killAfter) {
        SCOPED_TRACE("killed after call " + std::to_string(killAfter));
        put(path, OldBytes);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const TInjected injected({.step = 7, .killAfter = killAfter});
            try {
                WriteFileAtomically(path, NewBytes);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::string now = contents(path);
        if (WIFEXITED(status)) { // The save ended before this call.
            EXPECT_EQ(WEXITSTATUS(status), 0);
            EXPECT_EQ(now, NewBytes);
            break;
        }
        ++points;
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_TRUE(now == OldBytes || now == NewBytes) << now;
        for (const auto &entry : fs::directory_iterator(fs::path(path).parent_path()))
            if (entry.path() != path)
                fs::remove(entry.path()); // The killed save's temporary.
    }
    RecordProperty("points", points);
}

TEST(TextFileFaultsTest, AFileChangedWhileItIsReadIsReadWholeOrRefused)
{
    const struct {
        const char *name;
        int (*change)(const std::string &path);
        int error; // 0: the old bytes are read whole.
    } cases[] = {
        {"removed", [](const std::string &path) { return fs::remove(path), 0; }, 0},
        {"replaced by a rename",
         [](const std::string &path) {
             put(path + ".new", NewBytes);
             fs::rename(path + ".new", path);
             return 0;
         },
         0},
        {"shrunk", [](const std::string &path) { return fs::resize_file(path, 5), 0; }, EAGAIN},
        {"grown",
         [](const std::string &path) {
             std::ofstream(path, std::ios::binary | std::ios::app) << "more";
             return 0;
         },
         EAGAIN},
        {"rewritten in place, the same size",
         [](const std::string &path) {
             std::fstream(path, std::ios::binary | std::ios::in | std::ios::out) << "X";
             return 0;
         },
         EAGAIN},
        {"unreadable from then on (a lost network file)", [](const std::string &) { return EIO; },
         EIO},
    };
    TFolder folder;
    const std::string path = folder.file("line.loa");
    int points = 0;
    for (const auto &each : cases) {
        for (int changeAt = 1;; ++changeAt) {
            SCOPED_TRACE(std::string(each.name) + " before read " + std::to_string(changeAt));
            put(path, OldBytes);
            // An hour old, so that a change within the same clock tick still shows in its time.
            fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1));
            std::string bytes = "stale";
            int error = 0;
            bool read = false;
            int reads = 0;
            {
                // Reads of 16 bytes at most, so that the change can come between any two.
                const TInjected injected(
                    {.step = 16, .change = each.change, .changeAt = changeAt, .path = path});
                read = ReadFileBytes(path, bytes, &error);
                reads = injection.reads;
            }
            if (reads < changeAt)
                break;
            ++points;
            EXPECT_EQ(read, each.error == 0);
            EXPECT_EQ(error, each.error);
            EXPECT_EQ(bytes, each.error == 0 ? OldBytes : "");
        }
    }
    RecordProperty("points", points);
}

TEST(TextFileFaultsTest, OnlyAPlainFileIsTakenAndNothingWaitsForAWriter)
{
    TFolder folder;
    const std::string pipe = folder.file("pipe.loa");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string locked = folder.file("locked.loa");
    put(locked, OldBytes);
    fs::permissions(locked, fs::perms::none);
    const struct {
        const char *name;
        std::string path;
        int error;
    } cases[] = {
        {"pipe", pipe, EINVAL},
        {"device", "/dev/zero", EINVAL},
        {"folder", folder.file(""), EISDIR},
        {"no read permission", locked, EACCES},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        if (each.error == EACCES && ::geteuid() == 0)
            continue; // root may read any file
        std::string bytes = "stale";
        int error = 0;
        EXPECT_FALSE(ReadFileBytes(each.path, bytes, &error, SIZE_MAX, TFileKinds::PlainOnly));
        EXPECT_EQ(error, each.error);
        EXPECT_EQ(bytes, "");
    }
    // Saving puts no file in a pipe's place.
    EXPECT_THROW(WriteFileAtomically(pipe, NewBytes), TFileError);
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(folder.count(), 2u);
}
