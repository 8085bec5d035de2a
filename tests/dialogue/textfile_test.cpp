#include "dialogue/textfile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using Lines = std::vector<std::string>;

class TTemporaryDirectory {
public:
    TTemporaryDirectory()
    {
        const auto *info = testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path()
                 / (std::string("korvane-") + info->test_suite_name() + "-" + info->name() + "-"
                    + std::to_string(::getpid()));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TTemporaryDirectory() { std::filesystem::remove_all(m_path); }

    std::string file(const std::string &name) const { return (m_path / name).string(); }
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const auto &entry : std::filesystem::directory_iterator(m_path))
            result.push_back(entry.path().filename().string());
        return result;
    }

private:
    std::filesystem::path m_path;
};

std::string contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(TextFileTest, DecodesUtf8OrElseWindows1252)
{
    struct TCase {
        const char *name;
        std::string bytes;
        std::string text;
    };
    const TCase cases[] = {
        {"empty", "", ""},
        {"ascii with controls", std::string("a\0b\x7f\r\n", 6), std::string("a\0b\x7f\r\n", 6)},
        {"utf-8 kept", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x99\x82", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x99\x82"},
        {"byte-order mark skipped", "\xef\xbb\xbfr", "r"},
        {"only a byte-order mark", "\xef\xbb\xbf", ""},
        {"byte-order mark later kept", "r\xef\xbb\xbf", "r\xef\xbb\xbf"},
        {"latin letter", "caf\xe9", "caf\xc3\xa9"},
        {"euro and quotes", "\x80\x93\x94", "\xe2\x82\xac\xe2\x80\x9c\xe2\x80\x9d"},
        {"undefined bytes become C1 controls", "\x81\x8d\x8f\x90\x9d",
         "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d"},
        {"one bad byte decides the whole file", "\xc3\xa9\xff", "\xc3\x83\xc2\xa9\xc3\xbf"},
        {"byte-order mark of a non-utf-8 file kept", "\xef\xbb\xbf\xe9",
         "\xc3\xaf\xc2\xbb\xc2\xbf\xc3\xa9"},
        {"overlong form", "\xc0\xaf", "\xc3\x80\xc2\xaf"},
        {"surrogate", "\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac"},
        {"beyond U+10FFFF", "\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xe2\x82\xac\xe2\x82\xac"},
        {"cut-off sequence at the end", "a\xe2\x82", "a\xc3\xa2\xe2\x80\x9a"},
    };
    for (const TCase &each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(DecodeFileText(each.bytes), each.text);
    }
}

TEST(TextFileTest, SplitsAtEveryKindOfLineBreak)
{
    struct TCase {
        const char *name;
        std::string text;
        Lines lines;
    };
    const TCase cases[] = {
        {"empty", "", {}},
        {"no final break", "a", {"a"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"lone LF", "a\nb\n", {"a", "b"}},
        {"lone CR", "a\rb", {"a", "b"}},
        {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"empty lines", "\r\n\r\n", {"", ""}},
        {"CR then CR LF", "\r\r\n", {"", ""}},
        {"LF then CR", "\n\r", {"", ""}},
        {"only CRs", "\r\r\r", {"", "", ""}},
        {"blanks and NUL kept", std::string(" a \0\r\n", 6), {std::string(" a \0", 4)}},
    };
    for (const TCase &each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(SplitTextLines(each.text), each.lines);
    }
}

TEST(TextFileTest, JoinEndsEveryLineWithCrLf)
{
    EXPECT_EQ(JoinTextLines({}), "");
    EXPECT_EQ(JoinTextLines({""}), "\r\n");
    EXPECT_EQ(JoinTextLines({"STATEMENT MOVE: ", "    a"}), "STATEMENT MOVE: \r\n    a\r\n");
    const Lines lines{"", "  x  ", "", "y"};
    EXPECT_EQ(SplitTextLines(JoinTextLines(lines)), lines);
}

TEST(TextFileTest, ReadsWhatItWroteAndReplacesWholeFiles)
{
    TTemporaryDirectory directory;
    const std::string path = directory.file("line.btg");
    const std::string first("one\r\n\0two\r\n", 11);
    WriteFileAtomically(path, first);
    EXPECT_EQ(ReadFileBytes(path), first);
    WriteFileAtomically(path, "x");
    EXPECT_EQ(contents(path), "x");
    WriteFileAtomically(path, "");
    EXPECT_EQ(contents(path), "");
    EXPECT_EQ(directory.names(), Lines{"line.btg"}); // No temporary left behind.
}

TEST(TextFileTest, ReplacesTheFileALinkNamesAndKeepsItsPermissions)
{
    namespace fs = std::filesystem;
    TTemporaryDirectory directory;
    const std::string target = directory.file("private.btg");
    const std::string link = directory.file("link.btg");
    WriteFileAtomically(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(target, link);

    WriteFileAtomically(link, "new");

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(target), "new");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(directory.names().size(), 2u);
}

TEST(TextFileTest, RefusesToReplaceAWriteProtectedFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    namespace fs = std::filesystem;
    TTemporaryDirectory directory;
    const std::string path = directory.file("kept.btg");
    WriteFileAtomically(path, "old");
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_THROW(WriteFileAtomically(path, "new"), TFileError);
    EXPECT_EQ(contents(path), "old");
}

TEST(TextFileTest, StopsReadingPastTheLimit)
{
    TTemporaryDirectory directory;
    const std::string path = directory.file("big.loa");
    WriteFileAtomically(path, std::string(200 * 1024, 'x'));
    const struct {
        std::size_t limit;
        bool read;
    } cases[] = {{200 * 1024, true}, {200 * 1024 - 1, false}, {0, false}};
    for (const auto &each : cases) {
        SCOPED_TRACE(each.limit);
        std::string bytes = "old";
        int error = 0;
        EXPECT_EQ(ReadFileBytes(path, bytes, &error, each.limit), each.read);
        EXPECT_EQ(bytes.size(), each.read ? 200 * 1024 : 0);
        EXPECT_EQ(error, each.read ? 0 : EFBIG);
    }
}

TEST(TextFileTest, ReportsFilesItCannotReadOrWrite)
{
    TTemporaryDirectory directory;
    const std::string missing = directory.file("missing.loa");
    try {
        ReadFileBytes(missing);
        ADD_FAILURE() << "no error";
    } catch (const TFileError &error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + missing);
    }

    std::string bytes;
    int error = 0;
    EXPECT_FALSE(ReadFileBytes(missing, bytes, &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(ReadFileBytes(directory.file(""), bytes, &error)); // A directory.
    EXPECT_EQ(error, EISDIR);

    const std::string blocked = directory.file("no-such-folder/line.btg");
    try {
        WriteFileAtomically(blocked, "x");
        ADD_FAILURE() << "no error";
    } catch (const TFileError &failure) {
        EXPECT_EQ(std::string(failure.what()), "Cannot create file " + blocked);
    }
    // A directory in the way: the temporary is made and must be cleaned up again.
    std::filesystem::create_directory(directory.file("taken"));
    EXPECT_THROW(WriteFileAtomically(directory.file("taken"), "x"), TFileError);
    EXPECT_EQ(directory.names(), Lines{"taken"});
}
