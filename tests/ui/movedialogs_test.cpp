#include "ui/exceptionunit.h"
#include "ui/korvaneunit.h"
#include "ui/movecontrols.h"
#include "ui/movesink.h"
#include "ui/reasonconclusionunit.h"
#include "ui/statementunit.h"
#include "ui/statusicons.h"

#include "uitest.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

using T = TStatementType;
using J = TJustificationStatus;

class TScriptedBoxes : public TMessageBoxes {
public:
    void Warning(const std::string &text) override { warnings.push_back(text); }
    bool Confirm(const std::string &) override { return true; }

    std::vector<std::string> warnings;
};

// What one Make call was handed, copied at the call.
struct TMoveSeen {
    std::string kind;
    // The statement; or the reason, the conclusion and then the exceptions of the step.
    std::vector<std::pair<std::string, T>> sentences;
    int byReasonConclusionMove = -1;
    bool dialogOnScreen = false;
};

// Stands in for the main window: records each move, then makes it on a line of its own.
class TRecordingSink : public TMoveSink {
public:
    TRecordingSink()
        : line(boxes)
    {
    }

    TLineOfArgumentation &lineOfArgumentation() override { return line; }
    bool MakeStatementMove(TStatement *statement) override
    {
        seen.push_back({"statement", {{statement->Text, statement->StatementType}}, -1, onScreen()});
        return line.DoStatementMove(statement);
    }
    void MakeReasonConclusionMove(TReasonConclusion *step) override
    {
        seen.push_back(stepSeen("reason/conclusion", *step));
        line.DoReasonConclusionMove(step);
    }
    void MakeExceptionMove(TReasonConclusion *step) override
    {
        seen.push_back(stepSeen("exception", *step));
        line.DoExceptionMove(step);
    }

    // Puts a statement into the current stage, as a move made earlier would have.
    void holds(const std::string &text, T type)
    {
        TStatement *statement = line.Arena().NewStatement();
        statement->Text = text;
        statement->StatementType = type;
        ASSERT_TRUE(line.DoStatementMove(statement));
    }

    TScriptedBoxes boxes;
    TLineOfArgumentation line;
    QWidget *dialog = nullptr;
    std::vector<TMoveSeen> seen;

private:
    bool onScreen() const { return dialog && dialog->isVisible(); }
    TMoveSeen stepSeen(const char *kind, const TReasonConclusion &step) const
    {
        TMoveSeen move{kind,
                       {{step.Reason->Text, step.Reason->StatementType},
                        {step.Conclusion->Text, step.Conclusion->StatementType}},
                       step.ByReasonConclusionMove,
                       onScreen()};
        for (const TStatement *exception : step.Exceptions)
            move.sentences.emplace_back(exception->Text, exception->StatementType);
        return move;
    }
};

enum class TKind { Statement, ReasonConclusion, Exception };

template <typename W>
W *child(const QWidget *parent, const char *name)
{
    auto *widget = parent->findChild<W *>(QLatin1String(name));
    if (!widget)
        throw std::logic_error(std::string("no child ") + name);
    return widget;
}

// One dialog on a recording sink, shown as the main window shows it (which runs FormShow).
class TDialogHarness {
public:
    explicit TDialogHarness(TKind kind)
    {
        switch (kind) {
        case TKind::Statement:
            m_dialog = std::make_unique<TStatementForm>(sink, nullptr);
            break;
        case TKind::ReasonConclusion:
            m_dialog = std::make_unique<TReasonConclusionForm>(sink, nullptr);
            break;
        case TKind::Exception:
            m_dialog = std::make_unique<TExceptionForm>(sink, nullptr);
            break;
        }
        sink.dialog = m_dialog.get();
    }

    QDialog *open()
    {
        m_dialog->show();
        m_dialog->activateWindow();
        QApplication::processEvents();
        return m_dialog.get();
    }
    TMoveComboBox *box(const char *name) const { return child<TMoveComboBox>(m_dialog.get(), name); }
    TTypeRadioGroup *group(const char *name) const
    {
        return child<TTypeRadioGroup>(m_dialog.get(), name);
    }
    // Types into the box as a user does after entering it: the typing replaces the text.
    void type(const char *boxName, const QString &text) const
    {
        TMoveComboBox *target = box(boxName);
        target->setFocus(Qt::TabFocusReason);
        target->selectAllText();
        typeKeys(target, text);
    }
    void pressEnter(const char *boxName) const { QTest::keyClick(box(boxName), Qt::Key_Return); }
    QDialog *dialog() const { return m_dialog.get(); }

    TRecordingSink sink; // Declared first: outlives the dialog.

private:
    std::unique_ptr<QDialog> m_dialog;
};

// The first box of each dialog: the one the focus goes to when it opens.
const char *firstBox(TKind kind)
{
    switch (kind) {
    case TKind::Statement:
        return "StatementComboBox";
    case TKind::ReasonConclusion:
        return "ConclusionComboBox";
    case TKind::Exception:
        return "ExceptionComboBox";
    }
    return "";
}

TEST(TMoveDialogsTest, ShowTheirCaptionsPlaceholdersAndDefaultTypesOnAnEmptyStage)
{
    const struct {
        TKind kind;
        const char *caption;
        std::vector<std::pair<const char *, const char *>> labels;
        std::vector<std::pair<const char *, const char *>> boxes; // name, placeholder
        std::vector<std::tuple<const char *, const char *, int>> groups; // name, title, index
        const char *checkBox;
        const char *checkBoxCaption;
    } cases[] = {
        {TKind::Statement,
         "Statement",
         {{"Label1", "Type or choose a statement:"}},
         {{"StatementComboBox", "<statement>"}},
         {{"StatementTypeRadioGroup", "&Statement type", 0}},
         nullptr,
         nullptr},
        {TKind::ReasonConclusion,
         "Reason/conclusion",
         {{"Label2", "Type or choose a conclusion:"}, {"Label1", "Type or choose a reason:"}},
         {{"ConclusionComboBox", "<conclusion>"}, {"ReasonComboBox", "<reason>"}},
         {{"ConclusionTypeRadioGroup", "&Conclusion type", 0},
          {"ReasonTypeRadioGroup", "&Reason type", 1}},
         "AddStepWarrantAsIssueCheckBox",
         "Add step &warrant as issue"},
        {TKind::Exception,
         "Exception",
         {{"Label2", "Type or choose an exception:"},
          {"Label5", "Type or choose a conclusion:"},
          {"Label4", "Type or choose a reason:"}},
         {{"ExceptionComboBox", "<exception>"},
          {"ConclusionComboBox", "<conclusion>"},
          {"ReasonComboBox", "<reason>"}},
         {{"ExceptionTypeRadioGroup", "&Exception type", 1},
          {"ConclusionTypeRadioGroup", "&Conclusion type", 0},
          {"ReasonTypeRadioGroup", "&Reason type", 1}},
         "AddExceptionWarrantAsIssueCheckBox",
         "Add exception &warrant as issue"},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.caption);
        TDialogHarness harness(each.kind);
        QDialog *dialog = harness.open();
        EXPECT_EQ(dialog->windowTitle(), QLatin1String(each.caption));
        for (const auto &[name, text] : each.labels)
            EXPECT_EQ(child<QLabel>(dialog, name)->text(), QLatin1String(text)) << name;
        for (const auto &[name, placeholder] : each.boxes) {
            SCOPED_TRACE(name);
            TMoveComboBox *box = harness.box(name);
            EXPECT_TRUE(box->isEditable());
            EXPECT_EQ(box->currentText(), QLatin1String(placeholder));
            EXPECT_TRUE(box->entries().isEmpty());
            EXPECT_FALSE(box->accessibleName().isEmpty());
        }
        for (const auto &[name, title, index] : each.groups) {
            EXPECT_EQ(harness.group(name)->title(), QLatin1String(title)) << name;
            EXPECT_EQ(harness.group(name)->itemIndex(), index) << name;
        }
        auto *ok = child<QPushButton>(dialog, "OKButton");
        EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
        EXPECT_TRUE(ok->isDefault());
        if (each.checkBox) {
            auto *check = child<QCheckBox>(dialog, each.checkBox);
            EXPECT_EQ(check->text(), QLatin1String(each.checkBoxCaption));
            EXPECT_TRUE(check->isHidden());
            EXPECT_FALSE(check->isChecked());
        }
        // The focus is on the first box with its whole text selected, so typing replaces it.
        TMoveComboBox *first = harness.box(firstBox(each.kind));
        EXPECT_EQ(dialog->focusWidget(), first);
        EXPECT_EQ(first->lineEdit()->selectedText(), first->currentText());
    }
}

TEST(TMoveDialogsTest, TabVisitsTheControlsInOrderAndEnteringABoxSelectsItsText)
{
    const struct {
        TKind kind;
        std::vector<const char *> order;
    } cases[] = {
        {TKind::Statement, {"StatementComboBox", "StatementTypeRadioGroup", "OKButton"}},
        {TKind::ReasonConclusion,
         {"ConclusionComboBox", "ReasonComboBox", "ConclusionTypeRadioGroup",
          "ReasonTypeRadioGroup", "OKButton"}},
        {TKind::Exception,
         {"ExceptionComboBox", "ConclusionComboBox", "ReasonComboBox", "ExceptionTypeRadioGroup",
          "ConclusionTypeRadioGroup", "ReasonTypeRadioGroup", "OKButton"}},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.order.front());
        TDialogHarness harness(each.kind);
        QDialog *dialog = harness.open();
        // Radio items count as their group; the walk stops when it is back at the start.
        QStringList visited;
        for (int step = 0; step < 20; ++step) {
            QWidget *focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            if (auto *box = qobject_cast<TMoveComboBox *>(focus)) {
                EXPECT_EQ(box->lineEdit()->selectedText(), box->currentText()) << step;
            }
            const QString name = qobject_cast<QRadioButton *>(focus)
                                     ? focus->parentWidget()->objectName()
                                     : focus->objectName();
            if (step > 0 && name == visited.front())
                break;
            if (visited.isEmpty() || visited.back() != name)
                visited.append(name);
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QStringList expected;
        for (const char *name : each.order)
            expected.append(QLatin1String(name));
        EXPECT_EQ(visited, expected);
        dialog->reject();
    }
}

TEST(TMoveDialogsTest, TypeFollowsAnExistingStatementOnlyWhereTheBoxFollowsIt)
{
    const struct {
        TKind kind;
        const char *box;
        const char *group;
        bool follows;
    } cases[] = {
        {TKind::Statement, "StatementComboBox", "StatementTypeRadioGroup", true},
        {TKind::ReasonConclusion, "ReasonComboBox", "ReasonTypeRadioGroup", true},
        {TKind::ReasonConclusion, "ConclusionComboBox", "ConclusionTypeRadioGroup", false},
        {TKind::Exception, "ExceptionComboBox", "ExceptionTypeRadioGroup", true},
        {TKind::Exception, "ReasonComboBox", "ReasonTypeRadioGroup", true},
        {TKind::Exception, "ConclusionComboBox", "ConclusionTypeRadioGroup", false},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(std::string(each.box) + " of " + firstBox(each.kind));
        TDialogHarness harness(each.kind);
        harness.sink.holds("an issue", T::Issue);
        harness.sink.holds("an assumption", T::Assumption);
        harness.open();
        TTypeRadioGroup *group = harness.group(each.group);

        group->setItemIndex(1);
        harness.type(each.box, QStringLiteral("an issue"));
        EXPECT_EQ(group->itemIndex(), each.follows ? 0 : 1);
        // One more letter matches nothing: the selection stays.
        typeKeys(harness.box(each.box), QStringLiteral("s"));
        EXPECT_EQ(group->itemIndex(), each.follows ? 0 : 1);
        // Letter case counts.
        harness.type(each.box, QStringLiteral("An assumption"));
        EXPECT_EQ(group->itemIndex(), each.follows ? 0 : 1);

        // Picking an entry from the list is a change like typing.
        TMoveComboBox *box = harness.box(each.box);
        box->setCurrentIndex(box->findText(QStringLiteral("an assumption")));
        EXPECT_EQ(box->currentText(), QStringLiteral("an assumption"));
        EXPECT_EQ(group->itemIndex(), 1);
        group->setItemIndex(1);
        box->setCurrentIndex(box->findText(QStringLiteral("an issue")));
        EXPECT_EQ(group->itemIndex(), each.follows ? 0 : 1);

        harness.dialog()->reject();
        EXPECT_TRUE(harness.sink.seen.empty());
    }
}

TEST(TMoveDialogsTest, OKHandsOverTheTextsExactlyAsTheyStand)
{
    const struct {
        const char *name;
        TKind kind;
        std::vector<std::pair<const char *, QString>> typed;
        bool byEnter;
        TMoveSeen expected;
    } cases[] = {
        {"untouched statement",
         TKind::Statement,
         {},
         false,
         {"statement", {{"<statement>", T::Issue}}, -1, true}},
        {"blanks kept",
         TKind::Statement,
         {{"StatementComboBox", QStringLiteral("  two  blanks ")}},
         true,
         {"statement", {{"  two  blanks ", T::Issue}}, -1, true}},
        {"empty text",
         TKind::Statement,
         {{"StatementComboBox", QString()}},
         true,
         {"statement", {{"", T::Issue}}, -1, true}},
        {"non-ASCII as UTF-8",
         TKind::Statement,
         {{"StatementComboBox", QString::fromUtf16(u"caf\u00e9 \u20ac")}},
         true,
         {"statement", {{"caf\xc3\xa9 \xe2\x82\xac", T::Issue}}, -1, true}},
        {"untouched step",
         TKind::ReasonConclusion,
         {},
         true,
         {"reason/conclusion",
          {{"<reason>", T::Assumption}, {"<conclusion>", T::Issue}},
          1,
          true}},
        {"typed step",
         TKind::ReasonConclusion,
         {{"ConclusionComboBox", QStringLiteral("c")}, {"ReasonComboBox", QStringLiteral("r ")}},
         false,
         {"reason/conclusion", {{"r ", T::Assumption}, {"c", T::Issue}}, 1, true}},
        {"untouched exception",
         TKind::Exception,
         {},
         true,
         {"exception",
          {{"<reason>", T::Assumption}, {"<conclusion>", T::Issue}, {"<exception>", T::Assumption}},
          0,
          true}},
        {"typed exception",
         TKind::Exception,
         {{"ExceptionComboBox", QStringLiteral("e")},
          {"ConclusionComboBox", QStringLiteral("c")},
          {"ReasonComboBox", QStringLiteral("r")}},
         false,
         {"exception", {{"r", T::Assumption}, {"c", T::Issue}, {"e", T::Assumption}}, 0, true}},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        TDialogHarness harness(each.kind);
        QDialog *dialog = harness.open();
        for (const auto &[box, text] : each.typed) {
            harness.type(box, text);
            if (text.isEmpty())
                QTest::keyClick(harness.box(box), Qt::Key_Backspace);
        }
        if (each.byEnter)
            harness.pressEnter(firstBox(each.kind));
        else
            child<QPushButton>(dialog, "OKButton")->click();

        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        ASSERT_EQ(harness.sink.seen.size(), 1U); // the hidden warrant boxes add nothing
        const TMoveSeen &seen = harness.sink.seen[0];
        EXPECT_EQ(seen.kind, each.expected.kind);
        EXPECT_EQ(seen.sentences, each.expected.sentences);
        EXPECT_EQ(seen.byReasonConclusionMove, each.expected.byReasonConclusionMove);
        EXPECT_TRUE(seen.dialogOnScreen); // the move is made before the dialog hides
        EXPECT_EQ(harness.sink.line.ArgumentationMoves.Count(), 1);
    }
}

TEST(TMoveDialogsTest, TickedWarrantBoxAddsTheWarrantAsASecondMove)
{
    const struct {
        TKind kind;
        const char *checkBox;
        std::string warrant;
    } cases[] = {
        {TKind::ReasonConclusion, "AddStepWarrantAsIssueCheckBox", StepWarrant("r", "c")},
        {TKind::Exception, "AddExceptionWarrantAsIssueCheckBox", ExceptionWarrant("e", "r", "c")},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.checkBox);
        TDialogHarness harness(each.kind);
        QDialog *dialog = harness.open();
        if (each.kind == TKind::Exception)
            harness.type("ExceptionComboBox", QStringLiteral("e"));
        harness.type("ConclusionComboBox", QStringLiteral("c"));
        harness.type("ReasonComboBox", QStringLiteral("r"));
        auto *check = child<QCheckBox>(dialog, each.checkBox);
        check->setChecked(true);
        harness.pressEnter("ReasonComboBox");

        ASSERT_EQ(harness.sink.seen.size(), 2U);
        EXPECT_EQ(harness.sink.seen[1].kind, "statement");
        EXPECT_EQ(harness.sink.seen[1].sentences,
                  (std::vector<std::pair<std::string, T>>{{each.warrant, T::Issue}}));
        EXPECT_TRUE(harness.sink.seen[1].dialogOnScreen);
        EXPECT_EQ(harness.sink.line.ArgumentationMoves.Count(), 2);

        harness.open();
        EXPECT_FALSE(check->isChecked());
        EXPECT_TRUE(check->isHidden());
    }
}

TEST(TMoveDialogsTest, ReopeningResetsAllButTheStatementDialog)
{
    const struct {
        TKind kind;
        std::vector<std::tuple<const char *, const char *, int>> typed; // box, text, group index
        std::vector<std::tuple<const char *, const char *, int>> reopened;
    } cases[] = {
        {TKind::Statement,
         {{"StatementComboBox", "first", 1}},
         {{"StatementComboBox", "first", 1}}},
        {TKind::ReasonConclusion,
         {{"ConclusionComboBox", "c", 1}, {"ReasonComboBox", "r", 0}},
         {{"ConclusionComboBox", "<conclusion>", 0}, {"ReasonComboBox", "<reason>", 1}}},
        {TKind::Exception,
         {{"ExceptionComboBox", "e", 0}, {"ConclusionComboBox", "c", 1}, {"ReasonComboBox", "r", 0}},
         {{"ExceptionComboBox", "<exception>", 1},
          {"ConclusionComboBox", "<conclusion>", 0},
          {"ReasonComboBox", "<reason>", 1}}},
    };
    const auto groupOf = [](const char *box) {
        const std::string name(box);
        return name.substr(0, name.size() - std::string("ComboBox").size()) + "TypeRadioGroup";
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(firstBox(each.kind));
        TDialogHarness harness(each.kind);
        harness.open();
        for (const auto &[box, text, index] : each.typed) {
            harness.type(box, QLatin1String(text));
            harness.group(groupOf(box).c_str())->item(index)->click();
        }
        harness.pressEnter(firstBox(each.kind));
        ASSERT_EQ(harness.sink.seen.size(), 1U);

        harness.open();
        for (const auto &[box, text, index] : each.reopened) {
            SCOPED_TRACE(box);
            EXPECT_EQ(harness.box(box)->currentText(), QLatin1String(text));
            EXPECT_EQ(harness.group(groupOf(box).c_str())->itemIndex(), index);
            // Refilled from the stage the move left.
            EXPECT_EQ(harness.box(box)->entries().size(),
                      harness.sink.line.CurrentStage->Statements.Count());
        }
    }
}

TEST(TMoveDialogsTest, EntriesAreTheStageStatementsSorted)
{
    TDialogHarness harness(TKind::Exception);
    for (const char *text : {"zebra", "Apple", "apple pie", "<reason>"})
        harness.sink.holds(text, T::Issue);
    harness.open();
    for (const char *box : {"ExceptionComboBox", "ConclusionComboBox", "ReasonComboBox"}) {
        EXPECT_EQ(harness.box(box)->entries(),
                  (QStringList{QStringLiteral("<reason>"), QStringLiteral("Apple"),
                               QStringLiteral("apple pie"), QStringLiteral("zebra")}))
            << box;
    }
    EXPECT_EQ(harness.box("ReasonComboBox")->currentText(), QStringLiteral("<reason>"));
}

TEST(TMoveDialogsTest, CloseBoxAndEscapeMakeNoMove)
{
    for (TKind kind : {TKind::Statement, TKind::ReasonConclusion, TKind::Exception}) {
        SCOPED_TRACE(firstBox(kind));
        TDialogHarness harness(kind);
        QDialog *dialog = harness.open();
        harness.type(firstBox(kind), QStringLiteral("typed"));
        QTest::keyClick(harness.box(firstBox(kind)), Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
        harness.open();
        dialog->close();
        EXPECT_FALSE(dialog->isVisible());
        // Alt+O clicks OK a moment later; closed by then, the dialog makes no move.
        harness.open();
        QTest::keyClick(harness.box(firstBox(kind)), Qt::Key_O, Qt::AltModifier);
        QTest::keyClick(harness.box(firstBox(kind)), Qt::Key_Escape);
        QTest::qWait(400);
        EXPECT_TRUE(harness.sink.seen.empty());
        EXPECT_EQ(harness.sink.line.ArgumentationMoves.Count(), 0);
    }
}

// The dialogs as the main window opens them, answered by typing and Enter.
class TKorvaneFormDialogsTest : public testing::Test {
protected:
    template <typename Dialog>
    void move(void (TKorvaneForm::*start)(), const std::vector<std::pair<const char *, QString>> &typed,
              const std::vector<std::pair<const char *, int>> &types = {})
    {
        bool opened = false;
        whenModal<Dialog>([&](Dialog *dialog) {
            opened = true;
            for (const auto &[box, text] : typed) {
                auto *target = child<TMoveComboBox>(dialog, box);
                target->setFocus(Qt::TabFocusReason);
                target->selectAllText();
                typeKeys(target, text);
            }
            for (const auto &[group, index] : types)
                child<TTypeRadioGroup>(dialog, group)->item(index)->click();
            // The dialog's own focus widget: the window may not be active yet.
            QWidget *focus = dialog->focusWidget();
            QTest::keyClick(focus ? focus : dialog, Qt::Key_Return);
        });
        (form.*start)();
        EXPECT_TRUE(opened);
    }

    TKorvaneForm form;
};

TEST_F(TKorvaneFormDialogsTest, LineMessageBoxAppearsOverTheOpenDialog)
{
    ASSERT_TRUE(statementMove(form, "a", T::Issue));
    form.ShowStatements();
    bool dialogShown = false;
    TBoxSeen seen;
    whenModal<QMessageBox>([&](QMessageBox *box) {
        dialogShown = form.StatementForm()->isVisible();
        seen.caption = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    });
    move<TStatementForm>(&TKorvaneForm::StatementButtonClick, {{"StatementComboBox", QStringLiteral("a")}},
                         {{"StatementTypeRadioGroup", 0}});
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(seen.caption, QStringLiteral("Warning"));
    EXPECT_FALSE(form.StatementForm()->isVisible());
    EXPECT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 1);
    EXPECT_EQ(listEntries(form, "StatementsListView"), QStringList{QStringLiteral("a")});
}

TEST_F(TKorvaneFormDialogsTest, WorkedExampleThroughTheDialogs)
{
    const QString warrant = QString::fromStdString(ExceptionWarrant("e", "r", "c"));
    move<TReasonConclusionForm>(&TKorvaneForm::ReasonConclusionButtonClick,
                                {{"ConclusionComboBox", QStringLiteral("c")},
                                 {"ReasonComboBox", QStringLiteral("r")}});
    move<TExceptionForm>(&TKorvaneForm::Exception1Click,
                         {{"ExceptionComboBox", QStringLiteral("e")},
                          {"ConclusionComboBox", QStringLiteral("c")},
                          {"ReasonComboBox", QStringLiteral("r")}});
    // The exception blocks the step: c is unjustified until its warrant is stated.
    const std::vector<TNodeSeen> blocked = treeNodes(form);
    const auto c = std::find_if(blocked.begin(), blocked.end(),
                                [](const TNodeSeen &seen) { return seen.text == QStringLiteral("c"); });
    ASSERT_NE(c, blocked.end());
    EXPECT_TRUE(sameImage(c->picture, TStatusIcons::nodeImage(J::Unjustified, T::Issue)));
    move<TStatementForm>(&TKorvaneForm::Statement1Click, {{"StatementComboBox", warrant}},
                         {{"StatementTypeRadioGroup", 0}});

    ASSERT_EQ(form.lineOfArgumentation().ArgumentationMoves.Count(), 3);
    const struct {
        int depth;
        QString text;
        J status;
        T type;
    } expected[] = {
        {0, QStringLiteral("c"), J::Justified, T::Issue},
        {1, QStringLiteral("r"), J::Justified, T::Assumption},
        {0, QStringLiteral("e"), J::Justified, T::Assumption},
        {0, warrant, J::Undecided, T::Issue},
    };
    const std::vector<TNodeSeen> nodes = treeNodes(form);
    ASSERT_EQ(nodes.size(), std::size(expected));
    // Roots come in the order the stage keeps them; each node is found by depth and text.
    for (const auto &node : expected) {
        SCOPED_TRACE(node.text.toStdString());
        const auto found = std::find_if(nodes.begin(), nodes.end(), [&](const TNodeSeen &seen) {
            return seen.depth == node.depth && seen.text == node.text;
        });
        ASSERT_NE(found, nodes.end());
        EXPECT_TRUE(sameImage(found->picture, TStatusIcons::nodeImage(node.status, node.type)));
    }
}

} // namespace
