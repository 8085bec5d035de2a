#include "argument.h"

#include "arena.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

std::string_view DefeatStatusName(TDefeatStatus status)
{
    switch (status) {
    case TDefeatStatus::Defeated:
        return "Defeated";
    case TDefeatStatus::Undefeated:
        return "Undefeated";
    case TDefeatStatus::Undecided:
        break;
    }
    return "Undecided";
}

TJustificationStatus JustificationFor(TDefeatStatus status)
{
    switch (status) {
    case TDefeatStatus::Undefeated:
        return TJustificationStatus::Justified;
    case TDefeatStatus::Defeated:
        return TJustificationStatus::Unjustified;
    case TDefeatStatus::Undecided:
        break;
    }
    return TJustificationStatus::Undecided;
}

namespace {

bool SameConclusionText(const TArgument &x, const TArgument &a)
{
    return x.Conclusion->Text == a.Conclusion->Text;
}

// Gives every tree shape a number: two arguments have the same number exactly when they have
// equal conclusion texts and their initial arguments pair up one to one, in any order, with
// equal numbers. This is the structural equality, computed bottom-up without recursion, and
// shared sub-arguments are numbered once.
class TShapeNumbers {
public:
    int Of(const TArgument &root)
    {
        if (const auto it = m_numbers.find(&root); it != m_numbers.end())
            return it->second;
        struct Frame {
            const TArgument *node;
            int next;
        };
        std::vector<Frame> stack{{&root, 0}};
        while (!stack.empty()) {
            Frame &top = stack.back();
            const TArgument *node = top.node;
            if (top.next < node->InitialArguments.Count()) {
                const TArgument *child = node->InitialArguments[top.next++];
                if (!m_numbers.contains(child))
                    stack.push_back({child, 0});
                continue;
            }
            std::vector<int> children;
            children.reserve(static_cast<std::size_t>(node->InitialArguments.Count()));
            for (const TArgument *child : node->InitialArguments)
                children.push_back(m_numbers.at(child));
            std::sort(children.begin(), children.end());
            auto key = std::make_pair(std::string_view(node->Conclusion->Text), std::move(children));
            const auto [it, inserted] =
                m_shapes.try_emplace(std::move(key), static_cast<int>(m_shapes.size()));
            m_numbers.emplace(node, it->second);
            stack.pop_back();
        }
        return m_numbers.at(&root);
    }

private:
    std::map<std::pair<std::string_view, std::vector<int>>, int> m_shapes;
    std::unordered_map<const TArgument *, int> m_numbers;
};

struct PairHash {
    std::size_t operator()(const std::pair<const TArgument *, const TArgument *> &p) const
    {
        const auto h1 = std::hash<const TArgument *>{}(p.first);
        const auto h2 = std::hash<const TArgument *>{}(p.second);
        return h1 ^ (h2 + 0x9e3779b97f4a7c15ULL + (h1 << 6) + (h1 >> 2));
    }
};

// Whether a is a narrowing of x, for many pairs: the test is free of side effects, so results
// are remembered per pair and the nested tests run on an explicit stack.
class TNarrowings {
public:
    bool Of(const TArgument &x, const TArgument &a)
    {
        struct Frame {
            const TArgument *x;
            const TArgument *a;
            int d = 0; // Initial argument of a being matched.
            int c = 0; // Initial argument of x being tried for it.
        };
        if (const auto known = Known(x, a))
            return *known;
        std::vector<Frame> stack{{&x, &a}};
        while (!stack.empty()) {
            Frame &top = stack.back();
            const TArguments &ds = top.a->InitialArguments;
            const TArguments &cs = top.x->InitialArguments;
            bool done = false;
            bool result = false;
            if (top.d == ds.Count()) {
                done = true;
                result = true;
            } else if (top.c == cs.Count()) {
                done = true; // Initial argument d found no match.
            } else {
                const TArgument *c = cs[top.c];
                const TArgument *d = ds[top.d];
                if (const auto known = Known(*c, *d)) {
                    if (*known) {
                        ++top.d;
                        top.c = 0;
                    } else {
                        ++top.c;
                    }
                } else {
                    stack.push_back({c, d});
                }
                continue;
            }
            if (done) {
                m_results[{top.x, top.a}] = result;
                stack.pop_back();
            }
        }
        return m_results.at({&x, &a});
    }

private:
    std::optional<bool> Known(const TArgument &x, const TArgument &a) const
    {
        if (!SameConclusionText(x, a))
            return false;
        if (a.InitialArguments.IsEmpty())
            return true;
        if (const auto it = m_results.find({&x, &a}); it != m_results.end())
            return it->second;
        return std::nullopt;
    }

    std::unordered_map<std::pair<const TArgument *, const TArgument *>, bool, PairHash> m_results;
};

// Calls visit(node) for every node of the tree below root (root excluded unless withRoot), each
// shared node once, until visit returns true; returns whether it did.
template <typename Visit>
bool AnyNode(const TArgument &root, bool withRoot, Visit visit)
{
    std::unordered_set<const TArgument *> seen;
    std::vector<const TArgument *> stack;
    if (withRoot) {
        stack.push_back(&root);
    } else {
        for (int i = root.InitialArguments.Count() - 1; i >= 0; --i)
            stack.push_back(root.InitialArguments[i]);
    }
    while (!stack.empty()) {
        const TArgument *node = stack.back();
        stack.pop_back();
        if (!seen.insert(node).second)
            continue;
        if (visit(*node))
            return true;
        for (int i = node->InitialArguments.Count() - 1; i >= 0; --i)
            stack.push_back(node->InitialArguments[i]);
    }
    return false;
}

bool QuickEqualShape(const TArgument &x, const TArgument &a)
{
    return SameConclusionText(x, a) && x.InitialArguments.Count() == a.InitialArguments.Count();
}

} // namespace

int TArguments::InList(const TArgument &a) const
{
    for (int i = 0; i < Count(); ++i) {
        if (Items(i)->HasEqualStructure(a))
            return i;
    }
    return -1;
}

int TArguments::InExtendedList(const TArgument &a) const
{
    for (int i = 0; i < Count(); ++i) {
        if (Items(i)->IsSubargument(a))
            return i;
    }
    return -1;
}

void TArgument::ExtendArgumentAtConclusion(TArena &arena, TArgument &b, const TReasonConclusion &s,
                                           TArguments *&r)
{
    if (!r)
        r = arena.NewArguments();
    // Depth first, the node before its initial arguments, not below a part that concludes S's
    // reason.
    std::vector<TArgument *> stack{&b};
    while (!stack.empty()) {
        TArgument *part = stack.back();
        stack.pop_back();
        if (part->Conclusion->Text == s.Reason->Text) {
            TArgument extended;
            extended.Conclusion = s.Conclusion;
            extended.InitialArguments.Add(part);
            bool repeated = false;
            for (const TArgument *held : *r) {
                if (extended.HasEqualStructure(*held)) {
                    repeated = true;
                    break;
                }
            }
            if (!repeated) {
                TArgument *kept = arena.NewArgument(s.Conclusion);
                kept->InitialArguments.Add(part);
                r->Add(kept);
            }
            continue;
        }
        for (int i = part->InitialArguments.Count() - 1; i >= 0; --i)
            stack.push_back(part->InitialArguments[i]);
    }
}

void TArgument::ExtendArgumentAtReason(TArena &arena, const TArgument &b,
                                       const TReasonConclusion &s, TArgument *&e)
{
    if (!e)
        e = arena.NewArgument();
    struct Frame {
        const TArgument *source;
        TArgument *copy;
        int next = 0;
        bool noReasonYet = true; // No initial argument of source concludes S's reason.
        TArguments copies;
    };
    std::vector<Frame> stack;
    stack.push_back({&b, e, 0, true, {}});
    while (!stack.empty()) {
        Frame &top = stack.back();
        if (top.next < top.source->InitialArguments.Count()) {
            const TArgument *child = top.source->InitialArguments[top.next++];
            TArgument *childCopy = arena.NewArgument(child->Conclusion);
            top.copies.Add(childCopy);
            if (child->Conclusion->Text == s.Reason->Text)
                top.noReasonYet = false;
            stack.push_back({child, childCopy, 0, true, {}});
            continue;
        }
        top.copy->Conclusion = top.source->Conclusion;
        if (!top.copies.IsEmpty())
            top.copy->InitialArguments.Assign(top.copies);
        if (top.source->Conclusion->Text == s.Conclusion->Text && top.noReasonYet)
            top.copy->InitialArguments.Add(arena.NewArgument(s.Reason));
        stack.pop_back();
    }
}

void TArgument::Implant(TArena &arena, TArgument &a, TArgument *&e) const
{
    if (Conclusion == a.Conclusion) {
        e = &a;
        return;
    }
    e = arena.NewArgument(Conclusion);
    std::vector<std::pair<const TArgument *, TArgument *>> stack{{this, e}};
    while (!stack.empty()) {
        const auto [source, copy] = stack.back();
        stack.pop_back();
        for (TArgument *child : source->InitialArguments) {
            if (child->Conclusion == a.Conclusion) {
                copy->InitialArguments.Add(&a);
                continue;
            }
            TArgument *childCopy = arena.NewArgument(child->Conclusion);
            copy->InitialArguments.Add(childCopy);
            stack.emplace_back(child, childCopy);
        }
    }
}

bool TArgument::HasEqualStructure(const TArgument &a) const
{
    if (!QuickEqualShape(*this, a))
        return false;
    if (InitialArguments.IsEmpty())
        return true;
    TShapeNumbers shapes;
    return shapes.Of(*this) == shapes.Of(a);
}

bool TArgument::IsInitial(const TArgument &a) const
{
    TShapeNumbers shapes;
    const int wanted = shapes.Of(a);
    return AnyNode(*this, false, [&](const TArgument &part) {
        return QuickEqualShape(part, a) && shapes.Of(part) == wanted;
    });
}

bool TArgument::IsNarrowing(const TArgument &a) const
{
    return TNarrowings().Of(*this, a);
}

bool TArgument::IsSubargument(const TArgument &a) const
{
    // Every part that is an initial argument somewhere is itself visited, so "equal structure or
    // narrowing at some part" covers the initial-argument test too.
    TShapeNumbers shapes;
    TNarrowings narrowings;
    const int wanted = shapes.Of(a);
    return AnyNode(*this, true, [&](const TArgument &part) {
        return (QuickEqualShape(part, a) && shapes.Of(part) == wanted) ||
               narrowings.Of(part, a);
    });
}

TStatements TArgument::GiveStatements() const
{
    TStatements statements;
    std::vector<const TArgument *> stack{this};
    while (!stack.empty()) {
        const TArgument *part = stack.back();
        stack.pop_back();
        statements.Add(part->Conclusion);
        for (int i = part->InitialArguments.Count() - 1; i >= 0; --i)
            stack.push_back(part->InitialArguments[i]);
    }
    return statements;
}
