#pragma once

#include <string>

// The two questions the line of argumentation puts to the user. The desktop program answers
// them with message boxes; tests and the evaluator answer them in code.
class TMessageBoxes {
public:
    virtual ~TMessageBoxes() = default;
    // A warning (caption "Warning", one OK button). Returns once acknowledged.
    virtual void Warning(const std::string &text) = 0;
    // A confirmation (caption "Confirm", Yes and No). True only for Yes.
    virtual bool Confirm(const std::string &text) = 0;
};
