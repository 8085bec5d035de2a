#pragma once

#include "dialogue/movereader.h"

#include <QDialog>

#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;
class TMoveComboBox;
class TMoveSink;
class TStepControls;
class TTypeRadioGroup;

// The exception move dialog: the exception, then the conclusion and the reason of the step it
// blocks. Every show resets it to its placeholders and default types; OK hands a new step
// carrying the exception to the main window while the dialog is still on screen.
class TExceptionForm : public QDialog {
    Q_OBJECT

public:
    // The sink must outlive the dialog (it is the main window, the dialog's parent).
    TExceptionForm(TMoveSink &sink, QWidget *parent);

public slots:
    // Resets the texts, types and check box, refills the entries, focus on the exception box.
    void FormShow();
    // Full mode: the next show starts with the step to block in its boxes.
    void prefill(const TSentenceText &conclusion, const TSentenceText &reason)
    {
        m_prefillStep = {conclusion, reason};
    }
    void OKButtonClick();
    void ExceptionComboBoxEnter();
    void ExceptionComboBoxChange();
    void ExceptionComboBoxExit();
    void ReasonComboBoxChange();
    // Every box selects its text when entered, as in the other dialogs.
    void ConclusionComboBoxEnter();
    void ReasonComboBoxEnter();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Full mode: the sentences are fit, and a step that does not exist yet is meant to be made.
    bool confirmedInFullMode();

    TMoveSink *m_sink;                  // Not owned.
    std::optional<std::pair<TSentenceText, TSentenceText>> m_prefillStep; // Conclusion, reason.
    std::vector<TSentenceText> m_shown; // The current stage's statements, as shown.
    QLabel *m_label2 = nullptr;
    TMoveComboBox *m_exceptionComboBox = nullptr;
    TTypeRadioGroup *m_exceptionTypeRadioGroup = nullptr;
    TStepControls *m_step = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr; // Full mode only.
    QCheckBox *m_addExceptionWarrantAsIssueCheckBox = nullptr;
};
