#pragma once

class TArgumentationStage;
struct TMoveText;

// Keeps a replay within what one run can afford. The model rebuilds every argument tree along
// every path through the steps, so twenty moves can ask for billions of nodes; this estimates
// each move's work and memory from the stage's shape before the move is made.
class TReplayCost {
public:
    // Adds the move's cost when the totals stay within the limits and returns true; otherwise
    // returns false and adds nothing. The stage is the one the move would be applied to.
    bool Admit(const TArgumentationStage &stage, const TMoveText &move);

    double work() const { return m_work; }
    double memory() const { return m_memory; }

    // Work in list and text operations, memory in bytes: a few seconds and a few hundred MB.
    static constexpr double WorkLimit = 1e9;
    static constexpr double MemoryLimit = 512.0 * 1024 * 1024;

private:
    double m_work = 0;
    double m_memory = 0;
};
