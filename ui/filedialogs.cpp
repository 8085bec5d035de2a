#include "ui/korvaneunit.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QRegularExpression>

// The window's Open and Save dialogs and how a file is chosen with them.

namespace {

const QString OpenLoaFilter = QStringLiteral("Line of argumentation (*.loa)");
const QString SaveLoaFilter = QStringLiteral("Lines of argumentation (*.loa)");
const QString BtgFilter = QStringLiteral("Dadiziz (*.btg)");

// The extension of a filter's first pattern, "loa" of "Korvane moves (*.loa)"; empty for "(*)".
QString filterSuffix(const QString &filter)
{
    const qsizetype start = filter.indexOf(QStringLiteral("(*."));
    if (start < 0)
        return {};
    const qsizetype end = filter.indexOf(QRegularExpression(QStringLiteral("[ )]")), start + 3);
    return filter.mid(start + 3, end - start - 3);
}

} // namespace

void TKorvaneForm::createFileDialogs()
{
    // Qt's own dialogs, so both behave alike everywhere: filters exactly as given, no
    // extension added, and Save asks before it replaces a file.
    m_openDialog = new QFileDialog(this);
    m_openDialog->setObjectName(QStringLiteral("OpenDialog1"));
    m_openDialog->setOption(QFileDialog::DontUseNativeDialog);
    m_openDialog->setAcceptMode(QFileDialog::AcceptOpen);
    // A name that does not exist is accepted, so Open can report that it cannot open it.
    m_openDialog->setFileMode(QFileDialog::AnyFile);
    m_openDialog->setNameFilters({OpenLoaFilter, BtgFilter});

    m_saveDialog = new QFileDialog(this);
    m_saveDialog->setObjectName(QStringLiteral("SaveDialog1"));
    m_saveDialog->setOption(QFileDialog::DontUseNativeDialog);
    m_saveDialog->setAcceptMode(QFileDialog::AcceptSave);
    m_saveDialog->setFileMode(QFileDialog::AnyFile);
    m_saveDialog->setNameFilters({BtgFilter, SaveLoaFilter});
    if (!FullMode())
        return;
    // Full mode's Open offers everything it reads; .txt since the examples are move files too.
    m_openDialog->setNameFilters({QStringLiteral("Korvane moves (*.loa *.btg *.txt)"),
                                  QStringLiteral("AIF (*.json)"), QStringLiteral("Argdown (*.argdown)"),
                                  QStringLiteral("All files (*)")});
    m_saveDialog->setNameFilters({QStringLiteral("Korvane moves (*.loa)"),
                                  QStringLiteral("Korvane moves, other extension (*.btg)")});
    // A name typed without an extension gets the chosen filter's, before the dialog asks
    // whether to replace a file of that name.
    connect(m_saveDialog, &QFileDialog::filterSelected, m_saveDialog,
            [dialog = m_saveDialog](const QString &filter) {
                dialog->setDefaultSuffix(filterSuffix(filter));
            });
}

QString TKorvaneForm::chooseFile(QFileDialog *dialog)
{
    // The default mode starts both dialogs on the .btg filter; full mode on its first.
    if (!FullMode()) {
        dialog->selectNameFilter(BtgFilter);
    } else {
        dialog->selectNameFilter(dialog->nameFilters().first());
        if (dialog->acceptMode() == QFileDialog::AcceptSave)
            dialog->setDefaultSuffix(filterSuffix(dialog->selectedNameFilter()));
    }
    const int answer = dialog->exec();
    if (FullMode())
        hideCompletionPopups(*dialog);
    if (answer != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

void TKorvaneForm::hideCompletionPopups(QWidget &dialog)
{
    // A file name box's completion list is a window of its own: without a window manager it
    // stays on screen when its dialog closes.
    for (const QCompleter *completer : dialog.findChildren<QCompleter *>()) {
        if (completer->popup())
            completer->popup()->hide();
    }
}
