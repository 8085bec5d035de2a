// The exchange formats: what other programs read from --format dot, aif and argdown, and what
// --from aif makes of the AIF again.

#include "tests/cli/evalinput.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
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

TEST(FormatsTest, BadArgdownNamesItsLine)
{
    const struct {
        const char *name;
        std::string input;
        std::string error; // The start of the one line on standard error.
    } cases[] = {
        {"title not closed", "[a]: x\n[b: y\n", "-:2: the title opened with [ "},
        {"relation alone", "\n  +> [a]\n", "-:2: the relation +> has no statement"},
        {"no conclusion", "<A>\n\n(1) a\n----\n\n", "-:4: the inference has no conclusion"},
        {"no inference", "(1) a\n(2) b\n", "-:1: the numbered statements have no inference"},
        {"premise after", "(1) a\n--\n(2) b\n(3) c\n", "-:4: premises after the last"},
        {"comment open", "a\n/* b\n\nc", "-:2: the comment opened here"},
        {"frontmatter open", "===\nx: 1\n", "-:1: the frontmatter opened here"},
        {"UTF-16", std::string("\xFF\xFE[\0a\0]\0", 8), "-:1: the file is UTF-16"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        const TEvalRun run = runEval({"--from", "argdown"}, each.input);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(each.error, 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
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
    EXPECT_EQ(run.err, "korvane-eval: warning: -: left out: 1 inference without a premise or a "
                       "conclusion (8); 1 PA node; 1 edge to a missing node (7); 1 edge of those "
                       "nodes; 1 locution\n");
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
        {"binary", std::string("{\xFF\0\x01", 4), "-:1: not JSON: "},
        {"UTF-16", std::string("\xFF\xFE{\0}\0", 6), "-:1: the file is UTF-16"},
        {"UTF-16 unmarked", std::string("{\0}\0", 4), "-:1: the file is UTF-16"},
        {"xAIF copies differ",
         "{\"AIF\": {\"nodes\": [{\"nodeID\": 1, \"type\": \"L\"},\n{\"nodeID\": 1, \"type\": \"YA\"}]}}",
         "-:2: node id \"1\" is used twice with different contents"},
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

// A small AIF graph: nodes as "id:type:text" (an RA's or a CA's text is its scheme), edges as
// "from>to", and more top-level members as JSON text.
std::string aifGraph(const std::vector<std::string> &nodes, const std::vector<std::string> &edges,
                     const std::string &more = {})
{
    TJson graph = {{"nodes", TJson::array()}, {"edges", TJson::array()}};
    for (const std::string &each : nodes) {
        const std::size_t first = each.find(':');
        const std::size_t second = each.find(':', first + 1);
        graph["nodes"].push_back({{"nodeID", each.substr(0, first)},
                                  {"type", each.substr(first + 1, second - first - 1)},
                                  {"text", each.substr(second + 1)}});
    }
    for (const std::string &each : edges) {
        const std::size_t arrow = each.find('>');
        graph["edges"].push_back({{"fromID", each.substr(0, arrow)},
                                  {"toID", each.substr(arrow + 1)}});
    }
    if (!more.empty())
        graph.update(TJson::parse(more));
    return graph.dump();
}

// The stage as "text=status" for each statement and "reason>conclusion!exception" for each step.
std::vector<std::string> stageOf(const std::string &json)
{
    const TJson parsed = TJson::parse(json);
    std::vector<std::string> stage;
    for (const TJson &each : parsed["statements"])
        stage.push_back(each["text"].get<std::string>() + '=' + each["status"].get<std::string>());
    for (const TJson &each : parsed["reasons"]) {
        std::string step = each["reason"].get<std::string>() + '>'
                           + each["conclusion"].get<std::string>();
        for (const TJson &exception : each["exceptions"])
            step += '!' + exception["text"].get<std::string>();
        stage.push_back(step);
    }
    return stage;
}

TEST(FormatsTest, AifFormsOfOtherProgramsMapAsTheGuideSays)
{
    const std::vector<std::string> support = {"1:I:a", "2:I:c", "3:RA:Default Inference"};
    const auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), support.begin(), support.end());
        return more;
    };
    const std::vector<std::string> step = {"1>3", "3>2"};
    const auto also = [&](std::vector<std::string> more) {
        more.insert(more.begin(), step.begin(), step.end());
        return more;
    };
    std::string edited = output({"--format", "aif"}, moveText(3));
    {
        TJson file = TJson::parse(edited);
        file["nodes"][0]["text"] = "edited elsewhere";
        edited = file.dump();
    }
    const struct {
        const char *name;
        std::string input;
        std::vector<std::string> stage; // Empty: not compared.
        std::string warning;            // A part of the warning; empty for none at all.
    } cases[] = {
        {"xAIF", R"({"AIF": )" + aifGraph(support, step) + R"(, "text": "<p>a</p>", "OVA": {"x": 1}})",
         {"a=Justified", "c=Justified", "a>c"}, R"(left out: 2 other objects ("OVA", "text"))"},
        {"repeated alike", aifGraph(with({"1:I:a"}), also({"1>3"})),
         {"a=Justified", "c=Justified", "a>c"}, "merged 2 repeated nodes or edges"},
        {"rebuttal of a conclusion", aifGraph(with({"4:I:e", "5:CA:Default Conflict"}), also({"4>5", "5>2"})),
         {"a=Justified", "c=Unjustified", "e=Justified", "a>c!e"}, ""},
        {"rebuttal of a premise", aifGraph(with({"4:I:e", "5:CA:Default Conflict"}), also({"4>5", "5>1"})),
         {"a=Justified", "c=Justified", "e=Undecided", "a>c"},
         R"(left out: 1 conflict on a premise ("a"))"},
        {"mutual conflicts",
         aifGraph(with({"4:I:b", "5:I:d", "6:RA:x", "7:CA:y", "8:CA:z"}),
                  also({"4>6", "6>5", "2>7", "7>5", "5>8", "8>2"})),
         {"a=Justified", "c=Unjustified", "b=Justified", "d=Justified", "a>c!d", "b>d!c"}, ""},
        {"backing", aifGraph(with({"4:I:b", "5:RA:Default Inference"}), also({"4>5", "5>3"})),
         {"a=Justified", "c=Justified", "b=Justified", "AS A RULE, IF (a), THEN (c)=Justified", "a>c",
          "b>AS A RULE, IF (a), THEN (c)"},
         ""},
        {"attack on a conflict",
         aifGraph(with({"4:I:e", "5:CA:p", "6:I:f", "7:CA:q"}), also({"4>5", "5>2", "6>7", "7>5"})),
         {}, "left out: 1 attack on a conflict (7)"},
        {"linked premises", aifGraph(with({"4:I:b"}), also({"4>3"})),
         {"a=Justified", "c=Justified", "b=Justified", "a>c", "b>c"},
         R"(1 linked inference split into one step per premise, so that each premise alone supports its conclusion ("c" from 2 premises))"},
        {"edited re-import", edited, {},
         "the graph changed since Korvane wrote it, so it is read as another program's graph"},
        {"L and YA nodes",
         aifGraph(with({"8:L:Bo: a", "9:YA:Asserting"}), also({"8>9", "9>1"}),
                  R"({"locutions": [{"nodeID": "8", "personID": "1"}]})"),
         {"a=Justified", "c=Justified", "a>c"},
         "left out: 1 L, 1 YA nodes; 2 edges of those nodes; 1 locution"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        const TEvalRun run = runEval({"--from", "aif", "--json"}, each.input);
        ASSERT_EQ(run.status, 0) << run.err;
        if (each.warning.empty())
            EXPECT_EQ(run.err, "");
        else
            EXPECT_NE(run.err.find(each.warning), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() == 0 ? std::string::npos : run.err.size() - 1);
        if (!each.stage.empty()) {
            std::vector<std::string> stage = stageOf(run.out);
            std::vector<std::string> expected = each.stage;
            std::sort(stage.begin(), stage.end());
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(stage, expected);
        }
        // Whatever was kept aside goes back out, and the export reads back as itself, silently.
        const TEvalRun exported = runEval({"--from", "aif", "--format", "aif"}, each.input);
        const TEvalRun again = runEval({"--from", "aif", "--format", "aif"}, exported.out);
        EXPECT_EQ(again.err, "");
        EXPECT_EQ(again.out, exported.out);
    }
    // The L and YA nodes, their edges and the locution are written back; schemes too.
    const TJson back =
        TJson::parse(runEval({"--from", "aif", "--format", "aif"}, cases[9].input).out);
    EXPECT_EQ(back["nodes"].size(), 5u);
    EXPECT_EQ(back["edges"].size(), 4u);
    EXPECT_EQ(back["locutions"], TJson::parse(R"([{"nodeID": "8", "personID": "1"}])"));
    const std::string schemes =
        output({"--from", "aif", "--format", "aif"}, aifGraph(with({"4:I:e", "5:CA:Ad Hominem"}), also({"4>5", "5>3"})));
    EXPECT_NE(schemes.find("\"Ad Hominem\""), std::string::npos);
}
