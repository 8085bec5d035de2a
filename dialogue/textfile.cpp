#include "textfile.h"

#include "lineofargumentation.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::size_t Utf8SequenceLength(std::string_view s)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < length)
        return 0;
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

namespace {

bool isValidUtf8(std::string_view s)
{
    while (!s.empty()) {
        const std::size_t length = Utf8SequenceLength(s);
        if (length == 0)
            return false;
        s.remove_prefix(length);
    }
    return true;
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Windows-1252 from 0x80 to 0x9F; the five bytes the code page leaves undefined map to the C1
// control of the same value, so that no byte is lost.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::string fromWindows1252(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 2);
    for (const char each : bytes) {
        const auto byte = static_cast<unsigned char>(each);
        if (byte >= 0x80 && byte <= 0x9F)
            appendUtf8(text, Windows1252High[byte - 0x80]);
        else
            appendUtf8(text, byte);
    }
    return text;
}

constexpr TFileCalls RealFileCalls = {
    [](const char *path, int flags, mode_t mode) { return ::open(path, flags, mode); },
    [](int descriptor, void *buffer, std::size_t count) {
        return ::read(descriptor, buffer, count);
    },
    [](int descriptor, const void *buffer, std::size_t count) {
        return ::write(descriptor, buffer, count);
    },
    [](int descriptor, struct stat *status) { return ::fstat(descriptor, status); },
    [](int descriptor, mode_t mode) { return ::fchmod(descriptor, mode); },
    [](int descriptor) { return ::fsync(descriptor); },
    [](int descriptor) { return ::close(descriptor); },
    [](const char *from, const char *to) { return std::rename(from, to); },
    [](const char *path) { return ::unlink(path); },
};

TFileCalls CurrentFileCalls = RealFileCalls;

// An open descriptor, closed through the file calls when it goes out of scope.
class TDescriptor {
public:
    explicit TDescriptor(int descriptor) : m_descriptor(descriptor) {}
    TDescriptor(const TDescriptor &) = delete;
    TDescriptor &operator=(const TDescriptor &) = delete;
    ~TDescriptor()
    {
        if (m_descriptor >= 0)
            CurrentFileCalls.close(m_descriptor);
    }

    // Closes it now; false when close fails, as a network file system's failed write does.
    bool close() { return CurrentFileCalls.close(std::exchange(m_descriptor, -1)) == 0; }

private:
    int m_descriptor;
};

// Writes all the bytes: a short write is followed by another for the rest, so that only an
// error (a full disk, say) stops it.
bool writeAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = CurrentFileCalls.write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) // Nothing written with no error would repeat forever.
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool syncDescriptor(int descriptor)
{
    while (CurrentFileCalls.fsync(descriptor) != 0)
        if (errno != EINTR)
            return false;
    return true;
}

// Flushes the folder that holds file, so that the rename lasts through a crash as well. A folder
// that cannot be opened or a file system that cannot flush a folder does not fail the save.
bool syncFolder(const std::string &file)
{
    const std::filesystem::path parent = std::filesystem::path(file).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    const int descriptor =
        CurrentFileCalls.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (descriptor < 0)
        return true;
    const TDescriptor opened(descriptor);
    return syncDescriptor(descriptor) || errno == EINVAL;
}

bool sameContentsStatus(const struct stat &before, const struct stat &after)
{
    return before.st_size == after.st_size && before.st_mtim.tv_sec == after.st_mtim.tv_sec
           && before.st_mtim.tv_nsec == after.st_mtim.tv_nsec;
}

} // namespace

const TFileCalls &SystemFileCalls() { return RealFileCalls; }

TFileCalls &FileCalls() { return CurrentFileCalls; }

bool TTextLines::next(std::string_view &line)
{
    if (m_rest.empty())
        return false;
    const std::size_t end = m_rest.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        line = m_rest;
        m_rest = {};
        return true;
    }
    line = m_rest.substr(0, end);
    const bool pair = m_rest[end] == '\r' && end + 1 < m_rest.size() && m_rest[end + 1] == '\n';
    m_rest.remove_prefix(end + (pair ? 2 : 1));
    return true;
}

bool IsUtf16Text(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return true;
    if (bytes.size() < 2)
        return false;
    const auto ascii = [](char each) { return each > 0 && each < 0x7F; };
    return (ascii(bytes[0]) && bytes[1] == '\0') || (bytes[0] == '\0' && ascii(bytes[1]));
}

std::string DecodeFileText(std::string_view bytes)
{
    if (!isValidUtf8(bytes))
        return fromWindows1252(bytes);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return std::string(bytes);
}

std::vector<std::string> SplitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    TTextLines walker(text);
    std::string_view line;
    while (walker.next(line))
        lines.emplace_back(line);
    return lines;
}

std::string JoinTextLines(const std::vector<std::string> &lines)
{
    std::size_t size = 0;
    for (const std::string &line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string &line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> MoveTextLines(const TLineOfArgumentation &line)
{
    std::vector<std::string> lines;
    for (const TArgumentationMove *move : line.ArgumentationMoves)
        lines.insert(lines.end(), move->Move.begin(), move->Move.end());
    return lines;
}

std::string ReadFileBytes(const std::string &path)
{
    std::string bytes;
    if (!ReadFileBytes(path, bytes))
        throw TFileError("Cannot open file " + path);
    return bytes;
}

bool ReadFileBytes(const std::string &path, std::string &bytes, int *error, std::size_t limit,
                   TFileKinds kinds)
{
    const auto fail = [&](int code) {
        bytes.clear();
        if (error)
            *error = code;
        return false;
    };
    bytes.clear();
    const bool plainOnly = kinds == TFileKinds::PlainOnly;
    // Looked at before it is opened, as opening a device may act on it. Opened without waiting
    // all the same, in case a pipe has taken the file's place since.
    struct stat status {};
    if (plainOnly && ::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        return fail(S_ISDIR(status.st_mode) ? EISDIR : EINVAL);
    errno = 0;
    const int descriptor = CurrentFileCalls.open(
        path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | (plainOnly ? O_NONBLOCK : 0), 0);
    if (descriptor < 0)
        return fail(errno);
    const TDescriptor file(descriptor);
    if (CurrentFileCalls.fstat(descriptor, &status) != 0)
        return fail(errno);
    const bool plain = S_ISREG(status.st_mode);
    // A directory opens fine and fails on the first read.
    if (S_ISDIR(status.st_mode))
        return fail(EISDIR);
    if (plainOnly && !plain)
        return fail(EINVAL);
    if (plain && static_cast<std::uintmax_t>(status.st_size) > limit)
        return fail(EFBIG);
    if (plain)
        bytes.reserve(static_cast<std::size_t>(status.st_size));

    std::array<char, 64 * 1024> buffer;
    for (;;) {
        const ssize_t count = CurrentFileCalls.read(descriptor, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return fail(errno);
        if (count == 0)
            break;
        if (static_cast<std::size_t>(count) > limit - bytes.size())
            return fail(EFBIG);
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
    }
    // A file written to while it was read may have given part of its old text and part of its
    // new one. One replaced by a rename or removed is still read whole, from its old contents.
    struct stat after {};
    if (plain && CurrentFileCalls.fstat(descriptor, &after) != 0)
        return fail(errno);
    if (plain && !sameContentsStatus(status, after))
        return fail(EAGAIN);
    return true;
}

bool ReadStreamBytes(std::FILE *stream, std::string &bytes, int *error, std::size_t limit)
{
    bytes.clear();
    std::array<char, 64 * 1024> buffer;
    for (;;) {
        errno = 0;
        const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), stream);
        if (count > limit - bytes.size()) {
            bytes.clear();
            if (error)
                *error = EFBIG;
            return false;
        }
        bytes.append(buffer.data(), count);
        if (count < buffer.size()) {
            if (std::ferror(stream)) {
                // A directory opens fine and fails on the first read.
                if (error)
                    *error = errno;
                return false;
            }
            return true;
        }
    }
}

void WriteFileAtomically(const std::string &path, std::string_view bytes)
{
    const auto fail = [&] { throw TFileError("Cannot create file " + path); };
    // The file the user chose is replaced, not a link to it, and it keeps its permissions; a
    // write-protected file is refused, as a plain write would refuse it.
    std::string target = path;
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
        const std::filesystem::path resolved = std::filesystem::canonical(path, error);
        if (!error)
            target = resolved.string();
    }
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A rename would put a file in the place of a device or a pipe, and cannot replace a folder.
    if (exists && (!S_ISREG(existing.st_mode) || ::access(target.c_str(), W_OK) != 0))
        fail();

    // O_EXCL refuses a name that exists, so a stale temporary of another run is never reused.
    std::string temporary;
    int descriptor = -1;
    for (int attempt = 0; attempt < 100 && descriptor < 0; ++attempt) {
        temporary = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        errno = 0;
        descriptor = CurrentFileCalls.open(temporary.c_str(),
                                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor < 0 && errno != EEXIST)
            break;
    }
    if (descriptor < 0)
        fail();
    TDescriptor file(descriptor);
    // Flushed before the rename: otherwise a crash soon after it may leave the new name on an
    // empty file.
    const bool written =
        (!exists || CurrentFileCalls.fchmod(descriptor, existing.st_mode & 07777) == 0)
        && writeAll(descriptor, bytes) && syncDescriptor(descriptor);
    const bool closed = file.close();
    if (!written || !closed || CurrentFileCalls.rename(temporary.c_str(), target.c_str()) != 0) {
        CurrentFileCalls.unlink(temporary.c_str());
        fail();
    }
    // The new file is in place but may not last a crash: the user is told, and saves again.
    if (!syncFolder(target))
        fail();
}
