// The exchange formats: what other programs read from --format dot, aif and argdown, and what
// --from aif makes of the AIF again.

#include "tests/cli/evalinput.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {

using TJson = nlohmann::json;

// Text that Argdown and Graphviz give a meaning to, next to the examples and random lines.
const std::string Markup = "STATEMENT MOVE: \r\n"
                           "    [x]: <y> *z* _w_ #t @[a] {b: 1} // c /* d */ \\ \"q\" \xC3\xA9\r\n"
                           "        TYPE: Issue\r\n"
                           "STATEMENT MOVE: \r\n"
                           "    a/b http://x.org/a//b#c :+1: .y. e.g. 10:30 x//y /*z \\/ --\r\n"
                           "        TYPE: Assumption\r\n"
                           "EXCEPTION MOVE: \r\n"
                           "    +> r\r\n        TYPE: Assumption\r\n    THEREFORE \r\n"
                           "    (1) c\r\n        TYPE: Issue\r\n    HOWEVER \r\n"
                           "    ----\r\n        TYPE: Assumption\r\n";

// The examples, a line of markup and random lines: the inputs every format is checked on.
std::vector<std::pair<std::string, std::string>> inputs(unsigned randomLines)
{
    std::vector<std::pair<std::string, std::string>> all;
    for (const auto &entry : std::filesystem::directory_iterator(KORVANE_EXAMPLES_DIR)) {
        std::ifstream file(entry.path(), std::ios::binary);
        all.emplace_back(entry.path().filename().string(),
                         std::string(std::istreambuf_iterator<char>(file), {}));
    }
    all.emplace_back("markup", Markup);
    for (unsigned seed = 1; seed <= randomLines; ++seed)
        all.emplace_back("seed " + std::to_string(seed), moveText(seed));
    return all;
}

std::string output(const std::vector<std::string> &arguments, const std::string &input)
{
    const TEvalRun run = runEval(arguments, input);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return run.out;
}

TJson report(const std::string &json, bool withMessages)
{
    TJson parsed = TJson::parse(json);
    if (!withMessages) {
        parsed.erase("moves");
        parsed.erase("messages");
    }
    return parsed;
}

TEST(FormatsTest, AifReadBackGivesTheSameStage)
{
    for (const auto &[name, input] : inputs(300)) {
        SCOPED_TRACE(name);
        const std::string aif = output({"--format", "aif"}, input);
        const std::string recorded = output({"--format", "moves"}, input);
        // The AIF holds the recorded moves, so its report is theirs, messages and all; the
        // file's own report may have asked about moves that were not recorded.
        EXPECT_EQ(report(output({"--from", "aif", "--json"}, aif), true),
                  report(output({"--json"}, recorded), true));
        EXPECT_EQ(report(output({"--from", "aif", "--json"}, aif), false),
                  report(output({"--json"}, input), false));
        EXPECT_EQ(output({"--from", "aif", "--format", "moves"}, aif), recorded);
    }
}

TEST(FormatsTest, AifIsAWellFormedGraph)
{
    for (const auto &[name, input] : inputs(100)) {
        SCOPED_TRACE(name);
        const TJson aif = TJson::parse(output({"--format", "aif"}, input));
        const TJson stage = TJson::parse(output({"--json"}, input));
        std::map<std::string, std::string> types;
        for (const TJson &node : aif["nodes"])
            ASSERT_TRUE(types.emplace(node["nodeID"], node["type"]).second) << node;
        std::map<std::string, int> premises, conclusions;
        std::size_t attacks = 0;
        for (const TJson &edge : aif["edges"]) {
            ASSERT_TRUE(types.contains(edge["fromID"]) && types.contains(edge["toID"])) << edge;
            const std::string from = types[edge["fromID"]], to = types[edge["toID"]];
            if (to == "RA" && from == "I")
                ++premises[edge["toID"]];
            else if (from == "RA" && to == "I")
                ++conclusions[edge["fromID"]];
            else if (from == "CA" && to == "RA")
                ++attacks;
            else
                EXPECT_TRUE(from == "I" && to == "CA") << edge;
        }
        std::map<std::string, std::size_t> counts;
        for (const auto &[id, type] : types) {
            ++counts[type];
            if (type == "RA") {
                EXPECT_TRUE(premises[id] >= 1 && conclusions[id] == 1) << id;
            }
        }
        std::size_t exceptions = 0;
        for (const TJson &step : stage["reasons"])
            exceptions += step["exceptions"].size();
        EXPECT_EQ(counts["I"], stage["statements"].size());
        EXPECT_EQ(counts["RA"], stage["reasons"].size());
        EXPECT_EQ(counts["CA"], exceptions);
        EXPECT_EQ(attacks, exceptions);
    }
}

TEST(FormatsTest, GraphvizRendersDotWithoutAWord)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("korvane-dot-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const auto &[name, input] : inputs(50)) {
        SCOPED_TRACE(name);
        std::ofstream(folder / "stage.dot", std::ios::binary) << output({"--format", "dot"}, input);
        const std::string command = "dot -Tsvg '" + (folder / "stage.dot").string() + "' -o '"
                                    + (folder / "stage.svg").string() + "' 2> '"
                                    + (folder / "err").string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::ifstream err(folder / "err");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(err), {}), "");
    }
    std::filesystem::remove_all(folder);
}

// What a stage holds, without the moves that made it or the trees their history built. An
// exception comes back with its statement's type: Argdown gives a statement one set of tags, and
// the list's own type, which a later move may have overruled in the statement alone, is not
// written. Nor are the statuses of a line that overruled a type: the arguments built before keep
// the old type, so those statuses follow the order of the moves, which no map holds.
TJson stageOf(const std::string &json, bool withStatuses)
{
    TJson stage = report(json, false);
    stage.erase("memo");
    stage.erase("arguments");
    std::map<std::string, TJson> types;
    for (TJson &statement : stage["statements"]) {
        types[statement["text"]] = statement["type"];
        if (!withStatuses)
            statement.erase("status");
    }
    for (TJson &step : stage["reasons"])
        for (TJson &exception : step["exceptions"])
            exception["type"] = types[exception["text"]];
    return stage;
}

TEST(FormatsTest, ArgdownReadBackGivesTheSameStage)
{
    for (const auto &[name, input] : inputs(300)) {
        SCOPED_TRACE(name);
        const std::string argdown = output({"--format", "argdown"}, input);
        const std::string made = output({"--json"}, input);
        bool overruled = false;
        const TJson madeReport = TJson::parse(made);
        for (const TJson &message : madeReport["messages"])
            overruled = overruled || message["kind"] == "confirm";
        const TJson stage = stageOf(made, !overruled);
        EXPECT_EQ(stageOf(output({"--from", "argdown", "--json"}, argdown), !overruled), stage)
            << argdown;
        // Each step once, as its argument's one inference.
        std::size_t inferences = 0;
        for (std::size_t at = argdown.find("\n----\n"); at != std::string::npos;
             at = argdown.find("\n----\n", at + 1))
            ++inferences;
        EXPECT_EQ(inferences, stage["reasons"].size());
    }
}

// A graph from elsewhere, with every part Korvane cannot hold.
const std::string Foreign = R"({"nodes": [
  {"nodeID": 1, "text": "It rains", "type": "I"},
  {"nodeID": 2, "text": "The road is\nwet", "type": "I"},
  {"nodeID": 3, "text": "Default Inference", "type": "RA"},
  {"nodeID": 4, "text": "The road is covered", "type": "I"},
  {"nodeID": "5", "text": "Default Conflict", "type": "CA"},
  {"nodeID": 6, "text": "Default Preference", "type": "PA"},
  {"nodeID": 7, "text": "Default Conflict", "type": "CA"},
  {"nodeID": 8, "text": "Default Inference", "type": "RA"}],
 "edges": [
  {"edgeID": 1, "fromID": 1, "toID": 3}, {"edgeID": 2, "fromID": 3, "toID": 2},
  {"edgeID": 3, "fromID": 4, "toID": "5"}, {"edgeID": 4, "fromID": 5, "toID": 3},
  {"edgeID": 5, "fromID": 4, "toID": 7}, {"edgeID": 6, "fromID": 7, "toID": 2},
  {"edgeID": 7, "fromID": 1, "toID": 99}, {"edgeID": 8, "fromID": 6, "toID": 3}],
 "locutions": [{"nodeID": 1, "personID": 1}]}
)";

TEST(FormatsTest, AForeignGraphBecomesMovesInNodeOrderWithOneWarning)
{
    const TEvalRun run = runEval({"--from", "aif", "--format", "moves"}, Foreign);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "korvane-eval: warning: -: left out what Korvane cannot hold: node 6 (PA), "
                       "node 7 (CA attacking I-node 2), edge 7 (to a missing node), "
                       "locutions (1), node 8 (RA without a premise)\n");
    const auto sentence = [](const char *text, const char *type) {
        return std::string("    ") + text + "\r\n        TYPE: " + type + "\r\n";
    };
    const std::string rains = sentence("It rains", "Assumption");
    const std::string wet = sentence("The road is wet", "Issue");
    const std::string covered = sentence("The road is covered", "Assumption");
    EXPECT_EQ(run.out, "STATEMENT MOVE: \r\n" + rains + "STATEMENT MOVE: \r\n" + wet
                           + "STATEMENT MOVE: \r\n" + covered + "REASON/CONCLUSION MOVE: \r\n"
                           + rains + "    THEREFORE \r\n" + wet + "EXCEPTION MOVE: \r\n" + rains
                           + "    THEREFORE \r\n" + wet + "    HOWEVER \r\n" + covered);
}

TEST(FormatsTest, BadAifNamesItsLine)
{
    const struct {
        const char *name;
        std::string input;
        std::string error; // The start of the one line on standard error.
    } cases[] = {
        {"not JSON", "{\"nodes\": [\n  {\"nodeID\": 1,\n  \"type\" \"I\"}]}", "-:3: not JSON: "},
        {"cut short", "{\"nodes\": [\n", "-:2: not JSON: "},
        {"binary", std::string("{\0\xFF\x01", 4), "-:1: not JSON: "},
        {"no object", "\n[1, 2]", "-:2: expected a JSON object"},
        {"no nodes", "{\"edges\": []}", "-:1: expected \"nodes\""},
        {"wrong field", "{\"nodes\": [\n {\"nodeID\": 1, \"type\": 7}]}", "-:2: /nodes/0/type "},
        {"no id", "{\"nodes\": [{\"nodeID\": 1, \"type\": \"L\"},\n {\"nodeID\": true}]}",
         "-:2: expected \"nodeID\""},
        {"same id",
         "{\"nodes\": [{\"nodeID\": 1, \"type\": \"L\"},\n{\"nodeID\": \"1\", \"type\": \"L\"}]}",
         "-:2: node id \"1\" is used twice"},
        {"bad move",
         "{\"korvane\": {\"moves\": [\"STATEMENT MOVE: \",\n\"    a\",\n\"TYPE: Issue\"]}}",
         "-:3: in /korvane/moves: expected a type line"},
        {"moves not lines", "{\"korvane\": {\"moves\": [\n 1]}}", "-:2: each of /korvane/moves"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        const TEvalRun run = runEval({"--from", "aif"}, each.input);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(each.error, 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
    for (const std::vector<std::string> &arguments :
         {std::vector<std::string>{"--format", "svg"}, {"--from", "xml"}, {"--format"}}) {
        const TEvalRun run = runEval(arguments, Markup);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}

} // namespace
