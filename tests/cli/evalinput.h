#pragma once

// korvane-eval run in process on a text, and random lines of argumentation as the text of a
// move file, for korvane-eval's tests.

#include "cli/evaluator.h"
#include "tests/reference/lines.h"

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

struct TEvalRun {
    int status = 0;
    std::string out, err;
};

// korvane-eval with the arguments, reading the input from standard input ("-" is added).
inline TEvalRun runEval(std::vector<std::string> arguments, const std::string &input)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::tmpfile(), std::fclose);
    std::fwrite(input.data(), 1, input.size(), file.get());
    std::rewind(file.get());
    arguments.push_back("-");
    std::ostringstream out, err;
    const int status = RunEvaluator(arguments, file.get(), out, err);
    return {status, out.str(), err.str()};
}

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
