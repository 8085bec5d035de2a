// --changes: what each recorded move changed, checked against the stages before and after it.

#include "cli/evaluator.h"
#include "tests/cli/evalinput.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string run(const std::vector<std::string> &arguments, const std::string &input)
{
    const TEvalRun result = runEval(arguments, input);
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
}

std::size_t count(const std::string &text, const std::string &part)
{
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

TEST(ChangesTest, TheWorkedExampleMoveByMove)
{
    std::ifstream file(KORVANE_EXAMPLES_DIR "/worked-example.txt", std::ios::binary);
    const std::string moves{std::istreambuf_iterator<char>(file), {}};
    const std::string changes = run({"--changes"}, moves);
    for (const char *line : {
             "move 1 (line 1):\n",
             "  step added: \"r\" THEREFORE \"c\"\n",
             "  argument added: \"c\" <- \"r\" (Undefeated)\n",
             "  exception added: \"e\" against \"r\" THEREFORE \"c\" (Assumption)\n",
             "  statement status changed: \"c\": Justified -> Unjustified\n",
             "  argument status changed: \"c\": Defeated -> Undefeated\n",
         })
        EXPECT_NE(changes.find(line), std::string::npos) << line << "\nin\n" << changes;
}

// Each recorded move's additions, summed, are what the last stage holds; a line's moves are
// listed once each, in order.
TEST(ChangesTest, AdditionsAddUpToTheLastStage)
{
    for (unsigned seed = 1; seed <= 100; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const std::string moves = moveText(seed);
        const std::string changes = run({"--changes", "--json"}, moves);
        const std::string report = run({"--json"}, moves);
        EXPECT_EQ(count(changes, "\"change\": \"statement added\""), count(report, "\"id\":"));
        EXPECT_EQ(count(changes, "\"change\": \"step added\""), count(report, "\"reason\":"));
        const std::string text = run({"--changes"}, moves);
        EXPECT_EQ(count(text, "\nmove ") + (text.starts_with("move ") ? 1 : 0),
                  count(changes, "{\"move\": "));
    }
}

} // namespace
