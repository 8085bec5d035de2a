#pragma once

#include <QDialog>

class QLineEdit;
class QTextBrowser;
class QTreeWidget;

// Help > Contents: the guide to the program, shown in the program, so that it needs neither a
// browser nor a network. Modeless, like the About box. Its headings are listed beside it, and
// Find (Ctrl+F) searches it.
class THelpForm : public QDialog {
    Q_OBJECT

public:
    explicit THelpForm(QWidget *parent);

    QTextBrowser *browser() const { return m_browser; }
    QTreeWidget *contents() const { return m_contents; }
    QLineEdit *findBox() const { return m_findBox; }
    // Selects the next match of the find box's text after the cursor, from the top once the
    // end is passed; false when there is none.
    bool findNext();

private:
    void listHeadings();

    QTextBrowser *m_browser = nullptr;
    QTreeWidget *m_contents = nullptr;
    QLineEdit *m_findBox = nullptr;
};
