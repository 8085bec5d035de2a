#pragma once

#include "dialogue/movereader.h"

#include <QDialog>

#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QPushButton;
class TMoveSink;
class TStepControls;

// The reason/conclusion move dialog, conclusion at the top. Every show resets it to its
// placeholders and default types; OK hands a new step to the main window while the dialog is
// still on screen.
class TReasonConclusionForm : public QDialog {
    Q_OBJECT

public:
    // The sink must outlive the dialog (it is the main window, the dialog's parent).
    TReasonConclusionForm(TMoveSink &sink, QWidget *parent);

public slots:
    // Resets the texts, types and check box, refills the entries, focus on the conclusion box.
    void FormShow();
    // Full mode: the next show starts with these sentences in their boxes (a box left out
    // keeps its placeholder).
    void prefill(std::optional<TSentenceText> conclusion, std::optional<TSentenceText> reason)
    {
        m_prefillConclusion = std::move(conclusion);
        m_prefillReason = std::move(reason);
    }
    void OKButtonClick();
    void ConclusionComboBoxEnter();
    void ReasonComboBoxEnter();
    // The conclusion box does not follow the type of an existing statement: both do nothing.
    void ConclusionComboBoxChange() {}
    void ConclusionComboBoxExit() {}
    void ReasonComboBoxChange();
    void ReasonComboBoxExit();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void followReasonType();

    TMoveSink *m_sink;                  // Not owned.
    std::optional<TSentenceText> m_prefillConclusion;
    std::optional<TSentenceText> m_prefillReason;
    std::vector<TSentenceText> m_shown; // The current stage's statements, as shown.
    TStepControls *m_step = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr; // Full mode only.
    QCheckBox *m_addStepWarrantAsIssueCheckBox = nullptr;
};
