#pragma once

#include "dialogue/movereader.h"

#include <string>
#include <string_view>
#include <vector>

// The moves an AIF file stands for, and what of it they leave out.
struct TAifMoves {
    std::vector<TMoveText> moves;
    std::string warning; // Empty, or one sentence (without the file's name) of the parts left out.
};

// True when the bytes are JSON rather than a move file: the first byte that is no blank or line
// break is '{', which no move heading starts with.
bool IsAifText(std::string_view bytes);

// The moves of an AIF file's bytes (UTF-8, or else Windows-1252, as move files are read). A file
// that Korvane wrote replays the moves of its "korvane" object. Any other graph becomes
// statement moves for its I-nodes, one reason/conclusion move for each premise of an RA-node
// and exception moves for CA-nodes that attack RA-nodes, in the order of the nodes; the rest is
// named in the warning. Throws TFileError "<fileName>:<line>: ..." for text that is no JSON or
// has the wrong shape.
TAifMoves ReadAifFile(std::string_view bytes, const std::string &fileName);
