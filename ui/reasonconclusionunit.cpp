#include "ui/reasonconclusionunit.h"

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

const QString ReasonPlaceholder = QStringLiteral("<reason>");
const QString ConclusionPlaceholder = QStringLiteral("<conclusion>");

} // namespace

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

    m_label2 = new QLabel(QStringLiteral("Type or choose a conclusion:"), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_conclusionComboBox = new TMoveComboBox("ConclusionComboBox", ConclusionPlaceholder, this);
    m_conclusionComboBox->setAccessibleName(QStringLiteral("Conclusion"));
    m_label2->setBuddy(m_conclusionComboBox);
    m_conclusionTypeRadioGroup =
        new TTypeRadioGroup("ConclusionTypeRadioGroup", QStringLiteral("&Conclusion type"), this);

    m_label1 = new QLabel(QStringLiteral("Type or choose a reason:"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_reasonComboBox = new TMoveComboBox("ReasonComboBox", ReasonPlaceholder, this);
    m_reasonComboBox->setAccessibleName(QStringLiteral("Reason"));
    m_label1->setBuddy(m_reasonComboBox);
    m_reasonTypeRadioGroup =
        new TTypeRadioGroup("ReasonTypeRadioGroup", QStringLiteral("&Reason type"), this);
    m_reasonTypeRadioGroup->setStatementType(TStatementType::Assumption);

    m_okButton = new QPushButton(QStringLiteral("&OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setFixedSize(75, 25);
    m_okButton->setDefault(true);
    // Kept for its place; nothing shows it, and every show unticks it.
    m_addStepWarrantAsIssueCheckBox =
        new QCheckBox(QStringLiteral("Add step &warrant as issue"), this);
    m_addStepWarrantAsIssueCheckBox->setObjectName(QStringLiteral("AddStepWarrantAsIssueCheckBox"));
    m_addStepWarrantAsIssueCheckBox->setFixedSize(201, 17);
    m_addStepWarrantAsIssueCheckBox->hide();

    layout->addWidget(m_label2);
    layout->addWidget(m_conclusionComboBox);
    layout->addWidget(m_conclusionTypeRadioGroup);
    layout->addSpacing(12);
    layout->addWidget(m_label1);
    layout->addWidget(m_reasonComboBox);
    layout->addWidget(m_reasonTypeRadioGroup);
    layout->addStretch();
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_okButton);
    buttonRow->addSpacing(133);
    buttonRow->addWidget(m_addStepWarrantAsIssueCheckBox);
    buttonRow->addStretch();
    layout->addLayout(buttonRow);

    setTabOrderChain({m_conclusionComboBox, m_reasonComboBox, m_conclusionTypeRadioGroup->item(0),
                      m_conclusionTypeRadioGroup->item(1), m_reasonTypeRadioGroup->item(0),
                      m_reasonTypeRadioGroup->item(1), m_addStepWarrantAsIssueCheckBox,
                      m_okButton});

    connect(m_okButton, &QPushButton::clicked, this, &TReasonConclusionForm::OKButtonClick);
    connect(m_conclusionComboBox, &TMoveComboBox::entered, this,
            &TReasonConclusionForm::ConclusionComboBoxEnter);
    connect(m_conclusionComboBox, &QComboBox::editTextChanged, this,
            &TReasonConclusionForm::ConclusionComboBoxChange);
    connect(m_conclusionComboBox, &TMoveComboBox::exited, this,
            &TReasonConclusionForm::ConclusionComboBoxExit);
    connect(m_reasonComboBox, &TMoveComboBox::entered, this,
            &TReasonConclusionForm::ReasonComboBoxEnter);
    connect(m_reasonComboBox, &QComboBox::editTextChanged, this,
            &TReasonConclusionForm::ReasonComboBoxChange);
    connect(m_reasonComboBox, &TMoveComboBox::exited, this,
            &TReasonConclusionForm::ReasonComboBoxExit);
}

void TReasonConclusionForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TReasonConclusionForm::FormShow()
{
    m_reasonComboBox->setTextQuietly(ReasonPlaceholder);
    m_reasonTypeRadioGroup->setStatementType(TStatementType::Assumption);
    m_conclusionComboBox->setTextQuietly(ConclusionPlaceholder);
    m_conclusionTypeRadioGroup->setStatementType(TStatementType::Issue);
    const QStringList texts =
        statementTexts(m_sink->lineOfArgumentation().CurrentStage->Statements);
    m_reasonComboBox->setEntries(texts);
    m_conclusionComboBox->setEntries(texts);
    m_conclusionComboBox->setFocus(Qt::OtherFocusReason);
    m_conclusionComboBox->selectAllText();
    m_addStepWarrantAsIssueCheckBox->setChecked(false);
}

void TReasonConclusionForm::OKButtonClick()
{
    // An access key clicks a moment later: by then the dialog may have been closed, and a closed
    // dialog makes no move.
    if (!isVisible())
        return;
    runGuarded(
        [this] {
            const std::string reason = m_reasonComboBox->sentence();
            const std::string conclusion = m_conclusionComboBox->sentence();
            TReasonConclusion *step = m_sink->lineOfArgumentation().Arena().NewReasonConclusion();
            step->Reason->Text = reason;
            step->Reason->StatementType = m_reasonTypeRadioGroup->statementType();
            step->Conclusion->Text = conclusion;
            step->Conclusion->StatementType = m_conclusionTypeRadioGroup->statementType();
            step->ByReasonConclusionMove = 1;
            m_sink->MakeReasonConclusionMove(step);

            // A second move of its own, whatever became of the first.
            if (m_addStepWarrantAsIssueCheckBox->isChecked()) {
                TStatement *warrant = m_sink->lineOfArgumentation().Arena().NewStatement();
                warrant->Text = StepWarrant(reason, conclusion);
                warrant->StatementType = TStatementType::Issue;
                m_sink->MakeStatementMove(warrant);
            }
        },
        this);
    // Closed whatever became of the moves; hidden only now, so the line's message boxes
    // appeared over the dialog.
    accept();
}

void TReasonConclusionForm::ConclusionComboBoxEnter() { m_conclusionComboBox->selectAllText(); }

void TReasonConclusionForm::ReasonComboBoxEnter() { m_reasonComboBox->selectAllText(); }

void TReasonConclusionForm::ReasonComboBoxChange() { followReasonType(); }

void TReasonConclusionForm::ReasonComboBoxExit() { followReasonType(); }

void TReasonConclusionForm::followReasonType()
{
    m_reasonTypeRadioGroup->followType(m_reasonComboBox->sentence(),
                                       m_sink->lineOfArgumentation().CurrentStage->Statements);
}
