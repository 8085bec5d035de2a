#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class TMoveComboBox;
class TMoveSink;
class TTypeRadioGroup;

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

    TMoveSink *m_sink; // Not owned.
    QLabel *m_label2 = nullptr;
    TMoveComboBox *m_conclusionComboBox = nullptr;
    TTypeRadioGroup *m_conclusionTypeRadioGroup = nullptr;
    QLabel *m_label1 = nullptr;
    TMoveComboBox *m_reasonComboBox = nullptr;
    TTypeRadioGroup *m_reasonTypeRadioGroup = nullptr;
    QPushButton *m_okButton = nullptr;
    QCheckBox *m_addStepWarrantAsIssueCheckBox = nullptr;
};
