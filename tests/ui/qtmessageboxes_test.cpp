#include "ui/qtmessageboxes.h"

#include "ui/failurehandler.h"
#include "uitest.h"

#include <QLabel>
#include <QScreen>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(TQtMessageBoxesTest, WarningIsAnExclamationBoxWithOk)
{
    TQtMessageBoxes boxes;
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    boxes.Warning("\r\nThe statement 'a' already exists. \r\nIt cannot be added again. ");
    ASSERT_TRUE(seen.answered);
    EXPECT_EQ(seen.caption, QStringLiteral("Warning"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.text,
              QStringLiteral("\nThe statement 'a' already exists. \nIt cannot be added again. "));
}

TEST(TQtMessageBoxesTest, ConfirmAsksWithYesAsTheDefault)
{
    TQtMessageBoxes boxes;
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Yes, &seen);
    EXPECT_TRUE(boxes.Confirm("Do you really want to add it again? "));
    EXPECT_EQ(seen.caption, QStringLiteral("Confirm"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(seen.escapeButton, QMessageBox::No);
}

TEST(TQtMessageBoxesTest, OnlyYesConfirms)
{
    const struct {
        const char *name;
        bool byKey;
        Qt::Key key;
        QMessageBox::StandardButton button;
        bool expected;
    } cases[] = {
        {"click Yes", false, Qt::Key_unknown, QMessageBox::Yes, true},
        {"click No", false, Qt::Key_unknown, QMessageBox::No, false},
        {"Enter", true, Qt::Key_Return, QMessageBox::NoButton, true},
        {"Escape", true, Qt::Key_Escape, QMessageBox::NoButton, false},
    };
    TQtMessageBoxes boxes;
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        TBoxSeen seen;
        if (each.byKey)
            answerMessageBoxByKey(each.key, &seen);
        else
            answerMessageBox(each.button, &seen);
        EXPECT_EQ(boxes.Confirm("question"), each.expected);
        EXPECT_TRUE(seen.answered);
    }
}

TEST(TQtMessageBoxesTest, TextIsShownAsTypedNeverAsMarkup)
{
    const struct {
        const char *name;
        std::string text;
        QString shown;
    } cases[] = {
        {"CR LF", "a\r\nb", QStringLiteral("a\nb")},
        {"lone CR", "a\rb", QStringLiteral("a\nb")},
        {"markup", "<b>bold</b> & co", QStringLiteral("<b>bold</b> & co")},
        {"UTF-8", "caf\xc3\xa9", QString::fromUtf8("caf\xc3\xa9")},
    };
    TQtMessageBoxes boxes;
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        TBoxSeen seen;
        answerMessageBox(QMessageBox::Ok, &seen);
        boxes.Warning(each.text);
        EXPECT_EQ(seen.text, each.shown);
        EXPECT_EQ(seen.textFormat, Qt::PlainText);
    }
}

TEST(TFailureHandlerTest, FailureEndsTheCommandAndShowsAnErrorBox)
{
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    bool reachedEnd = false;
    const bool succeeded = runGuarded([&] {
        throw std::runtime_error("Cannot open file /no/such <file>");
        reachedEnd = true;
    });
    EXPECT_FALSE(succeeded);
    EXPECT_FALSE(reachedEnd);
    EXPECT_EQ(seen.caption, QStringLiteral("Korvane"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.text, QStringLiteral("Cannot open file /no/such <file>."));
    EXPECT_EQ(seen.textFormat, Qt::PlainText);
}

TEST(TFailureHandlerTest, CommandsThatSucceedShowNothing)
{
    int runs = 0;
    EXPECT_TRUE(runGuarded([&] { ++runs; }));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(TFailureHandlerTest, FailureOfUnknownKindIsReportedToo)
{
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    EXPECT_FALSE(runGuarded([] { throw 42; }));
    EXPECT_EQ(seen.text, QStringLiteral("Unknown failure."));
}

} // namespace

namespace {

TEST(TQtMessageBoxesTest, BoxesAreCentredOnTheScreenAndWrapTheirText)
{
    // A window away from the screen's centre, as the main window is, must not draw the boxes.
    QWidget window;
    window.setGeometry(316, 143, 600, 480);
    window.show();
    window.activateWindow();
    TQtMessageBoxes boxes;
    const struct {
        const char *name;
        bool confirm;
    } cases[] = {{"warning", false}, {"confirm", true}};
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        QPoint centre, screenCentre;
        bool wraps = false;
        whenModal<QMessageBox>([&](QMessageBox *box) {
            centre = box->frameGeometry().center();
            screenCentre = box->screen()->availableGeometry().center();
            const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            wraps = label && label->wordWrap();
            box->close();
        });
        if (each.confirm)
            boxes.Confirm(std::string(300, 'w'));
        else
            boxes.Warning(std::string(300, 'w'));
        EXPECT_LE((centre - screenCentre).manhattanLength(), 2);
        EXPECT_TRUE(wraps);
    }
}

} // namespace
