// korvane-genlines: writes a file of moves of one shape to standard output, for replaying with
// korvane-eval. Every shape is fixed by its arguments, seeds included, so a figure can be
// measured again from the same file.
//
//   korvane-genlines chain N              s0 THEREFORE s1 ... THEREFORE sN
//   korvane-genlines chainexc N           that chain, then an exception (the issue xK) on each step
//   korvane-genlines statements N         N statement moves
//   korvane-genlines ladder D             one tree of 2^(D+1)-1 nodes
//   korvane-genlines random S T E SEED    S statements, T steps (no cycles), E exceptions, shuffled
//   korvane-genlines warrant-chain K M    K levels of undecided step warrants, M uses each
//   korvane-genlines complete N           a step between every ordered pair of N statements

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

enum class TType : std::uint8_t { Assumption = 0, Issue = 1 };

constexpr TType A = TType::Assumption;
constexpr TType I = TType::Issue;

// The move lines as the program writes them: CRLF, headings and keywords with a trailing blank.
class TMoveWriter {
public:
    void Statement(std::string_view text, TType type)
    {
        line("STATEMENT MOVE: ");
        sentence(text, type);
    }
    void Step(std::string_view reason, TType reasonType, std::string_view conclusion,
              TType conclusionType)
    {
        line("REASON/CONCLUSION MOVE: ");
        stepLines(reason, reasonType, conclusion, conclusionType);
    }
    void Exception(std::string_view reason, TType reasonType, std::string_view conclusion,
                   TType conclusionType, std::string_view exception, TType exceptionType)
    {
        line("EXCEPTION MOVE: ");
        stepLines(reason, reasonType, conclusion, conclusionType);
        line("    HOWEVER ");
        sentence(exception, exceptionType);
    }
    const std::string &Text() const { return m_text; }

private:
    void line(std::string_view text)
    {
        m_text += text;
        m_text += "\r\n";
    }
    void sentence(std::string_view text, TType type)
    {
        m_text += "    ";
        line(text);
        line(type == I ? "        TYPE: Issue" : "        TYPE: Assumption");
    }
    void stepLines(std::string_view reason, TType reasonType, std::string_view conclusion,
                   TType conclusionType)
    {
        sentence(reason, reasonType);
        line("    THEREFORE ");
        sentence(conclusion, conclusionType);
    }

    std::string m_text;
};

std::string name(std::string_view prefix, long long number)
{
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

// The same text as the model's StepWarrant, which this program does not link.
std::string stepWarrant(std::string_view reason, std::string_view conclusion)
{
    std::string text = "AS A RULE, IF (";
    text += reason;
    text += "), THEN (";
    text += conclusion;
    text += ")";
    return text;
}

// s0 is the only assumption, so every other status depends on the whole chain below it.
void chain(TMoveWriter &out, long long n)
{
    for (long long k = 0; k < n; ++k)
        out.Step(name("s", k), k == 0 ? A : I, name("s", k + 1), I);
}

// Each exception move holds its step already: only the exception is new.
void chainWithExceptions(TMoveWriter &out, long long n)
{
    chain(out, n);
    for (long long k = 0; k < n; ++k)
        out.Exception(name("s", k), k == 0 ? A : I, name("s", k + 1), I, name("x", k), I);
}

void statements(TMoveWriter &out, long long n)
{
    for (long long k = 0; k < n; ++k)
        out.Statement(name("s", k), k % 2 == 0 ? I : A);
}

// Levels 0..D-1 hold a_i and b_i, each a reason for both statements of the next level; the two
// of level D-1 conclude the top. Level i appears 2^(D-i) times in the top's tree.
void ladder(TMoveWriter &out, long long depth)
{
    for (long long i = 0; i + 1 < depth; ++i) {
        const TType type = i == 0 ? A : I;
        for (const char *from : {"a", "b"})
            for (const char *to : {"a", "b"})
                out.Step(name(from, i), type, name(to, i + 1), I);
    }
    const TType type = depth == 1 ? A : I;
    out.Step(name("a", depth - 1), type, "top", I);
    out.Step(name("b", depth - 1), type, "top", I);
}

// mt19937's output is the same everywhere; the standard distributions and std::shuffle are not,
// so the draws and the shuffle are done by hand.
void randomMoves(TMoveWriter &out, long long s, long long t, long long e, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    const auto draw = [&](long long n) { return static_cast<long long>(rng() % n); };
    std::vector<TType> types;
    for (long long k = 0; k < s; ++k)
        types.push_back(draw(3) == 0 ? I : A);
    std::vector<char> kinds;
    kinds.insert(kinds.end(), static_cast<std::size_t>(s), 'S');
    kinds.insert(kinds.end(), static_cast<std::size_t>(t), 'R');
    kinds.insert(kinds.end(), static_cast<std::size_t>(e), 'E');
    for (std::size_t k = kinds.size(); k > 1; --k)
        std::swap(kinds[k - 1], kinds[static_cast<std::size_t>(draw(static_cast<long long>(k)))]);

    // A step gives a later text as a reason for an earlier one, as a case is argued down from
    // its claims, so the steps form no cycle; an exception may name any text. A step may bring
    // in a text before its statement move, which is then refused as a repeat, as when typed.
    const auto pair = [&] {
        const long long reason = 1 + draw(s - 1);
        return std::pair{reason, draw(reason)};
    };
    long long stated = 0;
    for (const char kind : kinds) {
        if (kind == 'S') {
            out.Statement(name("p", stated), types[static_cast<std::size_t>(stated)]);
            ++stated;
            continue;
        }
        const auto [reason, conclusion] = pair();
        const TType rt = types[static_cast<std::size_t>(reason)];
        const TType ct = types[static_cast<std::size_t>(conclusion)];
        if (kind == 'R') {
            out.Step(name("p", reason), rt, name("p", conclusion), ct);
        } else {
            const long long exception = draw(s);
            out.Exception(name("p", reason), rt, name("p", conclusion), ct, name("p", exception),
                          types[static_cast<std::size_t>(exception)]);
        }
    }
}

// Level L has the step r THEREFORE cL and its warrant WL, stated as an issue. From level 2 on,
// WL is concluded from c(L-1) along M paths c(L-1) -> mL_j -> WL. No warrant can become
// undefeated, so every cL node stays undecided and asks again for WL's root, whose own
// computation asks again, through its M nodes of c(L-1), for W(L-1)'s root: M^K in all.
void warrantChain(TMoveWriter &out, long long levels, long long m)
{
    for (long long level = 1; level <= levels; ++level) {
        const std::string c = name("c", level);
        const std::string warrant = stepWarrant("r", c);
        out.Statement(warrant, I);
        out.Step("r", A, c, I);
        for (long long j = 1; level > 1 && j <= m; ++j) {
            const std::string via = name("m", level) + "_" + std::to_string(j);
            out.Step(name("c", level - 1), I, via, I);
            out.Step(via, I, warrant, I);
        }
    }
}

// Every text is a reason, so the roots are the texts that occur in no tree yet, and each tree
// follows every path that uses no step twice.
void complete(TMoveWriter &out, long long n)
{
    for (long long reason = 0; reason < n; ++reason)
        for (long long conclusion = 0; conclusion < n; ++conclusion)
            if (reason != conclusion)
                out.Step(name("n", reason), reason == 0 ? A : I, name("n", conclusion),
                         conclusion == 0 ? A : I);
}

constexpr std::string_view Usage =
    "usage: korvane-genlines chain N | chainexc N | statements N | ladder D | random S T E SEED\n"
    "                        | warrant-chain K M | complete N\n";

// A whole number from 0, or -1.
long long count(const char *text)
{
    char *end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= 0 ? value : -1;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string_view shape = argc > 1 ? argv[1] : "";
    std::vector<long long> n;
    for (int k = 2; k < argc; ++k)
        n.push_back(count(argv[k]));
    const auto shaped = [&](std::string_view want, std::size_t arity) {
        if (shape != want || n.size() != arity)
            return false;
        for (const long long each : n)
            if (each < 0)
                return false;
        return true;
    };

    TMoveWriter out;
    if (shaped("chain", 1))
        chain(out, n[0]);
    else if (shaped("chainexc", 1))
        chainWithExceptions(out, n[0]);
    else if (shaped("statements", 1))
        statements(out, n[0]);
    else if (shaped("ladder", 1) && n[0] >= 1)
        ladder(out, n[0]);
    else if (shaped("random", 4) && n[0] >= 2 && n[3] <= 0xFFFFFFFF)
        randomMoves(out, n[0], n[1], n[2], static_cast<std::uint32_t>(n[3]));
    else if (shaped("warrant-chain", 2))
        warrantChain(out, n[0], n[1]);
    else if (shaped("complete", 1))
        complete(out, n[0]);
    else {
        std::fputs(Usage.data(), stderr);
        return 2;
    }
    const std::string &text = out.Text();
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
