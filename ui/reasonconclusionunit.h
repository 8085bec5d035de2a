#pragma once

#include <QDialog>

class TMoveSink;

class TReasonConclusionForm : public QDialog {
    Q_OBJECT

public:
    TReasonConclusionForm(TMoveSink &sink, QWidget *parent);

private:
    TMoveSink *m_sink; // Not owned: the main window outlives its dialogs.
};
