// Trees far deeper than Qt's layout can expand: both modes show them, expanded only so far.

#include "ui/treedepth.h"

#include "dialogue/replay.h"
#include "ui/korvaneunit.h"

#include <QStatusBar>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <string>

namespace {

using T = TStatementType;

// r0 is an assumption and each r(i) the reason for r(i+1): one tree as deep as the chain.
void makeChain(TKorvaneForm &form, int steps)
{
    TLineOfArgumentation &line = form.lineOfArgumentation();
    for (int i = 0; i < steps; ++i)
        line.DoReasonConclusionMove(
            NewStep(line.Arena(), {"r" + std::to_string(i), i == 0 ? T::Assumption : T::Issue},
                    {"r" + std::to_string(i + 1), T::Issue}));
}

// The node depth levels down the chain's tree.
QModelIndex nodeAt(const QTreeView &tree, int depth)
{
    QModelIndex index = tree.model()->index(0, 0);
    for (int level = 0; level < depth; ++level)
        index = tree.model()->index(0, 0, index);
    return index;
}

TEST(TTreeDepthTest, DeepTreesExpandSoFarAndFurtherOnlyWhenAsked)
{
    // Deep enough that expanding it all overflowed the stack.
    constexpr int Steps = 30000;
    for (const TKorvaneMode mode : {TKorvaneMode::Default, TKorvaneMode::Full}) {
        SCOPED_TRACE(mode == TKorvaneMode::Full ? "full mode" : "default mode");
        TKorvaneForm form(mode);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        makeChain(form, mode == TKorvaneMode::Full ? TTreeDepth::SafeDepth + 10 : Steps);
        form.ShowArguments();
        QCoreApplication::processEvents();
        auto *tree = form.findChild<QTreeView *>(QStringLiteral("ArgumentsTreeView"));

        const QModelIndex last = nodeAt(*tree, TTreeDepth::SafeDepth - 1);
        const QModelIndex first = nodeAt(*tree, TTreeDepth::SafeDepth);
        EXPECT_TRUE(tree->isExpanded(last));
        EXPECT_FALSE(tree->isExpanded(first));
        EXPECT_EQ(tree->indexBelow(last), first); // laid out, so shown
        EXPECT_EQ(form.statusBar()->currentMessage().contains(QStringLiteral("collapsed")),
                  mode == TKorvaneMode::Full);

        // A collapsed node opens by keyboard, one level at a time.
        tree->setFocus();
        tree->setCurrentIndex(first);
        QTest::keyClick(tree, Qt::Key_Right);
        EXPECT_TRUE(tree->isExpanded(first));
        EXPECT_FALSE(tree->isExpanded(nodeAt(*tree, TTreeDepth::SafeDepth + 1)));

        // "Expand all below" stops where the view does.
        const QModelIndex root = nodeAt(*tree, 0);
        tree->collapseAll();
        tree->setCurrentIndex(root);
        QTest::keyClick(tree, Qt::Key_Asterisk);
        EXPECT_TRUE(tree->isExpanded(nodeAt(*tree, TTreeDepth::SafeDepth - 1)));
        EXPECT_FALSE(tree->isExpanded(nodeAt(*tree, TTreeDepth::SafeDepth)));
        EXPECT_EQ(tree->indexBelow(nodeAt(*tree, TTreeDepth::SafeDepth - 1)),
                  nodeAt(*tree, TTreeDepth::SafeDepth));
    }
}

} // namespace
