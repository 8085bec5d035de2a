#pragma once

#include <cstdio>
#include <iosfwd>
#include <string>
#include <vector>

// Runs korvane-eval with the given arguments (the program name left out): reads the file, or
// input for "-", replays its moves and writes the stage reached to out. Returns the exit status:
// 0 with the report on out (and, for an AIF graph with parts Korvane cannot hold, one warning
// line on err), or 2 with one line on err and nothing on out.
int RunEvaluator(const std::vector<std::string> &arguments, std::FILE *input, std::ostream &out,
                 std::ostream &err);
