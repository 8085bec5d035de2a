// The plain, unoptimised model, kept unchanged as the reference for the fast one.
#include "tests/reference/statuscomputation.h"

#include "tests/reference/argumentationstage.h"

#include <utility>

namespace reference {

namespace {

bool StatementWithText(const TStatements &statements, const std::string &text)
{
    for (const TStatement *statement : statements) {
        if (statement->Text == text)
            return true;
    }
    return false;
}

void SetStatus(TArgument &a, TDefeatStatus status) { a.DefeatStatus = status; }

} // namespace

void TStatusComputation::ComputeDefeatStatus(TArgument &a)
{
    TFrame frame{TKind::Defeat};
    frame.A = &a;
    Run(std::move(frame));
}

bool TStatusComputation::StepIsWarranted(const TStatement &conclusion, TArgument &s)
{
    TFrame frame{TKind::Sentence};
    frame.Sentence = StepWarrant(s.Conclusion->Text, conclusion.Text);
    return Run(std::move(frame));
}

bool TStatusComputation::IsExceptionAttack(const TArgument &t, TArgument &b)
{
    TFrame frame{TKind::Attack};
    frame.AttackedT = &t;
    frame.B = &b;
    return Run(std::move(frame));
}

bool TStatusComputation::Run(TFrame frame)
{
    const std::size_t base = m_frames.size();
    Call(std::move(frame));
    while (m_frames.size() > base) {
        switch (m_frames.back().Kind) {
        case TKind::Defeat:
            StepDefeat();
            break;
        case TKind::Sentence:
            StepSentence();
            break;
        case TKind::Attack:
            StepAttack();
            break;
        }
    }
    return m_result;
}

void TStatusComputation::Call(TFrame frame) { m_frames.push_back(std::move(frame)); }

void TStatusComputation::Return(bool result)
{
    m_result = result;
    m_frames.pop_back();
}

void TStatusComputation::StepDefeat()
{
    TFrame &f = m_frames.back(); // Stays valid while frames are pushed above it.
    TArgument &a = *f.A;
    const TArguments &roots = m_stage.Arguments;
    for (;;) {
        switch (f.Pc) {
        case 0: // Entry.
            if (a.m_computing) {
                Return(false);
                return;
            }
            a.m_computing = true;
            f.I = 0;
            f.Pc = 1;
            break;
        case 1: // The arguments below are computed first.
            while (f.I < a.InitialArguments.Count()) {
                TArgument *s = a.InitialArguments[f.I++];
                if (s->DefeatStatus == TDefeatStatus::Undecided) {
                    TFrame call{TKind::Defeat};
                    call.A = s;
                    Call(std::move(call));
                    return;
                }
            }
            f.Pc = 2;
            break;
        case 2:
            if (a.DefeatStatus != TDefeatStatus::Undecided) {
                a.m_computing = false;
                Return(false);
                return;
            }
            if (a.Conclusion->StatementType == TStatementType::Assumption) {
                SetStatus(a, TDefeatStatus::Undefeated);
                f.Pc = 7;
                break;
            }
            f.SubargumentUndefeated = f.StepWarranted = f.Found = false;
            f.I = 0;
            f.Pc = 3;
            break;
        case 3: { // Try initial argument I as a one-step argument.
            if (f.I >= a.InitialArguments.Count()) {
                f.Pc = 6;
                break;
            }
            TArgument *s = a.InitialArguments[f.I];
            f.T.Conclusion = a.Conclusion;
            f.T.InitialArguments.Clear();
            f.T.InitialArguments.Add(s);
            if (s->DefeatStatus != TDefeatStatus::Undefeated) {
                ++f.I;
                break;
            }
            f.SubargumentUndefeated = true;
            // The step's texts are those of s's conclusion and a's, so they give the warrant
            // sentence without looking the step up.
            TFrame call{TKind::Sentence};
            call.Sentence = StepWarrant(s->Conclusion->Text, a.Conclusion->Text);
            f.Pc = 4;
            Call(std::move(call));
            return;
        }
        case 4: // Back from the warrant test.
            if (!m_result) {
                ++f.I;
                f.Pc = 3;
                break;
            }
            f.StepWarranted = true;
            f.Attacked = false;
            f.Root = 0;
            f.Child = -1;
            f.Pc = 5;
            break;
        case 5: { // The attack search over the roots and their immediate initial arguments.
            if (f.Root >= roots.Count()) {
                f.Pc = 8;
                break;
            }
            TArgument *b = roots[f.Root];
            if (f.Child >= b->InitialArguments.Count()) {
                ++f.Root;
                f.Child = -1;
                break;
            }
            TFrame call{TKind::Attack};
            call.AttackedT = &f.T;
            call.B = f.Child < 0 ? b : b->InitialArguments[f.Child];
            f.Pc = 9;
            Call(std::move(call));
            return;
        }
        case 9: // Back from IsExceptionAttack.
            if (m_result) {
                f.Attacked = true;
                if (f.Child < 0) {
                    f.Pc = 8; // Attacked by a root: the whole search ends.
                    break;
                }
                ++f.Root; // Attacked below a root: go on with the next root.
                f.Child = -1;
            } else {
                ++f.Child;
            }
            f.Pc = 5;
            break;
        case 8: // The attack search is over.
            if (!f.Attacked) {
                f.Found = true;
                SetStatus(a, TDefeatStatus::Undefeated);
                f.Pc = 6;
                break;
            }
            ++f.I;
            f.Pc = 3;
            break;
        case 6:
            if (!f.Found)
                SetStatus(a, TDefeatStatus::Defeated);
            if (!f.SubargumentUndefeated || !f.StepWarranted)
                SetStatus(a, TDefeatStatus::Undecided);
            f.Pc = 7;
            break;
        case 7:
            a.Conclusion->JustificationStatus = JustificationFor(a.DefeatStatus);
            a.m_computing = false;
            Return(false);
            return;
        }
    }
}

void TStatusComputation::StepSentence()
{
    TFrame &f = m_frames.back();
    const TArguments &roots = m_stage.Arguments;
    for (;;) {
        switch (f.Pc) {
        case 0:
            if (!StatementWithText(m_stage.Statements, f.Sentence)) {
                Return(true);
                return;
            }
            f.Root = 0;
            f.Pc = 1;
            break;
        case 1: { // A root for the sentence, computed on the spot when Undecided.
            if (f.Root >= roots.Count()) {
                Return(false);
                return;
            }
            TArgument *root = roots[f.Root];
            if (root->Conclusion->Text != f.Sentence) {
                ++f.Root;
                break;
            }
            f.Pc = 2;
            if (root->DefeatStatus == TDefeatStatus::Undecided) {
                TFrame call{TKind::Defeat};
                call.A = root;
                Call(std::move(call));
                return;
            }
            break;
        }
        case 2:
            if (roots[f.Root]->DefeatStatus == TDefeatStatus::Undefeated) {
                Return(true);
                return;
            }
            ++f.Root;
            f.Pc = 1;
            break;
        }
    }
}

void TStatusComputation::StepAttack()
{
    TFrame &f = m_frames.back();
    const TReasonConclusions &steps = m_stage.ReasonConclusions;
    const TArgument &t = *f.AttackedT;
    TArgument &b = *f.B;
    for (;;) {
        switch (f.Pc) {
        case 0: // Every step and every exception of it, with no early stop.
            f.Answer = false;
            f.Step = 0;
            f.Exception = 0;
            f.Pc = 1;
            break;
        case 1: {
            if (f.Step >= steps.Count()) {
                Return(f.Answer);
                return;
            }
            const TReasonConclusion &r = *steps[f.Step];
            if (f.Exception >= r.Exceptions.Count()) {
                ++f.Step;
                f.Exception = 0;
                break;
            }
            const TStatement &x = *r.Exceptions[f.Exception];
            if (b.Conclusion->Text == x.Text && t.Conclusion->Text == r.Conclusion->Text) {
                f.Initial = 0;
                f.Pc = 2;
            } else {
                ++f.Exception;
            }
            break;
        }
        case 2: { // Each initial argument of t concluding the step's reason.
            const TReasonConclusion &r = *steps[f.Step];
            if (f.Initial >= t.InitialArguments.Count()) {
                ++f.Exception;
                f.Pc = 1;
                break;
            }
            if (t.InitialArguments[f.Initial]->Conclusion->Text != r.Reason->Text) {
                ++f.Initial;
                break;
            }
            TFrame call{TKind::Sentence};
            call.Sentence = ExceptionWarrant(b.Conclusion->Text, r.Reason->Text, r.Conclusion->Text);
            f.Pc = 3;
            Call(std::move(call));
            return;
        }
        case 3: // Back from the exception warrant test; the attacker must be undefeated.
            if (m_result) {
                f.Pc = 4;
                if (b.DefeatStatus == TDefeatStatus::Undecided) {
                    TFrame call{TKind::Defeat};
                    call.A = &b;
                    Call(std::move(call));
                    return;
                }
                break;
            }
            ++f.Initial;
            f.Pc = 2;
            break;
        case 4:
            if (b.DefeatStatus == TDefeatStatus::Undefeated)
                f.Answer = true;
            ++f.Initial;
            f.Pc = 2;
            break;
        }
    }
}

} // namespace reference
