#include "model/arena.h"
#include "model/argument.h"
#include "trees.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using trees::Parse;
using trees::Show;

class ArgumentTest : public testing::Test {
protected:
    TArgument *Tree(std::string_view text) { return Parse(arena, text); }

    TReasonConclusion *Step(const std::string &reason, const std::string &conclusion)
    {
        TReasonConclusion *step = arena.NewReasonConclusion();
        step->Reason->Text = reason;
        step->Conclusion->Text = conclusion;
        return step;
    }

    // A chain c0 <- c1 <- ... <- c<depth>, built without recursion.
    TArgument *Chain(int depth, const std::string &prefix = "c")
    {
        TArgument *root = arena.NewArgument(arena.NewStatement());
        root->Conclusion->Text = prefix + "0";
        TArgument *last = root;
        for (int i = 1; i <= depth; ++i) {
            TArgument *next = arena.NewArgument(arena.NewStatement());
            next->Conclusion->Text = prefix + std::to_string(i);
            last->InitialArguments.Add(next);
            last = next;
        }
        return root;
    }

    TArena arena;
};

struct PairCase {
    const char *receiver;
    const char *argument;
    bool expected;
};

TEST_F(ArgumentTest, HasEqualStructurePairsEveryInitialArgumentWithItsOwnPartner)
{
    const std::vector<PairCase> cases = {
        {"a", "a", true},
        {"a", "A", false},
        {"a", "a ", false},
        {"a<-b", "a<-(b,c)", false},
        {"a<-(b,c)", "a<-(c,b)", true},
        {"a<-(b,c)", "a<-(b,d)", false},
        {"a<-(b,b)", "a<-(b,c)", false},
        {"a<-(b,c)", "a<-(b,b)", false},
        {"a<-(b<-c,d)", "a<-(d,b<-c)", true},
        {"a<-(b<-c,b)", "a<-(b,b<-c)", true},
        {"a<-(b<-c,b)", "a<-(b<-c,b<-c)", false},
        {"a<-b<-c", "a<-b<-d", false},
        {"a<-b<-c", "x<-b<-c", false},
    };
    for (const auto &[receiver, argument, expected] : cases) {
        SCOPED_TRACE(std::string(receiver) + " vs " + argument);
        EXPECT_EQ(Tree(receiver)->HasEqualStructure(*Tree(argument)), expected);
        EXPECT_EQ(Tree(argument)->HasEqualStructure(*Tree(receiver)), expected);
    }
}

TEST_F(ArgumentTest, IsNarrowingKeepsOnlyReasonsTheReceiverHasAtThatPlace)
{
    const std::vector<PairCase> cases = {
        {"a<-(b<-c,b2)", "a", true},
        {"a<-(b<-c,b2)", "a<-b", true},
        {"a<-(b<-c,b2)", "a<-(b<-c,b2)", true},
        {"a<-(b<-c,b2)", "a<-(b2,b)", true},
        {"a<-(b<-c,b2)", "a<-(b,b)", true}, // One reason may match several.
        {"a<-(b<-c,b2)", "a<-d", false},
        {"a<-(b<-c,b2)", "x", false},
        {"a<-(b<-c,b2)", "a<-b<-d", false},
        {"a<-(b,c)", "a<-(d,b)", false},
        {"a", "a<-b", false},
    };
    for (const auto &[receiver, argument, expected] : cases) {
        SCOPED_TRACE(std::string(receiver) + " narrowed to " + argument);
        EXPECT_EQ(Tree(receiver)->IsNarrowing(*Tree(argument)), expected);
    }
}

TEST_F(ArgumentTest, IsInitialLooksStrictlyBelowTheRoot)
{
    const std::vector<PairCase> cases = {
        {"c<-b<-a", "b<-a", true}, {"c<-b<-a", "a", true},   {"c<-b<-a", "c", false},
        {"c<-b<-a", "c<-b<-a", false}, {"c", "c", false},    {"c<-(b,d<-e)", "d<-e", true},
        {"c<-(b,d<-e)", "d", false},
    };
    for (const auto &[receiver, argument, expected] : cases) {
        SCOPED_TRACE(std::string(receiver) + " has initial " + argument);
        EXPECT_EQ(Tree(receiver)->IsInitial(*Tree(argument)), expected);
    }
}

TEST_F(ArgumentTest, IsSubargumentCombinesTheThreeTestsAtEveryLevel)
{
    const std::vector<PairCase> cases = {
        {"c<-b<-a", "c<-b<-a", true}, {"c<-b<-a", "b<-a", true}, {"c<-b<-a", "a", true},
        {"c<-b<-a", "c", true},       {"c<-b<-a", "c<-b", true}, {"c<-b<-a", "b", true},
        {"c<-b<-a", "c<-a", false},   {"c<-b<-a", "x", false},   {"c<-(b<-a,d)", "b<-a", true},
    };
    for (const auto &[receiver, argument, expected] : cases) {
        SCOPED_TRACE(std::string(receiver) + " has sub-argument " + argument);
        EXPECT_EQ(Tree(receiver)->IsSubargument(*Tree(argument)), expected);
    }
}

TEST_F(ArgumentTest, ListLookupsGiveTheFirstMatchOrMinusOne)
{
    TArguments list;
    EXPECT_EQ(list.InList(*Tree("a")), -1);
    EXPECT_EQ(list.InExtendedList(*Tree("a")), -1);
    list.Add(Tree("x<-a"));
    list.Add(Tree("a<-(b,c)"));
    list.Add(Tree("a<-(c,b)"));
    EXPECT_EQ(list.InList(*Tree("a<-(b,c)")), 1);
    EXPECT_EQ(list.InList(*Tree("a")), -1);
    EXPECT_EQ(list.InExtendedList(*Tree("a")), 0);
    EXPECT_EQ(list.InExtendedList(*Tree("a<-c")), 1);
    EXPECT_EQ(list.InExtendedList(*Tree("q")), -1);
}

TEST_F(ArgumentTest, AssignCopiesReferencesNotArguments)
{
    TArguments source;
    source.Add(Tree("a"));
    source.Add(Tree("b"));
    TArguments target;
    target.Add(Tree("z"));
    target.Assign(source);
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target[0], source[0]);
    EXPECT_EQ(target[1], source[1]);
}

TEST_F(ArgumentTest, GiveStatementsListsThePreOrderWithRepeats)
{
    const std::vector<std::pair<const char *, std::vector<std::string>>> cases = {
        {"a<-(b<-c,b2)", {"a", "b", "c", "b2"}},
        {"a<-(b,b)", {"a", "b", "b"}},
        {"a", {"a"}},
    };
    for (const auto &[tree, expected] : cases) {
        const TStatements statements = Tree(tree)->GiveStatements();
        std::vector<std::string> texts;
        for (const TStatement *statement : statements)
            texts.push_back(statement->Text);
        EXPECT_EQ(texts, expected) << tree;
    }
}

TEST_F(ArgumentTest, ExtendArgumentAtConclusionPutsTheStepOnTopOfEachHighestMatch)
{
    TArgument *b = Tree("b<-a");
    TArgument *a = b->InitialArguments[0];

    TArguments *r = nullptr;
    TArgument::ExtendArgumentAtConclusion(arena, *b, *Step("b", "c"), r);
    ASSERT_NE(r, nullptr);
    ASSERT_EQ(r->Count(), 1);
    EXPECT_EQ(Show(*r->Items(0)), "c<-b<-a");
    EXPECT_EQ(r->Items(0)->InitialArguments[0], b); // The given argument itself, not a copy.

    TArgument::ExtendArgumentAtConclusion(arena, *b, *Step("a", "d"), r);
    ASSERT_EQ(r->Count(), 2); // Appended after what r held.
    EXPECT_EQ(Show(*r->Items(1)), "d<-a");
    EXPECT_EQ(r->Items(1)->InitialArguments[0], a);

    TArguments *empty = nullptr;
    TArgument::ExtendArgumentAtConclusion(arena, *b, *Step("x", "y"), empty);
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->IsEmpty());

    EXPECT_EQ(Show(*b), "b<-a");
}

TEST_F(ArgumentTest, ExtendArgumentAtConclusionSkipsStructuralRepeats)
{
    TArgument *b = Tree("b<-(a,a)");
    TReasonConclusion *step = Step("a", "d");
    TArguments *r = nullptr;
    TArgument::ExtendArgumentAtConclusion(arena, *b, *step, r);
    EXPECT_EQ(r->Count(), 1); // The second a gives an equal d<-a.
    TArgument::ExtendArgumentAtConclusion(arena, *b, *step, r);
    EXPECT_EQ(r->Count(), 1);
}

TEST_F(ArgumentTest, ExtendArgumentAtReasonCopiesTheTreeAndAddsTheReason)
{
    const std::vector<std::pair<const char *, const char *>> cases = {
        {"p<-(q,q2)", "p<-(q<-r,q2)"},
        {"q<-r", "q<-r"},           // Already there: no second r.
        {"q", "q<-r"},
        {"p<-(x,y)", "p<-(x,y)"},   // The conclusion occurs nowhere: a plain copy.
        {"q<-p<-q", "q<-(p<-q<-r,r)"},
    };
    for (const auto &[source, expected] : cases) {
        SCOPED_TRACE(source);
        TArgument *b = Tree(source);
        const TStatements before = b->GiveStatements();
        TArgument *e = nullptr;
        TArgument::ExtendArgumentAtReason(arena, *b, *Step("r", "q"), e);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(Show(*e), expected);
        EXPECT_EQ(Show(*b), source);
        // New argument objects throughout, the same statement objects.
        EXPECT_NE(e, b);
        const TStatements after = e->GiveStatements();
        EXPECT_EQ(after[0], before[0]);
        if (!b->InitialArguments.IsEmpty() && !e->InitialArguments.IsEmpty()) {
            EXPECT_NE(e->InitialArguments[0], b->InitialArguments[0]);
        }
    }
}

TEST_F(ArgumentTest, ImplantReplacesPartsByStatementIdentity)
{
    std::map<std::string, TStatement *> shared;
    TArgument *x = Parse(arena, "a<-b<-c", &shared);
    TArgument *implanted = Parse(arena, "b<-c<-d", &shared);
    TArgument *e = nullptr;
    x->Implant(arena, *implanted, e);
    EXPECT_EQ(Show(*e), "a<-b<-c<-d");
    EXPECT_EQ(e->InitialArguments[0], implanted);
    EXPECT_NE(e, x);
    EXPECT_EQ(Show(*x), "a<-b<-c");

    // Equal texts but other statement objects: a new copy of the receiver.
    TArgument *stranger = Tree("b<-c<-d");
    TArgument *copy = nullptr;
    x->Implant(arena, *stranger, copy);
    EXPECT_EQ(Show(*copy), "a<-b<-c");
    EXPECT_NE(copy, x);
    EXPECT_NE(copy->InitialArguments[0], x->InitialArguments[0]);

    // The root matches: the result is the given argument.
    TArgument *atRoot = Parse(arena, "a<-z", &shared);
    TArgument *whole = nullptr;
    x->Implant(arena, *atRoot, whole);
    EXPECT_EQ(whole, atRoot);
}

TEST_F(ArgumentTest, ComparisonsLeaveStatusesAndTreesAlone)
{
    TArgument *x = Tree("a<-(b<-c,b2)");
    x->DefeatStatus = TDefeatStatus::Defeated;
    TArgument *a = Tree("a<-b");
    EXPECT_FALSE(x->HasEqualStructure(*a));
    EXPECT_TRUE(x->IsNarrowing(*a));
    EXPECT_TRUE(x->IsSubargument(*a));
    EXPECT_FALSE(x->IsInitial(*a));
    EXPECT_EQ(Show(*x), "a<-(b<-c,b2)");
    EXPECT_EQ(x->DefeatStatus, TDefeatStatus::Defeated);
    EXPECT_EQ(a->DefeatStatus, TDefeatStatus::Undecided);
}

TEST_F(ArgumentTest, DeepChainsDoNotExhaustTheStack)
{
    constexpr int depth = 5000;
    TArgument *x = Chain(depth);
    TArgument *y = Chain(depth);
    TArgument *z = Chain(depth - 1);
    EXPECT_TRUE(x->HasEqualStructure(*y));
    EXPECT_FALSE(x->HasEqualStructure(*z));
    EXPECT_TRUE(x->IsNarrowing(*z));
    EXPECT_TRUE(x->IsSubargument(*y));
    EXPECT_TRUE(x->IsInitial(*y->InitialArguments[0]));
    EXPECT_EQ(x->GiveStatements().Count(), depth + 1);

    TArguments list;
    list.Add(x);
    EXPECT_EQ(list.InList(*y), 0);
    EXPECT_EQ(list.InExtendedList(*z), 0);

    TArguments *r = nullptr;
    TArgument::ExtendArgumentAtConclusion(arena, *x, *Step("c" + std::to_string(depth), "top"),
                                          r);
    EXPECT_EQ(r->Count(), 1);

    TArgument *e = nullptr;
    TArgument::ExtendArgumentAtReason(arena, *x, *Step("r", "c" + std::to_string(depth)), e);
    EXPECT_EQ(e->GiveStatements().Count(), depth + 2);

    TArgument *implanted = nullptr;
    TArgument *bottom = arena.NewArgument(arena.NewStatement());
    x->Implant(arena, *bottom, implanted);
    EXPECT_EQ(implanted->GiveStatements().Count(), depth + 1);
}

} // namespace
