#pragma once

class TLineOfArgumentation;
class TReasonConclusion;
class TStatement;

// What the move dialogs need of the main window: the line whose current stage they offer, and
// the operations that make a move and refresh the visible view.
class TMoveSink {
public:
    virtual ~TMoveSink() = default;
    virtual TLineOfArgumentation &lineOfArgumentation() = 0;
    virtual bool MakeStatementMove(TStatement *statement) = 0;
    virtual void MakeReasonConclusionMove(TReasonConclusion *step) = 0;
    virtual void MakeExceptionMove(TReasonConclusion *step) = 0;
    // Full mode shows more in the dialogs and checks what they hand over.
    virtual bool FullMode() const { return false; }
    // The moves of one OK are made: full mode makes them one undo step.
    virtual void MovesDone() {}
    // True while a move computes on its thread: the line may not be read or allocated in, so a
    // dialog refuses a second OK before it looks at anything.
    virtual bool Busy() const { return false; }
};
