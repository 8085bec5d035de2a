#include "foreigngraph.h"

#include "model/statement.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string_view>
#include <utility>

namespace {

constexpr std::size_t Listed = 3; // Ids or texts named for each kind; the rest are counted.

struct TStep {
    std::string reason;
    std::string conclusion;
};

// A kind of loss, with the names of its first few parts.
struct TLoss {
    std::string singular;
    std::string plural;
    std::size_t count = 0;
    std::vector<std::string> names;
};

std::string quoted(std::string_view text) { return '"' + std::string(text) + '"'; }

std::string countedPart(std::size_t count, const std::string &singular, const std::string &plural,
                        const std::vector<std::string> &names)
{
    std::string part = std::to_string(count) + ' ' + (count == 1 ? singular : plural);
    if (names.empty())
        return part;
    part += " (";
    for (std::size_t index = 0; index < names.size(); ++index) {
        // Ids may hold line breaks; the warning is one line.
        std::string name = names[index];
        std::replace_if(name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        part += (index == 0 ? "" : ", ") + name;
    }
    return part + (count > names.size() ? ", ...)" : ")");
}

class TLosses {
public:
    void add(std::size_t kind, std::string name)
    {
        TLoss &loss = m_losses.at(kind);
        if (loss.names.size() < Listed)
            loss.names.push_back(std::move(name));
        ++loss.count;
    }
    std::size_t define(std::string singular, std::string plural)
    {
        m_losses.push_back({std::move(singular), std::move(plural), 0, {}});
        return m_losses.size() - 1;
    }
    // The kinds with a count, in the order they were defined.
    std::vector<std::string> parts() const
    {
        std::vector<std::string> parts;
        for (const TLoss &loss : m_losses) {
            if (loss.count > 0)
                parts.push_back(countedPart(loss.count, loss.singular, loss.plural, loss.names));
        }
        return parts;
    }

private:
    std::vector<TLoss> m_losses;
};

// The reader's own omissions, the kinds of a group together: "34 L, 19 YA nodes; 15 locutions".
std::vector<std::string> omissionParts(const std::vector<TForeignOmission> &omissions)
{
    std::vector<std::string> parts;
    std::vector<bool> done(omissions.size(), false);
    for (std::size_t first = 0; first < omissions.size(); ++first) {
        if (done[first] || omissions[first].count == 0)
            continue;
        const std::string &group = omissions[first].group;
        std::string part;
        std::size_t total = 0;
        for (std::size_t each = first; each < omissions.size(); ++each) {
            const TForeignOmission &omission = omissions[each];
            if (done[each] || omission.count == 0 || omission.group != group
                || (group.empty() && each != first))
                continue;
            done[each] = true;
            std::vector<std::string> names;
            for (std::size_t index = 0; index < omission.ids.size() && index < Listed; ++index)
                names.push_back(omission.ids[index]);
            const std::string &singular =
                omission.singular.empty() ? omission.kind : omission.singular;
            part += (part.empty() ? "" : ", ")
                    + countedPart(omission.count, singular, omission.kind, names);
            total += omission.count;
        }
        // "1 PA node", "2 PA, 1 YA nodes".
        const std::string groupWord =
            total == 1 && group.ends_with('s') ? group.substr(0, group.size() - 1) : group;
        parts.push_back(group.empty() ? part : part + ' ' + groupWord);
    }
    return parts;
}

std::string joined(const std::vector<std::string> &parts, std::string_view separator)
{
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : std::string(separator)) + part;
    return text;
}

} // namespace

TForeignMoves MapForeignGraph(const TForeignGraph &graph)
{
    TLosses losses;
    // Losses that change statuses come first.
    const std::size_t onPremise = losses.define("conflict on a premise", "conflicts on premises");
    const std::size_t onConflict = losses.define("attack on a conflict", "attacks on conflicts");
    const std::size_t linked =
        losses.define("linked inference split into one step per premise, so that each premise "
                      "alone supports its conclusion",
                      "linked inferences split into one step per premise, so that each premise "
                      "alone supports its conclusion");
    const std::size_t badInference =
        losses.define("inference without a premise or a conclusion",
                      "inferences without a premise or a conclusion");
    const std::size_t badConflict =
        losses.define("conflict without an attacker or an object",
                      "conflicts without an attacker or an object");

    std::map<std::string, const TForeignClaim *> claimOf;
    for (const TForeignClaim &claim : graph.claims)
        claimOf.try_emplace(claim.id, &claim);
    std::map<std::string, std::size_t> inferenceOf;
    for (std::size_t index = 0; index < graph.inferences.size(); ++index)
        inferenceOf.try_emplace(graph.inferences[index].id, index);
    std::set<std::string> conflictIds;
    for (const TForeignConflict &conflict : graph.conflicts)
        conflictIds.insert(conflict.id);

    // The steps of each inference: from each premise to its claim, or, for backing, to the
    // warrant of each step of the inference it backs. A cycle of backing makes no steps.
    const std::size_t inferenceCount = graph.inferences.size();
    std::vector<std::vector<TStep>> steps(inferenceCount);
    std::vector<std::uint8_t> state(inferenceCount, 0); // 0 new, 1 being resolved, 2 resolved.
    const auto resolve = [&](const auto &self, std::size_t index) -> const std::vector<TStep> & {
        if (state[index] != 0)
            return steps[index];
        state[index] = 1;
        const TForeignInference &inference = graph.inferences[index];
        std::vector<std::string> conclusions;
        if (const auto claim = claimOf.find(inference.conclusion); claim != claimOf.end()) {
            conclusions.push_back(claim->second->text);
        } else if (const auto backed = inferenceOf.find(inference.conclusion);
                   backed != inferenceOf.end()) {
            for (const TStep &step : self(self, backed->second))
                conclusions.push_back(StepWarrant(step.reason, step.conclusion));
        }
        std::vector<TStep> made;
        for (const std::string &premise : inference.premises) {
            const auto claim = claimOf.find(premise);
            if (claim == claimOf.end())
                continue;
            for (const std::string &conclusion : conclusions)
                made.push_back({claim->second->text, conclusion});
        }
        steps[index] = std::move(made);
        state[index] = 2;
        return steps[index];
    };
    for (std::size_t index = 0; index < inferenceCount; ++index)
        resolve(resolve, index);

    std::map<std::string, std::vector<TStep>> stepsInto; // By the conclusion's text.
    std::set<std::string> concluded;
    for (std::size_t index = 0; index < inferenceCount; ++index) {
        const TForeignInference &inference = graph.inferences[index];
        if (steps[index].empty()) {
            losses.add(badInference, inference.id);
            continue;
        }
        if (inference.premises.size() > 1)
            losses.add(linked, quoted(steps[index].front().conclusion) + " from "
                                   + std::to_string(inference.premises.size()) + " premises");
        for (const TStep &step : steps[index]) {
            stepsInto[step.conclusion].push_back(step);
            concluded.insert(step.conclusion);
        }
    }

    // Each conflict as the steps it blocks; those that block none are losses.
    struct TBlock {
        std::size_t conflict;
        std::string exception;
        std::vector<TStep> steps;
    };
    std::vector<TBlock> blocks;
    for (std::size_t index = 0; index < graph.conflicts.size(); ++index) {
        const TForeignConflict &conflict = graph.conflicts[index];
        const auto from = claimOf.find(conflict.from);
        const auto claim = claimOf.find(conflict.to);
        const auto inference = inferenceOf.find(conflict.to);
        if (from == claimOf.end()) {
            losses.add(badConflict, conflict.id);
        } else if (claim != claimOf.end()) {
            // An assumption stands whatever is said against it: only a concluded claim can fall.
            const auto into = stepsInto.find(claim->second->text);
            if (into == stepsInto.end())
                losses.add(onPremise, quoted(claim->second->text));
            else
                blocks.push_back({index, from->second->text, into->second});
        } else if (inference != inferenceOf.end() && !steps[inference->second].empty()) {
            blocks.push_back({index, from->second->text, steps[inference->second]});
        } else if (conflictIds.count(conflict.to) != 0) {
            losses.add(onConflict, conflict.id);
        } else {
            losses.add(badConflict, conflict.id);
        }
    }

    // A file's own type wins; else a sentence that something rests on and nothing concludes is
    // taken for granted, as the graph gives no reason for it.
    std::map<std::string, TStatementType> typeOf;
    const auto assume = [&](const std::string &text) {
        if (concluded.count(text) == 0)
            typeOf.try_emplace(text, TStatementType::Assumption);
    };
    for (const std::vector<TStep> &each : steps) {
        for (const TStep &step : each)
            assume(step.reason);
    }
    for (const TBlock &block : blocks)
        assume(block.exception);
    for (const TForeignClaim &claim : graph.claims) {
        if (claim.type)
            typeOf.insert_or_assign(claim.text, *claim.type);
    }
    const auto sentence = [&](const std::string &text) {
        const auto found = typeOf.find(text);
        return TSentenceText{text, found == typeOf.end() ? TStatementType::Issue : found->second};
    };

    TForeignMoves result;
    // Two conflicts or inferences may make the same move, which is made once.
    std::set<std::vector<std::string>> made;
    const auto once = [&](const std::vector<std::string> &texts) {
        return made.insert(texts).second;
    };
    for (const TForeignClaim &claim : graph.claims)
        result.moves.push_back({TMoveKind::Statement, claim.line, {sentence(claim.text)}});
    for (std::size_t index = 0; index < inferenceCount; ++index) {
        const TForeignInference &inference = graph.inferences[index];
        for (const TStep &step : steps[index]) {
            if (!once({step.reason, step.conclusion}))
                continue;
            result.origins.push_back({result.moves.size(), inference.id, inference.scheme});
            result.moves.push_back({TMoveKind::ReasonConclusion,
                                    inference.line,
                                    {sentence(step.reason), sentence(step.conclusion)}});
        }
    }
    for (const TBlock &block : blocks) {
        const TForeignConflict &conflict = graph.conflicts[block.conflict];
        for (const TStep &step : block.steps) {
            if (!once({step.reason, step.conclusion, block.exception}))
                continue;
            result.origins.push_back({result.moves.size(), conflict.id, conflict.scheme});
            result.moves.push_back(
                {TMoveKind::Exception,
                 conflict.line,
                 {sentence(step.reason), sentence(step.conclusion), sentence(block.exception)}});
        }
    }

    std::vector<std::string> leftOut = losses.parts();
    for (std::string &part : omissionParts(graph.omissions))
        leftOut.push_back(std::move(part));
    std::vector<std::string> parts = graph.notes;
    if (!leftOut.empty())
        parts.push_back("left out: " + joined(leftOut, "; "));
    if (graph.mergedRepeats > 0)
        parts.push_back("merged " + std::to_string(graph.mergedRepeats)
                        + (graph.mergedRepeats == 1 ? " repeated node or edge"
                                                    : " repeated nodes or edges"));
    result.warning = joined(parts, "; ");
    return result;
}
