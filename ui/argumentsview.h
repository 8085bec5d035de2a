#pragma once

#include <cstdint>

// Which argument list of the current stage the arguments view shows.
enum class TArgumentsView : std::uint8_t { avCoordinated = 0, avNotCoordinated = 1 };
