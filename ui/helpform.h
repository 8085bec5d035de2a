#pragma once

#include <QDialog>

class QTextBrowser;

// Help > Contents: the guide to the program, shown in the program, so that it needs neither a
// browser nor a network. Modeless, like the About box.
class THelpForm : public QDialog {
    Q_OBJECT

public:
    explicit THelpForm(QWidget *parent);

    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr;
};
