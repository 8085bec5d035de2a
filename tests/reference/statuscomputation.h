// The plain, unoptimised model, kept unchanged as the reference for the fast one.
#pragma once

#include "tests/reference/argument.h"

#include <cstddef>
#include <deque>
#include <string>

namespace reference {

class TArgumentationStage;
class TStatement;

// Runs the defeat-status computation of one stage without recursing on the call stack: every
// nested ComputeDefeatStatus, StepIsWarranted and IsExceptionAttack becomes a frame of its own,
// so argument trees of any depth are safe. The frames make the same calls and writes in the same
// order as the plainly recursive reading would.
//
// Cycles: an argument whose computation is on the stack is not computed again when met; the
// nested call returns at once, writes nothing, and the argument stays Undecided for its caller.
class TStatusComputation {
public:
    explicit TStatusComputation(TArgumentationStage &stage) : m_stage(stage) {}

    void ComputeDefeatStatus(TArgument &a);
    bool StepIsWarranted(const TStatement &conclusion, TArgument &s);
    bool IsExceptionAttack(const TArgument &t, TArgument &b);

private:
    enum class TKind : unsigned char { Defeat, Sentence, Attack };

    // The locals of one call. A frame lives in a deque, so the one-step argument that a Defeat
    // frame holds keeps its address while the Attack frames it calls refer to it.
    struct TFrame {
        explicit TFrame(TKind kind) : Kind(kind) {}

        TKind Kind;
        int Pc = 0;
        // Defeat: a is the argument computed, t the one-step argument of initial argument i.
        TArgument *A = nullptr;
        TArgument T;
        int I = 0;
        int Root = 0;
        int Child = -1; // -1: the root itself is tried next.
        bool SubargumentUndefeated = false;
        bool StepWarranted = false;
        bool Found = false;
        bool Attacked = false;
        // Sentence: does a warrant sentence count, being no statement or having an undefeated
        // root? It serves StepIsWarranted and the exception warrants of IsExceptionAttack.
        std::string Sentence;
        // Attack: does b attack t?
        const TArgument *AttackedT = nullptr;
        TArgument *B = nullptr;
        int Step = 0;
        int Exception = 0;
        int Initial = 0;
        bool Answer = false;
    };

    bool Run(TFrame frame);
    // Each advances the top frame until it calls (pushes a frame) or returns (pops it).
    void StepDefeat();
    void StepSentence();
    void StepAttack();
    void Call(TFrame frame);
    void Return(bool result);

    TArgumentationStage &m_stage;
    std::deque<TFrame> m_frames;
    bool m_result = false; // What the frame popped last returned.
};

} // namespace reference
