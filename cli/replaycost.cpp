#include "replaycost.h"

#include "dialogue/movereader.h"
#include "model/argumentationstage.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

constexpr double ArgumentBytes = 64;
// A copied list grows once more by doubling, so each reference costs about twice its size.
constexpr double ReferenceBytes = 16;
// Computing one node's status allocates and walks; measured at about a hundred list steps.
constexpr double NodeStatusWork = 100;
// Comparing or copying text goes this many bytes per list step.
constexpr double CopiedBytesPerWork = 32;

// The shape of a stage: statements by index, steps as index pairs, in the stage's order.
struct TShape {
    std::vector<std::string_view> texts;
    std::vector<int> reasons;
    std::vector<int> conclusions;
    double exceptions = 0;
    double textBytes = 0;

    // A linear scan, as the stage itself makes for every sentence of a move.
    int statement(std::string_view text)
    {
        for (std::size_t i = 0; i < texts.size(); ++i)
            if (texts[i] == text)
                return static_cast<int>(i);
        return add(text);
    }
    int add(std::string_view text)
    {
        texts.push_back(text);
        textBytes += static_cast<double>(text.size());
        return static_cast<int>(texts.size()) - 1;
    }
    void step(int reason, int conclusion)
    {
        for (std::size_t i = 0; i < reasons.size(); ++i)
            if (reasons[i] == reason && conclusions[i] == conclusion)
                return;
        reasons.push_back(reason);
        conclusions.push_back(conclusion);
    }
};

struct TTrees {
    double nodes = 0;
    double roots = 0;
    double rootChildren = 0;
    bool overflow = false;
};

// The trees that rebuilding the arguments would make: their node count by walking every path
// (each step used once per path, as the stage does), stopping once limit is passed.
TTrees countRebuiltTrees(const TShape &shape, double limit)
{
    const std::size_t statements = shape.texts.size();
    const std::size_t steps = shape.reasons.size();
    std::vector<std::vector<int>> concluding(statements);
    std::vector<bool> isReason(statements, false);
    for (std::size_t i = 0; i < steps; ++i) {
        concluding[static_cast<std::size_t>(shape.conclusions[i])].push_back(static_cast<int>(i));
        isReason[static_cast<std::size_t>(shape.reasons[i])] = true;
    }

    TTrees trees;
    std::vector<bool> occurs(statements, false);
    std::vector<bool> used(steps, false);
    const auto addRoot = [&](int root) {
        trees.roots += 1;
        trees.rootChildren += static_cast<double>(concluding[static_cast<std::size_t>(root)].size());
        // A statement occurs in a tree exactly when it reaches the root through steps.
        std::vector<int> pending{root};
        occurs[static_cast<std::size_t>(root)] = true;
        while (!pending.empty()) {
            const int each = pending.back();
            pending.pop_back();
            for (const int step : concluding[static_cast<std::size_t>(each)]) {
                const auto reason = static_cast<std::size_t>(shape.reasons[static_cast<std::size_t>(step)]);
                if (!occurs[reason]) {
                    occurs[reason] = true;
                    pending.push_back(static_cast<int>(reason));
                }
            }
        }
        struct TFrame {
            int statement;
            std::size_t next;
            int via;
        };
        std::vector<TFrame> stack{{root, 0, -1}};
        trees.nodes += 1;
        while (!stack.empty() && !trees.overflow) {
            TFrame &top = stack.back();
            const std::vector<int> &candidates = concluding[static_cast<std::size_t>(top.statement)];
            while (top.next < candidates.size() && used[static_cast<std::size_t>(candidates[top.next])])
                ++top.next;
            if (top.next == candidates.size()) {
                if (top.via >= 0)
                    used[static_cast<std::size_t>(top.via)] = false;
                stack.pop_back();
                continue;
            }
            const int step = candidates[top.next++];
            used[static_cast<std::size_t>(step)] = true;
            trees.nodes += 1;
            trees.overflow = trees.nodes > limit;
            stack.push_back({shape.reasons[static_cast<std::size_t>(step)], 0, step});
        }
    };
    for (std::size_t i = 0; i < statements && !trees.overflow; ++i)
        if (!isReason[i])
            addRoot(static_cast<int>(i));
    for (std::size_t i = 0; i < statements && !trees.overflow; ++i)
        if (!occurs[i])
            addRoot(static_cast<int>(i));
    return trees;
}

// The trees the stage holds now, plus the bare root a new statement adds.
TTrees countCurrentTrees(const TArgumentationStage &stage)
{
    TTrees trees;
    std::vector<const TArgument *> pending;
    for (const TArgument *root : stage.Arguments) {
        trees.roots += 1;
        trees.rootChildren += root->InitialArguments.Count();
        pending.push_back(root);
    }
    while (!pending.empty()) {
        const TArgument *each = pending.back();
        pending.pop_back();
        trees.nodes += 1;
        for (const TArgument *child : each->InitialArguments)
            pending.push_back(child);
    }
    return trees;
}

} // namespace

bool TReplayCost::Admit(const TArgumentationStage &stage, const TMoveText &move)
{
    // Steps point at the stage's own statement objects, except a new reason that has its
    // conclusion's text, which is found by text.
    TShape shape;
    std::unordered_map<const TStatement *, int> byObject;
    for (const TStatement *statement : stage.Statements)
        byObject.emplace(statement, shape.add(statement->Text));
    const auto find = [&](const TStatement *statement) {
        const auto it = byObject.find(statement);
        return it != byObject.end() ? it->second : shape.statement(statement->Text);
    };
    for (const TReasonConclusion *step : stage.ReasonConclusions) {
        shape.reasons.push_back(find(step->Reason));
        shape.conclusions.push_back(find(step->Conclusion));
        shape.exceptions += step->Exceptions.Count();
    }

    // Statements enter in the order the stage gives them ids: exception, conclusion, reason.
    const std::vector<TSentenceText> &sentences = move.Sentences;
    double stages = 1;
    bool rebuilt = false;
    if (move.Kind == TMoveKind::Statement) {
        shape.statement(sentences[0].Text);
    } else {
        stages = move.Kind == TMoveKind::Exception ? 5 : 3;
        rebuilt = true;
        if (move.Kind == TMoveKind::Exception) {
            shape.statement(sentences[2].Text);
            shape.exceptions += 1;
        }
        const int conclusion = shape.statement(sentences[1].Text);
        const int reason = shape.statement(sentences[0].Text);
        shape.step(reason, conclusion);
    }

    const auto statements = static_cast<double>(shape.texts.size());
    const auto steps = static_cast<double>(shape.reasons.size());
    const double workLeft = WorkLimit - m_work;
    const double memoryLeft = MemoryLimit - m_memory;
    TTrees trees;
    if (rebuilt) {
        const double limit = std::min(memoryLeft / ArgumentBytes, workLeft / (steps + statements + 1));
        trees = countRebuiltTrees(shape, limit);
        if (trees.overflow)
            return false;
    } else {
        trees = countCurrentTrees(stage);
        trees.nodes += 1;
        trees.roots += 1;
    }

    // Every stage a move makes copies three lists and computes all statuses; an issue's status
    // looks at the warrant and searches the roots and their children for attacks.
    const double edges = trees.nodes - trees.roots;
    const double copies = statements + steps + trees.roots;
    // Texts are compared and copied whole: long sentences with a common start cost their length.
    const double text = 1 + shape.textBytes / std::max(statements, 1.0) / CopiedBytesPerWork;
    const double statuses =
        NodeStatusWork * trees.nodes
        + edges * ((trees.roots + trees.rootChildren + 1) * (steps + shape.exceptions + 1)
                   + statements + steps) * text;
    const double work = stages * (copies + statuses)
                        + (rebuilt ? trees.nodes * (steps + statements + 1) * text : 0);
    const double memory = stages * copies * ReferenceBytes + (rebuilt ? trees.nodes : 1) * ArgumentBytes;
    if (work > workLeft || memory > memoryLeft)
        return false;
    m_work += work;
    m_memory += memory;
    return true;
}
