#pragma once

#include "model/statement.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

class TKorvaneForm;
class TReasonConclusion;

// What a message box showed when a test answered it.
struct TBoxSeen {
    bool answered = false;
    QString objectName;
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButton escapeButton = QMessageBox::NoButton;
    Qt::TextFormat textFormat = Qt::AutoText;
};

// Runs action on the next modal widget of type T once it is on screen, from the event loop, so
// a test can answer a dialog that blocks in exec(). A modal that never comes fails the test.
void whenModalRaw(const QMetaObject &type, std::function<void(QWidget *)> action);

template <typename T>
void whenModal(std::function<void(T *)> action)
{
    whenModalRaw(T::staticMetaObject,
                 [action](QWidget *widget) { action(static_cast<T *>(widget)); });
}

// Answers the next message box by clicking button; what it showed goes to *seen.
void answerMessageBox(QMessageBox::StandardButton button, TBoxSeen *seen = nullptr);
// Answers the next message box with a key (Enter, Escape) instead of a click.
void answerMessageBoxByKey(Qt::Key key, TBoxSeen *seen = nullptr);

// Answers the next file dialog by choosing path, typed in full into its file name box as a user
// would (selectFile alone races with the dialog's background reading of the folder).
void chooseFile(const QString &path);

// Types text into the widget key by key, as a keyboard would; letters beyond ASCII included.
void typeKeys(QWidget *widget, const QString &text);

// Moves made from code through the main window's Make operations, as the dialogs make them.
bool statementMove(TKorvaneForm &form, const std::string &text, TStatementType type);
void reasonConclusionMove(TKorvaneForm &form, const std::string &reason, TStatementType reasonType,
                          const std::string &conclusion, TStatementType conclusionType);
void exceptionMove(TKorvaneForm &form, const std::string &exception, TStatementType exceptionType,
                   const std::string &reason, TStatementType reasonType,
                   const std::string &conclusion, TStatementType conclusionType);
// The three moves of the worked example: step r -> c, exception e, the exception's warrant.
void workedExample(TKorvaneForm &form);

// What the views show now.
QStringList memoLines(const TKorvaneForm &form);
QStringList listEntries(const TKorvaneForm &form, const char *listName);
// A table's rows, their cells joined by " | ".
QStringList tableRows(const TKorvaneForm &form, const char *tableName);
struct TNodeSeen {
    int depth = 0;
    QString text;
    QImage picture;
};
// The tree's nodes in pre-order, with the picture each one shows.
std::vector<TNodeSeen> treeNodes(const TKorvaneForm &form);
// The name of the one visible view and of the one toggle button that is down ("" when not one).
QString visibleView(const TKorvaneForm &form);
QString checkedViewButton(const TKorvaneForm &form);

// Both images converted to one format and compared pixel by pixel.
bool sameImage(const QImage &a, const QImage &b);
