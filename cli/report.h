#pragma once

#include "model/argument.h"
#include "model/statement.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

class TExplanations;
class TLineOfArgumentation;

// One question the line of argumentation asked while a move was replayed.
struct TMessage {
    std::size_t move = 0; // 1-based index of the move in the file.
    bool confirm = false;
    std::string text;
    bool yes = false;
};

// The stage the line reached, with the questions asked on the way: korvane-eval's report as
// text (movesRead: the moves the file held) and as one JSON object. With explanations of the
// stage, every statement and node says why it has its status.
// Both are written to the stream as they are made.
void WriteTextReport(std::ostream &stream, const TLineOfArgumentation &line,
                     const std::vector<TMessage> &messages, std::size_t movesRead,
                     const TExplanations *explanations = nullptr);
void WriteJsonReport(std::ostream &stream, const TLineOfArgumentation &line,
                     const std::vector<TMessage> &messages,
                     const TExplanations *explanations = nullptr);

// Appends text as a JSON string: quotes, backslashes and control bytes escaped. For a terminal
// the C1 controls (U+0080 to U+009F) are escaped too: terminals act on them.
void AppendQuoted(std::string &out, std::string_view text, bool forTerminal = false);
