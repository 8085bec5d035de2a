#pragma once

#include <QDialog>

class TMoveSink;

class TExceptionForm : public QDialog {
    Q_OBJECT

public:
    TExceptionForm(TMoveSink &sink, QWidget *parent);

private:
    TMoveSink *m_sink; // Not owned: the main window outlives its dialogs.
};
