#include "explanation.h"

#include "argumentationstage.h"

#include <string_view>

// Every wording of an explanation is here, one per fact the status computation records.

const TWhy *TExplanations::ForArgument(const TArgument &argument) const
{
    const auto it = m_arguments.find(&argument);
    return it == m_arguments.end() ? nullptr : &it->second;
}

const TArgument *TExplanations::LastComputed(const TStatement &statement) const
{
    const auto it = m_lastComputed.find(&statement);
    return it == m_lastComputed.end() ? nullptr : it->second;
}

std::string TExplanations::Path(const TArgument &node) const
{
    std::string path;
    for (auto it = m_places.find(&node); it != m_places.end();
         it = it->second.parent ? m_places.find(it->second.parent) : m_places.end()) {
        std::string step = std::to_string(it->second.index + 1);
        path = path.empty() ? std::move(step) : step + '.' + path;
    }
    return path;
}

std::size_t TExplanations::Number(const TArgument &node) const
{
    const auto it = m_places.find(&node);
    return it == m_places.end() ? 0 : it->second.number;
}

void TExplanations::IndexNodes(const TArgumentationStage &stage)
{
    m_places.clear();
    struct TVisit {
        const TArgument *node;
        const TArgument *parent;
        int index;
    };
    std::vector<TVisit> pending;
    for (int r = stage.Arguments.Count() - 1; r >= 0; --r)
        pending.push_back({stage.Arguments[r], nullptr, r});
    std::size_t number = 0;
    while (!pending.empty()) {
        const TVisit visit = pending.back();
        pending.pop_back();
        // A node that trees share is named where the walk met it first, and walked once.
        if (!m_places.try_emplace(visit.node, TPlace{visit.parent, visit.index, number + 1}).second)
            continue;
        ++number;
        const TArguments &children = visit.node->InitialArguments;
        for (int c = children.Count() - 1; c >= 0; --c)
            pending.push_back({children[c], visit.node, c});
    }
}

namespace {

std::string_view statusWord(TDefeatStatus status)
{
    switch (status) {
    case TDefeatStatus::Defeated:
        return "defeated";
    case TDefeatStatus::Undefeated:
        return "undefeated";
    case TDefeatStatus::Undecided:
        break;
    }
    return "undecided";
}

class TWriter {
public:
    TWriter(TWhySentence &sentence, TExplanations::TQuote quote)
        : m_sentence(sentence)
        , m_quote(quote)
    {
    }

    TWriter &operator<<(std::string_view words)
    {
        m_sentence.Text += words;
        return *this;
    }
    // A statement's text in quotes.
    TWriter &operator<<(const TStatement *statement)
    {
        m_quote(m_sentence.Text, statement->Text);
        m_sentence.Statements.push_back(statement);
        return *this;
    }
    // The text of a node's conclusion in quotes, naming the node.
    TWriter &node(const TArgument *argument)
    {
        m_sentence.Nodes.push_back(argument);
        return *this << argument->Conclusion;
    }

private:
    TWhySentence &m_sentence;
    TExplanations::TQuote m_quote;
};

// "the step from "r" to "c""
void writeStep(TWriter &out, const TWhy &why, const TArgument &argument)
{
    out << "the step from ";
    out.node(why.Reason) << " to " << argument.Conclusion;
}

void writeWarrant(TWriter &out, const TWhy &why)
{
    switch (why.Warrant) {
    case TWarrantState::NotStated:
        out << "its warrant is no statement";
        break;
    case TWarrantState::Supported:
        out << "its warrant ";
        out.node(why.WarrantRoot) << " has an undefeated argument";
        break;
    case TWarrantState::Unsupported:
        out << "its warrant " << why.WarrantStatement
            << " is stated but has no undefeated argument";
        break;
    case TWarrantState::InProgress:
        out << "its warrant ";
        out.node(why.WarrantRoot)
            << " has an argument that was still being computed, which counts as not undefeated";
        break;
    }
}

// Why the exception looked at does not block the step.
void writeNotBlocked(TWriter &out, const TWhy &why)
{
    switch (why.Block) {
    case TBlockState::NoException:
        out << "it lists no exception";
        break;
    case TBlockState::NotFound:
        out << "no argument for its exceptions stands where attackers are sought, as a root or "
               "an initial argument of a root";
        break;
    case TBlockState::WarrantUnsupported:
        out << "the warrant " << why.ExceptionWarrant << " of its exception ";
        out.node(why.Attacker) << " is stated but has no undefeated argument";
        break;
    case TBlockState::WarrantInProgress:
        out << "the warrant ";
        out.node(why.ExceptionWarrantRoot) << " of its exception ";
        out.node(why.Attacker)
            << " has an argument that was still being computed, which counts as not undefeated";
        break;
    case TBlockState::AttackerNotUndefeated:
        out << "the argument for its exception ";
        out.node(why.Attacker) << " is " << statusWord(why.AttackerStatus);
        break;
    case TBlockState::AttackerInProgress:
        out << "the argument for its exception ";
        out.node(why.Attacker) << " was still being computed, which counts as not undefeated";
        break;
    case TBlockState::Blocks:
        break;
    }
}

} // namespace

void TExplanations::PlainQuote(std::string &out, std::string_view text)
{
    out += '"';
    out += text;
    out += '"';
}

TWhySentence TExplanations::Explain(const TArgument &argument, TQuote quote) const
{
    TWhySentence sentence;
    TWriter out(sentence, quote);
    const TWhy *found = ForArgument(argument);
    if (!found) {
        out << DefeatStatusName(argument.DefeatStatus) << ": the argument was not computed.";
        return sentence;
    }
    const TWhy &why = *found;
    const TStatement *conclusion = argument.Conclusion;
    switch (why.Kind) {
    case TWhyKind::Assumption:
        out << "Undefeated: " << conclusion << " is an assumption.";
        break;
    case TWhyKind::Unblocked:
        out << "Undefeated: the argument for ";
        out.node(why.Reason) << " is undefeated; ";
        writeStep(out, why, argument);
        out << " is warranted, since ";
        writeWarrant(out, why);
        out << "; and nothing blocks it, since ";
        writeNotBlocked(out, why);
        out << ".";
        break;
    case TWhyKind::Blocked:
        out << "Defeated: ";
        writeStep(out, why, argument);
        out << " is blocked by the exception ";
        out.node(why.Attacker) << ", whose argument is undefeated";
        if (why.ExceptionWarrantRoot) {
            out << ", and its warrant ";
            out.node(why.ExceptionWarrantRoot) << " has an undefeated argument";
        }
        out << ".";
        if (why.OtherBlocked > 0)
            out << " Every other warranted step from an undefeated reason to " << conclusion
                << " is blocked too.";
        break;
    case TWhyKind::NoReasons:
        out << "Undecided: the issue " << conclusion << " has no reasons.";
        break;
    case TWhyKind::NoUndefeatedReason:
        out << "Undecided: no reason of the issue " << conclusion
            << " is undefeated; the argument for ";
        out.node(why.Reason);
        if (why.ReasonInProgress)
            out << " was still being computed, which counts as not undefeated.";
        else
            out << " is " << statusWord(why.ReasonStatus) << ".";
        break;
    case TWhyKind::NoWarrantedStep:
        out << "Undecided: no step from an undefeated reason to the issue " << conclusion
            << " is warranted; for ";
        writeStep(out, why, argument);
        out << ", ";
        writeWarrant(out, why);
        out << ".";
        break;
    }
    return sentence;
}

TWhySentence TExplanations::Explain(const TStatement &statement, TQuote quote) const
{
    TWhySentence sentence;
    TWriter out(sentence, quote);
    out << JustificationStatusName(statement.JustificationStatus) << ": ";
    const TArgument *last = LastComputed(statement);
    if (!last) {
        out << "no argument for it was computed.";
        return sentence;
    }
    // Named by its texts, as a reader knows it: its conclusion and its reasons, a name that
    // does not grow with the tree's depth.
    out << "it takes the status of the argument for ";
    out.node(last);
    for (int i = 0; i < last->InitialArguments.Count(); ++i) {
        out << (i == 0 ? " from " : i + 1 == last->InitialArguments.Count() ? " and " : ", ");
        out << last->InitialArguments[i]->Conclusion;
    }
    out << ", the last computed for it. ";
    TWhySentence node = Explain(*last, quote);
    sentence.Text += node.Text;
    sentence.Statements.insert(sentence.Statements.end(), node.Statements.begin(),
                               node.Statements.end());
    sentence.Nodes.insert(sentence.Nodes.end(), node.Nodes.begin(), node.Nodes.end());
    return sentence;
}
