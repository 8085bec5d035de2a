#pragma once

#include "argument.h"
#include "statement.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TArgumentationStage;

// The fact that decided an argument's defeat status, as the status computation met it.
enum class TWhyKind : std::uint8_t {
    Assumption,         // Undefeated: its conclusion is an assumption.
    Unblocked,          // Undefeated: an undefeated reason, its step warranted and not blocked.
    Blocked,            // Defeated: every warranted step from an undefeated reason is blocked.
    NoReasons,          // Undecided: an issue without initial arguments.
    NoUndefeatedReason, // Undecided: no initial argument is undefeated.
    NoWarrantedStep,    // Undecided: no step from an undefeated initial argument is warranted.
};

// Whether the step from the reason counted as warranted.
enum class TWarrantState : std::uint8_t {
    NotStated,   // Its warrant sentence is no statement: it counts.
    Supported,   // Stated, with an undefeated root.
    Unsupported, // Stated, without one.
    InProgress,  // Stated, and a root for it was still being computed: not undefeated.
};

// What the attack search found for the step from the reason.
enum class TBlockState : std::uint8_t {
    NoException,           // The step lists no exception.
    NotFound,              // No argument for its exceptions stands where attackers are sought.
    Blocks,                // An exception's undefeated argument attacks.
    WarrantUnsupported,    // An exception's warrant is stated without an undefeated root.
    WarrantInProgress,     // An exception's warrant has a root still being computed.
    AttackerNotUndefeated, // The exception's argument is defeated or undecided.
    AttackerInProgress,    // The exception's argument was still being computed.
};

struct TWhy {
    TWhyKind Kind = TWhyKind::NoReasons;
    // The initial argument that the fact is about (for NoUndefeatedReason the first one met, one
    // still being computed before any other); null for Assumption and NoReasons.
    const TArgument *Reason = nullptr;
    TDefeatStatus ReasonStatus = TDefeatStatus::Undecided; // As met.
    bool ReasonInProgress = false;
    TWarrantState Warrant = TWarrantState::NotStated;
    const TStatement *WarrantStatement = nullptr; // When stated.
    const TArgument *WarrantRoot =
        nullptr; // Supported: the undefeated root; InProgress: that root.
    TBlockState Block = TBlockState::NoException;
    const TArgument *Attacker = nullptr; // The exception's argument looked at, if any.
    TDefeatStatus AttackerStatus = TDefeatStatus::Undecided; // As met.
    const TStatement *ExceptionWarrant = nullptr;            // When stated.
    const TArgument *ExceptionWarrantRoot = nullptr;
    int OtherBlocked = 0; // Blocked: further warranted steps from undefeated reasons, all blocked.
    // False when the computation met an argument still in progress on the way: the statuses it
    // names may have been decided differently since.
    bool Settled = true;
};

// A sentence that explains a status and the objects it names, in order of mention.
struct TWhySentence {
    std::string Text;
    std::vector<const TStatement *> Statements;
    std::vector<const TArgument *> Nodes;
};

// What one status computation recorded: for each argument the fact that decided its status, and
// for each statement the argument whose computation wrote its status last.
class TExplanations {
public:
    const TWhy *ForArgument(const TArgument &argument) const;
    // Null when no argument for the statement was computed.
    const TArgument *LastComputed(const TStatement &statement) const;
    // The index path of a node from the stage's roots, "2.1.3": the second root's first initial
    // argument's third. Empty for a node outside the trees. Made when asked: it grows with depth.
    std::string Path(const TArgument &node) const;
    // A node's number where the trees are walked depth first, node before its initial arguments,
    // one root after the other, counting from 1 and walking a node that trees share once; 0 for
    // a node outside the trees. A shared node has the number and path of where the walk met it
    // first.
    std::size_t Number(const TArgument &node) const;

    // How a sentence writes a statement's text: in plain double quotes unless told otherwise.
    using TQuote = void (*)(std::string &out, std::string_view text);
    static void PlainQuote(std::string &out, std::string_view text);

    TWhySentence Explain(const TArgument &argument, TQuote quote = PlainQuote) const;
    TWhySentence Explain(const TStatement &statement, TQuote quote = PlainQuote) const;

private:
    friend class TStatusComputation;
    friend class TArgumentationStage;

    void IndexNodes(const TArgumentationStage &stage);

    // Where the walk met a node first: under which node (null for a root), as which of its
    // initial arguments (or roots), and as which node of the walk.
    struct TPlace {
        const TArgument *parent;
        int index;
        std::size_t number;
    };

    std::unordered_map<const TArgument *, TWhy> m_arguments;
    std::unordered_map<const TStatement *, const TArgument *> m_lastComputed;
    std::unordered_map<const TArgument *, TPlace> m_places;
};
