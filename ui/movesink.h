#pragma once

class TLineOfArgumentation;
class TReasonConclusion;
class TStatement;

// What the move dialogs need of the main window: the line whose current stage they offer, and
// the three operations that make a move and refresh the visible view.
class TMoveSink {
public:
    virtual ~TMoveSink() = default;
    virtual TLineOfArgumentation &lineOfArgumentation() = 0;
    virtual bool MakeStatementMove(TStatement *statement) = 0;
    virtual void MakeReasonConclusionMove(TReasonConclusion *step) = 0;
    virtual void MakeExceptionMove(TReasonConclusion *step) = 0;
};
