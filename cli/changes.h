#pragma once

#include "model/statement.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

class TArgumentationStage;

// What a stage shows, keyed so that two stages can be compared although every rebuild makes new
// objects: a statement by its text, a step by its reason and conclusion, an argument by the texts
// on its path from the root; a key that occurs twice gets its occurrence appended.
struct TStageFacts {
    struct TStatementFacts {
        std::vector<std::string> texts;
        std::string type, status;
    };
    std::map<std::string, TStatementFacts> statements, steps, exceptions, arguments;
};

TStageFacts StageFacts(const TArgumentationStage &stage);

// One change a move made: what changed, the texts that name it, and its old and new state.
struct TChange {
    std::string what; // "statement added", "status changed", ...
    std::vector<std::string> texts;
    std::string from, to;
};

// Every change from one stage to the next, in a fixed order: statements, type overrulings,
// steps, exceptions, arguments added, arguments gone, statuses.
std::vector<TChange> StageChanges(const TStageFacts &before, const TStageFacts &after);

// The changes of each recorded move, as text and as a JSON list of one object per move.
struct TMoveChanges {
    std::size_t move = 0; // 1-based among the recorded moves.
    long long line = 0;   // Of its heading in the file.
    std::vector<TChange> changes;
};
std::string ChangesText(const std::vector<TMoveChanges> &moves);
std::string ChangesJson(const std::vector<TMoveChanges> &moves);
