#include "ui/movecontrols.h"

#include "uitest.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TEST(TMoveControlsTest, LineBreaksBecomeOneBlankEach)
{
    const struct {
        const char *name;
        QString text;
        QString expected;
    } cases[] = {
        {"CR LF", QStringLiteral("a\r\nb"), QStringLiteral("a b")},
        {"lone LF", QStringLiteral("a\nb"), QStringLiteral("a b")},
        {"lone CR", QStringLiteral("a\rb"), QStringLiteral("a b")},
        {"LF CR is two breaks", QStringLiteral("a\n\rb"), QStringLiteral("a  b")},
        {"two CR LF", QStringLiteral("\r\na\r\n\r\n"), QStringLiteral(" a  ")},
        {"Unicode separators", QString::fromUtf16(u"a\u2028b\u2029c\u0085d"),
         QStringLiteral("a b c d")},
        {"tabs and blanks stay", QStringLiteral(" a\tb "), QStringLiteral(" a\tb ")},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(withoutLineBreaks(each.text), each.expected);
    }
}

// A dialog with one box and a default button, as the move dialogs have them.
class TMoveComboBoxTest : public testing::Test {
protected:
    TMoveComboBoxTest()
    {
        auto *layout = new QVBoxLayout(&dialog);
        box = new TMoveComboBox("Box", QStringLiteral("<placeholder>"), &dialog);
        ok = new QPushButton(QStringLiteral("&OK"), &dialog);
        ok->setDefault(true);
        layout->addWidget(box);
        layout->addWidget(ok);
        dialog.show();
        dialog.activateWindow();
        box->setFocus();
    }

    QDialog dialog;
    TMoveComboBox *box = nullptr;
    QPushButton *ok = nullptr;
};

TEST_F(TMoveComboBoxTest, EntriesAreSortedAndARefillKeepsTheTextQuietly)
{
    box->setTextQuietly(QStringLiteral("kept"));
    QSignalSpy changes(box, &QComboBox::editTextChanged);
    box->setEntries({QStringLiteral("b"), QStringLiteral("ab"), QStringLiteral("B"),
                     QStringLiteral("A"), QStringLiteral("<z>")});
    EXPECT_EQ(box->entries(),
              (QStringList{QStringLiteral("<z>"), QStringLiteral("A"), QStringLiteral("ab"),
                           QStringLiteral("B"), QStringLiteral("b")}));
    EXPECT_EQ(box->currentText(), QStringLiteral("kept"));
    box->setEntries({});
    EXPECT_TRUE(box->entries().isEmpty());
    EXPECT_EQ(box->currentText(), QStringLiteral("kept"));
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(TMoveComboBoxTest, TypedTextStaysExactlyAsTypedWhateverTheEntries)
{
    box->setEntries({QStringLiteral("A"), QStringLiteral("ab"), QStringLiteral("abc")});
    const QString typed[] = {QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("ab "),
                             QStringLiteral("B")};
    for (const QString &text : typed) {
        SCOPED_TRACE(text.toStdString());
        box->selectAllText();
        typeKeys(box, text);
        EXPECT_EQ(box->currentText(), text);
    }
}

TEST_F(TMoveComboBoxTest, EnterAddsNoEntryAndClicksTheDefaultButton)
{
    box->setEntries({QStringLiteral("x")});
    QSignalSpy clicks(ok, &QPushButton::clicked);
    box->selectAllText();
    typeKeys(box, QStringLiteral("new text"));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(box->entries(), QStringList{QStringLiteral("x")});
    EXPECT_EQ(box->currentText(), QStringLiteral("new text"));
}

TEST_F(TMoveComboBoxTest, EnterInTheCompletionPopupClicksOKUnlessACompletionIsPicked)
{
    box->setEntries({QStringLiteral("xy")});
    QAbstractItemView *popup = box->completer()->popup();
    QSignalSpy clicks(ok, &QPushButton::clicked);

    box->selectAllText();
    typeKeys(box, QStringLiteral("x"));
    ASSERT_TRUE(popup->isVisible());
    QTest::keyClick(popup, Qt::Key_Return);
    // Queued: the move is not made inside the popup's key handling.
    EXPECT_EQ(clicks.count(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(box->currentText(), QStringLiteral("x"));

    box->selectAllText();
    typeKeys(box, QStringLiteral("x"));
    ASSERT_TRUE(popup->isVisible());
    QTest::keyClick(popup, Qt::Key_Down); // the user picks the completion
    QTest::keyClick(popup, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(box->currentText(), QStringLiteral("xy"));
}

TEST_F(TMoveComboBoxTest, PastedAndSetTextsStayOnOneLine)
{
    box->setTextQuietly(QStringLiteral("p\r\nq"));
    EXPECT_EQ(box->currentText(), QStringLiteral("p q"));
    box->lineEdit()->selectAll();
    box->lineEdit()->insert(QStringLiteral("one\ntwo\r\n"));
    EXPECT_EQ(box->currentText(), QStringLiteral("one two "));
    EXPECT_EQ(box->lineEdit()->cursorPosition(), 8);
    EXPECT_EQ(box->sentence(), "one two ");
}

} // namespace
