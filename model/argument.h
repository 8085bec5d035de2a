#pragma once

#include "statement.h"

#include <cstdint>
#include <string_view>

class TArena;
class TArgument;

enum class TDefeatStatus : std::uint8_t { Defeated = 0, Undefeated = 1, Undecided = 2 };

// The justification status that an argument's defeat status gives its conclusion.
TJustificationStatus JustificationFor(TDefeatStatus status);
// "Defeated", "Undefeated" or "Undecided".
std::string_view DefeatStatusName(TDefeatStatus status);

class TArguments : public TRefList<TArgument> {
public:
    // Index of the first argument with the structure of a, or -1.
    int InList(const TArgument &a) const;
    // Index of the first argument of which a is a sub-argument, or -1.
    int InExtendedList(const TArgument &a) const;
};

// A tree of statements joined by steps: Conclusion at the root, one initial argument per reason.
// Arguments may be shared between trees and stages; a TArena owns them. Statements are compared
// by text everywhere except in Implant. No operation here changes its inputs, and none recurses
// on the call stack, so trees of any depth are safe.
class TArgument {
public:
    TStatement *Conclusion = nullptr; // Not owned.
    TArguments InitialArguments;
    TDefeatStatus DefeatStatus = TDefeatStatus::Undecided;

    // Appends to r (created in arena when null) one argument S.Conclusion <- part for each part of
    // b that concludes S's reason and lies below no other such part, skipping structural repeats.
    static void ExtendArgumentAtConclusion(TArena &arena, TArgument &b, const TReasonConclusion &s,
                                           TArguments *&r);

    // Makes e (created in arena when null) a copy of b in which every part concluding S's
    // conclusion without a reason of S's reason text gains S's reason as a last initial argument.
    static void ExtendArgumentAtReason(TArena &arena, const TArgument &b,
                                       const TReasonConclusion &s, TArgument *&e);

    // Sets e to a copy of this tree in which each part whose conclusion is the very statement
    // object of a's conclusion is replaced by a itself (e is a when the root matches).
    void Implant(TArena &arena, TArgument &a, TArgument *&e) const;

    // True when both trees have equal texts at the root and their initial arguments pair up
    // one to one, in any order, by this same test.
    bool HasEqualStructure(const TArgument &a) const;
    // True when a has the structure of some argument strictly below this root.
    bool IsInitial(const TArgument &a) const;
    // True when a keeps this conclusion and, at every level, only reasons this tree has there.
    bool IsNarrowing(const TArgument &a) const;
    // True when some part of this tree (the root included) equals or is narrowed to a.
    bool IsSubargument(const TArgument &a) const;

    // The statements of the tree in pre-order, one entry per node; the caller owns the list.
    TStatements GiveStatements() const;

    void DoReasonConclusionMove() {}
};
