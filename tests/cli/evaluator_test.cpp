#include "cli/evaluator.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

struct TRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the evaluator with text on its standard input.
TRun run(std::vector<std::string> arguments, const std::string &input = {})
{
    std::FILE *in = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    std::ostringstream out;
    std::ostringstream err;
    TRun result;
    result.status = RunEvaluator(arguments, in, out, err);
    std::fclose(in);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::string example(const std::string &name) { return KORVANE_EXAMPLES_DIR "/" + name; }

// Counts what it is given and keeps none of it, for reports too big to hold twice.
class TCountingBuffer : public std::streambuf {
public:
    std::size_t count = 0;

protected:
    int_type overflow(int_type c) override
    {
        ++count;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char *, std::streamsize n) override
    {
        count += static_cast<std::size_t>(n);
        return n;
    }
};

std::string statementMove(const std::string &text, const std::string &type)
{
    return "STATEMENT MOVE: \r\n    " + text + "\r\n        TYPE: " + type + "\r\n";
}

} // namespace

TEST(EvaluatorTest, WorkedExampleAsJson)
{
    const TRun result = run({"--json", example("worked-example.txt")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    const std::string warrant = "IF (e), THEN THE RULE THAT, IF (r), THEN (c), IS BLOCKED";
    EXPECT_EQ(result.out,
              "{\n"
              "  \"moves\": 3,\n"
              "  \"messages\": [],\n"
              "  \"statements\": [\n"
              "    {\"id\": \"1\", \"text\": \"c\", \"type\": \"Issue\", \"status\": \"Justified\"},\n"
              "    {\"id\": \"2\", \"text\": \"r\", \"type\": \"Assumption\", \"status\": \"Justified\"},\n"
              "    {\"id\": \"3\", \"text\": \"e\", \"type\": \"Assumption\", \"status\": \"Justified\"},\n"
              "    {\"id\": \"4\", \"text\": \"" + warrant + "\", \"type\": \"Issue\", \"status\": \"Undecided\"}\n"
              "  ],\n"
              "  \"reasons\": [\n"
              "    {\"reason\": \"r\", \"conclusion\": \"c\", \"exceptions\": [{\"text\": \"e\", \"type\": \"Assumption\"}]}\n"
              "  ],\n"
              "  \"arguments\": [\n"
              "    {\"conclusion\": \"c\", \"type\": \"Issue\", \"defeat\": \"Undefeated\", \"status\": \"Justified\", \"initial\": ["
              "{\"conclusion\": \"r\", \"type\": \"Assumption\", \"defeat\": \"Undefeated\", \"status\": \"Justified\", \"initial\": []}]},\n"
              "    {\"conclusion\": \"e\", \"type\": \"Assumption\", \"defeat\": \"Undefeated\", \"status\": \"Justified\", \"initial\": []},\n"
              "    {\"conclusion\": \"" + warrant + "\", \"type\": \"Issue\", \"defeat\": \"Undecided\", \"status\": \"Undecided\", \"initial\": []}\n"
              "  ],\n"
              "  \"memo\": [\n"
              "    \"REASON/CONCLUSION MOVE: \",\n    \"    r\",\n    \"        TYPE: Assumption\",\n"
              "    \"    THEREFORE \",\n    \"    c\",\n    \"        TYPE: Issue\",\n"
              "    \"EXCEPTION MOVE: \",\n    \"    r\",\n    \"        TYPE: Assumption\",\n"
              "    \"    THEREFORE \",\n    \"    c\",\n    \"        TYPE: Issue\",\n"
              "    \"    HOWEVER \",\n    \"    e\",\n    \"        TYPE: Assumption\",\n"
              "    \"STATEMENT MOVE: \",\n    \"    " + warrant + "\",\n    \"        TYPE: Issue\"\n"
              "  ]\n"
              "}\n");
}

TEST(EvaluatorTest, ReportsEveryMessageAndItsAnswer)
{
    const std::string warning = "{\"move\": 3, \"kind\": \"warning\", \"text\": \"\\r\\nThe statement "
                                "'the road is wet' already exists. \\r\\nIt cannot be added again. \", "
                                "\"answer\": \"ok\"}";
    const std::string confirm = "{\"move\": 4, \"kind\": \"confirm\", \"text\": \"\\r\\nThe statement "
                                "'it has rained' already exists. \\r\\nIts type was different and "
                                "will be overruled. \\r\\nDo you really want to add it again? \", "
                                "\"answer\": \"";
    const struct {
        const char *name;
        std::vector<std::string> options;
        std::string moves;
        std::string answer;
        std::string rained;
    } cases[] = {
        {"yes", {"--json"}, "3", "yes", "Assumption\", \"status\": \"Justified"},
        {"no", {"--decline", "--json"}, "2", "no", "Issue\", \"status\": \"Unjustified"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        std::vector<std::string> arguments = each.options;
        arguments.push_back(example("wet-road.txt"));
        const TRun result = run(arguments);
        ASSERT_EQ(result.status, 0);
        EXPECT_NE(result.out.find("\"moves\": " + each.moves + ",\n"), std::string::npos);
        EXPECT_NE(result.out.find("  \"messages\": [\n    " + warning + ",\n    " + confirm
                                  + each.answer + "\"}\n  ],\n"),
                  std::string::npos)
            << result.out;
        EXPECT_NE(result.out.find("\"text\": \"it has rained\", \"type\": \"" + each.rained),
                  std::string::npos)
            << result.out;
    }
}

TEST(EvaluatorTest, ReplaysTheExamplesVariants)
{
    const struct {
        const char *file;
        std::vector<std::string> statements;
    } cases[] = {
        {"exception-as-issue.txt",
         {"\"text\": \"c\", \"type\": \"Issue\", \"status\": \"Justified\"",
          "\"text\": \"e\", \"type\": \"Issue\", \"status\": \"Undecided\""}},
        {"step-warrant-as-issue.txt",
         {"\"text\": \"c\", \"type\": \"Issue\", \"status\": \"Undecided\"",
          "\"text\": \"AS A RULE, IF (r), THEN (c)\", \"type\": \"Issue\", \"status\": \"Undecided\""}},
        {"step-warrant-as-assumption.txt",
         {"\"text\": \"c\", \"type\": \"Issue\", \"status\": \"Justified\""}},
        // Each step lists the other's conclusion as an exception: a cycle in the computation.
        // c1 is computed first; while it is in progress it cannot attack c2, so c2 stands and
        // defeats c1.
        {"mutual-exceptions.txt",
         {"\"text\": \"c1\", \"type\": \"Issue\", \"status\": \"Unjustified\"",
          "\"text\": \"c2\", \"type\": \"Issue\", \"status\": \"Justified\""}},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.file);
        const TRun result = run({"--json", example(each.file)});
        ASSERT_EQ(result.status, 0) << result.err;
        for (const std::string &statement : each.statements)
            EXPECT_NE(result.out.find(statement), std::string::npos) << statement << "\n" << result.out;
    }
}

TEST(EvaluatorTest, EscapesControlBytesInJson)
{
    const std::string text = std::string("a\0\x01\x1f\"\\\t\x7f\xc3\xa9", 10);
    const TRun result = run({"--json", "-"}, statementMove(text, "Issue"));
    ASSERT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("\"text\": \"a\\u0000\\u0001\\u001f\\\"\\\\\\t\\u007f\xc3\xa9\""),
              std::string::npos)
        << result.out;
    // Not UTF-8, so read as Windows-1252 and printed as UTF-8.
    const TRun latin = run({"--json", "-"}, statementMove("caf\xe9", "Assumption"));
    EXPECT_NE(latin.out.find("\"caf\xc3\xa9\""), std::string::npos) << latin.out;
}

TEST(EvaluatorTest, EscapesC1ControlsForATerminalOnly)
{
    // 0x9D is undefined in Windows-1252 and becomes U+009D, which a terminal takes as a command.
    const std::string move = statementMove("caf\xe9\x9d", "Issue");
    const std::string input = move + move;
    const TRun report = run({"-"}, input);
    EXPECT_NE(report.out.find("1  \"caf\xc3\xa9\\u009d\"  (Issue"), std::string::npos) << report.out;
    EXPECT_NE(report.out.find("    | The statement 'caf\xc3\xa9\\u009d' already exists. \n"),
              std::string::npos)
        << report.out;
    EXPECT_EQ(report.out.find("\xc2\x9d"), std::string::npos);
    const TRun json = run({"--json", "-"}, input);
    EXPECT_NE(json.out.find("\"text\": \"caf\xc3\xa9\xc2\x9d\""), std::string::npos) << json.out;
}

TEST(EvaluatorTest, ReportForAPerson)
{
    const TRun result = run({example("wet-road.txt")});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "3 of 4 moves recorded\n"
              "\n"
              "Messages:\n"
              "  move 3, warning, acknowledged\n"
              "    | \n"
              "    | The statement 'the road is wet' already exists. \n"
              "    | It cannot be added again. \n"
              "  move 4, confirmation, answered Yes\n"
              "    | \n"
              "    | The statement 'it has rained' already exists. \n"
              "    | Its type was different and will be overruled. \n"
              "    | Do you really want to add it again? \n"
              "\n"
              "Statements:\n"
              "  [+] 1  \"it has rained\"  (Assumption, Justified)\n"
              "  [+] 2  \"the road is wet\"  (Assumption, Justified)\n"
              "  [+] 3  \"the street cleaners came by\"  (Assumption, Justified)\n"
              "\n"
              "Reasons:\n"
              "  \"the road is wet\"  THEREFORE  \"it has rained\"\n"
              "      HOWEVER  \"the street cleaners came by\"  (Assumption)\n"
              "\n"
              "Arguments:\n"
              "  [+] \"it has rained\"  (Assumption, Undefeated)\n"
              "      [+] \"the road is wet\"  (Assumption, Undefeated)\n"
              "  [+] \"the street cleaners came by\"  (Assumption, Undefeated)\n"
              "\n"
              "[+] justified, [-] unjustified, [?] undecided\n");
}

TEST(EvaluatorTest, RefusesBadArgumentsAndUnreadableFiles)
{
    const std::string usage = "usage: korvane-eval [--json] [--decline] FILE\n";
    const struct {
        const char *name;
        std::vector<std::string> arguments;
        std::string err;
    } cases[] = {
        {"no file", {"--json"}, "korvane-eval: no FILE; " + usage},
        {"two files", {"a", "b"}, "korvane-eval: more than one FILE; " + usage},
        {"unknown option", {"--jsn", "a"}, "korvane-eval: unknown option '--jsn'; " + usage},
        {"missing file", {"/nonexistent/x.loa"},
         "korvane-eval: cannot read /nonexistent/x.loa: No such file or directory\n"},
        {"directory", {"--", KORVANE_EXAMPLES_DIR},
         "korvane-eval: cannot read " KORVANE_EXAMPLES_DIR ": Is a directory\n"},
        {"malformed", {"--json", "-"}, "-:2: expected a sentence line (four blanks, then the "
                                       "sentence)\n"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        const TRun result = run(each.arguments, "STATEMENT MOVE: \r\nx\r\n");
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, each.err);
    }
}

TEST(EvaluatorTest, EndsOnHugeAndStrangeInput)
{
    const std::string big(50 * 1024 * 1024, 'x');
    const std::string onlyCrs(50 * 1024 * 1024, '\r');
    std::string binary(1024 * 1024, '\0');
    std::mt19937 random(7);
    for (char &each : binary)
        each = static_cast<char>(random());
    const struct {
        const char *name;
        std::string input;
        int status;
        std::string err;
    } cases[] = {
        {"a 50 MB line", big, 2, "-:1: expected a move heading (\"STATEMENT MOVE:\", "
                                 "\"REASON/CONCLUSION MOVE:\" or \"EXCEPTION MOVE:\")\n"},
        {"a 50 MB sentence", statementMove(big, "Issue"), 0, ""},
        {"only CRs", onlyCrs, 0, ""},
        {"binary", binary, 2, ""},
        {"UTF-16, little end first", std::string("\xFF\xFES\0T\0", 6), 2,
         "-:1: the file is UTF-16; save it as UTF-8\n"},
        {"UTF-16, big end first", std::string("\xFE\xFF\0S\0T", 6), 2,
         "-:1: the file is UTF-16; save it as UTF-8\n"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        std::FILE *in = std::tmpfile();
        std::fwrite(each.input.data(), 1, each.input.size(), in);
        std::rewind(in);
        TCountingBuffer counter;
        std::ostream out(&counter);
        std::ostringstream err;
        EXPECT_EQ(RunEvaluator({"--json", "-"}, in, out, err), each.status);
        std::fclose(in);
        if (each.status == 0) {
            EXPECT_GT(counter.count, 0u);
            EXPECT_EQ(err.str(), "");
        } else {
            EXPECT_EQ(counter.count, 0u);
            const std::string line = err.str();
            EXPECT_EQ(line.find('\n'), line.size() - 1) << "one line";
            EXPECT_TRUE(line.starts_with("-:")) << line;
            if (!each.err.empty()) {
                EXPECT_EQ(line, each.err);
            }
        }
    }
}

TEST(EvaluatorTest, StopsWhereTheArgumentTreesOutgrowARun)
{
    // Steps between every two of seven statements: the trees hold every path through them,
    // billions of nodes within 42 moves. A long chain of steps stays well within reach.
    const auto step = [](const std::string &reason, const std::string &conclusion) {
        return "REASON/CONCLUSION MOVE: \n    " + reason + "\n        TYPE: Assumption\n"
               "    THEREFORE \n    " + conclusion + "\n        TYPE: Issue\n";
    };
    std::string complete;
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j)
            if (i != j)
                complete += step("s" + std::to_string(i), "s" + std::to_string(j));
    const TRun tooLarge = run({"--json", "-"}, complete);
    EXPECT_EQ(tooLarge.status, 2);
    EXPECT_EQ(tooLarge.out, "");
    EXPECT_TRUE(tooLarge.err.starts_with("-:")) << tooLarge.err;
    EXPECT_NE(tooLarge.err.find(": too large to evaluate: "), std::string::npos) << tooLarge.err;
    EXPECT_EQ(tooLarge.err.find('\n'), tooLarge.err.size() - 1);

    std::string chain;
    for (int i = 0; i < 150; ++i)
        chain += step("s" + std::to_string(i + 1), "s" + std::to_string(i));
    const TRun fits = run({"--json", "-"}, chain);
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_NE(fits.out.find("\"moves\": 150,"), std::string::npos);
}

TEST(EvaluatorTest, HelpGoesToStandardOutput)
{
    const TRun result = run({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with("usage: korvane-eval [--json] [--decline] FILE\n"));
    EXPECT_EQ(result.err, "");
}
