#include "reasonconclusionunit.h"

#include "movesink.h"

TReasonConclusionForm::TReasonConclusionForm(TMoveSink &sink, QWidget *parent)
    : QDialog(parent)
    , m_sink(&sink)
{
}
