// libFuzzer target: the input as an Argdown file, through the reader, a replay and a written copy.

#include "checks.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string fault = fuzz::argdownFault({reinterpret_cast<const char *>(data), size});
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort(); // libFuzzer keeps the input as a crash.
    }
    return 0;
}
