#include "ui/korvaneunit.h"

#include "ui/aboutunit.h"
#include "ui/exceptionunit.h"
#include "ui/failurehandler.h"
#include "ui/helpform.h"
#include "ui/optionsunit.h"
#include "ui/reasonconclusionunit.h"
#include "ui/statementunit.h"

// The window's commands: the moves and the dialogs that start them, and the menus' other items.

bool TKorvaneForm::makeMove(const std::function<bool()> &move)
{
    bool made = false;
    if (m_runner.busy())
        return made;
    runGuarded(
        [&] {
            runModelWork(*m_line, [&] { made = move(); });
            // What the diagram shows keeps its place; only what the move added finds one.
            m_keepDiagramPlaces = true;
            RefreshViews();
        },
        this);
    m_keepDiagramPlaces = false;
    return made;
}

bool TKorvaneForm::MakeStatementMove(TStatement *statement)
{
    return makeMove([&] { return m_line->DoStatementMove(statement); });
}

void TKorvaneForm::MakeReasonConclusionMove(TReasonConclusion *step)
{
    makeMove([&] {
        m_line->DoReasonConclusionMove(step);
        return true;
    });
}

void TKorvaneForm::MakeExceptionMove(TReasonConclusion *step)
{
    makeMove([&] {
        m_line->DoExceptionMove(step);
        return true;
    });
}

void TKorvaneForm::NewLineOfArgumentation()
{
    m_line->FileName = NewLineTitle;
    setCaption();
    ShowArguments();
}

void TKorvaneForm::StartStatementMove()
{
    if (!m_line->FileName.empty())
        execMoveDialog(m_statementForm);
}

void TKorvaneForm::StartReasonConclusionMove()
{
    if (!m_line->FileName.empty())
        execMoveDialog(m_reasonConclusionForm);
}

void TKorvaneForm::StartExceptionMove()
{
    if (!m_line->FileName.empty())
        execMoveDialog(m_exceptionForm);
}

void TKorvaneForm::command(void (TKorvaneForm::*operation)())
{
    // One command at a time: a move computing on its thread owns the line until it is done.
    if (m_runner.busy())
        return;
    runGuarded([&] { (this->*operation)(); }, this);
}

void TKorvaneForm::execMoveDialog(QDialog *dialog)
{
    if (FullMode()) {
        // Over the window, wherever the window is.
        dialog->adjustSize();
        QRect frame = dialog->frameGeometry();
        frame.moveCenter(frameGeometry().center());
        dialog->move(frame.topLeft());
    }
    dialog->exec();
}

void TKorvaneForm::StatementButtonClick() { command(&TKorvaneForm::StartStatementMove); }
void TKorvaneForm::Statement1Click() { command(&TKorvaneForm::StartStatementMove); }
void TKorvaneForm::ReasonConclusionButtonClick() { startReasonConclusionFromSelection(); }
void TKorvaneForm::ReasonConclusion1Click() { startReasonConclusionFromSelection(); }
void TKorvaneForm::ExceptionButtonClick() { startExceptionFromSelection(); }
void TKorvaneForm::Exception1Click() { startExceptionFromSelection(); }
void TKorvaneForm::ProsConsButtonClick() { StartProsConsMove(); }
void TKorvaneForm::ProsCons1Click() { StartProsConsMove(); }
void TKorvaneForm::ViewLineOfArgumentationSpeedButtonClick()
{
    chooseView(&TKorvaneForm::ShowLineOfArgumentation);
}
void TKorvaneForm::Lineofargumentation1Click() { chooseView(&TKorvaneForm::ShowLineOfArgumentation); }
void TKorvaneForm::ViewStatementsSpeedButtonClick() { chooseView(&TKorvaneForm::ShowStatements); }
void TKorvaneForm::Statements1Click() { chooseView(&TKorvaneForm::ShowStatements); }
void TKorvaneForm::ViewReasonsSpeedButtonClick() { chooseView(&TKorvaneForm::ShowReasons); }
void TKorvaneForm::Reasons1Click() { chooseView(&TKorvaneForm::ShowReasons); }
void TKorvaneForm::ViewArgumentsSpeedButtonClick() { chooseView(&TKorvaneForm::ShowArguments); }
void TKorvaneForm::Arguments1Click() { chooseView(&TKorvaneForm::ShowArguments); }

void TKorvaneForm::Exit1Click() { close(); }

void TKorvaneForm::Contents1Click()
{
    runGuarded(
        [this] {
            m_helpForm->show();
            m_helpForm->raise();
            m_helpForm->activateWindow();
        },
        this);
}

void TKorvaneForm::About1Click()
{
    runGuarded(
        [this] {
            m_aboutForm->show();
            m_aboutForm->raise();
            m_aboutForm->activateWindow();
        },
        this);
}

void TKorvaneForm::Options1Click()
{
    runGuarded([this] { m_optionsForm->exec(); }, this);
}
