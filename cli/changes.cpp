#include "changes.h"

#include "report.h"

#include "model/argumentationstage.h"

#include <utility>

namespace {

// Keys of texts joined by a byte no sentence holds (sentences are single lines).
std::string keyOf(const std::vector<std::string> &texts)
{
    std::string key;
    for (const std::string &text : texts)
        key += text + '\n';
    return key;
}

void add(std::map<std::string, TStageFacts::TStatementFacts> &facts, std::vector<std::string> texts,
         std::string type, std::string status)
{
    const std::string key = keyOf(texts);
    std::string unique = key;
    for (int occurrence = 2; facts.contains(unique); ++occurrence)
        unique = key + std::to_string(occurrence);
    facts[unique] = {std::move(texts), std::move(type), std::move(status)};
}

void addArguments(TStageFacts &facts, const TArgument &node, std::vector<std::string> &path)
{
    path.push_back(node.Conclusion->Text);
    add(facts.arguments, path, {}, std::string(DefeatStatusName(node.DefeatStatus)));
    for (const TArgument *child : node.InitialArguments)
        addArguments(facts, *child, path);
    path.pop_back();
}

} // namespace

TStageFacts StageFacts(const TArgumentationStage &stage)
{
    TStageFacts facts;
    for (const TStatement *statement : stage.Statements)
        add(facts.statements, {statement->Text},
            std::string(StatementTypeName(statement->StatementType)),
            std::string(JustificationStatusName(statement->JustificationStatus)));
    for (const TReasonConclusion *step : stage.ReasonConclusions) {
        add(facts.steps, {step->Reason->Text, step->Conclusion->Text}, {}, {});
        for (const TStatement *exception : step->Exceptions)
            add(facts.exceptions, {exception->Text, step->Reason->Text, step->Conclusion->Text},
                std::string(StatementTypeName(exception->StatementType)), {});
    }
    std::vector<std::string> path;
    for (const TArgument *root : stage.Arguments)
        addArguments(facts, *root, path);
    return facts;
}

std::vector<TChange> StageChanges(const TStageFacts &before, const TStageFacts &after)
{
    std::vector<TChange> changes;
    const auto added = [&](const auto &old, const auto &now, const char *what) {
        for (const auto &[key, facts] : now)
            if (!old.contains(key))
                changes.push_back({what,
                                   facts.texts,
                                   {},
                                   facts.type.empty()     ? facts.status
                                   : facts.status.empty() ? facts.type
                                                          : facts.type + ", " + facts.status});
    };
    added(before.statements, after.statements, "statement added");
    for (const auto &[key, facts] : after.statements)
        if (const auto old = before.statements.find(key);
            old != before.statements.end() && old->second.type != facts.type)
            changes.push_back({"type overruled", facts.texts, old->second.type, facts.type});
    added(before.steps, after.steps, "step added");
    added(before.exceptions, after.exceptions, "exception added");
    added(before.arguments, after.arguments, "argument added");
    for (const auto &[key, facts] : before.arguments)
        if (!after.arguments.contains(key))
            changes.push_back({"argument gone", facts.texts, facts.status, {}});
    const auto changed = [&](const auto &old, const auto &now, const char *what) {
        for (const auto &[key, facts] : now)
            if (const auto held = old.find(key);
                held != old.end() && held->second.status != facts.status)
                changes.push_back({what, facts.texts, held->second.status, facts.status});
    };
    changed(before.statements, after.statements, "statement status changed");
    changed(before.arguments, after.arguments, "argument status changed");
    return changes;
}

std::string ChangesText(const std::vector<TMoveChanges> &moves)
{
    std::string out;
    for (const TMoveChanges &move : moves) {
        out += "move " + std::to_string(move.move) + " (line " + std::to_string(move.line) + "):\n";
        if (move.changes.empty())
            out += "  nothing changed\n";
        for (const TChange &change : move.changes) {
            out += "  " + change.what + ':';
            // A step reads as in the move file; an exception as the step it blocks; an argument
            // as its path from the root, each text supported by the next.
            const bool step = change.what.starts_with("step");
            const bool exception = change.what.starts_with("exception");
            for (std::size_t i = 0; i < change.texts.size(); ++i) {
                out += i == 0                ? " "
                       : exception && i == 1 ? " against "
                       : step || exception   ? " THEREFORE "
                                             : " <- ";
                AppendQuoted(out, change.texts[i], true);
            }
            if (!change.from.empty() && !change.to.empty())
                out += ": " + change.from + " -> " + change.to;
            else if (!change.to.empty() || !change.from.empty())
                out += " (" + change.to + change.from + ')';
            out += '\n';
        }
    }
    return out;
}

std::string ChangesJson(const std::vector<TMoveChanges> &moves)
{
    std::string out = "[";
    for (std::size_t m = 0; m < moves.size(); ++m) {
        const TMoveChanges &move = moves[m];
        out += m == 0 ? "\n" : ",\n";
        out += "  {\"move\": " + std::to_string(move.move)
               + ", \"line\": " + std::to_string(move.line) + ", \"changes\": [";
        for (std::size_t c = 0; c < move.changes.size(); ++c) {
            const TChange &change = move.changes[c];
            out += c == 0 ? "\n    {\"change\": " : ",\n    {\"change\": ";
            AppendQuoted(out, change.what);
            out += ", \"texts\": [";
            for (std::size_t i = 0; i < change.texts.size(); ++i) {
                if (i > 0)
                    out += ", ";
                AppendQuoted(out, change.texts[i]);
            }
            out += ']';
            for (const auto &[key, value] : {std::pair{"from", &change.from}, {"to", &change.to}})
                if (!value->empty()) {
                    out += ", \"";
                    out += key;
                    out += "\": ";
                    AppendQuoted(out, *value);
                }
            out += '}';
        }
        out += move.changes.empty() ? "]}" : "\n  ]}";
    }
    out += moves.empty() ? "]\n" : "\n]\n";
    return out;
}
