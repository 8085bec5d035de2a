#include "ui/stepcontrols.h"

#include "dialogue/replay.h"
#include "ui/movecontrols.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString ReasonPlaceholder = QStringLiteral("<reason>");
const QString ConclusionPlaceholder = QStringLiteral("<conclusion>");

} // namespace

TStepControls::TStepControls(const char *conclusionLabelName, const char *reasonLabelName, int gap,
                             QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    // No margins of its own: the controls sit where they would sit in the dialog's own layout.
    layout->setContentsMargins(0, 0, 0, 0);

    m_conclusionLabel = new QLabel(QStringLiteral("Type or choose a conclusion:"), this);
    m_conclusionLabel->setObjectName(QLatin1String(conclusionLabelName));
    m_conclusionComboBox = new TMoveComboBox("ConclusionComboBox", ConclusionPlaceholder, this);
    m_conclusionComboBox->setAccessibleName(QStringLiteral("Conclusion"));
    m_conclusionLabel->setBuddy(m_conclusionComboBox);
    m_conclusionTypeRadioGroup =
        new TTypeRadioGroup("ConclusionTypeRadioGroup", QStringLiteral("&Conclusion type"), this);

    m_reasonLabel = new QLabel(QStringLiteral("Type or choose a reason:"), this);
    m_reasonLabel->setObjectName(QLatin1String(reasonLabelName));
    m_reasonComboBox = new TMoveComboBox("ReasonComboBox", ReasonPlaceholder, this);
    m_reasonComboBox->setAccessibleName(QStringLiteral("Reason"));
    m_reasonLabel->setBuddy(m_reasonComboBox);
    m_reasonTypeRadioGroup =
        new TTypeRadioGroup("ReasonTypeRadioGroup", QStringLiteral("&Reason type"), this);
    m_reasonTypeRadioGroup->setStatementType(TStatementType::Assumption);

    layout->addWidget(m_conclusionLabel);
    layout->addWidget(m_conclusionComboBox);
    layout->addWidget(m_conclusionTypeRadioGroup);
    layout->addSpacing(gap);
    layout->addWidget(m_reasonLabel);
    layout->addWidget(m_reasonComboBox);
    layout->addWidget(m_reasonTypeRadioGroup);
}

void TStepControls::reset(const std::vector<TSentenceText> &statements)
{
    m_reasonComboBox->setTextQuietly(ReasonPlaceholder);
    m_reasonTypeRadioGroup->setStatementType(TStatementType::Assumption);
    m_conclusionComboBox->setTextQuietly(ConclusionPlaceholder);
    m_conclusionTypeRadioGroup->setStatementType(TStatementType::Issue);
    const QStringList texts = statementTexts(statements);
    m_reasonComboBox->setEntries(texts);
    m_conclusionComboBox->setEntries(texts);
}

TSentenceText TStepControls::reason() const
{
    return {m_reasonComboBox->sentence(), m_reasonTypeRadioGroup->statementType()};
}

TSentenceText TStepControls::conclusion() const
{
    return {m_conclusionComboBox->sentence(), m_conclusionTypeRadioGroup->statementType()};
}

TReasonConclusion *TStepControls::newStep(TArena &arena) const
{
    return NewStep(arena, reason(), conclusion());
}

TReasonConclusion *TStepControls::newBlockedStep(TArena &arena,
                                                 const TSentenceText &exception) const
{
    return NewBlockedStep(arena, reason(), conclusion(), exception);
}
