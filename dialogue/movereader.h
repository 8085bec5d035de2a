#pragma once

#include "model/statement.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class TMoveKind : std::uint8_t { Statement = 0, ReasonConclusion = 1, Exception = 2 };

// One sentence of a move as its two text lines give it.
struct TSentenceText {
    std::string Text;
    TStatementType StatementType = TStatementType::Issue;
};

// One move read back from the text lines that the line of argumentation wrote for it.
struct TMoveText {
    TMoveKind Kind = TMoveKind::Statement;
    long long Line = 0; // 1-based line of the heading.
    // In the order of the lines: the statement; or the reason and the conclusion; or the reason,
    // the conclusion and the exception.
    std::vector<TSentenceText> Sentences;
};

// The moves of the text (already decoded and whole), in order. Throws TFileError
// "<fileName>:<line>: expected ..." at the first line that does not fit a move's shape; a text
// that ends inside a move reports the number of its lines plus one.
std::vector<TMoveText> ReadMoveText(std::string_view text, const std::string &fileName);

// The moves of a move file's bytes: decoded as DecodeFileText does and read as ReadMoveText
// does. A file in UTF-16, which no decoding of 8-bit text can read, is refused by name first.
std::vector<TMoveText> ReadMoveFile(std::string_view bytes, const std::string &fileName);
