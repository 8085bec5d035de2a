#pragma once

#include "dialogue/movereader.h"

#include <QDialog>

#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class TMoveComboBox;
class TMoveSink;
class TTypeRadioGroup;

// The statement move dialog. It keeps its last text and type between uses; OK hands a new
// statement to the main window while the dialog is still on screen.
class TStatementForm : public QDialog {
    Q_OBJECT

public:
    // The sink must outlive the dialog (it is the main window, the dialog's parent).
    TStatementForm(TMoveSink &sink, QWidget *parent);

public slots:
    // Refills the entries from the current stage and puts the focus, text selected, on the box.
    void FormShow();
    // Full mode: the next show starts from this text and type instead of the last use's.
    void prefill(const TSentenceText &statement) { m_prefill = statement; }
    void OKButtonClick();
    void StatementComboBoxEnter();
    void StatementComboBoxChange();
    void StatementComboBoxExit();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void followStatementType();

    TMoveSink *m_sink;                  // Not owned.
    std::optional<TSentenceText> m_prefill;
    std::vector<TSentenceText> m_shown; // The current stage's statements, as shown.
    QLabel *m_label1 = nullptr;
    TMoveComboBox *m_statementComboBox = nullptr;
    TTypeRadioGroup *m_statementTypeRadioGroup = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr; // Full mode only.
};
