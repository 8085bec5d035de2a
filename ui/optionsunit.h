#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class TKorvaneForm;

// The Options dialog: chooses which argument list the arguments view shows. It keeps its own
// last selection between openings; only OK hands it to the main window.
class TOptionsForm : public QDialog {
    Q_OBJECT

public:
    // The form must outlive the dialog (it is the dialog's parent).
    TOptionsForm(TKorvaneForm &form, QWidget *parent);

public slots:
    void OKButtonClick();

private:
    TKorvaneForm *m_form; // Not owned.
    QGroupBox *m_radioGroup = nullptr;
    QButtonGroup *m_choice = nullptr;
    QPushButton *m_okButton = nullptr;
};
