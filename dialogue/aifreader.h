#pragma once

#include "dialogue/aifextras.h"
#include "dialogue/movereader.h"

#include <string>
#include <string_view>
#include <vector>

// The moves an AIF file stands for, what of it they leave out, and what the AIF export needs
// to write the file's other parts back.
struct TAifMoves {
    std::vector<TMoveText> moves;
    std::string warning; // Empty, or one sentence (without the file's name) of the parts left out.
    TAifExtras extras;
};

// True when the bytes are JSON rather than a move file: the first byte that is no blank or line
// break is '{', which no move heading starts with.
bool IsAifText(std::string_view bytes);

// The moves of an AIF file's bytes (UTF-8, or else Windows-1252, as move files are read; UTF-16
// is refused by name), from its top-level graph or else from an xAIF file's "AIF" object. A file
// that Korvane wrote, with a graph still as its "korvane" moves give it, replays those moves; any
// other graph is mapped as MapForeignGraph does, with the types of "korvane" where a node id
// remains. Nodes and edges given twice alike are merged. Throws TFileError
// "<fileName>:<line>: ..." for text that is no JSON or has the wrong shape.
TAifMoves ReadAifFile(std::string_view bytes, const std::string &fileName);
