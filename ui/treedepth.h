#pragma once

#include <QObject>

class QTreeView;

// Qt's tree view lays out its expanded rows by a recursion one level deep per expanded level, so
// a tree expanded thousands of levels deep overflows the stack. The views expand their trees only
// this far; a user can still expand any collapsed node below, one at a time.
class TTreeDepth : public QObject {
    Q_OBJECT

public:
    // Levels of nodes shown expanded: far below where the layout's recursion runs out of stack,
    // under the sanitizers' larger frames too, and deeper than a reader follows a tree by eye.
    static constexpr int SafeDepth = 1000;

    // Guards the view's "expand all below" key, which would expand without a limit.
    explicit TTreeDepth(QTreeView *view);

    // Expands every node of the view whose depth is below SafeDepth (a top-level node has depth
    // 0); true when deeper nodes were left collapsed.
    bool expandToSafeDepth();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTreeView *m_view; // Not owned: it owns this guard.
};
