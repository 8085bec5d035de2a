#include "exceptionunit.h"

#include "movesink.h"

TExceptionForm::TExceptionForm(TMoveSink &sink, QWidget *parent)
    : QDialog(parent)
    , m_sink(&sink)
{
}
