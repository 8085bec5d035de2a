#include "aifwriter.h"

#include "stagegraph.h"

#include <nlohmann/json.hpp>

namespace {

using TJson = nlohmann::ordered_json;

TJson node(std::size_t id, std::string_view text, std::string_view type)
{
    return {{"nodeID", std::to_string(id)}, {"text", text}, {"type", type}};
}

} // namespace

std::string AifText(const TStageGraph &graph, const std::vector<std::string> &moveLines)
{
    TJson nodes = TJson::array();
    TJson edges = TJson::array();
    TJson statements = TJson::array();
    const auto edge = [&](std::size_t from, std::size_t to) {
        edges.push_back({{"edgeID", std::to_string(edges.size() + 1)},
                         {"fromID", std::to_string(from)},
                         {"toID", std::to_string(to)}});
    };
    // Boxes first, then steps, then attacks: an id tells the kind of its node at a glance.
    const std::size_t boxes = graph.Boxes.size();
    const std::size_t steps = graph.Steps.size();
    const auto boxId = [](int box) { return static_cast<std::size_t>(box) + 1; };
    const auto stepId = [&](int step) { return boxes + static_cast<std::size_t>(step) + 1; };
    for (std::size_t box = 0; box < boxes; ++box) {
        const TStatement &statement = *graph.Boxes[box];
        nodes.push_back(node(box + 1, statement.Text, "I"));
        statements.push_back({{"nodeID", std::to_string(box + 1)},
                              {"id", statement.Id},
                              {"type", StatementTypeName(statement.StatementType)},
                              {"status", JustificationStatusName(statement.JustificationStatus)}});
    }
    for (std::size_t step = 0; step < steps; ++step) {
        const TStageGraph::TStep &each = graph.Steps[step];
        const std::size_t id = stepId(static_cast<int>(step));
        nodes.push_back(node(id, "Default Inference", "RA"));
        edge(boxId(each.reason), id);
        edge(id, boxId(each.conclusion));
    }
    for (std::size_t attack = 0; attack < graph.Attacks.size(); ++attack) {
        const TStageGraph::TAttack &each = graph.Attacks[attack];
        const std::size_t id = boxes + steps + attack + 1;
        nodes.push_back(node(id, "Default Conflict", "CA"));
        edge(boxId(each.exception), id);
        edge(id, stepId(each.step));
    }
    TJson aif = {
        {"nodes", std::move(nodes)},
        {"edges", std::move(edges)},
        {"locutions", TJson::array()},
        {"korvane", {{"version", 1}, {"statements", std::move(statements)}, {"moves", moveLines}}}};
    // Texts from a file that was read as Windows-1252 are UTF-8 already; replacing guards the
    // few bytes that may come otherwise, as a dump that throws would lose the whole export.
    return aif.dump(2, ' ', false, TJson::error_handler_t::replace) + '\n';
}
