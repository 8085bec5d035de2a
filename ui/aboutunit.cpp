#include "ui/aboutunit.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TAboutForm::TAboutForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About Korvane"));
    setModal(false);
    setFixedSize(388, 250);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_memo = new QPlainTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setAccessibleName(QStringLiteral("About Korvane"));
    m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo->setPlainText(aboutText());
    layout->addWidget(m_memo);

    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setFixedHeight(41);
    layout->addWidget(m_panel);

    m_button = new QPushButton(QStringLiteral("&OK"), m_panel);
    m_button->setObjectName(QStringLiteral("Button1"));
    m_button->setGeometry(8, 8, 75, 25);
    m_button->setDefault(true);
    connect(m_button, &QPushButton::clicked, this, &TAboutForm::Button1Click);

    setTabOrder(m_button, m_memo);

    // Centred on the screen rather than over the main window; placing it here keeps Qt from
    // moving it over its parent when it is first shown.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString TAboutForm::aboutText()
{
    // Short lines and an empty last one, so that every word shows in the box at the usual
    // font sizes (it has no scroll bars; the keys still scroll it).
    return QStringList{
        QStringLiteral("Korvane - an assistant for lines of argumentation"),
        QString(),
        QStringLiteral("Version ?"),
        QString(),
        QStringLiteral("Written by the Korvane developers."),
        QStringLiteral("Made on its own, not for any institution."),
        QStringLiteral("There is no postal address to write to,"),
        QStringLiteral("nor an e-mail or web address."),
        QString(),
        QStringLiteral("The work had no outside funding:"),
        QStringLiteral("no programme, grant or sponsor paid for it."),
        QString(),
        QStringLiteral("Make moves with the Argue buttons and see"),
        QStringLiteral("what follows from them in the four views."),
        QString(),
    }
        .join(QLatin1Char('\n'));
}

void TAboutForm::Button1Click() { hide(); }

void TAboutForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_button->setFocus();
}
