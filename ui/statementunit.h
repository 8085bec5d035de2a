#pragma once

#include <QDialog>

class TMoveSink;

class TStatementForm : public QDialog {
    Q_OBJECT

public:
    TStatementForm(TMoveSink &sink, QWidget *parent);

private:
    TMoveSink *m_sink; // Not owned: the main window outlives its dialogs.
};
