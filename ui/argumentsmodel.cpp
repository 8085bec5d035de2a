#include "ui/argumentsmodel.h"

#include "model/argument.h"
#include "model/explanation.h"
#include "ui/utf8.h"

TArgumentsModel::TArgumentsModel(QObject *parent)
    : QAbstractItemModel(parent)
{
}

void TArgumentsModel::rebuild(const TArguments &roots, const TExplanations *explanations)
{
    beginResetModel();
    m_explanations = explanations;
    m_nodes.clear();
    m_sources.clear();
    // Breadth first keeps each node's children side by side, so a node needs only the place of
    // its first child and their count.
    for (int row = 0; row < roots.Count(); ++row)
        AddArgumentNode(*roots[row], -1, row);
    m_topLevelCount = roots.Count();
    for (std::size_t current = 0; current < m_sources.size(); ++current) {
        const TArguments &children = m_sources[current]->InitialArguments;
        m_nodes[current].firstChild = static_cast<int>(m_nodes.size());
        m_nodes[current].childCount = children.Count();
        for (int row = 0; row < children.Count(); ++row)
            AddArgumentNode(*children[row], static_cast<int>(current), row);
    }
    m_sources.clear();
    m_sources.shrink_to_fit();
    m_explanations = nullptr;
    endResetModel();
}

void TArgumentsModel::AddArgumentNode(const TArgument &argument, int parentNode, int row)
{
    TNode node;
    node.text = qtText(argument.Conclusion->Text);
    node.parent = parentNode;
    node.row = row;
    node.status = argument.Conclusion->JustificationStatus;
    node.type = argument.Conclusion->StatementType;
    if (m_explanations)
        node.why = qtText(m_explanations->Explain(argument).Text);
    m_nodes.push_back(std::move(node));
    m_sources.push_back(&argument);
}

const TArgumentsModel::TNode *TArgumentsModel::nodeAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return nullptr;
    return &m_nodes[static_cast<std::size_t>(index.internalId())];
}

QModelIndex TArgumentsModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    const TNode *parentNode = nodeAt(parent);
    const int node = parentNode ? parentNode->firstChild + row : row;
    return createIndex(row, 0, static_cast<quintptr>(node));
}

QModelIndex TArgumentsModel::parent(const QModelIndex &child) const
{
    const TNode *node = nodeAt(child);
    if (!node || node->parent < 0)
        return {};
    const TNode &parentNode = m_nodes[static_cast<std::size_t>(node->parent)];
    return createIndex(parentNode.row, 0, static_cast<quintptr>(node->parent));
}

int TArgumentsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const TNode *node = nodeAt(parent);
    return node ? node->childCount : m_topLevelCount;
}

int TArgumentsModel::columnCount(const QModelIndex &) const { return 1; }

bool TArgumentsModel::hasChildren(const QModelIndex &parent) const { return rowCount(parent) > 0; }

QVariant TArgumentsModel::data(const QModelIndex &index, int role) const
{
    const TNode *node = nodeAt(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return node->text;
    case Qt::ToolTipRole:
        return node->why.isEmpty() ? node->text : node->why;
    case Qt::DecorationRole:
        return m_icons.nodeIcon(node->status, node->type);
    case Qt::AccessibleDescriptionRole:
        return QStringLiteral("%1, %2")
            .arg(qtText(StatementTypeName(node->type)),
                 node->status == TJustificationStatus::Justified     ? QStringLiteral("justified")
                 : node->status == TJustificationStatus::Unjustified ? QStringLiteral("unjustified")
                                                                     : QStringLiteral("undecided"));
    default:
        return {};
    }
}

Qt::ItemFlags TArgumentsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (nodeAt(index)->childCount == 0)
        result |= Qt::ItemNeverHasChildren;
    return result;
}
