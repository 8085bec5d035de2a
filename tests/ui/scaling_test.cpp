// The move dialogs laid out on a scaled screen (QT_SCALE_FACTOR set by the test's run): no radio
// button is cut off by its group box, and nothing sticks out of its dialog.

#include "ui/exceptionunit.h"
#include "ui/korvaneunit.h"
#include "ui/reasonconclusionunit.h"
#include "ui/statementunit.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ScalingTest, NoDialogCutsOffItsControls)
{
    for (const TKorvaneMode mode : {TKorvaneMode::Default, TKorvaneMode::Full}) {
        TKorvaneForm form(mode);
        for (QDialog *dialog : std::initializer_list<QDialog *>{
                 form.StatementForm(), form.ReasonConclusionForm(), form.ExceptionForm()}) {
            SCOPED_TRACE(dialog->objectName().toStdString() + (mode == TKorvaneMode::Full ? " full" : ""));
            dialog->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
            for (QRadioButton *radio : dialog->findChildren<QRadioButton *>()) {
                const auto *group = qobject_cast<QGroupBox *>(radio->parentWidget());
                ASSERT_NE(group, nullptr);
                EXPECT_TRUE(group->contentsRect().contains(radio->geometry()))
                    << radio->objectName().toStdString();
                EXPECT_GE(radio->height(), radio->minimumSizeHint().height())
                    << radio->objectName().toStdString();
            }
            for (QWidget *child : dialog->findChildren<QWidget *>()) {
                if (child->isVisibleTo(dialog) && child->parentWidget() == dialog) {
                    EXPECT_TRUE(dialog->rect().contains(child->geometry()))
                        << child->objectName().toStdString();
                }
            }
            dialog->hide();
        }
    }
}

} // namespace
