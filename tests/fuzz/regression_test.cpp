// The fuzz targets' seeds and every input a target once failed on, replayed through the targets'
// own checks in the ordinary build, so that a fault stays fixed without clang or libFuzzer. A new
// case is the crash file libFuzzer wrote, copied to cases/<target>/ under a name that says what
// it found.

#include "fuzz/checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The files of the folders that exist, in a fixed order.
std::vector<fs::path> inputs(std::initializer_list<fs::path> folders)
{
    std::vector<fs::path> files;
    for (const fs::path &folder : folders) {
        if (!fs::is_directory(folder))
            continue;
        for (const fs::directory_entry &entry : fs::directory_iterator(folder))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string bytesOf(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const fs::path Root = KORVANE_SOURCE_DIR;

TEST(FuzzRegressionTest, EvaluatorPassesEverySeedAndCase)
{
    const std::vector<fs::path> files = inputs(
        {Root / "fuzz/corpus/eval", Root / "examples", Root / "tests/fuzz/cases/eval"});
    ASSERT_FALSE(files.empty());
    for (const fs::path &file : files) {
        SCOPED_TRACE(file.string());
        EXPECT_EQ(fuzz::evaluatorFault(bytesOf(file)), "");
    }
}

TEST(FuzzRegressionTest, AifReaderPassesEverySeedAndCase)
{
    const std::vector<fs::path> files =
        inputs({Root / "fuzz/corpus/aif", Root / "tests/fuzz/cases/aif"});
    ASSERT_FALSE(files.empty());
    for (const fs::path &file : files) {
        SCOPED_TRACE(file.string());
        EXPECT_EQ(fuzz::aifFault(bytesOf(file)), "");
    }
}

TEST(FuzzRegressionTest, ArgdownReaderPassesEverySeedAndCase)
{
    const std::vector<fs::path> files =
        inputs({Root / "fuzz/corpus/argdown", Root / "tests/fuzz/cases/argdown"});
    ASSERT_FALSE(files.empty());
    for (const fs::path &file : files) {
        SCOPED_TRACE(file.string());
        EXPECT_EQ(fuzz::argdownFault(bytesOf(file)), "");
    }
}

TEST(FuzzRegressionTest, EngineMatchesReferenceOnEverySeedAndCase)
{
    const std::vector<fs::path> files =
        inputs({Root / "fuzz/corpus/differential", Root / "tests/fuzz/cases/differential"});
    ASSERT_FALSE(files.empty());
    for (const fs::path &file : files) {
        SCOPED_TRACE(file.string());
        const std::string bytes = bytesOf(file);
        const std::span<const std::uint8_t> input(
            reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
        EXPECT_EQ(fuzz::differenceFault(input), "");
    }
}

} // namespace
