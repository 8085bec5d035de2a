// Full mode driven as a user drives it: menus, dialogs, file dialogs and message boxes.

#include "ui/commandline.h"
#include "ui/diagramview.h"
#include "ui/helpform.h"
#include "ui/korvaneunit.h"
#include "ui/movecontrols.h"
#include "ui/tooltips.h"

#include "dialogue/aifextras.h"
#include "dialogue/textfile.h"
#include "model/explanation.h"
#include "ui/utf8.h"
#include "ui/viewprint.h"
#include "uitest.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHelpEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

// A box of a move dialog and the sentence to type into it.
using TTyped = std::pair<const char *, QString>;

class TFullModeTest : public testing::Test {
protected:
    TFullModeTest()
    {
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QAction *action(const char *name) { return form.findChild<QAction *>(QLatin1String(name)); }
    QString stageText() { return form.findChild<QLabel *>(QStringLiteral("StageLabel"))->text(); }
    QString inFolder(const char *name) const { return folder.filePath(QLatin1String(name)); }

    // Opens the dialog of the Argue menu's item, types the sentences, ticks the warrant box when
    // asked, and presses OK; then runs whatever the test queued for the boxes that follow.
    void argue(const char *item, std::vector<TTyped> typed, bool warrant = false)
    {
        whenModal<QDialog>([typed, warrant](QDialog *dialog) {
            for (const auto &[box, text] : typed) {
                auto *combo = dialog->findChild<TMoveComboBox *>(QLatin1String(box));
                combo->lineEdit()->selectAll();
                typeKeys(combo->lineEdit(), text);
            }
            if (warrant)
                dialog->findChild<QCheckBox *>()->setChecked(true);
            dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
            if (dialog->isVisible()) // refused: the test has seen why
                dialog->reject();
        });
        action(item)->trigger();
    }

    // The worked example through the dialogs: a step, an exception and, ticked, its warrant.
    void workedExampleByHand()
    {
        argue("ReasonConclusion1", {{"ConclusionComboBox", QStringLiteral("c")},
                                    {"ReasonComboBox", QStringLiteral("r")}});
        argue("Exception1",
              {{"ExceptionComboBox", QStringLiteral("e")},
               {"ConclusionComboBox", QStringLiteral("c")},
               {"ReasonComboBox", QStringLiteral("r")}},
              true);
    }

    QStringList treeTexts()
    {
        QStringList texts;
        for (const TNodeSeen &node : treeNodes(form))
            texts.append(QString(node.depth, QLatin1Char(' ')) + node.text);
        return texts;
    }

    QTemporaryDir folder;
    TKorvaneForm form{TKorvaneMode::Full};
};

TEST_F(TFullModeTest, MovesSavedClosedAndOpenedAgainShowTheSameStage)
{
    workedExampleByHand();
    const QStringList tree = treeTexts();
    ASSERT_EQ(tree.size(), 4);
    EXPECT_EQ(stageText(), QStringLiteral("Stage 3 of 3"));
    EXPECT_TRUE(form.isWindowModified());

    // Save on a new line asks for a name.
    const QString path = inFolder("line.btg");
    chooseFile(path);
    action("Save1")->trigger();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - line.btg[*]"));
    EXPECT_FALSE(form.isWindowModified());
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(),
              JoinTextLines(MoveTextLines(form.lineOfArgumentation())));

    action("New1")->trigger(); // nothing unsaved: no question
    EXPECT_TRUE(treeTexts().isEmpty());
    EXPECT_EQ(stageText(), QStringLiteral("Stage 0 of 0"));

    chooseFile(path);
    action("Open1")->trigger();
    EXPECT_EQ(treeTexts(), tree);
    EXPECT_EQ(stageText(), QStringLiteral("Stage 3 of 3"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - line.btg[*]"));
    EXPECT_FALSE(form.isWindowModified());
    // Saved work goes on where it was left, and the opened moves can be undone.
    action("Undo1")->trigger();
    EXPECT_EQ(stageText(), QStringLiteral("Stage 2 of 3"));

    // Save As names the line after the new file and writes the moves up to the stage shown.
    const QString other = inFolder("other.loa");
    chooseFile(other);
    action("SaveAs1")->trigger();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - other.loa[*]"));
    QFile two(other);
    ASSERT_TRUE(two.open(QIODevice::ReadOnly));
    EXPECT_EQ(two.readAll().count("MOVE:"), 2);
}

// What the views say of a status is what korvane-eval --explain says of it.
TEST_F(TFullModeTest, SelectingANodeOrStatementSaysWhy)
{
    argue("ReasonConclusion1", {{"ConclusionComboBox", QStringLiteral("c")},
                                {"ReasonComboBox", QStringLiteral("r")}});
    argue("Exception1", {{"ExceptionComboBox", QStringLiteral("e")},
                         {"ConclusionComboBox", QStringLiteral("c")},
                         {"ReasonComboBox", QStringLiteral("r")}});
    TExplanations why;
    TArgumentationStage &stage = *form.lineOfArgumentation().CurrentStage;
    stage.ExplainStatuses(why);

    auto *tree = form.findChild<QTreeView *>(QStringLiteral("ArgumentsTreeView"));
    action("Arguments1")->trigger();
    const QModelIndex root = tree->model()->index(0, 0);
    const QString expected = qtText(why.Explain(*stage.Arguments[0]).Text);
    EXPECT_TRUE(expected.startsWith(QStringLiteral("Defeated: the step from \"r\" to \"c\"")));
    EXPECT_EQ(root.data(Qt::ToolTipRole).toString(), expected);
    // Shown, the tooltip wraps at a readable width (Qt wraps only rich text).
    const QPoint at = tree->visualRect(root).center();
    QHelpEvent help(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree->viewport(), &help);
    const auto tips = QApplication::topLevelWidgets();
    const auto tip = std::find_if(tips.begin(), tips.end(), [](QWidget *widget) {
        return widget->inherits("QTipLabel") && widget->isVisible();
    });
    ASSERT_NE(tip, tips.end());
    EXPECT_TRUE(static_cast<QLabel *>(*tip)->wordWrap());
    EXPECT_EQ(static_cast<QLabel *>(*tip)->text(), WrappedToolTip(expected));
    tree->setCurrentIndex(root);
    // The bar shows what fits, ending in "…" when that is not all; its tooltip has the whole.
    EXPECT_EQ(form.statusBar()->toolTip(), WrappedToolTip(expected));
    const QString shown = form.statusBar()->currentMessage();
    EXPECT_TRUE(shown == expected
                || (shown.endsWith(QChar(0x2026)) && expected.startsWith(shown.chopped(1))))
        << shown.toStdString();

    // The statements view has columns for type and status.
    action("Statements1")->trigger();
    auto *table = form.findChild<QTreeWidget *>(QStringLiteral("StatementsTableView"));
    ASSERT_TRUE(table->isVisible());
    const QTreeWidgetItem *c = table->topLevelItem(0);
    EXPECT_EQ(QStringList({c->text(0), c->text(1), c->text(2)}),
              QStringList({QStringLiteral("c"), QStringLiteral("Issue"), QStringLiteral("Unjustified")}));
    table->setCurrentItem(table->topLevelItem(0));
    EXPECT_EQ(c->toolTip(0), qtText(why.Explain(*stage.Statements[0]).Text));
    EXPECT_EQ(form.statusBar()->toolTip(), WrappedToolTip(c->toolTip(0)));

    // An exception shows its own type and the status of the statement with its text.
    action("Reasons1")->trigger();
    auto *reasons = form.findChild<QListWidget *>(QStringLiteral("ReasonsListView"));
    EXPECT_FALSE(reasons->findItems(QStringLiteral("e  (Assumption, Justified)"), Qt::MatchExactly).isEmpty());
}

TEST_F(TFullModeTest, HelpShowsTheGuideInTheProgram)
{
    QTest::keyClick(&form, Qt::Key_F1);
    ASSERT_TRUE(form.HelpForm()->isVisible());
    THelpForm &help = *form.HelpForm();
    EXPECT_TRUE(help.browser()->toPlainText().contains(QStringLiteral("Full mode")));

    // The worked example's explanations are quotes, not items of a list.
    for (QTextBlock block = help.browser()->document()->begin(); block.isValid();
         block = block.next()) {
        if (block.text().startsWith(QStringLiteral("Defeated: the step from"))) {
            EXPECT_EQ(block.textList(), nullptr);
        }
    }
    // Contents lead to their headings; Find goes from match to match and round to the first.
    const QList<QTreeWidgetItem *> full =
        help.contents()->findItems(QStringLiteral("Full mode"), Qt::MatchExactly);
    ASSERT_EQ(full.size(), 1);
    help.contents()->setCurrentItem(full.first());
    EXPECT_EQ(help.browser()->textCursor().block().text(), QStringLiteral("Full mode"));
    const QList<QShortcut *> shortcuts = help.findChildren<QShortcut *>();
    const auto find = std::find_if(shortcuts.begin(), shortcuts.end(), [](QShortcut *shortcut) {
        return shortcut->key() == QKeySequence(QKeySequence::Find);
    });
    ASSERT_NE(find, shortcuts.end());
    emit (*find)->activated();
    EXPECT_EQ(help.focusWidget(), help.findBox());
    help.findBox()->setText(QStringLiteral("worked example"));
    QList<int> found;
    while (found.size() < 40 && help.findNext()
           && !found.contains(help.browser()->textCursor().position()))
        found.append(help.browser()->textCursor().position());
    EXPECT_GT(found.size(), 1);
    EXPECT_LT(found.size(), 40);
}

TEST_F(TFullModeTest, UndoAndRedoStepThroughWhatEachDialogMade)
{
    workedExampleByHand();
    const QStringList full = treeTexts();
    action("Undo1")->trigger(); // the exception and its warrant, one dialog
    EXPECT_EQ(stageText(), QStringLiteral("Stage 1 of 3"));
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 1);
    const QStringList one = treeTexts();
    action("Back1")->trigger();
    EXPECT_EQ(stageText(), QStringLiteral("Stage 0 of 3"));
    EXPECT_FALSE(action("Undo1")->isEnabled());
    action("Forward1")->trigger();
    EXPECT_EQ(treeTexts(), one);
    action("Redo1")->trigger();
    EXPECT_EQ(treeTexts(), full);
    EXPECT_FALSE(action("Redo1")->isEnabled());

    // A move made at an earlier stage discards the later ones.
    action("Undo1")->trigger();
    argue("Statement1", {{"StatementComboBox", QStringLiteral("s")}});
    EXPECT_EQ(stageText(), QStringLiteral("Stage 2 of 2"));
    EXPECT_FALSE(action("Redo1")->isEnabled());
}

TEST_F(TFullModeTest, UnsavedMovesAreNotLostWithoutAsking)
{
    argue("Statement1", {{"StatementComboBox", QStringLiteral("s")}});
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Cancel, &seen);
    action("New1")->trigger();
    EXPECT_EQ(seen.text, QStringLiteral("Save changes to New line of argumentation?"));
    EXPECT_EQ(seen.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 1);

    answerMessageBox(QMessageBox::Cancel);
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());

    // Save from the question writes the file before the line goes.
    const QString path = inFolder("kept.btg");
    answerMessageBox(QMessageBox::Save);
    chooseFile(path);
    action("New1")->trigger();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 0);

    argue("Statement1", {{"StatementComboBox", QStringLiteral("t")}});
    answerMessageBox(QMessageBox::Discard);
    EXPECT_TRUE(form.close());
}

TEST_F(TFullModeTest, DialogsRefuseEmptySentencesPlaceholdersAndMissingSteps)
{
    const struct {
        const char *item;
        std::vector<TTyped> typed;
        QString message;
    } cases[] = {
        {"Statement1",
         {{"StatementComboBox", QStringLiteral("<statement>")}},
         QStringLiteral("Type the statement: \"<statement>\" only holds its place.")},
        {"Statement1",
         {{"StatementComboBox", QStringLiteral("   ")}},
         QStringLiteral("Type the statement: a sentence cannot be empty or only blanks.")},
        {"ReasonConclusion1",
         {{"ConclusionComboBox", QStringLiteral("c")}},
         QStringLiteral("Type the reason: \"<reason>\" only holds its place.")},
        {"Exception1",
         {{"ExceptionComboBox", QStringLiteral("e")},
          {"ConclusionComboBox", QStringLiteral("c")},
          {"ReasonComboBox", QStringLiteral("x")}},
         QStringLiteral("There is no step from \"x\" to \"c\". Make it and block it?")},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.message.toStdString());
        TBoxSeen seen;
        answerMessageBox(QMessageBox::No, &seen); // closes a box without No
        argue(each.item, each.typed);
        EXPECT_EQ(seen.text, each.message);
        EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 0);
    }
    // Yes makes the step and blocks it in one move.
    answerMessageBox(QMessageBox::Yes);
    argue("Exception1", cases[3].typed);
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 1);
    EXPECT_EQ(form.lineOfArgumentation().CurrentStage->ReasonConclusions.Count(), 1);
}

TEST_F(TFullModeTest, OpenRefusesWhatIsNotAMoveFileAndKeepsTheLine)
{
    argue("Statement1", {{"StatementComboBox", QStringLiteral("s")}});
    const QString path = inFolder("notes.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("STATEMENT MOVE: \r\n    a\r\n        TYPE: Issue\r\nshopping list\r\n");
    file.close();
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    form.OpenMoveFile(path);
    EXPECT_TRUE(seen.text.startsWith(path + QStringLiteral(":4: expected a move heading")));
    EXPECT_EQ(treeTexts(), QStringList{QStringLiteral("s")});
    EXPECT_EQ(stageText(), QStringLiteral("Stage 1 of 1"));
}

TEST_F(TFullModeTest, OpenReadsAnAifGraphAndWarnsOnceOfWhatItLeftOut)
{
    const QString path = inFolder("graph.txt"); // Known by its contents, not its name.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"( {"nodes": [{"nodeID": "1", "text": "r", "type": "I"},
        {"nodeID": "2", "text": "c", "type": "I"}, {"nodeID": "3", "type": "RA", "scheme": "Expert"},
        {"nodeID": "4", "type": "MA"}, {"nodeID": "5", "text": "e", "type": "I"},
        {"nodeID": "6", "type": "CA", "scheme": "Bias"}],
      "edges": [{"fromID": "1", "toID": "3"}, {"fromID": "3", "toID": "2"},
                {"fromID": "5", "toID": "6"}, {"fromID": "6", "toID": "3"}]})");
    file.close();
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    form.OpenMoveFile(path);
    EXPECT_TRUE(
        seen.text.contains(QStringLiteral("left out: 1 MA node")))
        << seen.text.toStdString();
    EXPECT_EQ(seen.text.count(QStringLiteral("left out")), 1);
    // The schemes the file named show in the reasons view, the step's and the exception's.
    action("Reasons1")->trigger();
    auto *reasons = form.findChild<QListWidget *>(QStringLiteral("ReasonsListView"));
    EXPECT_EQ(reasons->findItems(QStringLiteral("SCHEME: Expert"), Qt::MatchExactly).size(), 1);
    EXPECT_EQ(reasons->findItems(QStringLiteral("e  (Assumption, Justified)  SCHEME: Bias"),
                                 Qt::MatchExactly).size(), 1);
    // And in the diagram, on the step's dot and the exception's line.
    action("Diagram1")->trigger();
    const TDiagramView &view = *form.findChild<TDiagramView *>(QStringLiteral("DiagramView"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.layingOut(); }, 60000));
    const TDiagramSnapshot &shown = view.snapshot();
    EXPECT_EQ(StepToolTip(shown, 0), QStringLiteral("Step from reason to conclusion\nScheme: Expert"));
    EXPECT_EQ(shown.attackSchemes, std::vector<QString>{QStringLiteral("Bias")});
    // The MA-node stays with the line, for Export to write it back.
    ASSERT_NE(form.lineOfArgumentation().AifExtras, nullptr);
    EXPECT_EQ(form.lineOfArgumentation().AifExtras->nodes.size(), 1u);
}

// What Open and Save do with files that are not, or not wholly, the user's moves.
TEST_F(TFullModeTest, SaveNeverWritesOverAnotherFormatAndOpenKeepsWhatFits)
{
    const auto bytesOf = [](const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    // An AIF file opened, then Save, with or without a move since: Save asks for a move file,
    // offered beside it under its name, and adds the filter's extension to a bare name.
    for (const bool moveFirst : {false, true}) {
        const QString aif = inFolder("x.json");
        QFile(aif).remove();
        QFile file(aif);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"({"nodes": [{"nodeID": "1", "text": "a", "type": "I"}], "edges": []})");
        file.close();
        const QByteArray before = bytesOf(aif);
        form.OpenMoveFile(aif);
        if (moveFirst)
            argue("Statement1", {{"StatementComboBox", QStringLiteral("s")}});
        QString offered;
        whenModal<QFileDialog>([&](QFileDialog *dialog) {
            offered = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                ->setText(inFolder(moveFirst ? "moved" : "kept"));
            static_cast<QDialog *>(dialog)->accept();
        });
        action("Save1")->trigger();
        EXPECT_EQ(offered, QStringLiteral("x.loa"));
        EXPECT_EQ(bytesOf(aif), before);
        const QByteArray saved = bytesOf(inFolder(moveFirst ? "moved.loa" : "kept.loa"));
        EXPECT_EQ(saved.count("MOVE:"), moveFirst ? 2 : 1);
        EXPECT_FALSE(form.isWindowModified());
    }

    // A file whose later moves exceed the work budget: the question names the line, Yes opens
    // the moves before it as unsaved work, No opens nothing.
    std::string text = "STATEMENT MOVE: \r\n    first\r\n        TYPE: Issue\r\n";
    for (int reason = 0; reason < 7; ++reason)
        for (int conclusion = 0; conclusion < 7; ++conclusion)
            if (reason != conclusion)
                text += "REASON/CONCLUSION MOVE: \r\n    n" + std::to_string(reason)
                        + "\r\n        TYPE: Issue\r\n    THEREFORE \r\n    n"
                        + std::to_string(conclusion) + "\r\n        TYPE: Issue\r\n";
    const QString large = inFolder("large.loa");
    WriteFileAtomically(large.toStdString(), text);
    for (const bool agree : {false, true}) {
        const int shown = form.lineOfArgumentation().ArgumentationMoves.Count();
        TBoxSeen question;
        answerMessageBox(agree ? QMessageBox::Yes : QMessageBox::No, &question);
        form.OpenMoveFile(large);
        EXPECT_TRUE(question.text.startsWith(large + QLatin1Char(':'))) << question.text.toStdString();
        EXPECT_TRUE(question.text.contains(QStringLiteral("too large to evaluate")));
        EXPECT_TRUE(question.text.contains(QStringLiteral("nothing is opened")));
        const int made = form.lineOfArgumentation().ArgumentationMoves.Count();
        if (agree) {
            EXPECT_GT(made, 1);
            EXPECT_TRUE(form.isWindowModified());
            EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - large.loa[*]"));
        } else {
            EXPECT_EQ(made, shown);
        }
    }

    // Open offers every format it reads and the examples' .txt files; Save As the move files.
    EXPECT_EQ(form.OpenDialog1()->nameFilters(),
              (QStringList{QStringLiteral("Korvane moves (*.loa *.btg *.txt)"),
                           QStringLiteral("AIF (*.json)"), QStringLiteral("Argdown (*.argdown)"),
                           QStringLiteral("All files (*)")}));
    EXPECT_EQ(form.SaveDialog1()->nameFilters().size(), 2);
}

// What a screen reader and a keyboard user meet: the stage read out, the chosen view taking the
// focus and marked in the View menu, an access key on every button.
TEST_F(TFullModeTest, ViewsTakeTheFocusAndEveryButtonHasAnAccessKey)
{
    argue("Statement1", {{"StatementComboBox", QStringLiteral("s")}});
    auto *label = form.findChild<QLabel *>(QStringLiteral("StageLabel"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name),
              QStringLiteral("Stage 1 of 1"));
    const struct {
        const char *item, *view;
    } views[] = {{"Lineofargumentation1", "LineOfArgumentationMemo"},
                 {"Statements1", "StatementsTableView"},
                 {"Reasons1", "ReasonsListView"},
                 {"Diagram1", "DiagramView"},
                 {"Arguments1", "ArgumentsTreeView"}};
    for (const auto &each : views) {
        action(each.item)->trigger();
        auto *view = form.findChild<QWidget *>(QLatin1String(each.view));
        QWidget *focus = form.focusWidget();
        EXPECT_TRUE(focus && (focus == view || view->isAncestorOf(focus))) << each.item;
        for (const auto &other : views)
            EXPECT_EQ(action(other.item)->isChecked(), &other == &each) << other.item;
    }
    for (QPushButton *button : form.findChildren<QPushButton *>()) {
        if (button->isVisibleTo(&form)) {
            EXPECT_TRUE(button->text().contains(QLatin1Char('&')))
                << button->objectName().toStdString();
        }
    }
}

// A text view prints all it holds, as text over as many pages as it takes.
TEST_F(TFullModeTest, PrintingATextViewPrintsItsWholeText)
{
    workedExample(form);
    form.ShowArguments();
    const QStringList tree = ViewText(*form.findChild<QTreeView *>(QStringLiteral("ArgumentsTreeView")))
                                 .split(QLatin1Char('\n'));
    ASSERT_EQ(tree.size(), 4);
    EXPECT_EQ(tree[1], QStringLiteral("    r  (Assumption, justified)"));

    for (int index = 0; index < 150; ++index)
        statementMove(form, "statement " + std::to_string(index), TStatementType::Issue);
    form.ShowLineOfArgumentation();
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(inFolder("memo.pdf"));
    form.PrintView(printer);
    QFile pdf(inFolder("memo.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    // 460 lines of text: more pages than one screenful would give.
    EXPECT_GT(pdf.readAll().count("/Type /Page\n"), 5);
}

// The window's size and view come back in the next run.
TEST(FullModeSettingsTest, TheWindowComesBackAsItWasLeft)
{
    {
        TKorvaneForm first(TKorvaneMode::Full);
        first.show();
        first.resize(777, 555);
        first.Reasons1Click();
        first.close();
    }
    TKorvaneForm second(TKorvaneMode::Full);
    EXPECT_EQ(second.size(), QSize(777, 555));
    EXPECT_EQ(visibleView(second), QStringLiteral("ReasonsListView"));
    TKorvaneForm plain; // the default mode keeps its own geometry
    EXPECT_NE(plain.size(), QSize(777, 555));
}

TEST_F(TFullModeTest, OpenReadsAnArgdownMapByItsName)
{
    const QString path = inFolder("map.argdown");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# Heading\n\n[r]: r #assumption\n  +> [c]: c\n");
    file.close();
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    form.OpenMoveFile(path);
    EXPECT_TRUE(seen.text.contains(QStringLiteral("left out: 1 heading"))) << seen.text.toStdString();
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 3);
}

TEST_F(TFullModeTest, ALongReplayShowsABusyIndicatorAndCancelKeepsTheLine)
{
    // A step between every two of seven statements: the last moves take seconds each.
    std::vector<std::string> lines;
    for (int reason = 0; reason < 7; ++reason)
        for (int conclusion = 0; conclusion < 7; ++conclusion)
            if (reason != conclusion)
                for (const std::string &line :
                     {std::string("REASON/CONCLUSION MOVE: "), "    n" + std::to_string(reason),
                      std::string("        TYPE: Issue"), std::string("    THEREFORE "),
                      "    n" + std::to_string(conclusion), std::string("        TYPE: Issue")})
                    lines.push_back(line);
    const QString path = inFolder("complete.btg");
    WriteFileAtomically(path.toStdString(), JoinTextLines(lines));

    bool indicatorSeen = false;
    whenModal<QProgressDialog>([&](QProgressDialog *indicator) {
        indicatorSeen = true;
        indicator->findChild<QPushButton *>()->click();
    });
    form.OpenMoveFile(path);
    EXPECT_TRUE(indicatorSeen);
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 0);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvane - New line of argumentation[*]"));
}

TEST_F(TFullModeTest, TheWindowNeverShrinksTillThingsOverlapAndLongLinesScroll)
{
    form.resize(50, 50);
    QCoreApplication::processEvents();
    std::vector<QRect> buttons;
    for (QPushButton *button : form.findChildren<QPushButton *>()) {
        if (!button->isVisibleTo(&form))
            continue;
        const QRect place(button->mapTo(&form, QPoint(0, 0)), button->size());
        EXPECT_TRUE(form.rect().contains(place)) << button->objectName().toStdString();
        for (const QRect &other : buttons)
            EXPECT_FALSE(place.intersects(other)) << button->objectName().toStdString();
        buttons.push_back(place);
    }
    EXPECT_EQ(buttons.size(), 8U); // Three moves, five views.

    argue("Statement1", {{"StatementComboBox", QString(300, QLatin1Char('w'))}});
    auto *tree = form.findChild<QTreeView *>(QStringLiteral("ArgumentsTreeView"));
    QCoreApplication::processEvents();
    EXPECT_GT(tree->horizontalScrollBar()->maximum(), 0);
}

TEST(CommandLineTest, OptionsFilesAndMistakes)
{
    const struct {
        QStringList arguments;
        bool full, help;
        QString file;
        bool error;
    } cases[] = {
        {{}, false, false, {}, false},
        {{QStringLiteral("--full")}, true, false, {}, false},
        {{QStringLiteral("--full"), QStringLiteral("a.btg")},
         true,
         false,
         QStringLiteral("a.btg"),
         false},
        {{QStringLiteral("--full"), QStringLiteral("--"), QStringLiteral("-x")},
         true,
         false,
         QStringLiteral("-x"),
         false},
        {{QStringLiteral("--help")}, false, true, {}, false},
        {{QStringLiteral("a.btg")}, false, false, QStringLiteral("a.btg"), true},
        {{QStringLiteral("--fast")}, false, false, {}, true},
        {{QStringLiteral("--full"), QStringLiteral("a"), QStringLiteral("b")},
         true,
         false,
         QStringLiteral("a"),
         true},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.arguments.join(QLatin1Char(' ')).toStdString());
        const TCommandLine line = ParseCommandLine(each.arguments);
        EXPECT_EQ(line.full, each.full);
        EXPECT_EQ(line.help, each.help);
        EXPECT_EQ(line.file, each.file);
        EXPECT_EQ(!line.error.isEmpty(), each.error);
        if (each.error) {
            EXPECT_TRUE(line.error.endsWith(KorvaneUsage));
        }
    }
}

} // namespace
