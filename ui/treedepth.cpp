#include "ui/treedepth.h"

#include <QKeyEvent>
#include <QTreeView>

#include <utility>
#include <vector>

namespace {

// Expands the nodes under root (itself included when valid) down to, not including, the given
// depth; true when a node with children was left collapsed there. Children go first, so each one
// is only noted, and the view lays out the whole subtree once, when its top expands.
bool expandBelow(QTreeView &view, const QModelIndex &root, int rootDepth)
{
    const QAbstractItemModel *model = view.model();
    bool cut = false;
    std::vector<QModelIndex> expanding;
    std::vector<std::pair<QModelIndex, int>> pending{{root, rootDepth}};
    while (!pending.empty()) {
        const auto [index, depth] = pending.back();
        pending.pop_back();
        const int rows = model->rowCount(index);
        if (rows == 0)
            continue;
        if (depth >= TTreeDepth::SafeDepth) {
            cut = true;
            continue;
        }
        if (index.isValid())
            expanding.push_back(index);
        for (int row = 0; row < rows; ++row)
            pending.emplace_back(model->index(row, 0, index), depth + 1);
    }
    for (auto index = expanding.rbegin(); index != expanding.rend(); ++index)
        view.expand(*index);
    return cut;
}

int depthOf(QModelIndex index)
{
    int depth = 0;
    while (index.parent().isValid()) {
        index = index.parent();
        ++depth;
    }
    return depth;
}

} // namespace

TTreeDepth::TTreeDepth(QTreeView *view)
    : QObject(view)
    , m_view(view)
{
    view->installEventFilter(this);
}

bool TTreeDepth::expandToSafeDepth()
{
    // The invisible root sits one level above the top-level nodes.
    return expandBelow(*m_view, QModelIndex(), -1);
}

bool TTreeDepth::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_view || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const QModelIndex current = m_view->currentIndex();
    if (key->key() != Qt::Key_Asterisk || !current.isValid())
        return QObject::eventFilter(watched, event);
    expandBelow(*m_view, current, depthOf(current));
    return true;
}
