#include "ui/tooltips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

QString WrappedToolTip(const QString &plain)
{
    if (plain.isEmpty())
        return plain;
    // pre-wrap keeps a statement's own line breaks and blanks; the label wraps the rest.
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + plain.toHtmlEscaped()
           + QStringLiteral("</p>");
}

bool TWrappedToolTipDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                        const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString tip = index.data(Qt::ToolTipRole).toString();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(event->globalPos(), WrappedToolTip(tip), view, option.rect);
    return true;
}
