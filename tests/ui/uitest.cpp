#include "uitest.h"

#include "dialogue/replay.h"
#include "ui/korvaneunit.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QFileDialog>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

void whenModalRaw(const QMetaObject &type, std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, &type, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && modal->metaObject()->inherits(&type)) {
            timer->stop();
            timer->deleteLater();
            action(modal);
            return;
        }
        // A guard against a hang, not a timing check: give up after about a minute.
        if (++*tries > 12000) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal " << type.className() << " appeared";
            if (modal)
                modal->close();
        }
    });
    timer->start();
}

namespace {

void record(QMessageBox *box, TBoxSeen *seen)
{
    if (!seen)
        return;
    seen->answered = true;
    seen->objectName = box->objectName();
    seen->caption = box->windowTitle();
    seen->text = box->text();
    seen->icon = box->icon();
    seen->buttons = box->standardButtons();
    seen->defaultButton =
        box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
    seen->escapeButton =
        box->escapeButton() ? box->standardButton(box->escapeButton()) : QMessageBox::NoButton;
    seen->textFormat = box->textFormat();
}

} // namespace

void chooseFile(const QString &path)
{
    whenModal<QFileDialog>([path](QFileDialog *dialog) {
        dialog->selectFile(path);
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        static_cast<QDialog *>(dialog)->accept(); // public in QDialog, runs the file check
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the file dialog did not take " << path.toStdString();
            dialog->reject();
        }
    });
}

void answerMessageBox(QMessageBox::StandardButton button, TBoxSeen *seen)
{
    whenModal<QMessageBox>([button, seen](QMessageBox *box) {
        record(box, seen);
        if (QAbstractButton *target = box->button(button))
            target->click();
        else
            box->close();
    });
}

void answerMessageBoxByKey(Qt::Key key, TBoxSeen *seen)
{
    whenModal<QMessageBox>([key, seen](QMessageBox *box) {
        record(box, seen);
        QTest::keyClick(box, key);
    });
}

void typeKeys(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            // QTest maps only ASCII to keys; a key without a code still carries its text.
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}

bool statementMove(TKorvaneForm &form, const std::string &text, TStatementType type)
{
    return form.MakeStatementMove(NewStatement(form.lineOfArgumentation().Arena(), {text, type}));
}

void reasonConclusionMove(TKorvaneForm &form, const std::string &reason, TStatementType reasonType,
                          const std::string &conclusion, TStatementType conclusionType)
{
    form.MakeReasonConclusionMove(NewStep(form.lineOfArgumentation().Arena(), {reason, reasonType},
                                          {conclusion, conclusionType}));
}

void exceptionMove(TKorvaneForm &form, const std::string &exception, TStatementType exceptionType,
                   const std::string &reason, TStatementType reasonType,
                   const std::string &conclusion, TStatementType conclusionType)
{
    form.MakeExceptionMove(NewBlockedStep(form.lineOfArgumentation().Arena(),
                                          {reason, reasonType}, {conclusion, conclusionType},
                                          {exception, exceptionType}));
}

void workedExample(TKorvaneForm &form)
{
    using T = TStatementType;
    reasonConclusionMove(form, "r", T::Assumption, "c", T::Issue);
    exceptionMove(form, "e", T::Assumption, "r", T::Assumption, "c", T::Issue);
    statementMove(form, ExceptionWarrant("e", "r", "c"), T::Issue);
}

QStringList memoLines(const TKorvaneForm &form)
{
    const QString text =
        form.findChild<QPlainTextEdit *>(QStringLiteral("LineOfArgumentationMemo"))->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

QStringList listEntries(const TKorvaneForm &form, const char *listName)
{
    const auto *list = form.findChild<QListWidget *>(QLatin1String(listName));
    QStringList entries;
    for (int row = 0; row < list->count(); ++row)
        entries.append(list->item(row)->text());
    return entries;
}

QStringList tableRows(const TKorvaneForm &form, const char *tableName)
{
    const auto *table = form.findChild<QTreeWidget *>(QLatin1String(tableName));
    QStringList rows;
    for (int row = 0; row < table->topLevelItemCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells.append(table->topLevelItem(row)->text(column));
        rows.append(cells.join(QStringLiteral(" | ")));
    }
    return rows;
}

std::vector<TNodeSeen> treeNodes(const TKorvaneForm &form)
{
    const QAbstractItemModel *model =
        form.findChild<QTreeView *>(QStringLiteral("ArgumentsTreeView"))->model();
    std::vector<TNodeSeen> nodes;
    std::vector<std::pair<QModelIndex, int>> pending;
    for (int row = model->rowCount() - 1; row >= 0; --row)
        pending.emplace_back(model->index(row, 0), 0);
    while (!pending.empty()) {
        const auto [index, depth] = pending.back();
        pending.pop_back();
        const QIcon icon = model->data(index, Qt::DecorationRole).value<QIcon>();
        nodes.push_back({depth, index.data().toString(), icon.pixmap(16, 16).toImage()});
        for (int row = model->rowCount(index) - 1; row >= 0; --row)
            pending.emplace_back(model->index(row, 0, index), depth + 1);
    }
    return nodes;
}

QString visibleView(const TKorvaneForm &form)
{
    QString shown;
    int count = 0;
    // The statements table and the diagram exist in full mode only.
    for (const char *name : {"LineOfArgumentationMemo", "StatementsListView", "StatementsTableView",
                             "ReasonsListView", "ArgumentsTreeView", "DiagramView"}) {
        const auto *view = form.findChild<QWidget *>(QLatin1String(name));
        if (view && !view->isHidden()) {
            shown = QLatin1String(name);
            ++count;
        }
    }
    return count == 1 ? shown : QString();
}

QString checkedViewButton(const TKorvaneForm &form)
{
    QString down;
    int count = 0;
    for (const char *name : {"ViewLineOfArgumentationSpeedButton", "ViewStatementsSpeedButton",
                             "viewReasonsSpeedButton", "ViewArgumentsSpeedButton",
                             "ViewDiagramSpeedButton"}) {
        const auto *button = form.findChild<QAbstractButton *>(QLatin1String(name));
        if (button && button->isChecked()) {
            down = QLatin1String(name);
            ++count;
        }
    }
    return count == 1 ? down : QString();
}

bool sameImage(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}
