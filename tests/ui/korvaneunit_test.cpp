#include "ui/korvaneunit.h"

#include "ui/aboutunit.h"
#include "ui/statusicons.h"
#include "uitest.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

using T = TStatementType;

QAbstractButton *button(const TKorvaneForm &form, const char *name)
{
    return form.findChild<QAbstractButton *>(QLatin1String(name));
}

QTreeView *tree(const TKorvaneForm &form)
{
    return form.findChild<QTreeView *>(QStringLiteral("ArgumentsTreeView"));
}

QImage nodePicture(TJustificationStatus status, T type)
{
    return TStatusIcons::nodeImage(status, type);
}

// Every test drives a fresh main window with its models under the item model tester.
class TKorvaneFormTest : public testing::Test {
protected:
    TKorvaneFormTest()
        : m_treeTester(tree(form)->model(), QAbstractItemModelTester::FailureReportingMode::Fatal)
        , m_statementsTester(
              form.findChild<QListWidget *>(QStringLiteral("StatementsListView"))->model(),
              QAbstractItemModelTester::FailureReportingMode::Fatal)
        , m_reasonsTester(form.findChild<QListWidget *>(QStringLiteral("ReasonsListView"))->model(),
                          QAbstractItemModelTester::FailureReportingMode::Fatal)
    {
    }

    TKorvaneForm form;

private:
    QAbstractItemModelTester m_treeTester;
    QAbstractItemModelTester m_statementsTester;
    QAbstractItemModelTester m_reasonsTester;
};

TEST_F(TKorvaneFormTest, StartsWithTheEmptyArgumentsView)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - New line of argumentation"));
    EXPECT_EQ(form.lineOfArgumentation().FileName, "New line of argumentation");
    EXPECT_EQ(form.size(), QSize(600, 480));
    EXPECT_EQ(visibleView(form), QStringLiteral("ArgumentsTreeView"));
    EXPECT_EQ(checkedViewButton(form), QStringLiteral("ViewArgumentsSpeedButton"));
    EXPECT_EQ(tree(form)->model()->rowCount(), 0);
    EXPECT_EQ(form.ArgumentsView(), TArgumentsView::avCoordinated);
    EXPECT_FALSE(form.lineOfArgumentation().Modified);
    ASSERT_NE(button(form, "ProsConsButton"), nullptr);
    EXPECT_TRUE(button(form, "ProsConsButton")->isHidden());
    EXPECT_EQ(button(form, "ProsConsButton")->text(), QStringLiteral("Pros && cons"));
    EXPECT_TRUE(tree(form)->isHeaderHidden());
    EXPECT_EQ(tree(form)->indentation(), 19);
}

TEST_F(TKorvaneFormTest, CreatesItsDialogsAsChildrenInStartUpOrder)
{
    QStringList order;
    for (QObject *child : form.children())
        if (auto *dialog = qobject_cast<QDialog *>(child))
            if (!dialog->inherits("QFileDialog"))
                order.append(dialog->objectName());
    EXPECT_EQ(order, (QStringList{QStringLiteral("StatementForm"), QStringLiteral("ExceptionForm"),
                                  QStringLiteral("ReasonConclusionForm"),
                                  QStringLiteral("AboutForm"), QStringLiteral("OptionsForm")}));
    for (QDialog *dialog : form.findChildren<QDialog *>())
        EXPECT_TRUE(dialog->isHidden()) << dialog->objectName().toStdString();
}

TEST_F(TKorvaneFormTest, MenusHoldEveryItemWithItsCaptionAndVisibility)
{
    struct TItem {
        const char *menu;
        const char *name;
        const char *caption; // Empty for a separator.
        bool shown;
    };
    const TItem items[] = {
        {"File1", "New1", "&New", false},
        {"File1", "Open1", "&Open...", false},
        {"File1", "Save1", "&Save", false},
        {"File1", "SaveAs1", "Save &As...", false},
        {"File1", "N2", "", false},
        {"File1", "Print1", "&Print...", false},
        {"File1", "PrintSetup1", "P&rint Setup...", false},
        {"File1", "N1", "", false},
        {"File1", "Exit1", "E&xit", true},
        {"Move1", "Statement1", "&Statement", true},
        {"Move1", "ReasonConclusion1", "&Reason/conclusion", true},
        {"Move1", "Exception1", "&Exception", true},
        {"Move1", "ProsCons1", "&Pros && cons", false},
        {"Move1", "N4", "", false},
        {"Move1", "Back1", "&Back", false},
        {"Move1", "Forward1", "&Forward", false},
        {"View1", "Lineofargumentation1", "&Line of argumentation", true},
        {"View1", "Statements1", "&Statements", true},
        {"View1", "Reasons1", "&Reasons", true},
        {"View1", "Arguments1", "&Arguments", true},
        {"View1", "N5", "", false},
        {"View1", "Options1", "&Options", false},
        {"Help1", "Contents1", "&Contents", false},
        {"Help1", "N3", "", false},
        {"Help1", "About1", "&About...", true},
    };
    const QMenuBar *bar = form.findChild<QMenuBar *>(QStringLiteral("MainMenu1"));
    ASSERT_NE(bar, nullptr);
    QStringList menuTitles;
    for (QAction *menuAction : bar->actions())
        menuTitles.append(menuAction->text());
    EXPECT_EQ(menuTitles, (QStringList{QStringLiteral("&File"), QStringLiteral("&Argue"),
                                       QStringLiteral("&View"), QStringLiteral("&Help")}));

    std::map<QString, int> position;
    for (const TItem &item : items) {
        SCOPED_TRACE(item.name);
        const QMenu *menu = form.findChild<QMenu *>(QLatin1String(item.menu));
        ASSERT_NE(menu, nullptr);
        const QList<QAction *> actions = menu->actions();
        const int at = position[QLatin1String(item.menu)]++;
        ASSERT_LT(at, actions.size());
        const QAction *action = actions[at];
        EXPECT_EQ(action->objectName(), QLatin1String(item.name));
        EXPECT_EQ(action->isSeparator(), item.caption[0] == '\0');
        if (!action->isSeparator()) {
            EXPECT_EQ(action->text(), QLatin1String(item.caption));
        }
        EXPECT_EQ(action->isVisible(), item.shown);
        EXPECT_TRUE(action->shortcut().isEmpty());
    }
    for (const auto &[menuName, count] : position)
        EXPECT_EQ(form.findChild<QMenu *>(menuName)->actions().size(), count);
}

TEST_F(TKorvaneFormTest, MoveCommandsOpenTheirDialogModally)
{
    const struct {
        const char *command;
        void (TKorvaneForm::*click)();
        const char *dialog;
    } cases[] = {
        {"StatementButton", &TKorvaneForm::StatementButtonClick, "StatementForm"},
        {"Statement1", &TKorvaneForm::Statement1Click, "StatementForm"},
        {"ReasonConclusionButton", &TKorvaneForm::ReasonConclusionButtonClick,
         "ReasonConclusionForm"},
        {"ReasonConclusion1", &TKorvaneForm::ReasonConclusion1Click, "ReasonConclusionForm"},
        {"ExceptionButton", &TKorvaneForm::ExceptionButtonClick, "ExceptionForm"},
        {"Exception1", &TKorvaneForm::Exception1Click, "ExceptionForm"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.command);
        QString opened;
        whenModal<QDialog>([&opened](QDialog *dialog) {
            opened = dialog->objectName();
            dialog->reject();
        });
        (form.*each.click)();
        EXPECT_EQ(opened, QLatin1String(each.dialog));
    }
}

TEST_F(TKorvaneFormTest, ToggleButtonsLeaveExactlyTheClickedOneDown)
{
    const struct {
        const char *button;
        const char *view;
    } cases[] = {
        {"ViewLineOfArgumentationSpeedButton", "LineOfArgumentationMemo"},
        {"ViewStatementsSpeedButton", "StatementsListView"},
        {"ViewStatementsSpeedButton", "StatementsListView"}, // clicked again while down
        {"viewReasonsSpeedButton", "ReasonsListView"},
        {"ViewArgumentsSpeedButton", "ArgumentsTreeView"},
        {"ViewArgumentsSpeedButton", "ArgumentsTreeView"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.button);
        button(form, each.button)->click();
        EXPECT_EQ(checkedViewButton(form), QLatin1String(each.button));
        EXPECT_EQ(visibleView(form), QLatin1String(each.view));
    }
}

TEST_F(TKorvaneFormTest, TabReachesEveryButtonAndThenTheVisibleView)
{
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.findChild<QWidget *>(QStringLiteral("StatementButton"))->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int press = 0; press < 8; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(visited,
              (QStringList{QStringLiteral("ReasonConclusionButton"),
                           QStringLiteral("ExceptionButton"),
                           QStringLiteral("ViewLineOfArgumentationSpeedButton"),
                           QStringLiteral("ViewStatementsSpeedButton"),
                           QStringLiteral("viewReasonsSpeedButton"),
                           QStringLiteral("ViewArgumentsSpeedButton"),
                           QStringLiteral("ArgumentsTreeView"), QStringLiteral("StatementButton")}));

    // Space on a focused toggle button shows its view like a click.
    button(form, "ViewStatementsSpeedButton")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(visibleView(form), QStringLiteral("StatementsListView"));
    EXPECT_EQ(checkedViewButton(form), QStringLiteral("ViewStatementsSpeedButton"));
}

TEST_F(TKorvaneFormTest, EveryControlTabReachesHasAScreenReaderName)
{
    // The main window in each view, and every dialog of its own (Qt's file dialogs aside).
    std::vector<QWidget *> windows{&form};
    for (QDialog *dialog : form.findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
        if (!dialog->inherits("QFileDialog"))
            windows.push_back(dialog);
    int checked = 0;
    for (void (TKorvaneForm::*show)() :
         {&TKorvaneForm::ShowLineOfArgumentation, &TKorvaneForm::ShowStatements,
          &TKorvaneForm::ShowReasons, &TKorvaneForm::ShowArguments}) {
        (form.*show)();
        for (QWidget *window : windows) {
            for (QWidget *control : window->findChildren<QWidget *>()) {
                if (control->window() != window || !(control->focusPolicy() & Qt::TabFocus)
                    || !control->isVisibleTo(window) || control->focusProxy())
                    continue;
                SCOPED_TRACE(control->objectName().toStdString() + " in "
                             + window->objectName().toStdString());
                QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
                ASSERT_NE(accessible, nullptr);
                EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty());
                ++checked;
            }
        }
    }
    // In each view: seven buttons and the view; the statement, reason/conclusion and
    // exception dialogs' boxes, radio items and OK; About's text and OK; the Options' three.
    EXPECT_EQ(checked, 4 * (8 + 4 + 7 + 10 + 2 + 3));
}

TEST_F(TKorvaneFormTest, ClickingTheDownButtonRebuildsItsView)
{
    statementMove(form, "a", T::Issue);
    button(form, "ViewStatementsSpeedButton")->click();
    auto *list = form.findChild<QListWidget *>(QStringLiteral("StatementsListView"));
    list->item(0)->setText(QStringLiteral("edited in place"));
    button(form, "ViewStatementsSpeedButton")->click();
    EXPECT_EQ(listEntries(form, "StatementsListView"), QStringList{QStringLiteral("a")});
    EXPECT_EQ(form.lineOfArgumentation().CurrentStage->Statements[0]->Text, "a");
}

TEST_F(TKorvaneFormTest, EveryViewIsEmptyBeforeTheFirstMove)
{
    form.ShowLineOfArgumentation();
    EXPECT_TRUE(memoLines(form).isEmpty());
    form.ShowStatements();
    EXPECT_TRUE(listEntries(form, "StatementsListView").isEmpty());
    form.ShowReasons();
    EXPECT_TRUE(listEntries(form, "ReasonsListView").isEmpty());
    form.ShowArguments();
    EXPECT_TRUE(treeNodes(form).empty());
}

TEST_F(TKorvaneFormTest, OneStatementMoveInEachView)
{
    const struct {
        const char *name;
        TStatementType type;
        const char *typeLine;
        TJustificationStatus status;
    } cases[] = {
        {"issue", T::Issue, "        TYPE: Issue", TJustificationStatus::Undecided},
        {"assumption", T::Assumption, "        TYPE: Assumption", TJustificationStatus::Justified},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        TKorvaneForm fresh;
        ASSERT_TRUE(statementMove(fresh, "the road is wet", each.type));
        fresh.ShowLineOfArgumentation();
        EXPECT_EQ(memoLines(fresh),
                  (QStringList{QStringLiteral("STATEMENT MOVE: "),
                               QStringLiteral("    the road is wet"), QLatin1String(each.typeLine)}));
        fresh.ShowStatements();
        EXPECT_EQ(listEntries(fresh, "StatementsListView"),
                  QStringList{QStringLiteral("the road is wet")});
        fresh.ShowReasons();
        EXPECT_TRUE(listEntries(fresh, "ReasonsListView").isEmpty());
        fresh.ShowArguments();
        const std::vector<TNodeSeen> nodes = treeNodes(fresh);
        ASSERT_EQ(nodes.size(), 1U);
        EXPECT_EQ(nodes[0].text, QStringLiteral("the road is wet"));
        EXPECT_TRUE(sameImage(nodes[0].picture, nodePicture(each.status, each.type)));
    }
}

TEST_F(TKorvaneFormTest, ReasonsViewListsConclusionReasonAndExceptions)
{
    reasonConclusionMove(form, "r", T::Assumption, "c", T::Issue);
    form.ShowReasons();
    EXPECT_EQ(listEntries(form, "ReasonsListView"),
              (QStringList{QStringLiteral("CONCLUSION:"), QStringLiteral("c"),
                           QStringLiteral("REASON:"), QStringLiteral("r"),
                           QStringLiteral("(NO EXCEPTIONS)"), QString()}));

    exceptionMove(form, "e1", T::Assumption, "r", T::Assumption, "c", T::Issue);
    exceptionMove(form, "e2", T::Issue, "r", T::Assumption, "c", T::Issue);
    reasonConclusionMove(form, "", T::Assumption, "d", T::Issue); // an empty sentence
    EXPECT_EQ(listEntries(form, "ReasonsListView"),
              (QStringList{QStringLiteral("CONCLUSION:"), QStringLiteral("c"),
                           QStringLiteral("REASON:"), QStringLiteral("r"),
                           QStringLiteral("EXCEPTIONS:"), QStringLiteral("e1"),
                           QStringLiteral("e2"), QString(), QStringLiteral("CONCLUSION:"),
                           QStringLiteral("d"), QStringLiteral("REASON:"), QString(),
                           QStringLiteral("(NO EXCEPTIONS)"), QString()}));
}

TEST_F(TKorvaneFormTest, WorkedExampleTreeShowsStatusesAndTypes)
{
    using S = TJustificationStatus;
    const std::string warrant = ExceptionWarrant("e", "r", "c");
    struct TStep {
        const char *name;
        std::vector<std::tuple<int, std::string, S, T>> nodes;
    };
    const TStep steps[] = {
        {"step r to c", {{0, "c", S::Justified, T::Issue}, {1, "r", S::Justified, T::Assumption}}},
        {"exception e",
         {{0, "c", S::Unjustified, T::Issue},
          {1, "r", S::Justified, T::Assumption},
          {0, "e", S::Justified, T::Assumption}}},
        {"exception warrant",
         {{0, "c", S::Justified, T::Issue},
          {1, "r", S::Justified, T::Assumption},
          {0, "e", S::Justified, T::Assumption},
          {0, warrant, S::Undecided, T::Issue}}},
    };
    for (int step = 0; step < 3; ++step) {
        SCOPED_TRACE(steps[step].name);
        if (step == 0)
            reasonConclusionMove(form, "r", T::Assumption, "c", T::Issue);
        else if (step == 1)
            exceptionMove(form, "e", T::Assumption, "r", T::Assumption, "c", T::Issue);
        else
            statementMove(form, warrant, T::Issue);
        const std::vector<TNodeSeen> nodes = treeNodes(form);
        ASSERT_EQ(nodes.size(), steps[step].nodes.size());
        // Roots may come in any order the stage keeps; compare as a set of (depth, text).
        for (const auto &[depth, text, status, type] : steps[step].nodes) {
            SCOPED_TRACE(text);
            const auto found = std::find_if(nodes.begin(), nodes.end(), [&](const TNodeSeen &n) {
                return n.depth == depth && n.text == QString::fromStdString(text);
            });
            ASSERT_NE(found, nodes.end());
            EXPECT_TRUE(sameImage(found->picture, nodePicture(status, type)));
        }
    }
}

TEST_F(TKorvaneFormTest, DeclinedMoveStillRebuildsTheVisibleView)
{
    ASSERT_TRUE(statementMove(form, "a", T::Issue));
    form.ShowStatements();
    auto *list = form.findChild<QListWidget *>(QStringLiteral("StatementsListView"));
    list->item(0)->setText(QStringLiteral("edited in place"));

    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    EXPECT_FALSE(statementMove(form, "a", T::Issue)); // refused: same text, same type
    EXPECT_TRUE(seen.answered);
    EXPECT_EQ(listEntries(form, "StatementsListView"), QStringList{QStringLiteral("a")});

    list->item(0)->setText(QStringLiteral("edited again"));
    answerMessageBox(QMessageBox::No, &seen);
    EXPECT_FALSE(statementMove(form, "a", T::Assumption)); // declined type change
    EXPECT_EQ(seen.caption, QStringLiteral("Confirm"));
    EXPECT_EQ(listEntries(form, "StatementsListView"), QStringList{QStringLiteral("a")});
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 1);
}

TEST_F(TKorvaneFormTest, HiddenViewsKeepWhatTheyShowedLast)
{
    reasonConclusionMove(form, "r", T::Assumption, "c", T::Issue);
    form.ShowLineOfArgumentation();
    form.ShowStatements();
    form.ShowArguments();
    const std::vector<TNodeSeen> treeBefore = treeNodes(form);
    form.ShowReasons();
    const QStringList memoBefore = memoLines(form);

    // Makes c unjustified while the reasons view shows.
    exceptionMove(form, "e", T::Assumption, "r", T::Assumption, "c", T::Issue);
    EXPECT_EQ(visibleView(form), QStringLiteral("ReasonsListView"));
    EXPECT_EQ(listEntries(form, "ReasonsListView").size(), 7); // k + 6 entries, k = 1

    EXPECT_EQ(memoLines(form), memoBefore);
    EXPECT_EQ(listEntries(form, "StatementsListView"),
              (QStringList{QStringLiteral("c"), QStringLiteral("r")}));
    const std::vector<TNodeSeen> treeAfter = treeNodes(form);
    ASSERT_EQ(treeAfter.size(), treeBefore.size());
    for (std::size_t i = 0; i < treeAfter.size(); ++i) {
        EXPECT_EQ(treeAfter[i].text, treeBefore[i].text);
        EXPECT_TRUE(sameImage(treeAfter[i].picture, treeBefore[i].picture));
    }
    EXPECT_TRUE(sameImage(treeAfter[0].picture,
                          nodePicture(TJustificationStatus::Justified, T::Issue)));

    form.ShowArguments();
    EXPECT_EQ(treeNodes(form).size(), 3U);
    form.ShowLineOfArgumentation();
    EXPECT_EQ(memoLines(form).size(), 6 + 9);
}

TEST_F(TKorvaneFormTest, ArgumentsViewShowsEveryNodeExpanded)
{
    reasonConclusionMove(form, "r", T::Assumption, "c", T::Issue);
    reasonConclusionMove(form, "q", T::Assumption, "r", T::Assumption);
    QTreeView *view = tree(form);
    const QModelIndex root = view->model()->index(0, 0);
    const QModelIndex middle = view->model()->index(0, 0, root);
    ASSERT_TRUE(middle.isValid());
    EXPECT_TRUE(view->isExpanded(root));
    EXPECT_TRUE(view->isExpanded(middle));
    view->collapse(root);
    form.ShowArguments();
    EXPECT_TRUE(view->isExpanded(view->model()->index(0, 0)));
}

TEST_F(TKorvaneFormTest, NotCoordinatedArgumentsViewShowsTheLinearList)
{
    reasonConclusionMove(form, "r", T::Assumption, "c", T::Issue);
    ASSERT_FALSE(form.lineOfArgumentation().CurrentStage->Arguments.IsEmpty());
    form.setArgumentsView(TArgumentsView::avNotCoordinated);
    form.ShowArguments();
    EXPECT_TRUE(treeNodes(form).empty());
    form.setArgumentsView(TArgumentsView::avCoordinated);
    form.ShowArguments();
    EXPECT_EQ(treeNodes(form).size(), 2U);
}

TEST_F(TKorvaneFormTest, NewKeepsTheMovesAndShowsTheArgumentsView)
{
    statementMove(form, "a", T::Issue);
    form.ShowStatements();
    form.lineOfArgumentation().FileName = "/tmp/some/where.btg";
    form.New1Click();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - New line of argumentation"));
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 1);
    EXPECT_TRUE(form.lineOfArgumentation().Modified);
    EXPECT_EQ(visibleView(form), QStringLiteral("ArgumentsTreeView"));
}

TEST(TKorvaneFormNameTest, NamePartIsTheTextAfterTheLastSeparator)
{
    const struct {
        const char *fileName;
        const char *expected;
    } cases[] = {
        {"New line of argumentation", "New line of argumentation"},
        {"/home/user/lines/first.btg", "first.btg"},
        {"C:\\lines\\second.loa", "second.loa"},
        {"C:third.loa", "third.loa"},
        {"/dir/", ""},
        {"", ""},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.fileName);
        EXPECT_EQ(TKorvaneForm::namePart(each.fileName), each.expected);
    }
}

TEST_F(TKorvaneFormTest, ExitAndTheCloseBoxCloseTheWindow)
{
    form.show();
    ASSERT_TRUE(form.isVisible());
    form.Exit1Click();
    EXPECT_FALSE(form.isVisible());
}

TEST(TKorvaneFormCloseTest, ClosingTheWindowEndsTheProgramWhileTheAboutBoxIsOpen)
{
    const struct {
        const char *name;
        bool byExit;
    } cases[] = {{"Exit", true}, {"close box", false}};
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        TKorvaneForm form;
        form.show();
        form.About1Click();
        ASSERT_TRUE(form.AboutForm()->isVisible());
        // The event loop ends when the last window closes; a guard ends it otherwise.
        bool ended = true;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&ended] {
            ended = false;
            QApplication::exit(1);
        });
        guard.start(30000);
        QTimer::singleShot(0, &form, [&form, &each] {
            if (each.byExit)
                form.Exit1Click();
            else
                form.close();
        });
        QApplication::exec();
        EXPECT_TRUE(ended);
    }
}

} // namespace

namespace {

TEST_F(TKorvaneFormTest, AMoveOverTheWorkBudgetIsReportedAndUndone)
{
    // Steps between every two of seven statements: the trees hold every path through them, so
    // within a few dozen moves one move would build more than a move may.
    std::vector<std::pair<std::string, std::string>> steps;
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j)
            if (i != j)
                steps.emplace_back("n" + std::to_string(i), "n" + std::to_string(j));
    for (std::size_t move = 0; move < steps.size(); ++move) {
        const auto &[reason, conclusion] = steps[move];
        const QStringList before = memoLines(form);
        const int recorded = form.lineOfArgumentation().ArgumentationMoves.Count();
        TBoxSeen seen;
        // Only a failure shows a box here; the move that shows one is the last.
        QTimer::singleShot(0, [&seen] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                seen.answered = true;
                seen.caption = box->windowTitle();
                seen.text = box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        reasonConclusionMove(form, reason, T::Issue, conclusion, T::Issue);
        QApplication::processEvents(); // Runs the check above when no box came.
        if (form.lineOfArgumentation().ArgumentationMoves.Count() == recorded) {
            ASSERT_TRUE(seen.answered) << "move " << move;
            EXPECT_EQ(seen.caption, QStringLiteral("Korvane"));
            EXPECT_TRUE(seen.text.startsWith(QStringLiteral("too large to evaluate: ")));
            EXPECT_EQ(memoLines(form), before);
            return;
        }
    }
    ADD_FAILURE() << "no move passed the budget";
}

} // namespace
