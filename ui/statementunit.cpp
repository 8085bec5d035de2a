#include "ui/statementunit.h"

#include "dialogue/lineofargumentation.h"
#include "dialogue/replay.h"
#include "ui/failurehandler.h"
#include "ui/movecontrols.h"
#include "ui/movesink.h"
#include "ui/utf8.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TStatementForm::TStatementForm(TMoveSink &sink, QWidget *parent)
    : QDialog(parent)
    , m_sink(&sink)
{
    setObjectName(QStringLiteral("StatementForm"));
    setWindowTitle(QStringLiteral("Statement"));
    move(285, 285);
    resize(427, 163);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);

    m_label1 = new QLabel(QStringLiteral("Type or choose a statement:"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_statementComboBox =
        new TMoveComboBox("StatementComboBox", QStringLiteral("<statement>"), this);
    m_statementComboBox->setAccessibleName(QStringLiteral("Statement"));
    m_label1->setBuddy(m_statementComboBox);
    m_statementTypeRadioGroup =
        new TTypeRadioGroup("StatementTypeRadioGroup", QStringLiteral("&Statement type"), this);
    m_okButton = new QPushButton(QStringLiteral("&OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setFixedSize(75, 25);
    m_okButton->setDefault(true);

    layout->addWidget(m_label1);
    layout->addWidget(m_statementComboBox);
    layout->addWidget(m_statementTypeRadioGroup);
    layout->addStretch();
    if (m_sink->FullMode()) {
        m_cancelButton = newCancelButton(this);
        auto *buttonRow = new QHBoxLayout;
        buttonRow->addWidget(m_okButton);
        buttonRow->addWidget(m_cancelButton);
        buttonRow->addStretch();
        layout->addLayout(buttonRow);
    } else {
        layout->addWidget(m_okButton, 0, Qt::AlignLeft);
    }

    setTabOrderChain({m_statementComboBox, m_statementTypeRadioGroup->item(0),
                      m_statementTypeRadioGroup->item(1), m_okButton});
    if (m_cancelButton)
        setTabOrder(m_okButton, m_cancelButton);

    connect(m_okButton, &QPushButton::clicked, this, &TStatementForm::OKButtonClick);
    connect(m_statementComboBox, &TMoveComboBox::entered, this,
            &TStatementForm::StatementComboBoxEnter);
    connect(m_statementComboBox, &QComboBox::editTextChanged, this,
            &TStatementForm::StatementComboBoxChange);
    connect(m_statementComboBox, &TMoveComboBox::exited, this,
            &TStatementForm::StatementComboBoxExit);
}

void TStatementForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TStatementForm::FormShow()
{
    // The text and the type stay as the last use left them.
    m_shown = shownStatements(m_sink->lineOfArgumentation().CurrentStage->Statements);
    m_statementComboBox->setEntries(statementTexts(m_shown));
    if (m_prefill) {
        m_statementComboBox->setTextQuietly(qtText(m_prefill->Text));
        m_statementTypeRadioGroup->setStatementType(m_prefill->StatementType);
        m_prefill.reset();
    }
    m_statementComboBox->setFocus(Qt::OtherFocusReason);
    m_statementComboBox->selectAllText();
}

void TStatementForm::OKButtonClick()
{
    // A second click or Enter while the first OK's move runs comes here from the runner's
    // event loop: refused before anything reads the line.
    if (m_sink->Busy())
        return;
    // An access key clicks a moment later: by then the dialog may have been closed, and a closed
    // dialog makes no move.
    if (!isVisible())
        return;
    if (m_sink->FullMode() && !acceptSentence(m_statementComboBox, QStringLiteral("statement")))
        return;
    runGuarded(
        [this] {
            m_sink->MakeStatementMove(NewStatement(
                m_sink->lineOfArgumentation().Arena(),
                {m_statementComboBox->sentence(), m_statementTypeRadioGroup->statementType()}));
        },
        this);
    m_sink->MovesDone();
    // Closed whatever became of the move; hidden only now, so the line's message boxes
    // appeared over the dialog.
    accept();
}

void TStatementForm::StatementComboBoxEnter() { m_statementComboBox->selectAllText(); }

void TStatementForm::StatementComboBoxChange() { followStatementType(); }

void TStatementForm::StatementComboBoxExit() { followStatementType(); }

void TStatementForm::followStatementType()
{
    m_statementTypeRadioGroup->followType(m_statementComboBox->sentence(), m_shown);
}
