#include "statementunit.h"

#include "movesink.h"

TStatementForm::TStatementForm(TMoveSink &sink, QWidget *parent)
    : QDialog(parent)
    , m_sink(&sink)
{
}
