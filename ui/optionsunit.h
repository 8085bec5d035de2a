#pragma once

#include "ui/argumentsview.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QGroupBox;
class QPushButton;

// The Options dialog: chooses which argument list the arguments view shows. It keeps its own
// last selection between openings; only OK hands it on, to the one function it was given.
class TOptionsForm : public QDialog {
    Q_OBJECT

public:
    // OK calls apply with the choice; the dialog knows nothing else of the window.
    TOptionsForm(std::function<void(TArgumentsView)> apply, QWidget *parent);

public slots:
    void OKButtonClick();

private:
    std::function<void(TArgumentsView)> m_apply;
    QGroupBox *m_radioGroup = nullptr;
    QButtonGroup *m_choice = nullptr;
    QPushButton *m_okButton = nullptr;
};
