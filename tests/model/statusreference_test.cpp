// Compares the status computation with a plainly recursive reading of its rules on many small
// random stages, cycles included: both must make the same writes.

#include "stagefixture.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

class TRecursiveStatuses {
public:
    explicit TRecursiveStatuses(TArgumentationStage &stage) : m_stage(stage) {}

    void ComputeStatuses()
    {
        for (TArgument *root : m_stage.Arguments)
            Reset(*root);
        for (TStatement *statement : m_stage.Statements)
            statement->JustificationStatus = TJustificationStatus::Undecided;
        for (TArgument *root : m_stage.Arguments) {
            if (root->DefeatStatus == TDefeatStatus::Undecided)
                Compute(*root);
        }
    }

private:
    void Reset(TArgument &a)
    {
        for (TArgument *child : a.InitialArguments)
            Reset(*child);
        a.DefeatStatus = TDefeatStatus::Undecided;
    }

    bool Supported(const std::string &text)
    {
        bool stated = false;
        for (const TStatement *statement : m_stage.Statements)
            stated = stated || statement->Text == text;
        if (!stated)
            return true;
        for (TArgument *root : m_stage.Arguments) {
            if (root->Conclusion->Text != text)
                continue;
            if (root->DefeatStatus == TDefeatStatus::Undecided)
                Compute(*root);
            if (root->DefeatStatus == TDefeatStatus::Undefeated)
                return true;
        }
        return false;
    }

    bool Attacks(const TArgument &t, TArgument &b)
    {
        bool answer = false;
        for (const TReasonConclusion *r : m_stage.ReasonConclusions) {
            for (const TStatement *x : r->Exceptions) {
                if (b.Conclusion->Text != x->Text || t.Conclusion->Text != r->Conclusion->Text)
                    continue;
                for (const TArgument *i : t.InitialArguments) {
                    if (i->Conclusion->Text != r->Reason->Text)
                        continue;
                    if (Supported(ExceptionWarrant(b.Conclusion->Text, r->Reason->Text,
                                                   r->Conclusion->Text))) {
                        if (b.DefeatStatus == TDefeatStatus::Undecided)
                            Compute(b);
                        if (b.DefeatStatus == TDefeatStatus::Undefeated)
                            answer = true;
                    }
                }
            }
        }
        return answer;
    }

    void Compute(TArgument &a)
    {
        if (!m_inProgress.insert(&a).second)
            return;
        for (TArgument *s : a.InitialArguments) {
            if (s->DefeatStatus == TDefeatStatus::Undecided)
                Compute(*s);
        }
        if (a.DefeatStatus != TDefeatStatus::Undecided) {
            m_inProgress.erase(&a);
            return;
        }
        if (a.Conclusion->StatementType == TStatementType::Assumption) {
            a.DefeatStatus = TDefeatStatus::Undefeated;
        } else {
            bool subargument = false, warranted = false, found = false;
            for (TArgument *s : a.InitialArguments) {
                TArgument t;
                t.Conclusion = a.Conclusion;
                t.InitialArguments.Add(s);
                if (s->DefeatStatus != TDefeatStatus::Undefeated)
                    continue;
                subargument = true;
                if (!Supported(StepWarrant(s->Conclusion->Text, a.Conclusion->Text)))
                    continue;
                warranted = true;
                bool attacked = false;
                for (TArgument *b : m_stage.Arguments) {
                    if (Attacks(t, *b)) {
                        attacked = true;
                        break;
                    }
                    for (TArgument *c : b->InitialArguments) {
                        if (Attacks(t, *c)) {
                            attacked = true;
                            break;
                        }
                    }
                }
                if (!attacked) {
                    found = true;
                    a.DefeatStatus = TDefeatStatus::Undefeated;
                    break;
                }
            }
            if (!found)
                a.DefeatStatus = TDefeatStatus::Defeated;
            if (!subargument || !warranted)
                a.DefeatStatus = TDefeatStatus::Undecided;
        }
        a.Conclusion->JustificationStatus = JustificationFor(a.DefeatStatus);
        m_inProgress.erase(&a);
    }

    TArgumentationStage &m_stage;
    std::set<const TArgument *> m_inProgress;
};

std::vector<int> Snapshot(const TArgumentationStage &stage)
{
    std::vector<int> statuses;
    std::vector<const TArgument *> stack(stage.Arguments.begin(), stage.Arguments.end());
    while (!stack.empty()) {
        const TArgument *node = stack.back();
        stack.pop_back();
        statuses.push_back(static_cast<int>(node->DefeatStatus));
        stack.insert(stack.end(), node->InitialArguments.begin(), node->InitialArguments.end());
    }
    for (const TStatement *statement : stage.Statements)
        statuses.push_back(10 + static_cast<int>(statement->JustificationStatus));
    return statuses;
}

TEST_F(StageTest, TheComputationMatchesTheRecursiveRulesOnRandomStages)
{
    std::mt19937 random(7);
    const std::vector<std::string> texts = {"a", "b", "c", "d", "e"};
    auto text = [&] { return texts[random() % texts.size()]; };
    auto type = [&] { return random() % 2 ? Issue : Assumption; };
    for (int round = 0; round < 300; ++round) {
        stage = arena.NewStage();
        const int moves = 2 + static_cast<int>(random() % 7);
        std::vector<std::pair<std::string, std::string>> steps;
        for (int move = 0; move < moves; ++move) {
            const auto kind = random() % 5;
            if (kind == 0) {
                Say(text(), type());
            } else if (kind == 1 && !steps.empty()) {
                // A warrant of a step made before, as the dialogs' check boxes add them.
                const auto &[reason, conclusion] = steps[random() % steps.size()];
                Say(random() % 2 ? StepWarrant(reason, conclusion)
                                 : ExceptionWarrant(text(), reason, conclusion),
                    type());
            } else if (kind == 2) {
                const std::string reason = text(), conclusion = text();
                Except(text(), type(), reason, type(), conclusion, type());
                steps.emplace_back(reason, conclusion);
            } else {
                const std::string reason = text(), conclusion = text();
                Argue(reason, type(), conclusion, type());
                steps.emplace_back(reason, conclusion);
            }
            const std::vector<int> computed = Snapshot(*stage);
            TRecursiveStatuses(*stage).ComputeStatuses();
            ASSERT_EQ(Snapshot(*stage), computed) << "round " << round << ", move " << move;
        }
    }
}

} // namespace
