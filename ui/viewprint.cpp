#include "ui/viewprint.h"

#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStringList>
#include <QTextDocument>

namespace {

void appendRows(const QAbstractItemModel &model, const QModelIndex &parent, int depth,
                QStringList &lines)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(parent); ++column)
            cells.append(model.index(row, column, parent).data().toString());
        const QModelIndex first = model.index(row, 0, parent);
        const QString description = first.data(Qt::AccessibleDescriptionRole).toString();
        QString line = QString(4 * depth, QLatin1Char(' ')) + cells.join(QLatin1Char('\t'));
        if (!description.isEmpty())
            line += QStringLiteral("  (") + description + QLatin1Char(')');
        lines.append(line);
        appendRows(model, first, depth + 1, lines);
    }
}

} // namespace

QString ViewText(const QWidget &view)
{
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(&view))
        return memo->toPlainText();
    QStringList lines;
    if (const auto *items = qobject_cast<const QAbstractItemView *>(&view); items && items->model())
        appendRows(*items->model(), items->rootIndex(), 0, lines);
    return lines.join(QLatin1Char('\n'));
}

void PrintViewText(const QWidget &view, QPrinter &printer)
{
    QTextDocument document;
    document.setDefaultFont(view.font());
    document.setPlainText(ViewText(view));
    document.print(&printer);
}
