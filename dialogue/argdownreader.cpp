#include "argdownreader.h"

#include "argdownsyntax.h"
#include "textfile.h"

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace {

// What the reader leaves out, by kind, for the one warning.
struct TLeftOut {
    TLeftOut(std::string one, std::string many) : singular(std::move(one)), plural(std::move(many))
    {
    }
    std::string singular, plural;
    std::size_t count = 0;
    std::vector<std::string> ids;
};

enum class TRelationKind : std::uint8_t { Support = 0, Attack = 1, Contradiction = 2, Undercut = 3 };

// A statement ("[title]" or a text of its own) or an argument ("<title>") as a line names it.
struct TElement {
    bool argument = false;
    std::string id; // A statement's claim id, or an argument's title.
};

struct TRelation {
    TRelationKind kind;
    TElement from, to;
    long long line;
};

struct TArgument {
    std::vector<TForeignInference> inferences; // Empty for an argument without a structure.
    long long line = 0;
};

struct TStructure {
    std::string title; // Empty for a structure under no argument's title.
    long long line = 0;
    std::vector<TForeignInference> inferences;
    std::vector<TElement> premises; // Since the last inference line.
    bool awaitingConclusion = false;
    long long lastInferenceLine = 0;
    long long lastPremiseLine = 0;
};

// An inference of an argument, or a relation, in the order of the file.
struct TOrdered {
    std::string argument;
    std::size_t inference = 0;
    std::optional<std::size_t> relation;
};

bool isBlank(char each) { return each == ' ' || each == '\t'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The position of the first c at or after from that no backslash escapes, or npos.
std::size_t findPlain(std::string_view text, char c, std::size_t from = 0)
{
    for (std::size_t index = from; index < text.size(); ++index) {
        if (text[index] == '\\')
            ++index;
        else if (text[index] == c)
            return index;
    }
    return std::string_view::npos;
}

class TArgdownReader {
public:
    TArgdownReader(const std::string &fileName) : m_fileName(fileName) {}

    TForeignGraph read(std::string_view text)
    {
        const std::string plain = withoutComments(text);
        TTextLines lines(plain);
        std::string_view line;
        long long number = 0;
        bool front = true;
        long long frontmatter = 0; // The line that opened frontmatter still open; 0 for none.
        while (lines.next(line)) {
            ++number;
            const std::string_view content = trimmed(line);
            if (frontmatter) {
                if (content == "===")
                    frontmatter = 0;
                continue;
            }
            if (front && content == "===") {
                frontmatter = number;
                leaveOut(m_frontmatter, "line " + std::to_string(number));
                continue;
            }
            if (!content.empty())
                front = false;
            readLine(line, number);
        }
        if (frontmatter)
            fail(frontmatter, "the frontmatter opened here is not closed with ===");
        closeStructure();
        return graph();
    }

private:
    [[noreturn]] void fail(long long line, const std::string &message) const
    {
        throw TFileError(m_fileName + ':' + std::to_string(line) + ": " + message);
    }

    static void leaveOut(TLeftOut &kind, std::string id)
    {
        if (kind.ids.size() < 3)
            kind.ids.push_back(std::move(id));
        ++kind.count;
    }

    // True when the index is inside a word that is a link, which holds no comment.
    static bool inLinkWord(std::string_view text, std::size_t index)
    {
        std::size_t start = index;
        while (start > 0 && !isBlank(text[start - 1]) && text[start - 1] != '\n'
               && text[start - 1] != '\r')
            --start;
        std::size_t end = index;
        while (end < text.size() && !isBlank(text[end]) && text[end] != '\n' && text[end] != '\r')
            ++end;
        return argdown::IsLinkWord(text.substr(start, end - start));
    }

    // The text with its comments ("// ..." to the end of the line, "/* ... */", "<!-- ... -->")
    // turned into blanks, line breaks kept, so that lines keep their numbers.
    std::string withoutComments(std::string_view text)
    {
        std::string out;
        out.reserve(text.size());
        long long line = 1;
        for (std::size_t index = 0; index < text.size(); ++index) {
            const char each = text[index];
            const std::string_view rest = text.substr(index);
            if (each == '\\' && index + 1 < text.size()) {
                out += each;
                out += text[++index];
                continue;
            }
            if (rest.starts_with("//") && !inLinkWord(text, index)) {
                leaveOut(m_comments, "line " + std::to_string(line));
                while (index < text.size() && text[index] != '\r' && text[index] != '\n')
                    ++index;
                --index;
                continue;
            }
            const bool block = rest.starts_with("/*");
            if ((block || rest.starts_with("<!--")) && !inLinkWord(text, index)) {
                leaveOut(m_comments, "line " + std::to_string(line));
                const std::string_view close = block ? "*/" : "-->";
                const std::size_t end = text.find(close, index + 2);
                if (end == std::string_view::npos)
                    fail(line, "the comment opened here is not closed");
                for (; index < end + close.size(); ++index) {
                    const char inside = text[index];
                    if (inside == '\n' || inside == '\r') {
                        out += inside;
                        if (inside == '\n' || index + 1 >= text.size() || text[index + 1] != '\n')
                            ++line;
                    }
                }
                out += ' ';
                --index;
                continue;
            }
            if (each == '\n' || (each == '\r' && (index + 1 >= text.size() || text[index + 1] != '\n')))
                ++line;
            out += each;
        }
        return out;
    }

    // A statement's text without escapes, tags and data; the tags go to tags.
    std::string readText(std::string_view raw, std::vector<std::string> &tags, long long line)
    {
        // Control bytes are blanks, as the writer makes them, before words are told apart.
        std::string blanked(raw);
        for (char &each : blanked) {
            const auto byte = static_cast<unsigned char>(each);
            if (byte < 0x20 || byte == 0x7F)
                each = ' ';
        }
        const std::string_view text = blanked;
        std::string out;
        std::size_t index = 0;
        while (index < text.size()) {
            const char each = text[index];
            const bool wordStart = index == 0 || isBlank(text[index - 1]);
            if (wordStart) {
                std::size_t end = index;
                while (end < text.size() && !isBlank(text[end]))
                    ++end;
                if (argdown::IsLinkWord(text.substr(index, end - index))) {
                    out += text.substr(index, end - index);
                    index = end;
                    continue;
                }
            }
            if (each == '\\' && index + 1 < text.size() && argdown::IsEscapable(text[index + 1])) {
                out += text[index + 1];
                index += 2;
            } else if (each == '#' && wordStart && index + 1 < text.size()
                       && !isBlank(text[index + 1])) {
                std::size_t end = index + 1;
                if (text[end] == '(') {
                    const std::size_t close = findPlain(text, ')', end);
                    if (close == std::string_view::npos)
                        fail(line, "the tag opened with #( is not closed with )");
                    tags.emplace_back(text.substr(end + 1, close - end - 1));
                    end = close + 1;
                } else {
                    while (end < text.size() && !isBlank(text[end]))
                        ++end;
                    tags.emplace_back(text.substr(index + 1, end - index - 1));
                }
                // The blank before a tag goes with it.
                if (!out.empty() && isBlank(out.back()))
                    out.pop_back();
                index = end;
            } else if (each == '{') {
                leaveOut(m_data, "line " + std::to_string(line));
                break; // Data runs to the end of the line.
            } else {
                out += each;
                ++index;
            }
        }
        return std::string(trimmed(out));
    }

    std::size_t claimOf(const std::string &id, long long line)
    {
        const auto [found, added] = m_claimIndex.try_emplace(id, m_claims.size());
        if (added) {
            TForeignClaim &claim = m_claims.emplace_back();
            claim.id = id;
            claim.line = line;
            m_hasText.push_back(false);
        }
        return found->second;
    }

    void takeTags(const std::vector<std::string> &tags, std::optional<std::size_t> claim,
                  long long line)
    {
        for (const std::string &tag : tags) {
            if (const auto type = argdown::TypeOfTag(tag); type && claim)
                m_claims[*claim].type = type;
            else if (!argdown::IsStatusTag(tag) || !claim) // Statuses are computed again.
                leaveOut(m_tags, '#' + tag + " (line " + std::to_string(line) + ')');
        }
    }

    // The element that the text names: "[title]", "[title]: text", "<title>", "<title>: text",
    // or a text, which is a statement of its own.
    TElement readElement(std::string_view text, long long line)
    {
        text = trimmed(text);
        if (text.empty())
            fail(line, "expected a statement or an argument");
        const char open = text.front();
        std::vector<std::string> tags;
        if (open != '[' && open != '<') {
            const std::string said = readText(text, tags, line);
            const std::string id = '"' + said + '"';
            const std::size_t claim = claimOf(id, line);
            if (!m_hasText[claim]) {
                m_claims[claim].text = said;
                m_hasText[claim] = true;
            }
            takeTags(tags, claim, line);
            m_declared.reset();
            return {false, id};
        }
        const char close = open == '[' ? ']' : '>';
        const std::size_t end = findPlain(text, close, 1);
        if (end == std::string_view::npos)
            fail(line, std::string("the title opened with ") + open + " is not closed with "
                           + close);
        std::vector<std::string> unused;
        const std::string title = readText(text.substr(1, end - 1), unused, line);
        if (title.empty())
            fail(line, "expected a title between " + std::string(1, open) + " and " + close);
        std::string_view rest = trimmed(text.substr(end + 1));
        const bool declared = rest.starts_with(':');
        if (declared)
            rest.remove_prefix(1);
        const std::string said = readText(rest, tags, line);
        m_declared.reset();
        if (open == '<') {
            if (!said.empty())
                leaveOut(m_descriptions, '<' + title + '>');
            takeTags(tags, std::nullopt, line);
            if (const auto [argument, added] = m_arguments.try_emplace(title); added)
                argument->second.line = line;
            return {true, title};
        }
        const std::size_t claim = claimOf(title, line);
        if (declared && !m_hasText[claim]) {
            m_claims[claim].text = said;
            m_hasText[claim] = true;
            m_declared = claim;
        } else if (declared && said != m_claims[claim].text) {
            leaveOut(m_otherTexts, '[' + title + ']');
        } else if (!declared && !said.empty()) {
            leaveOut(m_referenceTexts, '[' + title + ']');
        }
        takeTags(tags, claim, line);
        return {false, title};
    }

    // Ends the premise-conclusion structure being read, if any.
    void closeStructure()
    {
        if (!m_structure)
            return;
        TStructure structure = std::move(*m_structure);
        m_structure.reset();
        if (structure.awaitingConclusion)
            fail(structure.lastInferenceLine, "the inference has no conclusion below it");
        if (structure.inferences.empty())
            fail(structure.line, "the numbered statements have no inference line (----) between "
                                 "premises and conclusion");
        if (structure.premises.size() > 1)
            fail(structure.lastPremiseLine, "premises after the last conclusion");
        std::string title = structure.title;
        if (title.empty())
            title = "argument at line " + std::to_string(structure.line);
        TArgument &argument = m_arguments[title];
        if (!argument.inferences.empty())
            fail(structure.line, "the argument <" + title
                                     + "> has a premise-conclusion structure already");
        for (std::size_t index = 0; index < structure.inferences.size(); ++index) {
            TForeignInference &inference = structure.inferences[index];
            inference.id = '<' + title + '>';
            if (structure.inferences.size() > 1)
                inference.id += " inference " + std::to_string(index + 1);
            m_order.push_back({title, index, {}});
        }
        argument.inferences = std::move(structure.inferences);
        argument.line = structure.line;
    }

    void readLine(std::string_view line, long long number)
    {
        std::size_t indent = 0;
        while (indent < line.size() && isBlank(line[indent]))
            ++indent;
        const std::string_view content = trimmed(line);
        if (content.empty()) {
            closeStructure();
            m_stack.clear();
            m_declared.reset();
            return;
        }
        constexpr std::pair<std::string_view, std::pair<TRelationKind, bool>> Relations[] = {
            {"+>", {TRelationKind::Support, true}},   {"<+", {TRelationKind::Support, false}},
            {"->", {TRelationKind::Attack, true}},    {"<-", {TRelationKind::Attack, false}},
            {"><", {TRelationKind::Contradiction, true}}, {"_>", {TRelationKind::Undercut, true}},
            {"<_", {TRelationKind::Undercut, false}},
        };
        for (const auto &[token, meaning] : Relations) {
            if (!content.starts_with(token) || (content.size() > 2 && !isBlank(content[2])))
                continue;
            while (!m_stack.empty() && m_stack.back().first >= indent)
                m_stack.pop_back();
            if (m_stack.empty())
                fail(number, "the relation " + std::string(token)
                                 + " has no statement or argument above it, less indented");
            const TElement parent = m_stack.back().second;
            const TElement other = readElement(content.substr(2), number);
            const auto [kind, outgoing] = meaning;
            m_relations.push_back(outgoing ? TRelation{kind, parent, other, number}
                                           : TRelation{kind, other, parent, number});
            m_order.push_back({{}, 0, m_relations.size() - 1});
            m_stack.emplace_back(indent, other);
            return;
        }
        if (content.starts_with("--")) {
            if (!m_structure)
                fail(number, "an inference line (--) outside an argument's numbered statements");
            TStructure &structure = *m_structure;
            if (structure.awaitingConclusion || structure.premises.empty())
                fail(number, "the inference has no premise above it");
            std::string_view data = content;
            while (!data.empty() && (data.front() == '-' || isBlank(data.front())))
                data.remove_prefix(1);
            while (!data.empty() && (data.back() == '-' || isBlank(data.back())))
                data.remove_suffix(1);
            if (!data.empty())
                leaveOut(m_inferenceData, "line " + std::to_string(number));
            TForeignInference &inference = structure.inferences.emplace_back();
            inference.line = number;
            for (const TElement &premise : structure.premises)
                inference.premises.push_back(premise.id);
            structure.premises.clear();
            structure.awaitingConclusion = true;
            structure.lastInferenceLine = number;
            m_stack.clear();
            return;
        }
        if (content.front() == '(') {
            const std::size_t close = content.find(')');
            if (close != std::string_view::npos && close > 1
                && content.substr(1, close - 1).find_first_not_of("0123456789")
                       == std::string_view::npos) {
                if (!m_structure) {
                    m_structure.emplace();
                    m_structure->line = number;
                    m_structure->title = m_argumentAbove.value_or("");
                }
                m_argumentAbove.reset();
                const TElement element = readElement(content.substr(close + 1), number);
                if (element.argument)
                    fail(number, "an argument's premises and conclusions are statements");
                TStructure &structure = *m_structure;
                if (structure.awaitingConclusion) {
                    structure.inferences.back().conclusion = element.id;
                    structure.awaitingConclusion = false;
                } else {
                    structure.lastPremiseLine = number;
                }
                // A conclusion is a premise of the inference after it, if there is one.
                structure.premises.push_back(element);
                m_stack.assign(1, {indent, element});
                return;
            }
        }
        if (indent > 0 && m_declared && !m_stack.empty()) {
            // A declaration's text may go on over indented lines.
            std::vector<std::string> tags;
            const std::string more = readText(content, tags, number);
            std::string &text = m_claims[*m_declared].text;
            if (!more.empty())
                text += (text.empty() ? "" : " ") + more;
            takeTags(tags, *m_declared, number);
            return;
        }
        if (indent == 0 && content.front() == '#') {
            const std::size_t marks = content.find_first_not_of('#');
            if (marks == std::string_view::npos || isBlank(content[marks])) {
                leaveOut(m_headings, "line " + std::to_string(number));
                closeStructure();
                m_argumentAbove.reset();
                m_stack.clear();
                return;
            }
        }
        closeStructure();
        const TElement element = readElement(content, number);
        m_argumentAbove.reset();
        if (element.argument)
            m_argumentAbove = element.id;
        m_stack.assign(1, {indent, element});
    }

    // The claim an element stands for as the source of a relation: a statement, or the main
    // conclusion of an argument with a structure.
    std::optional<std::string> claimOfElement(const TElement &element) const
    {
        if (!element.argument)
            return element.id;
        const TArgument &argument = m_arguments.at(element.id);
        if (argument.inferences.empty())
            return std::nullopt;
        return argument.inferences.back().conclusion;
    }

    void addRelation(const TRelation &relation, TForeignGraph &graph)
    {
        const std::string at = "line " + std::to_string(relation.line);
        const std::optional<std::string> from = claimOfElement(relation.from);
        if (!from) {
            leaveOut(m_bareArguments, '<' + relation.from.id + "> (" + at + ')');
            return;
        }
        const std::string id = "relation at " + at;
        if (relation.kind == TRelationKind::Undercut) {
            if (!relation.to.argument) {
                leaveOut(m_undercutStatements, at);
                return;
            }
            const TArgument &argument = m_arguments.at(relation.to.id);
            if (argument.inferences.empty()) {
                leaveOut(m_bareArguments, '<' + relation.to.id + "> (" + at + ')');
                return;
            }
            graph.conflicts.push_back({id, *from, argument.inferences.back().id, {}, relation.line});
            return;
        }
        if (relation.to.argument) {
            leaveOut(m_onArguments, at);
            return;
        }
        const std::string &to = relation.to.id;
        if (relation.kind == TRelationKind::Support) {
            graph.inferences.push_back({id, {*from}, to, {}, relation.line});
            return;
        }
        graph.conflicts.push_back({id, *from, to, {}, relation.line});
        if (relation.kind == TRelationKind::Contradiction) {
            if (relation.from.argument)
                leaveOut(m_onArguments, at); // The way back would be on the argument.
            else
                graph.conflicts.push_back({id + " (back)", to, *from, {}, relation.line});
        }
    }

    TForeignGraph graph()
    {
        TForeignGraph graph;
        for (std::size_t index = 0; index < m_claims.size(); ++index) {
            // A statement only ever named by its title says its title.
            if (!m_hasText[index])
                m_claims[index].text = m_claims[index].id;
        }
        graph.claims = std::move(m_claims);
        // Inferences and conflicts in the order of the lines that made them.
        for (const TOrdered &each : m_order) {
            if (each.relation)
                addRelation(m_relations[*each.relation], graph);
            else
                graph.inferences.push_back(m_arguments.at(each.argument).inferences[each.inference]);
        }
        for (const TLeftOut *kind :
             {&m_undercutStatements, &m_onArguments, &m_bareArguments, &m_otherTexts,
              &m_referenceTexts, &m_inferenceData, &m_descriptions, &m_tags, &m_data,
              &m_headings, &m_frontmatter, &m_comments}) {
            if (kind->count > 0)
                graph.omissions.push_back({kind->plural, {}, kind->count, kind->ids, kind->singular});
        }
        return graph;
    }

    const std::string &m_fileName;
    std::vector<TForeignClaim> m_claims;
    std::vector<bool> m_hasText;
    std::map<std::string, std::size_t> m_claimIndex;
    std::map<std::string, TArgument> m_arguments;
    std::vector<TRelation> m_relations;
    std::vector<TOrdered> m_order;
    std::optional<TStructure> m_structure;
    std::vector<std::pair<std::size_t, TElement>> m_stack; // Indent and element, outermost first.
    std::optional<std::string> m_argumentAbove; // The argument titled on the line above.
    std::optional<std::size_t> m_declared;      // The claim declared on the line above.

    TLeftOut m_undercutStatements{"undercut of a statement", "undercuts of statements"};
    TLeftOut m_onArguments{"support or attack of an argument", "supports and attacks of arguments"};
    TLeftOut m_bareArguments{"relation of an argument without premises",
                             "relations of arguments without premises"};
    TLeftOut m_otherTexts{"second text of a statement", "second texts of statements"};
    TLeftOut m_referenceTexts{"text after a reference", "texts after references"};
    TLeftOut m_inferenceData{"inference's data", "inferences' data"};
    TLeftOut m_descriptions{"argument's description", "arguments' descriptions"};
    TLeftOut m_tags{"tag", "tags"};
    TLeftOut m_data{"data", "data"};
    TLeftOut m_headings{"heading", "headings"};
    TLeftOut m_frontmatter{"frontmatter", "frontmatter"};
    TLeftOut m_comments{"comment", "comments"};
};

} // namespace

TForeignGraph ReadArgdownGraph(std::string_view bytes, const std::string &fileName)
{
    if (IsUtf16Text(bytes))
        throw TFileError(fileName + ":1: the file is UTF-16; save it as UTF-8");
    return TArgdownReader(fileName).read(DecodeFileText(bytes));
}

TForeignMoves ReadArgdownFile(std::string_view bytes, const std::string &fileName)
{
    return MapForeignGraph(ReadArgdownGraph(bytes, fileName));
}
