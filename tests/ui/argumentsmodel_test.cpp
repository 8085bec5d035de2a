#include "ui/argumentsmodel.h"

#include "model/arena.h"
#include "model/argument.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

namespace {

TArgument *argumentFor(TArena &arena, const char *text)
{
    TStatement *statement = arena.NewStatement();
    statement->Text = text;
    return arena.NewArgument(statement);
}

TEST(TArgumentsModelTest, OneNodePerPlaceInTheTrees)
{
    TArena arena;
    // a <- (b <- d), (c <- d): the argument for d stands under both b and c.
    TArgument *a = argumentFor(arena, "a");
    TArgument *b = argumentFor(arena, "b");
    TArgument *c = argumentFor(arena, "c");
    TArgument *d = argumentFor(arena, "d");
    TArgument *e = argumentFor(arena, "e");
    b->InitialArguments.Add(d);
    c->InitialArguments.Add(d);
    a->InitialArguments.Add(b);
    a->InitialArguments.Add(c);
    TArguments roots;
    roots.Add(a);
    roots.Add(e);

    TArgumentsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.rebuild(roots);
    EXPECT_EQ(model.nodeCount(), 6); // a, b, d, c, d, e
    ASSERT_EQ(model.rowCount(), 2);
    const QModelIndex rootA = model.index(0, 0);
    EXPECT_EQ(rootA.data().toString(), QStringLiteral("a"));
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("e"));
    EXPECT_FALSE(model.hasChildren(model.index(1, 0)));
    ASSERT_EQ(model.rowCount(rootA), 2);
    for (int row = 0; row < 2; ++row) {
        const QModelIndex reason = model.index(row, 0, rootA);
        EXPECT_EQ(reason.data().toString(), row == 0 ? QStringLiteral("b") : QStringLiteral("c"));
        EXPECT_EQ(reason.parent(), rootA);
        ASSERT_EQ(model.rowCount(reason), 1);
        const QModelIndex leaf = model.index(0, 0, reason);
        EXPECT_EQ(leaf.data().toString(), QStringLiteral("d"));
        EXPECT_EQ(leaf.parent(), reason);
    }
    EXPECT_FALSE(model.flags(rootA) & Qt::ItemIsEditable);

    model.rebuild(TArguments());
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(TArgumentsModelTest, SnapshotKeepsTextStatusAndTypeAsTheyWere)
{
    TArena arena;
    TArgument *a = argumentFor(arena, "before");
    a->Conclusion->JustificationStatus = TJustificationStatus::Justified;
    a->Conclusion->StatementType = TStatementType::Assumption;
    TArguments roots;
    roots.Add(a);
    TArgumentsModel model;
    model.rebuild(roots);
    const QIcon icon = model.index(0, 0).data(Qt::DecorationRole).value<QIcon>();

    a->Conclusion->Text = "after";
    a->Conclusion->JustificationStatus = TJustificationStatus::Unjustified;
    a->Conclusion->StatementType = TStatementType::Issue;
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("before"));
    EXPECT_EQ(model.index(0, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey(),
              icon.cacheKey());
    EXPECT_EQ(icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
              TStatusIcons::nodeImage(TJustificationStatus::Justified, TStatementType::Assumption));
}

TEST(TArgumentsModelTest, VeryDeepTreeBuildsWithoutRecursion)
{
    TArena arena;
    constexpr int Depth = 5000;
    TArgument *root = argumentFor(arena, "0");
    TArgument *last = root;
    for (int level = 1; level < Depth; ++level) {
        TArgument *next = argumentFor(arena, "level");
        last->InitialArguments.Add(next);
        last = next;
    }
    TArguments roots;
    roots.Add(root);
    TArgumentsModel model;
    model.rebuild(roots);
    EXPECT_EQ(model.nodeCount(), Depth);
    QModelIndex index = model.index(0, 0);
    int depth = 1;
    while (model.hasChildren(index)) {
        const QModelIndex child = model.index(0, 0, index);
        ASSERT_EQ(child.parent(), index);
        index = child;
        ++depth;
    }
    EXPECT_EQ(depth, Depth);
}

} // namespace
