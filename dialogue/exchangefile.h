#pragma once

#include "dialogue/aifreader.h"

#include <string>
#include <string_view>

// The moves of a file that Open takes, whichever of its kinds it is: AIF (known by its contents,
// whatever its name), Argdown (a name ending in ".argdown") or a file of moves. Throws
// TFileError "<fileName>:<line>: ..." as the reader of its kind does.
TAifMoves ReadExchangeFile(std::string_view bytes, const std::string &fileName);

// True when ReadExchangeFile reads the bytes as a file of moves, the one kind Save writes.
bool IsMoveFile(std::string_view bytes, const std::string &fileName);
