#pragma once

#include "dialogue/movereader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A map of claims, inferences and conflicts as another tool's file gives it (AIF, Argdown), read
// but not yet mapped onto moves: every reader of such a file maps it the one way, here.
struct TForeignClaim {
    std::string id;
    std::string text; // On one line.
    long long line = 1;
    std::optional<TStatementType> type; // When the file says; else a premise or an attacker that
                                        // nothing concludes is an assumption, the rest issues.
};
struct TForeignInference {
    std::string id;
    std::vector<std::string> premises; // Claim ids; more than one is a linked inference.
    std::string conclusion;            // A claim's id, or another inference's (backing).
    std::string scheme;                // Empty when the file names none.
    long long line = 1;
};
struct TForeignConflict {
    std::string id;
    std::string from; // A claim's id.
    std::string to;   // A claim's, an inference's or another conflict's id.
    std::string scheme;
    long long line = 1;
};

// Parts that a reader left out itself, counted by kind in the one warning.
struct TForeignOmission {
    std::string kind;  // "L", or "locutions", "headings", ...
    std::string group; // Kinds of a group are listed together ("34 L, 19 YA nodes"); or empty.
    std::size_t count = 0;
    std::vector<std::string> ids; // The first few, when ids help find them.
    std::string singular;         // The kind when count is 1, if it differs ("locution").
};

struct TForeignGraph {
    std::vector<TForeignClaim> claims;
    std::vector<TForeignInference> inferences;
    std::vector<TForeignConflict> conflicts;
    std::vector<TForeignOmission> omissions;
    std::vector<std::string> notes; // Said first in the warning ("the graph changed since ...").
    std::size_t mergedRepeats = 0; // Nodes or edges given twice with the same content.
};

// Where a move came from, so that a writer can hand a scheme back with the step it made.
struct TForeignOrigin {
    std::size_t move = 0; // Index into TForeignMoves::moves: a reason/conclusion or exception move.
    std::string sourceId; // The inference's or the conflict's id.
    std::string scheme;
};

struct TForeignMoves {
    std::vector<TMoveText> moves;
    std::string warning; // Empty, or one sentence without the file's name.
    std::vector<TForeignOrigin> origins; // For each move that an inference or a conflict made.
};

// The moves that a foreign graph stands for, and the warning: statement moves for the claims,
// reason/conclusion moves for each premise of each inference, the warrant steps of backing, then
// exception moves for conflicts on inferences and on concluded claims. Losses that change
// statuses come first in the warning, then the parts left out, counted by kind. Never throws:
// ids that name nothing are left out and counted.
TForeignMoves MapForeignGraph(const TForeignGraph &graph);
