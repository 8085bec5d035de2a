// A move computing on its thread while the user goes on pressing keys in its dialog.

#include "ui/korvaneunit.h"
#include "ui/movecontrols.h"

#include "uitest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Types the statement into the Statement dialog, chooses its type and presses OK; while the move
// asks its question (and so is still running on its thread), the impatient user clicks OK and
// presses Enter again. Only then is the question answered Yes.
void impatientStatementMove(TKorvaneForm &form, const QString &text, const char *typeButton,
                            bool *askedWhileBusy, bool *openWhileBusy)
{
    whenModal<QDialog>([&form, text, typeButton, askedWhileBusy, openWhileBusy](QDialog *dialog) {
        auto *combo = dialog->findChild<TMoveComboBox *>(QStringLiteral("StatementComboBox"));
        combo->lineEdit()->selectAll();
        typeKeys(combo->lineEdit(), text);
        dialog->findChild<QRadioButton *>(QLatin1String(typeButton))->setChecked(true);
        auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("OKButton"));
        if (askedWhileBusy) {
            whenModal<QMessageBox>([&form, dialog, ok, askedWhileBusy,
                                    openWhileBusy](QMessageBox *question) {
                *askedWhileBusy = form.Busy();
                ok->click();
                QTest::keyClick(dialog, Qt::Key_Return);
                // A second OK that went through would have closed the dialog mid-move.
                *openWhileBusy = dialog->isVisible();
                question->button(QMessageBox::Yes)->click();
            });
        }
        ok->click();
        if (dialog->isVisible())
            dialog->reject();
    });
    form.findChild<QAction *>(QStringLiteral("Statement1"))->trigger();
}

TEST(TMoveRunnerTest, ASecondOkWhileAMoveRunsMakesNoMove)
{
    TKorvaneForm form(TKorvaneMode::Full);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    impatientStatementMove(form, QStringLiteral("a"), "StatementTypeRadioGroup1", nullptr, nullptr);
    // The same sentence as the other type: the line asks whether to overrule it.
    bool askedWhileBusy = false;
    bool openWhileBusy = false;
    impatientStatementMove(form, QStringLiteral("a"), "StatementTypeRadioGroup0", &askedWhileBusy,
                           &openWhileBusy);

    EXPECT_TRUE(askedWhileBusy);
    EXPECT_TRUE(openWhileBusy);
    EXPECT_FALSE(form.Busy());
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 2);
    EXPECT_EQ(form.History().Count(), 2U);
}

} // namespace
