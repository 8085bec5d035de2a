// --explain only adds: without its why lines and keys, the report is the plain one.

#include "tests/cli/evalinput.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string withoutWhyLines(const std::string &report)
{
    std::string out;
    for (std::size_t start = 0; start < report.size();) {
        const std::size_t end = std::min(report.find('\n', start), report.size() - 1) + 1;
        const std::string_view line(report.data() + start, end - start);
        const std::size_t words = line.find_first_not_of(' ');
        if (words == std::string_view::npos || !line.substr(words).starts_with("why: "))
            out += line;
        start = end;
    }
    return out;
}

// Drops every ", "node": N" and ", "why": {...}"; its ids and numbers hold no brackets.
std::string withoutWhyKeys(std::string report, int &removed)
{
    const std::string_view number = ", \"node\": ";
    for (std::size_t at; (at = report.find(number)) != std::string::npos;)
        report.erase(at, report.find_first_not_of("0123456789", at + number.size()) - at);
    const std::string_view key = ", \"why\": {\"text\": \"";
    for (std::size_t at; (at = report.find(key)) != std::string::npos; ++removed) {
        std::size_t i = at + key.size();
        while (report[i] != '"')
            i += report[i] == '\\' ? 2 : 1;
        report.erase(at, report.find("]}", report.find("\"nodes\": [", i)) + 2 - at);
    }
    return report;
}

int occurrences(const std::string &text, std::string_view part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(ExplainTest, AddsOnlyTheReasons)
{
    for (unsigned seed = 1; seed <= 100; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        const std::string file = moveText(seed);
        const TEvalRun text = runEval({"--explain"}, file);
        const TEvalRun json = runEval({"--explain", "--json"}, file);
        ASSERT_EQ(text.status, 0) << text.err;
        EXPECT_EQ(withoutWhyLines(text.out), runEval({}, file).out);
        int removed = 0;
        EXPECT_EQ(withoutWhyKeys(json.out, removed), runEval({"--json"}, file).out);
        // A reason for every statement and every node: each has a status.
        EXPECT_EQ(removed, occurrences(json.out, "\"status\": "));
        // Each node a reason names is one the report numbers.
        const nlohmann::json report = nlohmann::json::parse(json.out);
        std::set<int> numbered;
        std::vector<int> named;
        std::vector<const nlohmann::json *> nodes;
        for (const nlohmann::json &root : report["arguments"])
            nodes.push_back(&root);
        for (const nlohmann::json &statement : report["statements"])
            for (const nlohmann::json &number : statement["why"]["nodes"])
                named.push_back(number.get<int>());
        while (!nodes.empty()) {
            const nlohmann::json &node = *nodes.back();
            nodes.pop_back();
            numbered.insert(node["node"].get<int>());
            for (const nlohmann::json &number : node["why"]["nodes"])
                named.push_back(number.get<int>());
            for (const nlohmann::json &initial : node["initial"])
                nodes.push_back(&initial);
        }
        for (const int number : named)
            EXPECT_TRUE(numbered.contains(number)) << number;
    }
}

} // namespace
