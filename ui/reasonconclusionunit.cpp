#include "ui/reasonconclusionunit.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/replay.h"
#include "ui/failurehandler.h"
#include "ui/movecontrols.h"
#include "ui/movesink.h"
#include "ui/stepcontrols.h"
#include "ui/utf8.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TReasonConclusionForm::TReasonConclusionForm(TMoveSink &sink, QWidget *parent)
    : QDialog(parent)
    , m_sink(&sink)
{
    setObjectName(QStringLiteral("ReasonConclusionForm"));
    setWindowTitle(QStringLiteral("Reason/conclusion"));
    move(339, 257);
    resize(427, 299);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    m_step = new TStepControls("Label2", "Label1", 12, this);

    m_okButton = new QPushButton(QStringLiteral("&OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setFixedSize(75, 25);
    m_okButton->setDefault(true);
    // Every show unticks it.
    m_addStepWarrantAsIssueCheckBox =
        newWarrantCheckBox(QStringLiteral("Add step &warrant as issue"),
                           "AddStepWarrantAsIssueCheckBox", m_sink->FullMode(), this);

    layout->addWidget(m_step);
    layout->addStretch();
    m_cancelButton =
        addButtonRow(layout, m_okButton, m_addStepWarrantAsIssueCheckBox, m_sink->FullMode(), this);

    setTabOrderChain({m_step->conclusionBox(), m_step->reasonBox(),
                      m_step->conclusionTypes()->item(0), m_step->conclusionTypes()->item(1),
                      m_step->reasonTypes()->item(0), m_step->reasonTypes()->item(1),
                      m_addStepWarrantAsIssueCheckBox, m_okButton});
    if (m_cancelButton)
        setTabOrder(m_okButton, m_cancelButton);

    TMoveComboBox *conclusion = m_step->conclusionBox();
    TMoveComboBox *reason = m_step->reasonBox();
    connect(m_okButton, &QPushButton::clicked, this, &TReasonConclusionForm::OKButtonClick);
    connect(conclusion, &TMoveComboBox::entered, this,
            &TReasonConclusionForm::ConclusionComboBoxEnter);
    connect(conclusion, &QComboBox::editTextChanged, this,
            &TReasonConclusionForm::ConclusionComboBoxChange);
    connect(conclusion, &TMoveComboBox::exited, this,
            &TReasonConclusionForm::ConclusionComboBoxExit);
    connect(reason, &TMoveComboBox::entered, this, &TReasonConclusionForm::ReasonComboBoxEnter);
    connect(reason, &QComboBox::editTextChanged, this,
            &TReasonConclusionForm::ReasonComboBoxChange);
    connect(reason, &TMoveComboBox::exited, this, &TReasonConclusionForm::ReasonComboBoxExit);
}

void TReasonConclusionForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TReasonConclusionForm::FormShow()
{
    m_shown = shownStatements(m_sink->lineOfArgumentation().CurrentStage->Statements);
    m_step->reset(m_shown);
    TMoveComboBox *focus = m_step->conclusionBox();
    if (m_prefillConclusion) {
        m_step->conclusionBox()->setTextQuietly(qtText(m_prefillConclusion->Text));
        m_step->conclusionTypes()->setStatementType(m_prefillConclusion->StatementType);
        focus = m_step->reasonBox();
    }
    if (m_prefillReason) {
        m_step->reasonBox()->setTextQuietly(qtText(m_prefillReason->Text));
        m_step->reasonTypes()->setStatementType(m_prefillReason->StatementType);
        focus = m_prefillConclusion ? m_step->reasonBox() : m_step->conclusionBox();
    }
    m_prefillConclusion.reset();
    m_prefillReason.reset();
    // The box still to fill takes the focus.
    focus->setFocus(Qt::OtherFocusReason);
    focus->selectAllText();
    m_addStepWarrantAsIssueCheckBox->setChecked(false);
}

void TReasonConclusionForm::OKButtonClick()
{
    // A second click or Enter while the first OK's move runs comes here from the runner's
    // event loop: refused before anything reads the line.
    if (m_sink->Busy())
        return;
    // An access key clicks a moment later: by then the dialog may have been closed, and a closed
    // dialog makes no move.
    if (!isVisible())
        return;
    if (m_sink->FullMode()
        && (!acceptSentence(m_step->conclusionBox(), QStringLiteral("conclusion"))
            || !acceptSentence(m_step->reasonBox(), QStringLiteral("reason"))))
        return;
    runGuarded(
        [this] {
            TArena &arena = m_sink->lineOfArgumentation().Arena();
            const TSentenceText reason = m_step->reason();
            const TSentenceText conclusion = m_step->conclusion();
            m_sink->MakeReasonConclusionMove(m_step->newStep(arena));

            // A second move of its own, whatever became of the first.
            if (m_addStepWarrantAsIssueCheckBox->isChecked())
                m_sink->MakeStatementMove(NewStatement(
                    m_sink->lineOfArgumentation().Arena(),
                    {StepWarrant(reason.Text, conclusion.Text), TStatementType::Issue}));
        },
        this);
    m_sink->MovesDone();
    // Closed whatever became of the moves; hidden only now, so the line's message boxes
    // appeared over the dialog.
    accept();
}

void TReasonConclusionForm::ConclusionComboBoxEnter() { m_step->conclusionBox()->selectAllText(); }

void TReasonConclusionForm::ReasonComboBoxEnter() { m_step->reasonBox()->selectAllText(); }

void TReasonConclusionForm::ReasonComboBoxChange() { followReasonType(); }

void TReasonConclusionForm::ReasonComboBoxExit() { followReasonType(); }

void TReasonConclusionForm::followReasonType()
{
    m_step->reasonTypes()->followType(m_step->reasonBox()->sentence(), m_shown);
}
