#pragma once

#include <QStyledItemDelegate>
#include <QString>

// Qt wraps a tooltip only when it is rich text, so a long explanation would show as one line as
// wide as the screen. These give plain text a readable width.

// The plain text as rich text that wraps, every character shown as typed.
QString WrappedToolTip(const QString &plain);

// Shows each item's tooltip (the model's plain text) wrapped; draws items as the default does.
class TWrappedToolTipDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;
};
