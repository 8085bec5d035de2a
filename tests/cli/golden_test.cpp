// korvane-eval's reports without the newer options, byte for byte as they were before those
// options existed: the examples and a few hundred random lines, as text and as JSON.
// KORVANE_UPDATE_GOLDEN=1 writes the golden files from the running code instead.

#include "cli/evaluator.h"
#include "tests/cli/evalinput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr unsigned RandomLines = 200;

bool updating() { return std::getenv("KORVANE_UPDATE_GOLDEN") != nullptr; }

// What korvane-eval prints for the move text, and how it ends.
std::string report(const std::vector<std::string> &options, const std::string &moves)
{
    const TEvalRun run = runEval(options, moves);
    return run.out + run.err + "status " + std::to_string(run.status) + '\n';
}

std::string readFile(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Compares with the golden file, or writes it; on a difference names the first differing line.
void expectGolden(const std::string &name, const std::string &actual)
{
    const fs::path path = fs::path(KORVANE_CLI_GOLDEN_DIR) / name;
    if (updating()) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    const std::string expected = readFile(path);
    if (actual == expected)
        return;
    std::istringstream a(actual), e(expected);
    std::string lineA, lineE;
    for (int number = 1;; ++number) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreE = static_cast<bool>(std::getline(e, lineE));
        if (!moreA && !moreE)
            break;
        if (!moreA || !moreE || lineA != lineE) {
            ADD_FAILURE() << name << ":" << number << ": expected\n  " << (moreE ? lineE : "(end)")
                          << "\nbut korvane-eval printed\n  " << (moreA ? lineA : "(end)");
            return;
        }
    }
}

TEST(GoldenReportTest, ExamplesAsTextAndJson)
{
    for (const auto &entry : fs::directory_iterator(KORVANE_EXAMPLES_DIR)) {
        const std::string moves = readFile(entry.path());
        const std::string stem = entry.path().stem().string();
        SCOPED_TRACE(stem);
        expectGolden("examples/" + stem + ".txt", report({}, moves));
        expectGolden("examples/" + stem + ".json", report({"--json"}, moves));
    }
}

TEST(GoldenReportTest, RandomLinesAsTextJsonAndDeclined)
{
    std::string text, json, declined;
    for (unsigned seed = 1; seed <= RandomLines; ++seed) {
        const std::string moves = moveText(seed);
        const std::string heading = "=== seed " + std::to_string(seed) + '\n';
        text += heading + report({}, moves);
        json += heading + report({"--json"}, moves);
        declined += heading + report({"--json", "--decline"}, moves);
    }
    expectGolden("random.txt", text);
    expectGolden("random.json.txt", json);
    expectGolden("random-declined.json.txt", declined);
}

} // namespace
