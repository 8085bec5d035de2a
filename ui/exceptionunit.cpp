#include "ui/exceptionunit.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/replay.h"
#include "ui/failurehandler.h"
#include "ui/movecontrols.h"
#include "ui/movesink.h"
#include "ui/stepcontrols.h"
#include "ui/utf8.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString ExceptionPlaceholder = QStringLiteral("<exception>");

bool hasStep(const TArgumentationStage &stage, const std::string &reason,
             const std::string &conclusion)
{
    for (const TReasonConclusion *step : stage.ReasonConclusions)
        if (step->Reason->Text == reason && step->Conclusion->Text == conclusion)
            return true;
    return false;
}

} // namespace

TExceptionForm::TExceptionForm(TMoveSink &sink, QWidget *parent)
    : QDialog(parent)
    , m_sink(&sink)
{
    setObjectName(QStringLiteral("ExceptionForm"));
    setWindowTitle(QStringLiteral("Exception"));
    move(360, 222);
    resize(427, 403);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);

    m_label2 = new QLabel(QStringLiteral("Type or choose an exception:"), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_exceptionComboBox = new TMoveComboBox("ExceptionComboBox", ExceptionPlaceholder, this);
    m_exceptionComboBox->setAccessibleName(QStringLiteral("Exception"));
    m_label2->setBuddy(m_exceptionComboBox);
    m_exceptionTypeRadioGroup =
        new TTypeRadioGroup("ExceptionTypeRadioGroup", QStringLiteral("&Exception type"), this);
    m_exceptionTypeRadioGroup->setStatementType(TStatementType::Assumption);
    m_step = new TStepControls("Label5", "Label4", 8, this);

    m_okButton = new QPushButton(QStringLiteral("&OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setFixedSize(75, 25);
    m_okButton->setDefault(true);
    // Every show unticks it.
    m_addExceptionWarrantAsIssueCheckBox =
        newWarrantCheckBox(QStringLiteral("Add exception &warrant as issue"),
                           "AddExceptionWarrantAsIssueCheckBox", m_sink->FullMode(), this);

    layout->addWidget(m_label2);
    layout->addWidget(m_exceptionComboBox);
    layout->addWidget(m_exceptionTypeRadioGroup);
    layout->addSpacing(8);
    layout->addWidget(m_step);
    layout->addStretch();
    m_cancelButton = addButtonRow(layout, m_okButton, m_addExceptionWarrantAsIssueCheckBox,
                                  m_sink->FullMode(), this);

    setTabOrderChain({m_exceptionComboBox, m_step->conclusionBox(), m_step->reasonBox(),
                      m_exceptionTypeRadioGroup->item(0), m_exceptionTypeRadioGroup->item(1),
                      m_step->conclusionTypes()->item(0), m_step->conclusionTypes()->item(1),
                      m_step->reasonTypes()->item(0), m_step->reasonTypes()->item(1),
                      m_addExceptionWarrantAsIssueCheckBox, m_okButton});
    if (m_cancelButton)
        setTabOrder(m_okButton, m_cancelButton);

    connect(m_okButton, &QPushButton::clicked, this, &TExceptionForm::OKButtonClick);
    connect(m_exceptionComboBox, &TMoveComboBox::entered, this,
            &TExceptionForm::ExceptionComboBoxEnter);
    connect(m_exceptionComboBox, &QComboBox::editTextChanged, this,
            &TExceptionForm::ExceptionComboBoxChange);
    connect(m_exceptionComboBox, &TMoveComboBox::exited, this,
            &TExceptionForm::ExceptionComboBoxExit);
    connect(m_step->reasonBox(), &QComboBox::editTextChanged, this,
            &TExceptionForm::ReasonComboBoxChange);
    connect(m_step->reasonBox(), &TMoveComboBox::entered, this,
            &TExceptionForm::ReasonComboBoxEnter);
    connect(m_step->conclusionBox(), &TMoveComboBox::entered, this,
            &TExceptionForm::ConclusionComboBoxEnter);
}

void TExceptionForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TExceptionForm::FormShow()
{
    m_shown = shownStatements(m_sink->lineOfArgumentation().CurrentStage->Statements);
    m_exceptionComboBox->setTextQuietly(ExceptionPlaceholder);
    m_exceptionTypeRadioGroup->setStatementType(TStatementType::Assumption);
    m_exceptionComboBox->setEntries(statementTexts(m_shown));
    m_step->reset(m_shown);
    if (m_prefillStep) {
        m_step->conclusionBox()->setTextQuietly(qtText(m_prefillStep->first.Text));
        m_step->conclusionTypes()->setStatementType(m_prefillStep->first.StatementType);
        m_step->reasonBox()->setTextQuietly(qtText(m_prefillStep->second.Text));
        m_step->reasonTypes()->setStatementType(m_prefillStep->second.StatementType);
        m_prefillStep.reset();
    }
    m_exceptionComboBox->setFocus(Qt::OtherFocusReason);
    m_exceptionComboBox->selectAllText();
    m_addExceptionWarrantAsIssueCheckBox->setChecked(false);
}

bool TExceptionForm::confirmedInFullMode()
{
    if (!acceptSentence(m_exceptionComboBox, QStringLiteral("exception"))
        || !acceptSentence(m_step->conclusionBox(), QStringLiteral("conclusion"))
        || !acceptSentence(m_step->reasonBox(), QStringLiteral("reason")))
        return false;
    // A typing slip in the step would otherwise make a new step silently.
    const TSentenceText reason = m_step->reason();
    const TSentenceText conclusion = m_step->conclusion();
    if (hasStep(*m_sink->lineOfArgumentation().CurrentStage, reason.Text, conclusion.Text))
        return true;
    QMessageBox question(
        QMessageBox::Question, QStringLiteral("Korvane"),
        QStringLiteral("There is no step from \"%1\" to \"%2\". Make it and block it?")
            .arg(qtText(reason.Text), qtText(conclusion.Text)),
        QMessageBox::Yes | QMessageBox::No, this);
    question.setObjectName(QStringLiteral("NoStepBox"));
    question.setTextFormat(Qt::PlainText);
    question.setDefaultButton(QMessageBox::Yes);
    question.setEscapeButton(QMessageBox::No);
    return question.exec() == QMessageBox::Yes;
}

void TExceptionForm::OKButtonClick()
{
    // A second click or Enter while the first OK's move runs comes here from the runner's
    // event loop: refused before anything reads the line.
    if (m_sink->Busy())
        return;
    // An access key clicks a moment later: by then the dialog may have been closed, and a closed
    // dialog makes no move.
    if (!isVisible())
        return;
    if (m_sink->FullMode() && !confirmedInFullMode())
        return;
    runGuarded(
        [this] {
            TArena &arena = m_sink->lineOfArgumentation().Arena();
            const TSentenceText exception{m_exceptionComboBox->sentence(),
                                          m_exceptionTypeRadioGroup->statementType()};
            const TSentenceText reason = m_step->reason();
            const TSentenceText conclusion = m_step->conclusion();
            m_sink->MakeExceptionMove(m_step->newBlockedStep(arena, exception));

            // A second move of its own, whatever became of the first.
            if (m_addExceptionWarrantAsIssueCheckBox->isChecked())
                m_sink->MakeStatementMove(
                    NewStatement(m_sink->lineOfArgumentation().Arena(),
                                 {ExceptionWarrant(exception.Text, reason.Text, conclusion.Text),
                                  TStatementType::Issue}));
        },
        this);
    m_sink->MovesDone();
    // Closed whatever became of the moves; hidden only now, so the line's message boxes
    // appeared over the dialog.
    accept();
}

void TExceptionForm::ExceptionComboBoxEnter() { m_exceptionComboBox->selectAllText(); }

void TExceptionForm::ExceptionComboBoxChange()
{
    m_exceptionTypeRadioGroup->followType(m_exceptionComboBox->sentence(), m_shown);
}

void TExceptionForm::ExceptionComboBoxExit() { ExceptionComboBoxChange(); }

void TExceptionForm::ReasonComboBoxChange()
{
    m_step->reasonTypes()->followType(m_step->reasonBox()->sentence(), m_shown);
}

void TExceptionForm::ConclusionComboBoxEnter() { m_step->conclusionBox()->selectAllText(); }

void TExceptionForm::ReasonComboBoxEnter() { m_step->reasonBox()->selectAllText(); }
