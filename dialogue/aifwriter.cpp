#include "aifwriter.h"

#include "aifextras.h"
#include "stagegraph.h"

#include <nlohmann/json.hpp>

#include <map>
#include <set>

namespace {

using TJson = nlohmann::ordered_json;

TJson node(std::size_t id, std::string_view text, std::string_view type)
{
    return {{"nodeID", std::to_string(id)}, {"text", text}, {"type", type}};
}

// A node object of the imported file, or nothing; the file is one that Korvane read, so a
// failure to parse it again is no reason to lose the whole export.
TJson parsed(const std::string &json)
{
    TJson object = TJson::parse(json, nullptr, false);
    return object.is_object() ? object : TJson();
}

// The node Korvane writes, as the imported file gave it when it did: its id and, for an
// I-node, its text are Korvane's.
TJson sourceNode(TJson written, const TAifExtras *extras, const std::string *sourceId)
{
    if (extras == nullptr || sourceId == nullptr)
        return written;
    const auto found = extras->sourceNodes.find(*sourceId);
    if (found == extras->sourceNodes.end())
        return written;
    TJson object = parsed(found->second);
    if (object.is_null() || object.value("type", std::string()) != written["type"])
        return written;
    object["nodeID"] = written["nodeID"];
    if (written["type"] == "I")
        object["text"] = written["text"];
    return object;
}

} // namespace

std::string AifText(const TStageGraph &graph, const std::vector<std::string> &moveLines,
                    const TAifExtras *extras)
{
    TJson nodes = TJson::array();
    TJson edges = TJson::array();
    TJson statements = TJson::array();
    const auto edge = [&](std::size_t from, std::size_t to) {
        edges.push_back({{"edgeID", std::to_string(edges.size() + 1)},
                         {"fromID", std::to_string(from)},
                         {"toID", std::to_string(to)}});
    };
    // The imported file's ids of what is written, to tie its other nodes' edges back.
    std::map<std::string, std::string> newIds;
    const auto source = [&](const std::string *id, std::size_t written) {
        if (id != nullptr)
            newIds.try_emplace(*id, std::to_string(written));
        return id;
    };
    const auto claimId = [&](const std::string &text) -> const std::string * {
        if (extras == nullptr)
            return nullptr;
        const auto found = extras->claimIds.find(text);
        return found == extras->claimIds.end() ? nullptr : &found->second;
    };
    const auto partId = [&](const TAifExtras::TPart &part) -> const std::string * {
        if (extras == nullptr)
            return nullptr;
        const auto found = extras->partIds.find(part);
        return found == extras->partIds.end() ? nullptr : &found->second;
    };
    // Boxes first, then steps, then attacks: an id tells the kind of its node at a glance.
    const std::size_t boxes = graph.Boxes.size();
    const std::size_t steps = graph.Steps.size();
    const auto boxId = [](int box) { return static_cast<std::size_t>(box) + 1; };
    const auto stepId = [&](int step) { return boxes + static_cast<std::size_t>(step) + 1; };
    const auto textOf = [&](int box) -> const std::string & {
        return graph.Boxes[static_cast<std::size_t>(box)]->Text;
    };
    for (std::size_t box = 0; box < boxes; ++box) {
        const TStatement &statement = *graph.Boxes[box];
        nodes.push_back(sourceNode(node(box + 1, statement.Text, "I"), extras,
                                   source(claimId(statement.Text), box + 1)));
        statements.push_back({{"nodeID", std::to_string(box + 1)},
                              {"id", statement.Id},
                              {"type", StatementTypeName(statement.StatementType)},
                              {"status", JustificationStatusName(statement.JustificationStatus)}});
    }
    for (std::size_t step = 0; step < steps; ++step) {
        const TStageGraph::TStep &each = graph.Steps[step];
        const std::size_t id = stepId(static_cast<int>(step));
        const std::string *from = partId({textOf(each.reason), textOf(each.conclusion), {}});
        nodes.push_back(sourceNode(node(id, "Default Inference", "RA"), extras, source(from, id)));
        edge(boxId(each.reason), id);
        edge(id, boxId(each.conclusion));
    }
    for (std::size_t attack = 0; attack < graph.Attacks.size(); ++attack) {
        const TStageGraph::TAttack &each = graph.Attacks[attack];
        const std::size_t id = boxes + steps + attack + 1;
        const TStageGraph::TStep &step = graph.Steps[static_cast<std::size_t>(each.step)];
        const std::string *from =
            partId({textOf(step.reason), textOf(step.conclusion), textOf(each.exception)});
        nodes.push_back(sourceNode(node(id, "Default Conflict", "CA"), extras, source(from, id)));
        edge(boxId(each.exception), id);
        edge(id, stepId(each.step));
    }
    TJson locutions = TJson::array();
    if (extras != nullptr) {
        // The other nodes keep their ids unless Korvane's numbering took one.
        std::set<std::string> taken;
        for (std::size_t id = 1; id <= nodes.size(); ++id)
            taken.insert(std::to_string(id));
        std::size_t fresh = nodes.size();
        std::map<std::string, std::string> otherIds;
        for (const TAifExtras::TNode &each : extras->nodes) {
            TJson object = parsed(each.json);
            if (object.is_null())
                continue;
            std::string id = each.id;
            while (!taken.insert(id).second)
                id = std::to_string(++fresh);
            otherIds.emplace(each.id, id);
            newIds.try_emplace(each.id, id);
            if (id != each.id)
                object["nodeID"] = id;
            nodes.push_back(std::move(object));
        }
        for (const TAifExtras::TEdge &each : extras->edges) {
            const auto from = newIds.find(each.from);
            const auto to = newIds.find(each.to);
            TJson object = parsed(each.json);
            if (from == newIds.end() || to == newIds.end() || object.is_null())
                continue;
            // Korvane's numbering and the ends first, as in Korvane's own edges.
            TJson written = {{"edgeID", std::to_string(edges.size() + 1)},
                             {"fromID", from->second},
                             {"toID", to->second}};
            for (auto &[key, value] : object.items()) {
                if (!written.contains(key))
                    written[key] = std::move(value);
            }
            edges.push_back(std::move(written));
        }
        for (const std::string &each : extras->locutions) {
            TJson object = TJson::parse(each, nullptr, false);
            if (object.is_discarded())
                continue;
            if (object.is_object() && object.contains("nodeID")) {
                const auto renamed = otherIds.find(object["nodeID"].is_string()
                                                       ? object["nodeID"].get<std::string>()
                                                       : object["nodeID"].dump());
                if (renamed != otherIds.end())
                    object["nodeID"] = renamed->second;
            }
            locutions.push_back(std::move(object));
        }
    }
    TJson aif = {
        {"nodes", std::move(nodes)},
        {"edges", std::move(edges)},
        {"locutions", std::move(locutions)},
        {"korvane", {{"version", 1}, {"statements", std::move(statements)}, {"moves", moveLines}}}};
    // Texts from a file that was read as Windows-1252 are UTF-8 already; replacing guards the
    // few bytes that may come otherwise, as a dump that throws would lose the whole export.
    return aif.dump(2, ' ', false, TJson::error_handler_t::replace) + '\n';
}
