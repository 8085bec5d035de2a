#include "movereader.h"

#include "textfile.h"

#include <optional>
#include <span>

namespace {

enum class TExpected : std::uint8_t { Sentence, Type, Therefore, However };

constexpr TExpected StatementShape[] = {TExpected::Sentence, TExpected::Type};
constexpr TExpected ReasonConclusionShape[] = {TExpected::Sentence, TExpected::Type,
                                               TExpected::Therefore, TExpected::Sentence,
                                               TExpected::Type};
constexpr TExpected ExceptionShape[] = {TExpected::Sentence,  TExpected::Type,
                                        TExpected::Therefore, TExpected::Sentence,
                                        TExpected::Type,      TExpected::However,
                                        TExpected::Sentence,  TExpected::Type};

constexpr std::string_view Indent = "    ";

std::string_view withoutTrailingBlanks(std::string_view line)
{
    const std::size_t end = line.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

std::optional<TMoveKind> headingKind(std::string_view line)
{
    line = withoutTrailingBlanks(line);
    if (line == "STATEMENT MOVE:")
        return TMoveKind::Statement;
    if (line == "REASON/CONCLUSION MOVE:")
        return TMoveKind::ReasonConclusion;
    if (line == "EXCEPTION MOVE:")
        return TMoveKind::Exception;
    return std::nullopt;
}

std::optional<TStatementType> lineType(std::string_view line)
{
    line = withoutTrailingBlanks(line);
    if (line == "        TYPE: Issue")
        return TStatementType::Issue;
    if (line == "        TYPE: Assumption")
        return TStatementType::Assumption;
    return std::nullopt;
}

std::string_view describe(TExpected expected)
{
    switch (expected) {
    case TExpected::Sentence:
        return "a sentence line (four blanks, then the sentence)";
    case TExpected::Type:
        return "a type line (eight blanks, then \"TYPE: Issue\" or \"TYPE: Assumption\")";
    case TExpected::Therefore:
        return "\"THEREFORE\" after four blanks";
    case TExpected::However:
        return "\"HOWEVER\" after four blanks";
    }
    return {};
}

constexpr std::string_view HeadingExpected =
    "a move heading (\"STATEMENT MOVE:\", \"REASON/CONCLUSION MOVE:\" or \"EXCEPTION MOVE:\")";

[[noreturn]] void fail(const std::string &fileName, long long line, std::string_view expected,
                       bool atEnd)
{
    std::string message = fileName;
    message += ':';
    message += std::to_string(line);
    message += ": expected ";
    message += expected;
    if (atEnd)
        message += ", found the end of the file";
    throw TFileError(message);
}

} // namespace

std::vector<TMoveText> ReadMoveText(std::string_view text, const std::string &fileName)
{
    std::vector<TMoveText> moves;
    TTextLines lines(text);
    std::string_view line;
    long long number = 0;
    while (lines.next(line)) {
        ++number;
        if (line.find_first_not_of(' ') == std::string_view::npos)
            continue;
        const std::optional<TMoveKind> kind = headingKind(line);
        if (!kind)
            fail(fileName, number, HeadingExpected, false);

        TMoveText &move = moves.emplace_back();
        move.Kind = *kind;
        move.Line = number;
        std::span<const TExpected> shape = StatementShape;
        if (*kind == TMoveKind::ReasonConclusion)
            shape = ReasonConclusionShape;
        else if (*kind == TMoveKind::Exception)
            shape = ExceptionShape;

        for (const TExpected expected : shape) {
            if (!lines.next(line))
                fail(fileName, number + 1, describe(expected), true);
            ++number;
            switch (expected) {
            case TExpected::Sentence:
                if (!line.starts_with(Indent))
                    fail(fileName, number, describe(expected), false);
                move.Sentences.push_back({std::string(line.substr(Indent.size())), {}});
                break;
            case TExpected::Type: {
                const std::optional<TStatementType> type = lineType(line);
                if (!type)
                    fail(fileName, number, describe(expected), false);
                move.Sentences.back().StatementType = *type;
                break;
            }
            case TExpected::Therefore:
                if (withoutTrailingBlanks(line) != "    THEREFORE")
                    fail(fileName, number, describe(expected), false);
                break;
            case TExpected::However:
                if (withoutTrailingBlanks(line) != "    HOWEVER")
                    fail(fileName, number, describe(expected), false);
                break;
            }
        }
    }
    return moves;
}

std::vector<TMoveText> ReadMoveFile(std::string_view bytes, const std::string &fileName)
{
    if (IsUtf16Text(bytes))
        throw TFileError(fileName + ":1: the file is UTF-16; save it as UTF-8");
    return ReadMoveText(DecodeFileText(bytes), fileName);
}
