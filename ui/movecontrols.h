#pragma once

#include "dialogue/movereader.h"
#include "model/statement.h"

#include <QComboBox>
#include <QGroupBox>
#include <QStringList>
#include <QValidator>

#include <initializer_list>
#include <string>

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QDialog;
class QPushButton;
class QRadioButton;

// A sentence is one line: every line break (CR LF, CR, LF and the other Unicode line and
// paragraph breaks) becomes one blank, so a pasted text can never split a move file.
QString withoutLineBreaks(const QString &text);

// The statements of a stage as a dialog shows them: text and type, in list order. A dialog takes
// them when it is shown and reads only them, never the model, which a move may be changing.
std::vector<TSentenceText> shownStatements(const TStatements &statements);

// The texts of the statements, in list order, for the boxes' entries.
QStringList statementTexts(const std::vector<TSentenceText> &statements);

// Makes Tab visit the widgets in the given order.
void setTabOrderChain(std::initializer_list<QWidget *> widgets);

// Keeps line breaks out of a box whatever puts them there: typing, pasting or code.
class TOneLineValidator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

// The editable drop-down box of the move dialogs. Its entries are sorted whatever order they
// are given in; Enter never adds the typed text as an entry but goes to the dialog, which
// clicks its default button; completion is case-sensitive and only offered in a popup, so the
// text stays exactly as typed until the user picks a completion. Enter in that popup with no
// completion picked closes it and goes on to the dialog too, queued, so that the move is not made
// inside the popup's own key handling.
class TMoveComboBox : public QComboBox {
    Q_OBJECT

public:
    TMoveComboBox(const char *name, const QString &placeholder, QWidget *parent);

    // Replaces the entries by texts, sorted, leaving the edit text as it was. Emits nothing.
    void setEntries(QStringList texts);
    // Sets the edit text without a Change event.
    void setTextQuietly(const QString &text);
    // The entries in the order the list shows them.
    QStringList entries() const;
    // The edit text as UTF-8, exactly as it stands: the sentence that goes into the move.
    std::string sentence() const;
    void selectAllText();
    QString placeholder() const { return m_placeholder; }

    // The order the list shows: letter case ignored, then code points, so it is the same
    // whatever the locale.
    static bool showsBefore(const QString &a, const QString &b);

signals:
    // The focus came into the box, or left it for another control of the dialog. Focus that
    // goes to a popup or comes back with the window is neither.
    void entered();
    void exited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QString m_placeholder;
};

// Full mode's check before a move: a sentence that is empty, only blanks or the box's untouched
// placeholder is refused with a message naming what the box is for, and the focus goes back to
// the box. True when the sentence may go into the move.
bool acceptSentence(TMoveComboBox *box, const QString &what);

// Full mode's Cancel button of a move dialog, which closes it without a move.
QPushButton *newCancelButton(QDialog *dialog);

// The check box of the step and exception dialogs that adds a warrant as an issue: shown in full
// mode only, where it takes the room its text needs; hidden at its fixed place otherwise.
QCheckBox *newWarrantCheckBox(const QString &caption, const char *name, bool full, QDialog *dialog);
// Appends the row under those dialogs' boxes: OK, Cancel in full mode, the warrant check box.
// Returns the Cancel button, or null in the default mode.
QPushButton *addButtonRow(QBoxLayout *layout, QPushButton *ok, QCheckBox *warrant, bool full,
                          QDialog *dialog);

// A titled group of the two type choices in two columns: "Issue" (index 0) and "Assumption"
// (index 1), the reverse of the stored values.
class TTypeRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    TTypeRadioGroup(const char *name, const QString &title, QWidget *parent);

    TStatementType statementType() const;
    void setStatementType(TStatementType type);
    // 0 for "Issue", 1 for "Assumption".
    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton *item(int index) const;

    // Selects the type of the statements of statements whose text is exactly text; the last
    // match decides, and with no match the selection stays.
    void followType(const std::string &text, const std::vector<TSentenceText> &statements);

private:
    QButtonGroup *m_items = nullptr;
};
