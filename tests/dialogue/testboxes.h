#pragma once

#include "dialogue/messageboxes.h"

#include <string>
#include <vector>

// Answers every confirmation with one scripted answer and keeps every text it was shown.
class TTestBoxes : public TMessageBoxes {
public:
    void Warning(const std::string &text) override { warnings.push_back(text); }
    bool Confirm(const std::string &text) override
    {
        confirmations.push_back(text);
        return answer;
    }

    bool answer = true;
    std::vector<std::string> warnings;
    std::vector<std::string> confirmations;
};
