#pragma once

// Random lines of argumentation as the text of a move file, for korvane-eval's tests.

#include "tests/reference/lines.h"

#include <string>

// The moves as a move file holds them, the ones a line would decline or refuse included.
inline std::string moveText(unsigned seed)
{
    lines::TLineMaker maker(seed);
    std::string text;
    const auto sentence = [&](const lines::TSentence &each) {
        text += "    " + each.text + "\r\n        TYPE: ";
        text += each.issue ? "Issue\r\n" : "Assumption\r\n";
    };
    for (int index = maker.length(); index > 0; --index) {
        const lines::TMove move = maker.next();
        text += move.size() == 1   ? "STATEMENT MOVE: \r\n"
                : move.size() == 2 ? "REASON/CONCLUSION MOVE: \r\n"
                                   : "EXCEPTION MOVE: \r\n";
        sentence(move[0]);
        if (move.size() > 1) {
            text += "    THEREFORE \r\n";
            sentence(move[1]);
        }
        if (move.size() > 2) {
            text += "    HOWEVER \r\n";
            sentence(move[2]);
        }
    }
    return text;
}
