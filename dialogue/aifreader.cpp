#include "aifreader.h"

#include "foreigngraph.h"
#include "lineofargumentation.h"
#include "replay.h"
#include "stagegraph.h"
#include "textfile.h"

#include "model/argumentationstage.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
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
    std::string text;   // An I-node's on one line; an RA's or a CA's scheme, empty for none.
    const TJson *object = nullptr;
    std::size_t index = 0;         // In the list of nodes, for its line.
    std::vector<std::size_t> from; // Nodes with an edge to this one, once each, in edge order.
    std::vector<std::size_t> to;   // Nodes this one has an edge to.
};

// An AIF graph as read: each node once, and what the reader itself keeps aside or leaves out.
struct TAifGraph {
    std::vector<TNode> nodes;
    std::map<std::string, std::size_t> byId;
    TAifExtras extras;
    std::vector<TForeignOmission> omissions;
    std::size_t merged = 0;
    bool clean = true; // No edge to a missing node and none between two I-nodes.
    std::vector<long long> lines; // Of the elements of the list of nodes.
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

// The scheme an RA- or a CA-node names, by its "scheme" or else its text; Korvane's own
// defaults name none.
std::string schemeOf(const TJson &node)
{
    for (const char *key : {"scheme", "text"}) {
        const auto found = node.find(key);
        if (found == node.end() || !found->is_string())
            continue;
        std::string name = oneLine(found->get<std::string>());
        return name == "Default Inference" || name == "Default Conflict" ? std::string() : name;
    }
    return {};
}

TPath joinedPath(const TPath &base, std::initializer_list<std::string> more)
{
    TPath path = base;
    path.insert(path.end(), more);
    return path;
}

// Counts one more part of a kind in the reader's omissions, naming its first few.
void omit(std::vector<TForeignOmission> &omissions, const std::string &kind,
          const std::string &group, const std::string &id = {}, const std::string &singular = {})
{
    auto found = std::find_if(omissions.begin(), omissions.end(), [&](const auto &each) {
        return each.kind == kind && each.group == group;
    });
    if (found == omissions.end())
        found = omissions.insert(omissions.end(), {kind, group, 0, {}, singular});
    ++found->count;
    if (!id.empty() && found->ids.size() < 3)
        found->ids.push_back(id);
}

TAifGraph readGraph(const TJson &root, const TJson &graphRoot, const TPath &base,
                    std::string_view text)
{
    TAifGraph graph;
    const TJson &nodesJson =
        member(graphRoot, base, "nodes", TJson::value_t::array, "a list of nodes");
    for (std::size_t index = 0; index < nodesJson.size(); ++index) {
        const TPath path = joinedPath(base, {"nodes", std::to_string(index)});
        const TJson &each = nodesJson[index];
        if (!each.is_object())
            throw TShapeError{path, pathName(path) + " should be a node object"};
        TNode node;
        node.id = idOf(each, path, "nodeID");
        node.type =
            member(each, path, "type", TJson::value_t::string, "a string").get<std::string>();
        // A merged corpus may list a node twice: the same node, unless the copies differ.
        if (const auto seen = graph.byId.find(node.id); seen != graph.byId.end()) {
            if (*graph.nodes[seen->second].object != each)
                throw TShapeError{path, "node id \"" + node.id
                                            + "\" is used twice with different contents"};
            ++graph.merged;
            continue;
        }
        node.kind = node.type == "I"    ? TNodeKind::I
                    : node.type == "RA" ? TNodeKind::RA
                    : node.type == "CA" ? TNodeKind::CA
                                        : TNodeKind::Other;
        if (node.kind == TNodeKind::I)
            node.text = oneLine(
                member(each, path, "text", TJson::value_t::string, "a string").get<std::string>());
        else if (node.kind != TNodeKind::Other)
            node.text = schemeOf(each);
        node.object = &each;
        node.index = index;
        if (node.kind == TNodeKind::Other) {
            graph.extras.nodes.push_back({node.id, each.dump()});
            omit(graph.omissions, node.type, "nodes");
        }
        graph.byId.emplace(node.id, graph.nodes.size());
        graph.nodes.push_back(std::move(node));
    }

    const auto edgesJson = graphRoot.find("edges");
    if (edgesJson != graphRoot.end() && !edgesJson->is_array()) {
        const TPath path = joinedPath(base, {"edges"});
        throw TShapeError{path, pathName(path) + " should be a list of edges"};
    }
    const std::size_t edgeCount = edgesJson == graphRoot.end() ? 0 : edgesJson->size();
    std::map<std::string, const TJson *> edgeById;
    std::map<std::pair<std::string, std::string>, std::vector<const TJson *>> edgesByEnds;
    const auto link = [](std::vector<std::size_t> &list, std::size_t node) {
        if (std::find(list.begin(), list.end(), node) == list.end())
            list.push_back(node);
    };
    for (std::size_t index = 0; index < edgeCount; ++index) {
        const TPath path = joinedPath(base, {"edges", std::to_string(index)});
        const TJson &each = (*edgesJson)[index];
        if (!each.is_object())
            throw TShapeError{path, pathName(path) + " should be an edge object"};
        const std::string fromId = idOf(each, path, "fromID");
        const std::string toId = idOf(each, path, "toID");
        const bool named = each.contains("edgeID")
                           && (each["edgeID"].is_string() || each["edgeID"].is_number_integer());
        const std::string name = named ? idOf(each, path, "edgeID") : std::to_string(index + 1);
        if (named) {
            const auto [seen, added] = edgeById.try_emplace(name, &each);
            if (!added && *seen->second != each)
                throw TShapeError{path,
                                  "edge id \"" + name + "\" is used twice with different contents"};
            if (!added) {
                ++graph.merged;
                continue;
            }
        } else {
            std::vector<const TJson *> &same = edgesByEnds[{fromId, toId}];
            if (std::any_of(same.begin(), same.end(), [&](const TJson *e) { return *e == each; })) {
                ++graph.merged;
                continue;
            }
            same.push_back(&each);
        }
        const auto from = graph.byId.find(fromId);
        const auto to = graph.byId.find(toId);
        if (from == graph.byId.end() || to == graph.byId.end()) {
            omit(graph.omissions, "edges to missing nodes", {}, name, "edge to a missing node");
            graph.clean = false;
            continue;
        }
        TNode &source = graph.nodes[from->second];
        TNode &target = graph.nodes[to->second];
        if (source.kind == TNodeKind::Other || target.kind == TNodeKind::Other) {
            graph.extras.edges.push_back({fromId, toId, each.dump()});
            omit(graph.omissions, "edges of those nodes", {}, {}, "edge of those nodes");
        } else if (source.kind == TNodeKind::I && target.kind == TNodeKind::I) {
            omit(graph.omissions, "edges from an I-node to an I-node", {}, name,
                 "edge from an I-node to an I-node");
            graph.clean = false;
        } else {
            link(source.to, to->second);
            link(target.from, from->second);
        }
    }

    const auto locutions = graphRoot.find("locutions");
    if (locutions != graphRoot.end() && locutions->is_array()) {
        for (const TJson &each : *locutions) {
            graph.extras.locutions.push_back(each.dump());
            omit(graph.omissions, "locutions", {}, {}, "locution");
        }
    }
    // The editor's own objects (layout, text, participants, ...) mean nothing to a stage.
    const auto others = [&](const TJson &object, std::initializer_list<std::string_view> known) {
        for (const auto &[key, value] : object.items()) {
            const bool empty = value.is_null() || (value.is_structured() && value.empty())
                               || (value.is_string() && value.get<std::string>().empty());
            if (!empty && std::find(known.begin(), known.end(), key) == known.end())
                omit(graph.omissions, "other objects", {}, '"' + key + '"', "other object");
        }
    };
    if (&graphRoot != &root)
        others(root, {"AIF", "korvane"});
    others(graphRoot, {"nodes", "edges", "locutions", "korvane"});
    graph.lines = linesAt(text, joinedPath(base, {"nodes"}), true);
    return graph;
}

long long lineOf(const TAifGraph &graph, const TNode &node)
{
    return node.index < graph.lines.size() ? graph.lines[node.index] : 1;
}

// The graph as claims, inferences and conflicts, with the types a Korvane file gave its nodes.
TForeignGraph foreignGraph(const TAifGraph &graph,
                           const std::map<std::string, TStatementType> &types)
{
    TForeignGraph foreign;
    const auto claims = [&](const std::vector<std::size_t> &list) {
        std::vector<std::string> ids;
        for (const std::size_t each : list) {
            if (graph.nodes[each].kind == TNodeKind::I)
                ids.push_back(graph.nodes[each].id);
        }
        return ids;
    };
    for (const TNode &node : graph.nodes) {
        const long long line = lineOf(graph, node);
        if (node.kind == TNodeKind::I) {
            const auto type = types.find(node.id);
            foreign.claims.push_back(
                {node.id, node.text, line,
                 type == types.end() ? std::nullopt : std::optional(type->second)});
        } else if (node.kind == TNodeKind::RA) {
            const std::string conclusion =
                node.to.size() == 1 ? graph.nodes[node.to.front()].id : std::string();
            foreign.inferences.push_back({node.id, claims(node.from), conclusion, node.text, line});
        } else if (node.kind == TNodeKind::CA) {
            const std::vector<std::string> attackers = claims(node.from);
            if (attackers.empty() || node.to.empty())
                foreign.conflicts.push_back({node.id, {}, {}, node.text, line});
            for (const std::string &attacker : attackers)
                for (const std::size_t target : node.to)
                    foreign.conflicts.push_back(
                        {node.id, attacker, graph.nodes[target].id, node.text, line});
        }
    }
    foreign.omissions = graph.omissions;
    foreign.mergedRepeats = graph.merged;
    return foreign;
}

// What each I-, RA- and CA-node stands for, so that the AIF export writes its object back.
void keepSources(const TAifGraph &graph, TAifExtras &extras)
{
    for (const TNode &node : graph.nodes) {
        if (node.kind == TNodeKind::Other)
            continue;
        extras.sourceNodes.emplace(node.id, node.object->dump());
        if (node.kind == TNodeKind::I)
            extras.claimIds.try_emplace(node.text, node.id);
        else if (!node.text.empty())
            extras.schemes.emplace(node.id, node.text);
    }
}

// Whether the graph is the one Korvane writes for the stage the moves give: then the moves say
// all there is, and are replayed as they are. Fills the parts' ids when it is.
bool isKorvaneGraph(const TAifGraph &graph, const std::vector<TMoveText> &moves,
                    const std::string &fileName, TAifExtras &extras)
{
    if (!graph.clean)
        return false;
    TReplayBoxes boxes;
    TLineOfArgumentation line(boxes);
    ReplayMoves(line, moves, fileName);
    const TStageGraph stage = StageGraph(*line.CurrentStage);
    std::size_t kept = 0;
    for (const TNode &node : graph.nodes)
        kept += node.kind == TNodeKind::Other ? 0 : 1;
    if (kept != stage.Boxes.size() + stage.Steps.size() + stage.Attacks.size())
        return false;
    const auto nodeAt = [&](std::size_t id, TNodeKind kind) -> const TNode * {
        const auto found = graph.byId.find(std::to_string(id));
        if (found == graph.byId.end() || graph.nodes[found->second].kind != kind)
            return nullptr;
        return &graph.nodes[found->second];
    };
    // A step's RA-node also has edges from the CA-nodes that attack it, which they check.
    const auto joins = [&](const TNode &node, std::size_t from, std::size_t to) {
        std::vector<std::size_t> sources;
        for (const std::size_t each : node.from) {
            if (graph.nodes[each].kind == TNodeKind::I)
                sources.push_back(each);
        }
        return sources.size() == 1 && node.to.size() == 1
               && graph.nodes[sources.front()].id == std::to_string(from)
               && graph.nodes[node.to.front()].id == std::to_string(to);
    };
    const std::size_t boxCount = stage.Boxes.size();
    const std::size_t stepCount = stage.Steps.size();
    for (std::size_t box = 0; box < boxCount; ++box) {
        const TNode *node = nodeAt(box + 1, TNodeKind::I);
        if (node == nullptr || node->text != oneLine(stage.Boxes[box]->Text))
            return false;
    }
    std::map<TAifExtras::TPart, std::string> parts;
    for (std::size_t step = 0; step < stepCount; ++step) {
        const TStageGraph::TStep &each = stage.Steps[step];
        const std::size_t id = boxCount + step + 1;
        const TNode *node = nodeAt(id, TNodeKind::RA);
        const auto reason = static_cast<std::size_t>(each.reason);
        const auto conclusion = static_cast<std::size_t>(each.conclusion);
        if (node == nullptr || !joins(*node, reason + 1, conclusion + 1))
            return false;
        parts.try_emplace({stage.Boxes[reason]->Text, stage.Boxes[conclusion]->Text, {}},
                          node->id);
    }
    for (std::size_t attack = 0; attack < stage.Attacks.size(); ++attack) {
        const TStageGraph::TAttack &each = stage.Attacks[attack];
        const TStageGraph::TStep &step = stage.Steps[static_cast<std::size_t>(each.step)];
        const TNode *node = nodeAt(boxCount + stepCount + attack + 1, TNodeKind::CA);
        const auto exception = static_cast<std::size_t>(each.exception);
        if (node == nullptr
            || !joins(*node, exception + 1, boxCount + static_cast<std::size_t>(each.step) + 1))
            return false;
        parts.try_emplace({stage.Boxes[static_cast<std::size_t>(step.reason)]->Text,
                           stage.Boxes[static_cast<std::size_t>(step.conclusion)]->Text,
                           stage.Boxes[exception]->Text},
                          node->id);
    }
    extras.partIds = std::move(parts);
    return true;
}

// The types that a Korvane file gave its I-nodes, by node id; entries of another shape are
// passed over, as the file may have been edited.
std::map<std::string, TStatementType> korvaneTypes(const TJson &korvane)
{
    std::map<std::string, TStatementType> types;
    const auto statements = korvane.find("statements");
    if (statements == korvane.end() || !statements->is_array())
        return types;
    for (const TJson &each : *statements) {
        if (!each.is_object() || !each.contains("nodeID") || !each.contains("type")
            || !each["nodeID"].is_string() || !each["type"].is_string())
            continue;
        const std::string type = each["type"].get<std::string>();
        if (type == StatementTypeName(TStatementType::Issue))
            types.emplace(each["nodeID"].get<std::string>(), TStatementType::Issue);
        else if (type == StatementTypeName(TStatementType::Assumption))
            types.emplace(each["nodeID"].get<std::string>(), TStatementType::Assumption);
    }
    return types;
}

TAifMoves readAif(const TJson &root, std::string_view text, const std::string &fileName)
{
    // xAIF keeps the graph in "AIF", beside the editor's own objects.
    const auto inner = root.find("AIF");
    const bool xaif = !root.contains("nodes") && inner != root.end() && inner->is_object();
    TAifMoves result;
    const auto korvane = root.find("korvane");
    const bool replays =
        korvane != root.end() && korvane->is_object() && korvane->contains("moves");
    if (replays) {
        const TJson &moves =
            member(*korvane, {"korvane"}, "moves", TJson::value_t::array, "a list of lines");
        result.moves = korvaneMoves(moves, text, fileName);
        // Korvane's part alone has no graph to differ from.
        if (!xaif && !root.contains("nodes"))
            return result;
    }
    const TAifGraph graph = readGraph(root, xaif ? *inner : root, xaif ? TPath{"AIF"} : TPath{},
                                      text);
    result.extras = graph.extras;
    keepSources(graph, result.extras);

    std::map<std::string, TStatementType> types;
    std::vector<std::string> notes;
    if (replays) {
        if (isKorvaneGraph(graph, result.moves, fileName, result.extras))
            return result;
        types = korvaneTypes(*korvane);
        notes.emplace_back("the graph changed since Korvane wrote it, so it is read as another "
                           "program's graph and its moves are not replayed");
    }
    TForeignGraph foreign = foreignGraph(graph, types);
    foreign.notes = std::move(notes);
    TForeignMoves mapped = MapForeignGraph(foreign);
    for (const TForeignOrigin &origin : mapped.origins) {
        const std::vector<TSentenceText> &sentences = mapped.moves[origin.move].Sentences;
        result.extras.partIds.try_emplace(
            {sentences[0].Text, sentences[1].Text,
             sentences.size() > 2 ? sentences[2].Text : std::string()},
            origin.sourceId);
    }
    result.moves = std::move(mapped.moves);
    result.warning = std::move(mapped.warning);
    return result;
}
} // namespace

bool IsAifText(std::string_view bytes)
{
    if (IsUtf16Text(bytes))
        return bytes.find('{') != std::string_view::npos; // Refused by name as AIF.
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '{';
}

TAifMoves ReadAifFile(std::string_view bytes, const std::string &fileName)
{
    if (IsUtf16Text(bytes))
        throw TFileError(fileName + ":1: the file is UTF-16; save it as UTF-8");
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
        return readAif(root, text, fileName);
    } catch (const TShapeError &failure) {
        const std::vector<long long> lines = linesAt(text, failure.path, false);
        throw TFileError(fileLine(fileName, lines.empty() ? 1 : lines.front()) + failure.message);
    }
}
