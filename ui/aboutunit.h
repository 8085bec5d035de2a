#pragma once

#include <QDialog>

class QFrame;
class QPlainTextEdit;
class QPushButton;

// The About box: modeless, fixed size, centred on the screen. It is only ever hidden, so edits
// to its text stay until the program ends.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget *parent);

    // The fifteen lines the box opens with.
    static QString aboutText();

public slots:
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QPlainTextEdit *m_memo = nullptr;
    QFrame *m_panel = nullptr;
    QPushButton *m_button = nullptr;
};
