#include "aifreader.h"

#include "textfile.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <iterator>
#include <map>
#include <optional>
#include <utility>

namespace {

using TJson = nlohmann::json;
using TPath = std::vector<std::string>; // Keys, and array indices in decimal.

// A part of the file that is not as an AIF file has it.
struct TShapeError {
    TPath path;
    std::string message;
};

// Walks the text for the parser and keeps how far it has read: the parser's events carry no
// positions, and this is how a second reading finds the line of a value.
class TCountingIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char *;
    using reference = const char &;

    TCountingIterator() = default;
    TCountingIterator(const char *at, const char **furthest)
        : m_at(at)
        , m_furthest(furthest)
    {
    }
    reference operator*() const { return *m_at; }
    TCountingIterator &operator++()
    {
        *m_furthest = ++m_at;
        return *this;
    }
    TCountingIterator operator++(int)
    {
        TCountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TCountingIterator &other) const { return m_at == other.m_at; }

private:
    const char *m_at = nullptr;
    const char **m_furthest = nullptr;
};

// Counts the lines of text up to an offset, at the breaks the move reader uses; offsets asked
// for in increasing order cost one pass in all.
class TLineCounter {
public:
    explicit TLineCounter(std::string_view text)
        : m_text(text)
    {
    }
    long long lineAt(std::size_t offset)
    {
        offset = std::min(offset, m_text.size());
        for (; m_counted < offset; ++m_counted) {
            const char each = m_text[m_counted];
            if (each == '\n'
                || (each == '\r'
                    && (m_counted + 1 == m_text.size() || m_text[m_counted + 1] != '\n')))
                ++m_line;
        }
        return m_line;
    }

private:
    std::string_view m_text;
    std::size_t m_counted = 0;
    long long m_line = 1;
};

// The lines of the value at a path, or of each of its elements, read as the parser goes.
class TPathLines : public nlohmann::json_sax<TJson> {
public:
    TPathLines(std::string_view text, const char *const *furthest, TPath target, bool elements)
        : m_counter(text)
        , m_begin(text.data())
        , m_furthest(furthest)
        , m_target(std::move(target))
        , m_elements(elements)
    {
    }

    bool null() override { return value(); }
    bool boolean(bool) override { return value(); }
    bool number_integer(number_integer_t) override { return value(); }
    bool number_unsigned(number_unsigned_t) override { return value(); }
    bool number_float(number_float_t, const string_t &) override { return value(); }
    bool string(string_t &) override { return value(); }
    bool binary(binary_t &) override { return value(); }
    bool start_object(std::size_t) override { return open(false); }
    bool key(string_t &name) override
    {
        m_frames.back().key = name;
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(true); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override
    {
        return false;
    }

    // Reads to the end, or to where the parser fails, finding nothing.
    void seekNothing() { m_seeking = false; }

    std::vector<long long> lines;

private:
    struct TFrame {
        bool array = false;
        std::size_t count = 0;
        std::string key;
    };

    bool open(bool array)
    {
        if (!value())
            return false;
        m_frames.push_back({array, 0, {}});
        return true;
    }
    bool close()
    {
        m_frames.pop_back();
        return true;
    }
    // Called as each value starts; false ends the reading once the one value sought is found.
    bool value()
    {
        if (!m_frames.empty() && m_frames.back().array)
            m_frames.back().key = std::to_string(m_frames.back().count++);
        if (!m_seeking || m_frames.size() != m_target.size() + (m_elements ? 1 : 0))
            return true;
        for (std::size_t index = 0; index < m_target.size(); ++index) {
            if (m_frames[index].key != m_target[index])
                return true;
        }
        // The parser may have read one byte past a number, which may be a line break.
        const auto read = static_cast<std::size_t>(*m_furthest - m_begin);
        lines.push_back(m_counter.lineAt(read > 0 ? read - 1 : 0));
        return m_elements;
    }

    TLineCounter m_counter;
    const char *m_begin;
    const char *const *m_furthest;
    TPath m_target;
    bool m_elements;
    bool m_seeking = true;
    std::vector<TFrame> m_frames;
};

// The lines of the value at path (elements false) or of its elements, by a second reading.
std::vector<long long> linesAt(std::string_view text, TPath path, bool elements)
{
    const char *furthest = text.data();
    TPathLines finder(text, &furthest, std::move(path), elements);
    TJson::sax_parse(TCountingIterator(text.data(), &furthest),
                     TCountingIterator(text.data() + text.size(), &furthest), &finder);
    return std::move(finder.lines);
}

// The line at which the parser gives up on text that it rejects with no position.
long long lineOfFailure(std::string_view text)
{
    const char *furthest = text.data();
    TPathLines nothing(text, &furthest, {}, true);
    nothing.seekNothing();
    try {
        TJson::sax_parse(TCountingIterator(text.data(), &furthest),
                         TCountingIterator(text.data() + text.size(), &furthest), &nothing);
    } catch (const TJson::exception &) {
    }
    TLineCounter counter(text);
    const auto read = static_cast<std::size_t>(furthest - text.data());
    return counter.lineAt(read > 0 ? read - 1 : 0);
}

std::string fileLine(const std::string &fileName, long long line)
{
    return fileName + ':' + std::to_string(line) + ": ";
}

std::string pathName(const TPath &path)
{
    std::string name;
    for (const std::string &each : path)
        name += '/' + each;
    return name.empty() ? std::string("the top level") : name;
}

const TJson &member(const TJson &object, const TPath &path, const char *key, TJson::value_t type,
                    const char *expected)
{
    const auto found = object.find(key);
    if (found == object.end()) {
        throw TShapeError{path, std::string("expected \"") + key + "\" in " + pathName(path)};
    }
    if (found->type() != type) {
        TPath inner = path;
        inner.emplace_back(key);
        throw TShapeError{inner, pathName(inner) + " should be " + expected};
    }
    return *found;
}

// A node's or an edge's id: AIF writers give strings or numbers, which name the same node.
std::string idOf(const TJson &object, const TPath &path, const char *key)
{
    const auto found = object.find(key);
    if (found != object.end() && found->is_string())
        return found->get<std::string>();
    if (found != object.end() && found->is_number_integer())
        return found->dump();
    TPath inner = path;
    if (found != object.end())
        inner.emplace_back(key);
    throw TShapeError{inner, std::string("expected \"") + key
                                 + "\" as a string or a whole number in " + pathName(path)};
}

std::vector<TMoveText> korvaneMoves(const TJson &moves, std::string_view text,
                                    const std::string &fileName)
{
    std::vector<std::string> lines;
    for (std::size_t index = 0; index < moves.size(); ++index) {
        if (!moves[index].is_string())
            throw TShapeError{{"korvane", "moves", std::to_string(index)},
                              "each of /korvane/moves should be a line of a move file"};
        lines.push_back(moves[index].get<std::string>());
    }
    // The move reader counts the lines of the moves; a message gives the file's own line.
    const std::vector<long long> at = linesAt(text, {"korvane", "moves"}, true);
    const auto fileLineOf = [&](long long moveLine) {
        const auto index = static_cast<std::size_t>(moveLine - 1);
        return index < at.size() ? at[index] : (at.empty() ? 1 : at.back());
    };
    const std::string inner = "\n"; // No file name has a line break: it cannot be confused.
    std::vector<TMoveText> read;
    try {
        read = ReadMoveText(JoinTextLines(lines), inner);
    } catch (const TFileError &failure) {
        const std::string_view message = failure.what();
        const std::size_t colon = message.find(':', inner.size() + 1);
        const long long moveLine = std::stoll(std::string(message.substr(inner.size() + 1)));
        throw TFileError(fileLine(fileName, fileLineOf(moveLine))
                         + "in /korvane/moves: " + std::string(message.substr(colon + 2)));
    }
    for (TMoveText &move : read)
        move.Line = fileLineOf(move.Line);
    return read;
}

enum class TNodeKind : std::uint8_t { I = 0, RA = 1, CA = 2, Other = 3 };

struct TNode {
    TNodeKind kind = TNodeKind::Other;
    std::string id;
    std::string type;
    std::string text;
    std::vector<std::size_t> from; // I-nodes with an edge to this one, in the order of the edges.
    std::vector<std::size_t> to;   // Nodes this one has an edge to.
};

// A sentence's text on one line, as a move file holds it.
std::string oneLine(std::string text)
{
    for (char &each : text) {
        if (each == '\r' || each == '\n')
            each = ' ';
    }
    return text;
}

TAifMoves graphMoves(const TJson &root, std::string_view text)
{
    const TJson &nodesJson = member(root, {}, "nodes", TJson::value_t::array, "a list of nodes");
    std::vector<TNode> nodes;
    std::map<std::string, std::size_t> byId;
    for (std::size_t index = 0; index < nodesJson.size(); ++index) {
        const TPath path = {"nodes", std::to_string(index)};
        const TJson &each = nodesJson[index];
        if (!each.is_object())
            throw TShapeError{path, pathName(path) + " should be a node object"};
        TNode &node = nodes.emplace_back();
        node.id = idOf(each, path, "nodeID");
        node.type =
            member(each, path, "type", TJson::value_t::string, "a string").get<std::string>();
        node.kind = node.type == "I"    ? TNodeKind::I
                    : node.type == "RA" ? TNodeKind::RA
                    : node.type == "CA" ? TNodeKind::CA
                                        : TNodeKind::Other;
        if (node.kind == TNodeKind::I)
            node.text = oneLine(
                member(each, path, "text", TJson::value_t::string, "a string").get<std::string>());
        if (!byId.try_emplace(node.id, index).second)
            throw TShapeError{path, "node id \"" + node.id + "\" is used twice"};
    }

    std::vector<std::string> skipped;
    for (const TNode &node : nodes) {
        if (node.kind == TNodeKind::Other)
            skipped.push_back("node " + node.id + " (" + node.type + ")");
    }
    const auto edgesJson = root.find("edges");
    if (edgesJson != root.end() && !edgesJson->is_array())
        throw TShapeError{{"edges"}, "/edges should be a list of edges"};
    const std::size_t edgeCount = edgesJson == root.end() ? 0 : edgesJson->size();
    for (std::size_t index = 0; index < edgeCount; ++index) {
        const TPath path = {"edges", std::to_string(index)};
        const TJson &each = (*edgesJson)[index];
        if (!each.is_object())
            throw TShapeError{path, pathName(path) + " should be an edge object"};
        const auto from = byId.find(idOf(each, path, "fromID"));
        const auto to = byId.find(idOf(each, path, "toID"));
        const std::string name =
            each.contains("edgeID")
                    && (each["edgeID"].is_string() || each["edgeID"].is_number_integer())
                ? idOf(each, path, "edgeID")
                : std::to_string(index + 1);
        if (from == byId.end() || to == byId.end()) {
            skipped.push_back("edge " + name + " (to a missing node)");
            continue;
        }
        TNode &source = nodes[from->second];
        TNode &target = nodes[to->second];
        const bool fits = (source.kind == TNodeKind::I
                           && (target.kind == TNodeKind::RA || target.kind == TNodeKind::CA))
                          || (source.kind == TNodeKind::RA && target.kind == TNodeKind::I)
                          || (source.kind == TNodeKind::CA && target.kind == TNodeKind::RA);
        if (source.kind == TNodeKind::CA && target.kind == TNodeKind::I) {
            skipped.push_back("node " + source.id + " (CA attacking I-node " + target.id + ")");
        } else if (!fits && source.kind != TNodeKind::Other && target.kind != TNodeKind::Other) {
            skipped.push_back("edge " + name + " (" + source.type + " to " + target.type + ")");
        } else if (fits) {
            // An RA's or a CA's "from" are its premises or attackers: I-nodes only.
            source.to.push_back(to->second);
            if (source.kind == TNodeKind::I)
                target.from.push_back(from->second);
        }
    }
    for (const auto &[key, value] : root.items()) {
        if (key != "nodes" && key != "edges" && key != "korvane" && value.is_array()
            && !value.empty())
            skipped.push_back(key + " (" + std::to_string(value.size()) + ")");
    }

    // Steps need one conclusion and a premise; an attack needs an attacker and a step.
    const auto isStep = [&](std::size_t index) {
        const TNode &node = nodes[index];
        return node.kind == TNodeKind::RA && !node.from.empty() && node.to.size() == 1;
    };
    std::vector<bool> attack(nodes.size(), false);
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        const TNode &node = nodes[index];
        if (node.kind == TNodeKind::RA && !isStep(index)) {
            skipped.push_back(
                "node " + node.id
                + (node.from.empty() ? " (RA without a premise)" : " (RA without one conclusion)"));
        } else if (node.kind == TNodeKind::CA) {
            const bool onStep = std::any_of(node.to.begin(), node.to.end(), isStep);
            attack[index] = onStep && !node.from.empty();
            if (!attack[index] && (!node.to.empty() || node.from.empty()))
                skipped.push_back("node " + node.id
                                  + (node.from.empty() ? " (CA without an attacker)"
                                                       : " (CA without a step to attack)"));
        }
    }
    // Premises and attackers are assumed, as the graph gives no reason for them; a sentence that
    // some step concludes is an issue, which its reasons decide.
    std::vector<TStatementType> types(nodes.size(), TStatementType::Issue);
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        if (!isStep(index) && !attack[index])
            continue;
        for (const std::size_t premise : nodes[index].from)
            types[premise] = TStatementType::Assumption;
    }
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        if (isStep(index))
            types[nodes[index].to.front()] = TStatementType::Issue;
    }

    const std::vector<long long> lines = linesAt(text, {"nodes"}, true);
    const auto lineOf = [&](std::size_t index) { return index < lines.size() ? lines[index] : 1; };
    const auto sentence = [&](std::size_t index) {
        return TSentenceText{nodes[index].text, types[index]};
    };
    TAifMoves result;
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        if (nodes[index].kind == TNodeKind::I)
            result.moves.push_back({TMoveKind::Statement, lineOf(index), {sentence(index)}});
    }
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        if (!isStep(index))
            continue;
        for (const std::size_t premise : nodes[index].from)
            result.moves.push_back({TMoveKind::ReasonConclusion,
                                    lineOf(index),
                                    {sentence(premise), sentence(nodes[index].to.front())}});
    }
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        if (!attack[index])
            continue;
        for (const std::size_t attacker : nodes[index].from)
            for (const std::size_t step : nodes[index].to) {
                if (!isStep(step))
                    continue;
                for (const std::size_t premise : nodes[step].from)
                    result.moves.push_back({TMoveKind::Exception,
                                            lineOf(index),
                                            {sentence(premise), sentence(nodes[step].to.front()),
                                             sentence(attacker)}});
            }
    }

    if (!skipped.empty()) {
        constexpr std::size_t Listed = 20;
        result.warning = "left out what Korvane cannot hold: ";
        for (std::size_t index = 0; index < skipped.size() && index < Listed; ++index)
            result.warning += (index == 0 ? "" : ", ") + skipped[index];
        if (skipped.size() > Listed)
            result.warning += " and " + std::to_string(skipped.size() - Listed) + " more";
    }
    return result;
}

} // namespace

bool IsAifText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '{';
}

TAifMoves ReadAifFile(std::string_view bytes, const std::string &fileName)
{
    const std::string text = DecodeFileText(bytes);
    TJson root;
    try {
        root = TJson::parse(text);
    } catch (const TJson::parse_error &failure) {
        // The parser's own words, without its numbering and position, which is given as a line.
        std::string_view message = failure.what();
        const std::size_t column = message.find("column ");
        const std::size_t after = message.find(": ", column == std::string_view::npos ? 0 : column);
        if (after != std::string_view::npos)
            message.remove_prefix(after + 2);
        TLineCounter counter(text);
        const long long line = counter.lineAt(failure.byte > 0 ? failure.byte - 1 : 0);
        throw TFileError(fileLine(fileName, line) + "not JSON: " + std::string(message));
    } catch (const TJson::exception &failure) {
        // A number too large for any type gives no position: the second reading stops there.
        std::string_view message = failure.what();
        if (const std::size_t after = message.find("] "); after != std::string_view::npos)
            message.remove_prefix(after + 2);
        throw TFileError(fileLine(fileName, lineOfFailure(text))
                         + "not JSON: " + std::string(message));
    }
    try {
        if (!root.is_object())
            throw TShapeError{{}, "expected a JSON object with \"nodes\" and \"edges\""};
        const auto korvane = root.find("korvane");
        if (korvane != root.end() && korvane->is_object() && korvane->contains("moves")) {
            const TJson &moves =
                member(*korvane, {"korvane"}, "moves", TJson::value_t::array, "a list of lines");
            return {korvaneMoves(moves, text, fileName), {}};
        }
        return graphMoves(root, text);
    } catch (const TShapeError &failure) {
        const std::vector<long long> lines = linesAt(text, failure.path, false);
        throw TFileError(fileLine(fileName, lines.empty() ? 1 : lines.front()) + failure.message);
    }
}
