#include "ui/korvaneunit.h"

#include "dialogue/aifextras.h"
#include "model/explanation.h"
#include "ui/argumentsmodel.h"
#include "ui/diagramview.h"
#include "ui/treedepth.h"
#include "ui/utf8.h"

#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeView>
#include <QTreeWidget>

// The four views of the current stage, the window's caption, and which view shows.

void TKorvaneForm::RefreshViews()
{
    if (!m_memo->isHidden())
        ShowLineOfArgumentation();
    if (!m_statementsList->isHidden() || (m_statementsTable && !m_statementsTable->isHidden()))
        ShowStatements();
    if (!m_reasonsList->isHidden())
        ShowReasons();
    if (!m_argumentsTree->isHidden())
        ShowArguments();
    if (m_diagramView && !m_diagramView->isHidden())
        ShowDiagram();
}

void TKorvaneForm::ShowLineOfArgumentation()
{
    QStringList lines;
    for (const TArgumentationMove *move : m_line->ArgumentationMoves)
        for (const std::string &line : move->Move)
            lines.append(qtText(line));
    m_memo->setPlainText(lines.join(QLatin1Char('\n')));
    showView(m_memo, m_viewLineOfArgumentationButton);
    // Full mode follows the newest move.
    if (FullMode())
        m_memo->verticalScrollBar()->setValue(m_memo->verticalScrollBar()->maximum());
}

void TKorvaneForm::ShowStatements()
{
    if (FullMode()) {
        showStatementsTable();
        return;
    }
    m_statementsList->clear();
    for (const TStatement *statement : m_line->CurrentStage->Statements) {
        auto *item = new QListWidgetItem(qtText(statement->Text), m_statementsList);
        // An edit changes the shown entry only, never the statement.
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    showView(m_statementsList, m_viewStatementsButton);
}

void TKorvaneForm::ShowReasons()
{
    QStringList entries;
    for (const TReasonConclusion *step : m_line->CurrentStage->ReasonConclusions) {
        entries.append(QStringLiteral("CONCLUSION:"));
        entries.append(qtText(step->Conclusion->Text));
        entries.append(QStringLiteral("REASON:"));
        entries.append(qtText(step->Reason->Text));
        if (const TAifExtras *extras = m_line->AifExtras.get(); FullMode() && extras != nullptr) {
            // The scheme the opened AIF file named for the step, as its tools show it.
            const std::string_view scheme =
                SchemeName(*extras, step->Reason->Text, step->Conclusion->Text);
            if (!scheme.empty())
                entries.append(QStringLiteral("SCHEME: ") + qtText(std::string(scheme)));
        }
        if (step->Exceptions.IsEmpty()) {
            entries.append(QStringLiteral("(NO EXCEPTIONS)"));
        } else {
            entries.append(QStringLiteral("EXCEPTIONS:"));
            for (const TStatement *exception : step->Exceptions)
                entries.append(FullMode() ? exceptionEntry(*step, *exception) : qtText(exception->Text));
        }
        entries.append(QString());
    }
    m_reasonsList->clear();
    m_reasonsList->addItems(entries);
    showView(m_reasonsList, m_viewReasonsButton);
}

void TKorvaneForm::ShowArguments()
{
    const TArgumentationStage &stage = *m_line->CurrentStage;
    const std::unique_ptr<TExplanations> why = explainedStage();
    m_argumentsModel->rebuild(
        m_argumentsView == TArgumentsView::avCoordinated ? stage.Arguments : stage.LinearArguments,
        why.get());
    const bool cut = m_argumentsDepth->expandToSafeDepth();
    showView(m_argumentsTree, m_viewArgumentsButton);
    if (FullMode() && cut)
        statusBar()->showMessage(
            QStringLiteral("Nodes deeper than %1 levels are shown collapsed: expand one to see it.")
                .arg(TTreeDepth::SafeDepth));
}

std::string TKorvaneForm::namePart(const std::string &fileName)
{
    const std::size_t separator = fileName.find_last_of("\\:/");
    return separator == std::string::npos ? fileName : fileName.substr(separator + 1);
}

void TKorvaneForm::setCaption()
{
    if (!FullMode()) {
        setWindowTitle(QStringLiteral("Korvane - ") + qtText(namePart(m_line->FileName)));
        return;
    }
    // Qt shows "*" in place of "[*]" while the window is modified.
    setWindowTitle(QStringLiteral("Korvane - ") + lineName() + QStringLiteral("[*]"));
    setWindowModified(m_history.IsModified());
}

QString TKorvaneForm::lineName() const
{
    return qtText(namePart(m_fileName.empty() ? std::string(NewLineTitle) : m_fileName));
}

void TKorvaneForm::showView(QWidget *view, QAbstractButton *button)
{
    // What the status bar said of a selection goes with the view it was made in.
    if (FullMode())
        statusBar()->clearMessage();
    // The diagram and its button exist in full mode only.
    for (QWidget *each : std::initializer_list<QWidget *>{
             m_memo, m_statementsList, m_statementsTable, m_reasonsList, m_argumentsTree,
             m_diagramView})
        if (each)
            each->setVisible(each == view);
    for (QAbstractButton *each : std::initializer_list<QAbstractButton *>{
             m_viewLineOfArgumentationButton, m_viewStatementsButton, m_viewReasonsButton,
             m_viewArgumentsButton, m_viewDiagramButton})
        if (each)
            each->setChecked(each == button);
    for (QAction *zoom : {m_zoomIn, m_zoomOut, m_fitToWindow})
        if (zoom)
            zoom->setEnabled(view == m_diagramView);
    if (!FullMode())
        return;
    // The View menu marks the view shown, as the buttons do.
    const std::pair<QAction *, bool> marks[] = {
        {m_lineOfArgumentation, view == m_memo},
        {m_statements, view == m_statementsList || view == m_statementsTable},
        {m_reasons, view == m_reasonsList},
        {m_arguments, view == m_argumentsTree},
        {m_diagramAction, view == m_diagramView},
    };
    for (const auto &[action, shown] : marks)
        if (action)
            action->setChecked(shown);
}

void TKorvaneForm::chooseView(void (TKorvaneForm::*showOperation)())
{
    command(showOperation);
    // Full mode takes the keyboard to the view the user chose, so that it can be read at once.
    if (!FullMode())
        return;
    for (QWidget *each : std::initializer_list<QWidget *>{m_memo, m_statementsTable, m_reasonsList,
                                                          m_argumentsTree, m_diagramView})
        if (each && !each->isHidden())
            each->setFocus(Qt::OtherFocusReason);
}
