#pragma once

#include <cstdint>

// How often a move took one of the paths that compute only what it changes, on this thread.
// The differential test reads them to show that its lines still reach every path.
struct TIncrementalPaths {
    std::uint64_t NewRootOnly = 0; // A statement move computed its new root alone.
    std::uint64_t GrownByStep = 0; // A reason/conclusion move grew the trees instead of rebuilding.
};
TIncrementalPaths &IncrementalPathHits();

// True when the model was built with KORVANE_CHECK_INCREMENTAL: every move that takes such a
// path is then, while checking is on for the thread, computed again in full and compared, and
// a difference ends the program.
bool IncrementalCheckBuilt();
void SetIncrementalCheck(bool on);
bool IncrementalCheckOn();
