#include "ui/helpform.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

THelpForm::THelpForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Korvane Help"));
    resize(720, 560);
    auto *layout = new QVBoxLayout(this);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setAccessibleName(QStringLiteral("Help"));
    m_browser->setOpenExternalLinks(true);
    // The guide is built into the program, so it is there wherever the program is installed.
    QFile guide(QStringLiteral(":/guide/docs/guide.md"));
    if (guide.open(QIODevice::ReadOnly))
        m_browser->setMarkdown(QString::fromUtf8(guide.readAll()));
    layout->addWidget(m_browser);
}
