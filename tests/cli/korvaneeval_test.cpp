// The evaluator as a process: exit status and the two output streams seen apart.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct TRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string contents(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the evaluator with standard input read from the file inputPath, or holding input.
TRun run(const std::vector<std::string> &arguments, const std::string &input = {},
         const std::string &inputPath = {})
{
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() / ("korvane-eval-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory);
    const std::string in = inputPath.empty() ? (directory / "in").string() : inputPath;
    const std::string out = (directory / "out").string();
    const std::string err = (directory / "err").string();
    if (inputPath.empty())
        std::ofstream(in, std::ios::binary) << input;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> words{KORVANE_EVAL_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    TRun result;
    pid_t child = 0;
    if (posix_spawn(&child, KORVANE_EVAL_PATH, &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = contents(out);
    result.err = contents(err);
    std::filesystem::remove_all(directory);
    return result;
}

} // namespace

TEST(KorvaneEvalTest, ReplaysEveryExample)
{
    for (const auto &entry : std::filesystem::directory_iterator(KORVANE_EXAMPLES_DIR)) {
        if (entry.path().extension() != ".txt")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        for (const bool json : {false, true}) {
            std::vector<std::string> arguments{entry.path().string()};
            if (json)
                arguments.insert(arguments.begin(), "--json");
            const TRun result = run(arguments);
            EXPECT_EQ(result.status, 0);
            EXPECT_EQ(result.err, "");
            EXPECT_EQ(result.out.starts_with("{\n"), json);
            EXPECT_TRUE(result.out.ends_with("\n"));
        }
    }
}

TEST(KorvaneEvalTest, ReadsStandardInput)
{
    const TRun result =
        run({"--json", "-"}, "STATEMENT MOVE: \n    a\n        TYPE: Issue\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("\"memo\": [\n    \"STATEMENT MOVE: \",\n    \"    a\",\n"),
              std::string::npos)
        << result.out;
}

TEST(KorvaneEvalTest, FailsWithOneLineAndNoOutput)
{
    const struct {
        const char *name;
        std::vector<std::string> arguments;
        std::string input;
        std::string err;
        std::string inputPath = {};
    } cases[] = {
        {"malformed input", {"-"}, "STATEMENT MOVE: \n    a\n", "-:3: expected a type line (eight "
         "blanks, then \"TYPE: Issue\" or \"TYPE: Assumption\"), found the end of the file\n"},
        {"missing file", {"--json", "missing.loa"}, "",
         "korvane-eval: cannot read missing.loa: No such file or directory\n"},
        {"bad option", {"-x"}, "", "korvane-eval: unknown option '-x'; usage: korvane-eval [--json] "
                                   "[--decline] FILE\n"},
        {"endless input", {"--json", "-"}, "", "korvane-eval: cannot read -: File too large (over "
                                               "128 MiB)\n", "/dev/zero"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        const TRun result = run(each.arguments, each.input, each.inputPath);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, each.err);
    }
}
