#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TLineOfArgumentation;

// A file that cannot be read, written or understood. The message names the file (and the line
// where there is one) and has no trailing full stop: the one failure handler adds it.
class TFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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

// The whole file; throws TFileError("Cannot open file <path>") when it cannot be read.
std::string ReadFileBytes(const std::string &path);

// Reads the whole file into bytes; false when it cannot be opened or read, with errno's value
// in *error when error is given, or when it holds more than limit bytes (*error is EFBIG).
bool ReadFileBytes(const std::string &path, std::string &bytes, int *error = nullptr,
                   std::size_t limit = SIZE_MAX);
// Reads an open stream (standard input, say) to its end; false, with *error, on a read error or
// past limit bytes, so that an endless stream ends too.
bool ReadStreamBytes(std::FILE *stream, std::string &bytes, int *error = nullptr,
                     std::size_t limit = SIZE_MAX);

// Replaces the file with the bytes through a temporary file beside it and a rename, so a failed
// write leaves the old file whole; a link's target is replaced and keeps its permissions. Throws
// TFileError("Cannot create file <path>"), also for a write-protected file.
void WriteFileAtomically(const std::string &path, std::string_view bytes);
