#pragma once

#include "model/statement.h"
#include "ui/statusicons.h"

#include <QAbstractItemModel>
#include <QString>

#include <cstdint>
#include <vector>

class TArgument;
class TArguments;
class TExplanations;

// A read-only tree over a snapshot of argument trees: each node's text, status and type are
// copied when the snapshot is taken, so the view keeps showing them after the model changes.
// One node per place in the trees: a shared sub-argument appears under every parent.
class TArgumentsModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit TArgumentsModel(QObject *parent = nullptr);

    // Replaces the snapshot with the trees of roots, in list order. Walks them without recursion,
    // so trees of any depth are safe. With explanations, each node's tooltip says why it has its
    // status; without, it repeats the node's text.
    void rebuild(const TArguments &roots, const TExplanations *explanations = nullptr);
    int nodeCount() const { return static_cast<int>(m_nodes.size()); }

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct TNode {
        QString text;
        QString why;
        int parent = -1; // -1 for a top-level node.
        int row = 0;
        int firstChild = 0; // Children are stored one after the other.
        int childCount = 0;
        TJustificationStatus status = TJustificationStatus::Undecided;
        TStatementType type = TStatementType::Issue;
    };

    // Appends the node of one argument; its own initial arguments are added when the walk
    // reaches it.
    void AddArgumentNode(const TArgument &argument, int parentNode, int row);
    const TNode *nodeAt(const QModelIndex &index) const;

    std::vector<TNode> m_nodes; // Top-level nodes first, then breadth first.
    std::vector<const TArgument *> m_sources; // During rebuild only: what node i shows. Not owned.
    const TExplanations *m_explanations = nullptr; // During rebuild only.
    int m_topLevelCount = 0;
    TStatusIcons m_icons;
};
