// libFuzzer target: the input as the choices of a line of moves, made on the engine and on the
// reference model.

#include "checks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string fault = fuzz::differenceFault({data, size});
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort(); // libFuzzer keeps the input as a crash.
    }
    return 0;
}
