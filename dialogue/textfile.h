#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

class TLineOfArgumentation;
struct stat;

// A file that cannot be read, written or understood. The message names the file (and the line
// where there is one) and has no trailing full stop: the one failure handler adds it.
class TFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The length of the well-formed UTF-8 sequence at the start of s, or 0 when there is none there
// (overlong forms, surrogates and code points above U+10FFFF are not well formed).
std::size_t Utf8SequenceLength(std::string_view s);

// True for text in UTF-16, which no decoding of 8-bit text can read: a byte-order mark, or a
// first character that is ASCII with a zero byte beside it (JSON saved without a mark).
bool IsUtf16Text(std::string_view bytes);

// Returns the bytes as UTF-8: unchanged when they are valid UTF-8 (a leading byte-order mark
// dropped), otherwise read as Windows-1252. Never fails and never drops a byte.
std::string DecodeFileText(std::string_view bytes);

// Walks text line by line at the breaks SplitTextLines uses, without copying: a file of only
// line breaks costs no memory per line.
class TTextLines {
public:
    explicit TTextLines(std::string_view text) : m_rest(text) {}
    // Writes the next line (a view into the text) to line; false once the text is used up.
    bool next(std::string_view &line);

private:
    std::string_view m_rest;
};

// Splits text at CR LF, lone CR and lone LF; a final line break does not start another line.
std::vector<std::string> SplitTextLines(std::string_view text);

// Each line followed by CR LF, the last one included.
std::string JoinTextLines(const std::vector<std::string> &lines);

// Every Move line of every recorded move, oldest first.
std::vector<std::string> MoveTextLines(const TLineOfArgumentation &line);

// The system calls that reading and saving a file make, in one table so that a test can fail
// any one of them (a full disk, an I/O error, a short write) or stop the program after it.
struct TFileCalls {
    int (*open)(const char *path, int flags, mode_t mode);
    ssize_t (*read)(int descriptor, void *buffer, std::size_t count);
    ssize_t (*write)(int descriptor, const void *buffer, std::size_t count);
    int (*fstat)(int descriptor, struct stat *status);
    int (*fchmod)(int descriptor, mode_t mode);
    int (*fsync)(int descriptor);
    int (*close)(int descriptor);
    int (*rename)(const char *from, const char *to);
    int (*unlink)(const char *path);
};

// The operating system's own calls.
const TFileCalls &SystemFileCalls();
// The calls ReadFileBytes and WriteFileAtomically make: SystemFileCalls() unless a test has
// assigned others, which it puts back when it is done.
TFileCalls &FileCalls();

// The whole file; throws TFileError("Cannot open file <path>") when it cannot be read.
std::string ReadFileBytes(const std::string &path);

// Which files ReadFileBytes takes: any that opens (a pipe or a device too, which the limit ends
// when it is endless), or only a plain file, so that a pipe or a device never blocks the caller.
enum class TFileKinds : std::uint8_t { Any = 0, PlainOnly = 1 };

// Reads the whole file into bytes; false when it cannot be opened or read, with errno's value
// in *error when error is given: EFBIG when it holds more than limit bytes, EAGAIN when it
// changed while it was read, EINVAL when it is not a plain file and kinds is PlainOnly.
bool ReadFileBytes(const std::string &path, std::string &bytes, int *error = nullptr,
                   std::size_t limit = SIZE_MAX, TFileKinds kinds = TFileKinds::Any);
// Reads an open stream (standard input, say) to its end; false, with *error, on a read error or
// past limit bytes, so that an endless stream ends too.
bool ReadStreamBytes(std::FILE *stream, std::string &bytes, int *error = nullptr,
                     std::size_t limit = SIZE_MAX);

// Replaces the file with the bytes through a temporary file beside it, flushed to the disk
// before a rename puts it in place, so that a failed write or a crash leaves the old file or
// the new one whole; a link's target is replaced and keeps its permissions. Throws
// TFileError("Cannot create file <path>"), also for a write-protected file or one that is not
// a plain file (a device or a pipe is never replaced).
void WriteFileAtomically(const std::string &path, std::string_view bytes);
