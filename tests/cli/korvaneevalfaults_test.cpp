// korvane-eval as a process given what is not a readable file of moves, or too little memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct TRun {
    int status = -1; // The exit status, or 128 and the signal.
    std::string out;
    std::string err;
};

std::string contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs program on file, with the address space limited to limitKiB when it is not 0; pipeInput,
// when given, is written to the read end of a pipe that the program has as descriptor 3.
TRun run(const char *program, const std::string &file, rlim_t limitKiB = 0,
         const std::string *pipeInput = nullptr)
{
    const std::string id = std::to_string(::getpid());
    const fs::path out = fs::temp_directory_path() / ("korvane-eval-out-" + id);
    const fs::path err = fs::temp_directory_path() / ("korvane-eval-err-" + id);
    std::string path = file;
    std::vector<char *> argv{const_cast<char *>(program), path.data(), nullptr};
    int ends[2] = {-1, -1};
    if (pipeInput && ::pipe(ends) != 0)
        return {};

    TRun result;
    const pid_t child = ::fork();
    if (child == 0) {
        // Only calls that are safe between fork and exec.
        const int outFile = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFile = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int none = ::open("/dev/null", O_RDONLY);
        if (outFile < 0 || errFile < 0 || none < 0 || ::dup2(none, 0) < 0 || ::dup2(outFile, 1) < 0
            || ::dup2(errFile, 2) < 0)
            ::_exit(126);
        if (pipeInput && (::close(ends[1]) != 0 || ::dup2(ends[0], 3) < 0))
            ::_exit(126);
        const rlimit limit{limitKiB * 1024, limitKiB * 1024};
        if (limitKiB != 0 && ::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(126);
        ::execv(program, argv.data());
        ::_exit(127);
    }
    if (pipeInput) {
        ::close(ends[0]);
        std::string_view rest = *pipeInput;
        while (!rest.empty()) {
            const ssize_t written = ::write(ends[1], rest.data(), rest.size());
            if (written <= 0)
                break;
            rest.remove_prefix(static_cast<std::size_t>(written));
        }
        ::close(ends[1]);
    }
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child)
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = contents(out);
    result.err = contents(err);
    fs::remove(out);
    fs::remove(err);
    return result;
}

std::string statementMoves(std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += "STATEMENT MOVE: \r\n    s" + std::to_string(i) + "\r\n        TYPE: Issue\r\n";
    return text;
}

} // namespace

TEST(KorvaneEvalFaultsTest, ReadsAPipeItIsGivenAndRefusesWhatItCannotRead)
{
    const fs::path folder =
        fs::temp_directory_path() / ("korvane-eval-faults-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string locked = (folder / "locked.loa").string();
    std::ofstream(locked) << statementMoves(1);
    fs::permissions(locked, fs::perms::none);
    const std::string moves = statementMoves(2);

    const struct {
        const char *name;
        std::string file;
        int status;
        std::string err;
        const std::string *pipeInput = nullptr;
    } cases[] = {
        {"a pipe, as <(...) gives one", "/dev/fd/3", 0, "", &moves},
        {"a folder", folder.string(), 2,
         "korvane-eval: cannot read " + folder.string() + ": Is a directory\n"},
        {"an endless device", "/dev/zero", 2,
         "korvane-eval: cannot read /dev/zero: File too large (over 128 MiB)\n"},
        {"no read permission", locked, 2,
         "korvane-eval: cannot read " + locked + ": Permission denied\n"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        if (each.file == locked && ::geteuid() == 0)
            continue; // root may read any file
        const TRun result = run(KORVANE_EVAL_PATH, each.file, 0, each.pipeInput);
        EXPECT_EQ(result.status, each.status);
        EXPECT_EQ(result.err, each.err);
        EXPECT_EQ(result.out.starts_with("2 of 2 moves recorded\n"), each.status == 0);
    }
    fs::remove_all(folder);
}

// A release build: a sanitized one cannot run in so little address space.
TEST(KorvaneEvalFaultsTest, RunsOutOfMemoryWithOneLineAndStatus2)
{
    const fs::path file =
        fs::temp_directory_path() / ("korvane-eval-large-" + std::to_string(::getpid()) + ".loa");
    // Memory runs out while the moves are made, while they are read, or not at all; a line of
    // 110 MB is stored twice over as it is read and decoded.
    const struct {
        const char *name;
        std::string text;
    } cases[] = {
        {"200,000 statements", statementMoves(200'000)},
        {"400,000 statements", statementMoves(400'000)},
        {"800,000 statements", statementMoves(800'000)},
        {"one statement of 110 MB",
         "STATEMENT MOVE: \r\n    " + std::string(110'000'000, 's')
             + "\r\n        TYPE: Issue\r\n"},
    };
    bool ranOut = false;
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        std::ofstream(file, std::ios::binary) << each.text;
        const TRun result = run(KORVANE_RELEASE_EVAL_PATH, file.string(), 200'000);
        if (result.status == 0) {
            EXPECT_EQ(result.err, "");
            continue;
        }
        EXPECT_EQ(result.status, 2) << "not ended by a signal";
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_TRUE(result.err.ends_with('\n'));
        ranOut = ranOut || result.err == "korvane-eval: out of memory\n";
    }
    fs::remove(file);
    EXPECT_TRUE(ranOut) << "no file was large enough to test";
}
