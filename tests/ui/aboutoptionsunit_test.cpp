#include "ui/aboutunit.h"
#include "ui/korvaneunit.h"
#include "ui/optionsunit.h"

#include "uitest.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using T = TStatementType;

TEST(TAboutFormTest, ShowsFifteenLinesWithTheVersionAndNoFunder)
{
    const QStringList lines = TAboutForm::aboutText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 15);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Korvane - ")));
    EXPECT_EQ(lines[2], QStringLiteral("Version ?"));
    for (int empty : {1, 3, 8, 11})
        EXPECT_TRUE(lines[empty].isEmpty()) << empty;
}

TEST(TAboutFormTest, StaysOpenBesideTheMainWindowWhileMovesAreMade)
{
    TKorvaneForm form;
    form.show();
    TAboutForm *about = form.AboutForm();
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Korvane"));
    form.About1Click();
    ASSERT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(about->size(), QSize(388, 250));

    // Edits stay for as long as the program runs, since the box is only ever hidden.
    auto *memo = about->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
    EXPECT_FALSE(memo->isReadOnly());
    memo->setPlainText(QStringLiteral("my notes"));

    statementMove(form, "a", T::Issue);
    reasonConclusionMove(form, "r", T::Assumption, "a", T::Issue);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 2);

    form.About1Click(); // already open: brought to the front, still one box
    EXPECT_TRUE(about->isVisible());
    about->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
    EXPECT_FALSE(about->isVisible());
    form.About1Click();
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("my notes"));
}

class TOptionsFormTest : public testing::Test {
protected:
    // Opens the dialog through the hidden menu command and lets act answer it.
    void openOptions(const std::function<void(TOptionsForm *)> &act)
    {
        bool opened = false;
        whenModal<TOptionsForm>([&](TOptionsForm *dialog) {
            opened = true;
            act(dialog);
        });
        form.Options1Click();
        EXPECT_TRUE(opened);
    }
    static QRadioButton *radio(TOptionsForm *dialog, int index)
    {
        return dialog->findChild<QRadioButton *>(QStringLiteral("ArgumentsViewRadio%1").arg(index));
    }
    static void clickOK(TOptionsForm *dialog)
    {
        dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
    }

    TKorvaneForm form;
};

TEST_F(TOptionsFormTest, OKWithoutChangeStillShowsTheArgumentsView)
{
    reasonConclusionMove(form, "r", T::Assumption, "c", T::Issue);
    form.ShowStatements();
    openOptions([](TOptionsForm *dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Options"));
        EXPECT_TRUE(radio(dialog, 0)->isChecked());
        clickOK(dialog);
    });
    EXPECT_FALSE(form.OptionsForm()->isVisible());
    EXPECT_EQ(form.ArgumentsView(), TArgumentsView::avCoordinated);
    EXPECT_EQ(visibleView(form), QStringLiteral("ArgumentsTreeView"));
    EXPECT_EQ(checkedViewButton(form), QStringLiteral("ViewArgumentsSpeedButton"));
    EXPECT_EQ(treeNodes(form).size(), 2U);
}

TEST_F(TOptionsFormTest, CloseBoxKeepsTheSettingButTheDialogKeepsTheChoice)
{
    reasonConclusionMove(form, "r", T::Assumption, "c", T::Issue);
    form.ShowReasons();
    openOptions([](TOptionsForm *dialog) {
        radio(dialog, 1)->click();
        QTest::keyClick(dialog, Qt::Key_Escape); // acts as the close box
    });
    EXPECT_EQ(form.ArgumentsView(), TArgumentsView::avCoordinated);
    EXPECT_EQ(visibleView(form), QStringLiteral("ReasonsListView"));

    openOptions([](TOptionsForm *dialog) {
        EXPECT_TRUE(radio(dialog, 1)->isChecked());
        clickOK(dialog);
    });
    EXPECT_EQ(form.ArgumentsView(), TArgumentsView::avNotCoordinated);
    EXPECT_EQ(visibleView(form), QStringLiteral("ArgumentsTreeView"));
    EXPECT_TRUE(treeNodes(form).empty()); // the stage's linear list is empty
}

TEST_F(TOptionsFormTest, OKButtonIsNotTheDefault)
{
    auto *ok = form.OptionsForm()->findChild<QPushButton *>(QStringLiteral("OKButton"));
    EXPECT_FALSE(ok->isDefault());
    EXPECT_FALSE(ok->autoDefault());
    EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
}

} // namespace
