#include "ui/exceptionunit.h"

#include "dialogue/lineofargumentation.h"
#include "ui/failurehandler.h"
#include "ui/movecontrols.h"
#include "ui/movesink.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString ExceptionPlaceholder = QStringLiteral("<exception>");
const QString ReasonPlaceholder = QStringLiteral("<reason>");
const QString ConclusionPlaceholder = QStringLiteral("<conclusion>");

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

    m_label5 = new QLabel(QStringLiteral("Type or choose a conclusion:"), this);
    m_label5->setObjectName(QStringLiteral("Label5"));
    m_conclusionComboBox = new TMoveComboBox("ConclusionComboBox", ConclusionPlaceholder, this);
    m_conclusionComboBox->setAccessibleName(QStringLiteral("Conclusion"));
    m_label5->setBuddy(m_conclusionComboBox);
    m_conclusionTypeRadioGroup =
        new TTypeRadioGroup("ConclusionTypeRadioGroup", QStringLiteral("&Conclusion type"), this);

    m_label4 = new QLabel(QStringLiteral("Type or choose a reason:"), this);
    m_label4->setObjectName(QStringLiteral("Label4"));
    m_reasonComboBox = new TMoveComboBox("ReasonComboBox", ReasonPlaceholder, this);
    m_reasonComboBox->setAccessibleName(QStringLiteral("Reason"));
    m_label4->setBuddy(m_reasonComboBox);
    m_reasonTypeRadioGroup =
        new TTypeRadioGroup("ReasonTypeRadioGroup", QStringLiteral("&Reason type"), this);
    m_reasonTypeRadioGroup->setStatementType(TStatementType::Assumption);

    m_okButton = new QPushButton(QStringLiteral("&OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setFixedSize(75, 25);
    m_okButton->setDefault(true);
    // Kept for its place; nothing shows it, and every show unticks it.
    m_addExceptionWarrantAsIssueCheckBox =
        new QCheckBox(QStringLiteral("Add exception &warrant as issue"), this);
    m_addExceptionWarrantAsIssueCheckBox->setObjectName(
        QStringLiteral("AddExceptionWarrantAsIssueCheckBox"));
    m_addExceptionWarrantAsIssueCheckBox->setFixedSize(201, 17);
    m_addExceptionWarrantAsIssueCheckBox->hide();

    layout->addWidget(m_label2);
    layout->addWidget(m_exceptionComboBox);
    layout->addWidget(m_exceptionTypeRadioGroup);
    layout->addSpacing(8);
    layout->addWidget(m_label5);
    layout->addWidget(m_conclusionComboBox);
    layout->addWidget(m_conclusionTypeRadioGroup);
    layout->addSpacing(8);
    layout->addWidget(m_label4);
    layout->addWidget(m_reasonComboBox);
    layout->addWidget(m_reasonTypeRadioGroup);
    layout->addStretch();
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_okButton);
    buttonRow->addSpacing(133);
    buttonRow->addWidget(m_addExceptionWarrantAsIssueCheckBox);
    buttonRow->addStretch();
    layout->addLayout(buttonRow);

    setTabOrderChain({m_exceptionComboBox, m_conclusionComboBox, m_reasonComboBox,
                      m_exceptionTypeRadioGroup->item(0), m_exceptionTypeRadioGroup->item(1),
                      m_conclusionTypeRadioGroup->item(0), m_conclusionTypeRadioGroup->item(1),
                      m_reasonTypeRadioGroup->item(0), m_reasonTypeRadioGroup->item(1),
                      m_addExceptionWarrantAsIssueCheckBox, m_okButton});

    connect(m_okButton, &QPushButton::clicked, this, &TExceptionForm::OKButtonClick);
    connect(m_exceptionComboBox, &TMoveComboBox::entered, this,
            &TExceptionForm::ExceptionComboBoxEnter);
    connect(m_exceptionComboBox, &QComboBox::editTextChanged, this,
            &TExceptionForm::ExceptionComboBoxChange);
    connect(m_exceptionComboBox, &TMoveComboBox::exited, this,
            &TExceptionForm::ExceptionComboBoxExit);
    connect(m_reasonComboBox, &QComboBox::editTextChanged, this,
            &TExceptionForm::ReasonComboBoxChange);
    connect(m_reasonComboBox, &TMoveComboBox::entered, this,
            &TExceptionForm::ReasonComboBoxEnter);
    connect(m_conclusionComboBox, &TMoveComboBox::entered, this,
            &TExceptionForm::ConclusionComboBoxEnter);
}

void TExceptionForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TExceptionForm::FormShow()
{
    m_exceptionComboBox->setTextQuietly(ExceptionPlaceholder);
    m_exceptionTypeRadioGroup->setStatementType(TStatementType::Assumption);
    m_reasonComboBox->setTextQuietly(ReasonPlaceholder);
    m_reasonTypeRadioGroup->setStatementType(TStatementType::Assumption);
    m_conclusionComboBox->setTextQuietly(ConclusionPlaceholder);
    m_conclusionTypeRadioGroup->setStatementType(TStatementType::Issue);
    const QStringList texts =
        statementTexts(m_sink->lineOfArgumentation().CurrentStage->Statements);
    m_exceptionComboBox->setEntries(texts);
    m_reasonComboBox->setEntries(texts);
    m_conclusionComboBox->setEntries(texts);
    m_exceptionComboBox->setFocus(Qt::OtherFocusReason);
    m_exceptionComboBox->selectAllText();
    m_addExceptionWarrantAsIssueCheckBox->setChecked(false);
}

void TExceptionForm::OKButtonClick()
{
    // An access key clicks a moment later: by then the dialog may have been closed, and a closed
    // dialog makes no move.
    if (!isVisible())
        return;
    runGuarded(
        [this] {
            TArena &arena = m_sink->lineOfArgumentation().Arena();
            const std::string exception = m_exceptionComboBox->sentence();
            const std::string reason = m_reasonComboBox->sentence();
            const std::string conclusion = m_conclusionComboBox->sentence();
            TReasonConclusion *step = arena.NewReasonConclusion();
            step->Reason->Text = reason;
            step->Reason->StatementType = m_reasonTypeRadioGroup->statementType();
            step->Conclusion->Text = conclusion;
            step->Conclusion->StatementType = m_conclusionTypeRadioGroup->statementType();
            step->ByReasonConclusionMove = 0;
            TStatement *blocker = arena.NewStatement();
            blocker->Text = exception;
            blocker->StatementType = m_exceptionTypeRadioGroup->statementType();
            step->Exceptions.Add(blocker);
            m_sink->MakeExceptionMove(step);

            // A second move of its own, whatever became of the first.
            if (m_addExceptionWarrantAsIssueCheckBox->isChecked()) {
                TStatement *warrant = arena.NewStatement();
                warrant->Text = ExceptionWarrant(exception, reason, conclusion);
                warrant->StatementType = TStatementType::Issue;
                m_sink->MakeStatementMove(warrant);
            }
        },
        this);
    // Closed whatever became of the moves; hidden only now, so the line's message boxes
    // appeared over the dialog.
    accept();
}

void TExceptionForm::ExceptionComboBoxEnter() { m_exceptionComboBox->selectAllText(); }

void TExceptionForm::ExceptionComboBoxChange()
{
    m_exceptionTypeRadioGroup->followType(
        m_exceptionComboBox->sentence(), m_sink->lineOfArgumentation().CurrentStage->Statements);
}

void TExceptionForm::ExceptionComboBoxExit() { ExceptionComboBoxChange(); }

void TExceptionForm::ReasonComboBoxChange()
{
    m_reasonTypeRadioGroup->followType(m_reasonComboBox->sentence(),
                                       m_sink->lineOfArgumentation().CurrentStage->Statements);
}

void TExceptionForm::ConclusionComboBoxEnter() { m_conclusionComboBox->selectAllText(); }

void TExceptionForm::ReasonComboBoxEnter() { m_reasonComboBox->selectAllText(); }
