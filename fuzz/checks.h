#pragma once

// What the fuzz targets check, apart from libFuzzer, so that the ordinary tests can replay the
// inputs the targets once failed on.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fuzz {

// Runs korvane-eval in process on the bytes as a file of moves, once for each report, and saves
// and reopens the line the moves make. Returns what went wrong, or an empty string when every run
// gave a sound report or refused in one FILE:LINE line.
std::string evaluatorFault(std::string_view bytes);

// Reads the bytes as an AIF file, replays its moves, and writes and reads the stage as AIF again.
// Returns what went wrong, or an empty string when the file was refused in one FILE:LINE line or
// its stage came back the same from what was written.
std::string aifFault(std::string_view bytes);

// Reads the bytes as an Argdown file, replays its moves, and writes and reads the stage as
// Argdown again. Returns what went wrong, or an empty string when the file was refused in one
// FILE:LINE line or its stage came back the same from what was written.
std::string argdownFault(std::string_view bytes);

// Makes the line the bytes encode (the first eight choose the answers to the confirmations) on
// the engine and on the reference model. Returns the first difference, or an empty string when
// the two agree after every move, or the engine refused a move as over its work budget.
std::string differenceFault(std::span<const std::uint8_t> bytes);

} // namespace fuzz
