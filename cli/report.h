#pragma once

#include <cstddef>
#include <string>
#include <vector>

class TLineOfArgumentation;

// One question the line of argumentation asked while a move was replayed.
struct TMessage {
    std::size_t move = 0; // 1-based index of the move in the file.
    bool confirm = false;
    std::string text;
    bool yes = false;
};

// The stage the line reached, with the questions asked on the way: korvane-eval's report as
// text (movesRead: the moves the file held) and as one JSON object.
std::string TextReport(const TLineOfArgumentation &line, const std::vector<TMessage> &messages,
                       std::size_t movesRead);
std::string JsonReport(const TLineOfArgumentation &line, const std::vector<TMessage> &messages);
