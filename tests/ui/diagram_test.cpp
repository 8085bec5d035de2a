// The diagram: what it draws of a stage, how it follows the line in full mode, and what Export
// and Print write.

#include "ui/diagramexport.h"
#include "ui/diagramview.h"
#include "ui/korvaneunit.h"
#include "ui/utf8.h"

#include "dialogue/aifwriter.h"
#include "dialogue/argdownwriter.h"
#include "dialogue/dotgraph.h"
#include "dialogue/movereader.h"
#include "dialogue/replay.h"
#include "dialogue/stagegraph.h"
#include "dialogue/textfile.h"
#include "model/arena.h"
#include "model/argumentationstage.h"
#include "model/explanation.h"
#include "tests/reference/lines.h"
#include "tests/reference/widemap.h"
#include "uitest.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QTreeWidget>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QImage>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <tuple>
#include <memory>
#include <string>
#include <vector>

namespace {

// A line made of moves, every question answered Yes.
struct TLine {
    TReplayBoxes boxes;
    TLineOfArgumentation line{boxes};
    const TArgumentationStage &stage() const { return *line.CurrentStage; }
};

std::unique_ptr<TLine> randomLine(unsigned seed)
{
    auto made = std::make_unique<TLine>();
    lines::TLineMaker maker(seed);
    for (int moves = maker.length(); moves > 0; --moves)
        lines::play(made->line, maker.next());
    return made;
}

std::unique_ptr<TLine> exampleLine(const QString &path)
{
    auto made = std::make_unique<TLine>();
    const std::string name = path.toStdString();
    ReplayMoves(made->line, ReadMoveFile(ReadFileBytes(name), name), name);
    return made;
}

std::map<TDiagramItem, int> itemCounts(const QGraphicsScene &scene)
{
    std::map<TDiagramItem, int> counts;
    for (const QGraphicsItem *item : scene.items()) {
        if (const QVariant kind = item->data(DiagramItemKind); kind.isValid())
            ++counts[static_cast<TDiagramItem>(kind.toInt())];
    }
    return counts;
}

// Every element of the stage graph drawn once, each box with its statement's tooltip, and no
// two boxes on top of each other.
void expectDrawn(const TArgumentationStage &stage)
{
    const TStageGraph graph = StageGraph(stage);
    const TDiagramSnapshot snapshot = DiagramSnapshot(stage);
    QGraphicsScene scene;
    DrawDiagram(scene, snapshot);
    std::map<TDiagramItem, int> counts = itemCounts(scene);
    const auto steps = static_cast<int>(graph.Steps.size());
    EXPECT_EQ(counts[TDiagramItem::Box], static_cast<int>(graph.Boxes.size()));
    EXPECT_EQ(counts[TDiagramItem::Step], steps);
    EXPECT_EQ(counts[TDiagramItem::ReasonLine], steps);
    EXPECT_EQ(counts[TDiagramItem::ConclusionLine], steps);
    EXPECT_EQ(counts[TDiagramItem::Attack], static_cast<int>(graph.Attacks.size()));
    EXPECT_EQ(counts[TDiagramItem::WarrantLink], static_cast<int>(graph.WarrantLinks.size()));
    EXPECT_EQ(counts[TDiagramItem::ExceptionLine], static_cast<int>(graph.Attacks.size()));
    // Every picture, printed or exported, draws through here, and so carries the key.
    EXPECT_EQ(counts[TDiagramItem::Key], graph.Boxes.empty() ? 0 : 1);

    std::vector<QRectF> boxes;
    QStringList tips;
    for (const QGraphicsItem *item : scene.items()) {
        if (item->data(DiagramItemKind).toInt() != static_cast<int>(TDiagramItem::Box))
            continue;
        const QRectF rect = item->mapRectToScene(item->boundingRect().adjusted(3, 3, -3, -3));
        EXPECT_TRUE(scene.sceneRect().contains(rect));
        for (const QRectF &other : boxes)
            EXPECT_FALSE(rect.intersects(other));
        boxes.push_back(rect);
        tips.append(item->toolTip());
    }
    tips.sort();
    QStringList expected;
    for (const TDiagramSnapshot::TBox &box : snapshot.boxes)
        expected.append(BoxToolTip(box));
    expected.sort();
    EXPECT_EQ(tips, expected);
}

bool waitForDiagram(const TDiagramView &view)
{
    QElapsedTimer waited;
    waited.start();
    // A guard against a hang, not a timing check.
    while (view.layingOut() && waited.elapsed() < 60000)
        QTest::qWait(5);
    return !view.layingOut();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(TDiagramTest, DrawsEveryBoxStepAttackAndWarrantOfRandomLines)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        expectDrawn(randomLine(seed)->stage());
    }
}

TEST(TDiagramTest, DrawsEveryBoxStepAttackAndWarrantOfTheExamples)
{
    const QDir examples(QStringLiteral(KORVANE_EXAMPLES_DIR));
    const QStringList files = examples.entryList({QStringLiteral("*.txt")});
    ASSERT_FALSE(files.isEmpty());
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        expectDrawn(exampleLine(examples.filePath(file))->stage());
    }
}

TEST(TDiagramTest, LayoutOfTextThatIsNoGraphFailsWithAMessage)
{
    EXPECT_THROW(LayoutDiagram("digraph {"), TLayoutError);
    EXPECT_THROW(LayoutDiagram(std::string("\xff\x00\x01", 3)), TLayoutError);
}

TEST(TDiagramTest, EveryExportFormatWritesTheStage)
{
    const std::unique_ptr<TLine> line = randomLine(7);
    const QTemporaryDir folder;
    for (const TExportFormat &format : ExportFormats()) {
        SCOPED_TRACE(format.filter.toStdString());
        const QString path = folder.filePath(QStringLiteral("stage.") + format.extension);
        EXPECT_EQ(ExportFormatFor(path, QString()), &format);
        format.write(line->line, path, {});
        const QByteArray bytes = fileBytes(path);
        ASSERT_FALSE(bytes.isEmpty());
        if (format.extension == QLatin1String("svg")) {
            EXPECT_TRUE(bytes.contains(KeyRows().back().words.data()));
            QXmlStreamReader xml(bytes);
            while (!xml.atEnd())
                xml.readNext();
            EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
            EXPECT_TRUE(bytes.contains("<svg"));
        } else if (format.extension == QLatin1String("png")) {
            EXPECT_FALSE(QImage::fromData(bytes, "PNG").isNull());
        } else if (format.extension == QLatin1String("pdf")) {
            EXPECT_TRUE(bytes.startsWith("%PDF"));
        } else if (format.extension == QLatin1String("gv")) {
            EXPECT_EQ(bytes.toStdString(), DotText(StageGraph(line->stage())));
            EXPECT_TRUE(bytes.contains("  key [shape=note"));
        } else if (format.extension == QLatin1String("json")) {
            EXPECT_EQ(bytes.toStdString(),
                      AifText(StageGraph(line->stage()), MoveTextLines(line->line)));
        } else if (format.extension == QLatin1String("argdown")) {
            EXPECT_EQ(bytes.toStdString(), ArgdownText(StageGraph(line->stage())));
        }
    }
}

// Laid out as one row, a map as imported ones are was 20 times as wide as high.
TEST(TDiagramTest, AWideMapIsLaidOutToAPagesShape)
{
    for (const int statements : {60, 200}) {
        SCOPED_TRACE(statements);
        TArena arena;
        const TDiagramLayout layout =
            LayoutDiagram(DiagramSnapshot(WideMap(arena, statements)).dot, DiagramTextMeasure());
        EXPECT_LE(layout.width, 3 * layout.height);
        EXPECT_LE(layout.height, 3 * layout.width);
    }
}

TEST(TDiagramTest, ALayoutCancelledIsNeverShown)
{
    TArena arena;
    TArgumentationStage &stage = *arena.NewStage();
    TStatement *conclusion = nullptr;
    for (int i = 0; i <= 400; ++i) {
        TStatement *statement = arena.NewStatement();
        statement->Text = std::to_string(i);
        stage.Statements.Add(statement);
        if (conclusion) {
            TReasonConclusion *step = arena.NewReasonConclusion();
            step->Reason = statement;
            step->Conclusion = conclusion;
            stage.ReasonConclusions.Add(step);
        }
        conclusion = statement;
    }
    TDiagramView view;
    int shown = 0;
    QObject::connect(&view, &TDiagramView::diagramShown, [&] { ++shown; });
    view.showStage(stage);
    view.cancelLayout();
    ASSERT_TRUE(waitForDiagram(view));
    EXPECT_EQ(shown, 0);
    EXPECT_FALSE(view.busyIndicator()->isVisible());
    EXPECT_EQ(itemCounts(*view.scene())[TDiagramItem::Box], 0);
}

TEST(TDiagramTest, TheNewestStageAskedForIsTheOneShown)
{
    const std::unique_ptr<TLine> first = randomLine(3);
    const std::unique_ptr<TLine> second = randomLine(4);
    const std::unique_ptr<TLine> third = randomLine(5);
    TDiagramView view;
    int shown = 0;
    QObject::connect(&view, &TDiagramView::diagramShown, [&] { ++shown; });
    for (const TLine *line : {first.get(), second.get(), third.get()})
        view.showStage(line->stage());
    ASSERT_TRUE(waitForDiagram(view));
    EXPECT_EQ(view.snapshot().dot, DotText(StageGraph(third->stage())));
    EXPECT_LE(shown, 2); // The first, perhaps, and the newest; never the one in between.
    EXPECT_EQ(itemCounts(*view.scene())[TDiagramItem::Box],
              static_cast<int>(view.snapshot().boxes.size()));
}

TEST(TDiagramTest, TheDiagramIsAFullModeView)
{
    TKorvaneForm plain;
    EXPECT_EQ(plain.DiagramView(), nullptr);
    EXPECT_EQ(plain.findChild<QAction *>(QStringLiteral("Diagram1")), nullptr);
    EXPECT_EQ(plain.findChild<QPushButton *>(QStringLiteral("ViewDiagramSpeedButton")), nullptr);

    TKorvaneForm form(TKorvaneMode::Full);
    form.show();
    auto *zoomIn = form.findChild<QAction *>(QStringLiteral("ZoomIn1"));
    ASSERT_NE(zoomIn, nullptr);
    EXPECT_FALSE(zoomIn->isEnabled());
    form.findChild<QPushButton *>(QStringLiteral("ViewDiagramSpeedButton"))->click();
    TDiagramView &view = *form.DiagramView();
    EXPECT_EQ(visibleView(form), QStringLiteral("DiagramView"));
    EXPECT_EQ(checkedViewButton(form), QStringLiteral("ViewDiagramSpeedButton"));
    EXPECT_FALSE(view.accessibleName().isEmpty());
    EXPECT_TRUE(zoomIn->isEnabled());

    // Rebuilt after every move and every undo while it shows.
    workedExample(form);
    form.MovesDone();
    ASSERT_TRUE(waitForDiagram(view));
    EXPECT_EQ(itemCounts(*view.scene())[TDiagramItem::Attack], 1);
    EXPECT_EQ(itemCounts(*view.scene())[TDiagramItem::WarrantLink], 1);

    // The key shows until it is hidden.
    const auto keyVisible = [&] {
        for (const QGraphicsItem *item : view.scene()->items()) {
            if (item->data(DiagramItemKind).toInt() == static_cast<int>(TDiagramItem::Key))
                return item->isVisible();
        }
        return false;
    };
    EXPECT_TRUE(keyVisible());
    form.findChild<QAction *>(QStringLiteral("ShowKey1"))->trigger();
    EXPECT_FALSE(keyVisible());

    form.UndoMove();
    ASSERT_TRUE(waitForDiagram(view));
    EXPECT_EQ(itemCounts(*view.scene())[TDiagramItem::WarrantLink], 0);

    const double fitted = view.transform().m11();
    zoomIn->trigger();
    EXPECT_GT(view.transform().m11(), fitted);
    form.findChild<QAction *>(QStringLiteral("FitToWindow1"))->trigger();
    EXPECT_DOUBLE_EQ(view.transform().m11(), fitted);

    form.ShowStatements();
    EXPECT_FALSE(zoomIn->isEnabled());
}

TEST(TDiagramTest, ExportAddsTheChosenFormatsExtensionAndNamesAFileItCannotWrite)
{
    TKorvaneForm form(TKorvaneMode::Full);
    form.show();
    workedExample(form);
    const QTemporaryDir folder;
    chooseFile(folder.filePath(QStringLiteral("picture")));
    form.findChild<QAction *>(QStringLiteral("Export1"))->trigger();
    EXPECT_TRUE(fileBytes(folder.filePath(QStringLiteral("picture.svg"))).contains("<svg"));

    const QString unwritable = folder.filePath(QStringLiteral("missing/picture.png"));
    chooseFile(unwritable);
    TBoxSeen seen;
    answerMessageBox(QMessageBox::Ok, &seen);
    form.findChild<QAction *>(QStringLiteral("Export1"))->trigger();
    EXPECT_TRUE(seen.answered);
    EXPECT_TRUE(seen.text.contains(unwritable)) << seen.text.toStdString();
}

TEST(TDiagramTest, PrintWritesTheDiagramOrTheVisibleView)
{
    TKorvaneForm form(TKorvaneMode::Full);
    form.show();
    workedExample(form);
    const QTemporaryDir folder;
    for (void (TKorvaneForm::*show)() : {&TKorvaneForm::ShowDiagram, &TKorvaneForm::ShowReasons}) {
        (form.*show)();
        SCOPED_TRACE(visibleView(form).toStdString());
        const QString path = folder.filePath(visibleView(form) + QStringLiteral(".pdf"));
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        form.PrintView(printer);
        EXPECT_TRUE(fileBytes(path).startsWith("%PDF"));
    }
    ASSERT_TRUE(waitForDiagram(*form.DiagramView()));
}

// Paper: Export's PDF choice and the print dialog's put the diagram on one sheet, shrunk, or
// at full size over as many as it takes; the sheet is the print dialog's.
TEST(TDiagramTest, PaperFitsTheDiagramOnOneSheetOrSpreadsIt)
{
    TKorvaneForm form(TKorvaneMode::Full);
    form.show();
    workedExample(form);
    form.printer().setPageSize(QPageSize(QPageSize::A8));
    const QString a8 = QStringLiteral("/MediaBox [0 0 148.000000 210.000000]");
    const QTemporaryDir folder;
    const auto pages = [](const QByteArray &pdf) {
        return QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
    };
    const struct {
        const char *choice;
        int index;
        bool spread;
    } cases[] = {{"PdfPagesComboBox", 1, false}, {"PdfPagesComboBox", 2, true},
                 {"PrintPagesComboBox", 0, false}, {"PrintPagesComboBox", 1, true}};
    for (const auto &each : cases) {
        SCOPED_TRACE(std::string(each.choice) + ' ' + std::to_string(each.index));
        form.findChild<QComboBox *>(QLatin1String(each.choice))->setCurrentIndex(each.index);
        const QString path = folder.filePath(QStringLiteral("%1-%2.pdf").arg(each.choice).arg(each.index));
        if (each.choice[1] == 'd') {
            chooseFile(path);
            form.findChild<QAction *>(QStringLiteral("Export1"))->trigger();
        } else {
            form.ShowDiagram();
            form.printer().setOutputFileName(path);
            form.PrintView(form.printer());
        }
        const QByteArray pdf = fileBytes(path);
        EXPECT_EQ(pages(pdf) > 1, each.spread);
        EXPECT_EQ(QString::fromLatin1(pdf).count(a8), pages(pdf));
    }
    ASSERT_TRUE(waitForDiagram(*form.DiagramView()));
}

TEST(TDiagramTest, LongStatementsBreakAtSpacesIntoShortLines)
{
    const std::string words = "IF (the road has been gritted), THEN THE RULE THAT, IF (the road is "
                              "wet), THEN (the road is slippery), IS BLOCKED";
    const std::string longWord(60, 'w');
    for (const std::string &text : {words, longWord, "two\nlines " + words, std::string()}) {
        SCOPED_TRACE(text);
        TArena arena;
        TArgumentationStage &stage = *arena.NewStage();
        TStatement *statement = arena.NewStatement();
        statement->Text = text;
        stage.Statements.Add(statement);
        const TDiagramLayout layout = LayoutDiagram(DotText(StageGraph(stage)));
        ASSERT_EQ(layout.nodes.size(), 2U); // The box and the key.
        std::vector<std::string> lines = layout.nodes[0].lines;
        ASSERT_GE(lines.size(), 2U);
        EXPECT_EQ(lines.back(), "[?] Issue");
        lines.pop_back();
        std::string joined;
        for (const std::string &line : lines) {
            EXPECT_TRUE(line.size() <= 36 || line.find(' ') == std::string::npos) << line;
            joined += (joined.empty() ? "" : " ") + line;
        }
        std::string expected = text;
        std::replace(expected.begin(), expected.end(), '\n', ' ');
        EXPECT_EQ(joined, expected);
    }
}

namespace {

// Each box's tooltip carries the explanation of its statement's status.
TEST(TDiagramTest, BoxTooltipsSayWhy)
{
    const std::unique_ptr<TLine> line = exampleLine(
        QDir(QStringLiteral(KORVANE_EXAMPLES_DIR)).filePath(QStringLiteral("worked-example.txt")));
    TExplanations why;
    line->line.CurrentStage->ExplainStatuses(why);
    const TDiagramSnapshot snapshot = DiagramSnapshot(line->stage(), &why);
    const TStageGraph graph = StageGraph(line->stage());
    ASSERT_EQ(snapshot.boxes.size(), graph.Boxes.size());
    for (std::size_t i = 0; i < graph.Boxes.size(); ++i)
        EXPECT_TRUE(BoxToolTip(snapshot.boxes[i])
                        .contains(qtText(why.Explain(*graph.Boxes[i]).Text).toHtmlEscaped()));
}

} // namespace

namespace {

const QGraphicsItem *drawnItem(const QGraphicsScene &scene, TDiagramItem kind, int index)
{
    for (const QGraphicsItem *item : scene.items()) {
        if (item->data(DiagramItemKind).toInt() == static_cast<int>(kind)
            && item->data(DiagramItemIndex).toInt() == index)
            return item;
    }
    return nullptr;
}

int boxOf(const TDiagramView &view, const char *text)
{
    const auto &boxes = view.snapshot().boxes;
    for (std::size_t box = 0; box < boxes.size(); ++box) {
        if (boxes[box].text == QLatin1String(text))
            return static_cast<int>(box);
    }
    return -1;
}

} // namespace

// Each context action opens its dialog filled in from the box or step; OK then makes the move
// the dialog makes, recorded as any move is.
TEST(TDiagramTest, EachContextActionMakesTheMoveItsDialogMakes)
{
    const struct {
        const char *caption;
        TDiagramItem kind;
        const char *on;          // The box's text; null for the step.
        const char *filledBox;   // The box the action fills with the item's text.
        const char *typedBox;    // The box the user fills; null when none.
        const char *typed;
        std::vector<std::string> move;
    } actions[] = {
        {"&Give a reason for this...", TDiagramItem::Box, "c", "ConclusionComboBox",
         "ReasonComboBox", "r2", {"r2", "c"}},
        {"&Use as a reason for...", TDiagramItem::Box, "r", "ReasonComboBox",
         "ConclusionComboBox", "c2", {"r", "c2"}},
        {"&Restate...", TDiagramItem::Box, "e", "StatementComboBox", nullptr, nullptr, {"e"}},
        {"&Block this step...", TDiagramItem::Step, nullptr, "ReasonComboBox",
         "ExceptionComboBox", "e2", {"r", "c", "e2"}},
    };
    for (const auto &action : actions) {
        SCOPED_TRACE(action.caption);
        TKorvaneForm form(TKorvaneMode::Full);
        form.show();
        workedExample(form);
        form.ShowDiagram();
        TDiagramView &view = *form.DiagramView();
        ASSERT_TRUE(waitForDiagram(view));
        const QGraphicsItem *item = drawnItem(*view.scene(), action.kind,
                                              action.on ? boxOf(view, action.on) : 0);
        ASSERT_NE(item, nullptr);
        QMenu *menu = view.contextMenuFor(item);
        ASSERT_NE(menu, nullptr);
        QAction *chosen = nullptr;
        for (QAction *each : menu->actions()) {
            if (each->text() == QLatin1String(action.caption))
                chosen = each;
        }
        ASSERT_NE(chosen, nullptr);

        QString filled;
        whenModal<QDialog>([&](QDialog *dialog) {
            filled = dialog->findChild<QComboBox *>(QLatin1String(action.filledBox))->currentText();
            if (action.typedBox) {
                dialog->findChild<QComboBox *>(QLatin1String(action.typedBox))
                    ->setEditText(QLatin1String(action.typed));
            } else {
                // Restating with the same type is refused; a new type is asked about first.
                dialog->findChild<QRadioButton *>(QStringLiteral("StatementTypeRadioGroup0"))
                    ->setChecked(true);
                answerMessageBox(QMessageBox::Yes);
            }
            dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        });
        chosen->trigger();
        EXPECT_EQ(filled, QLatin1String(action.on ? action.on : "r"));
        ASSERT_FALSE(form.History().Moves().empty());
        std::vector<std::string> made;
        for (const TSentenceText &sentence : form.History().Moves().back().Sentences)
            made.push_back(sentence.Text);
        EXPECT_EQ(made, action.move);
    }
}

TEST(TDiagramTest, DoubleClickOnABoxSelectsItsStatement)
{
    TKorvaneForm form(TKorvaneMode::Full);
    form.show();
    workedExample(form);
    form.ShowDiagram();
    TDiagramView &view = *form.DiagramView();
    ASSERT_TRUE(waitForDiagram(view));
    emit view.boxActivated(boxOf(view, "e"));
    EXPECT_EQ(visibleView(form), QStringLiteral("StatementsTableView"));
    auto *table = form.findChild<QTreeWidget *>(QStringLiteral("StatementsTableView"));
    ASSERT_NE(table->currentItem(), nullptr);
    EXPECT_EQ(table->currentItem()->text(0), QStringLiteral("e"));
}

// The keyboard reaches every box and step, and a screen reader hears what each one is.
TEST(TDiagramTest, TabReachesEveryBoxAndStepAndNamesItForScreenReaders)
{
    TKorvaneForm form(TKorvaneMode::Full);
    form.show();
    workedExample(form);
    form.ShowDiagram();
    TDiagramView &view = *form.DiagramView();
    ASSERT_TRUE(waitForDiagram(view));
    view.setFocus();
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(reader, nullptr);

    QStringList heard;
    QStringList expected;
    for (const QGraphicsItem *item : view.scene()->items()) {
        const int kind = item->data(DiagramItemKind).toInt();
        if (kind == static_cast<int>(TDiagramItem::Box) || kind == static_cast<int>(TDiagramItem::Step))
            expected.append(view.accessibleText(item));
    }
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(&view, Qt::Key_Tab);
        ASSERT_NE(view.currentItem(), nullptr);
        heard.append(reader->text(QAccessible::Name));
        if (view.currentItem()->data(DiagramItemKind).toInt() == static_cast<int>(TDiagramItem::Box)) {
            EXPECT_FALSE(reader->text(QAccessible::Description).isEmpty());
        }
    }
    heard.sort();
    expected.sort();
    EXPECT_EQ(heard, expected);
    const TDiagramSnapshot::TBox &c = view.snapshot().boxes[static_cast<std::size_t>(boxOf(view, "c"))];
    EXPECT_TRUE(heard.contains(QStringLiteral("c, Issue, ")
                               + qtText(JustificationStatusName(c.status))));
    // The arrows go to another item; Escape gives the view its own name back.
    const QGraphicsItem *last = view.currentItem();
    QTest::keyClick(&view, Qt::Key_Up);
    EXPECT_NE(view.currentItem(), last);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(view.currentItem(), nullptr);
    EXPECT_EQ(reader->text(QAccessible::Name), QStringLiteral("Diagram"));
}

// An arrow key follows a line that leads that way, before it jumps to whatever lies nearest.
TEST(TDiagramTest, ArrowKeysGoAlongTheLines)
{
    const std::unique_ptr<TLine> line = randomLine(11);
    TDiagramView view;
    view.showStage(line->stage());
    ASSERT_TRUE(waitForDiagram(view));
    const TDiagramSnapshot &shown = view.snapshot();
    const auto ends = [&](const QGraphicsItem *item) { // A box's steps, a step's boxes.
        const int kind = item->data(DiagramItemKind).toInt();
        const int index = item->data(DiagramItemIndex).toInt();
        std::set<std::pair<int, int>> joined; // Kind and index.
        for (int step = 0; step < shown.steps; ++step) {
            const auto [reason, conclusion] = shown.stepBoxes[static_cast<std::size_t>(step)];
            std::vector<int> boxes{reason, conclusion};
            for (const auto &[exception, attacked] : shown.attackEnds)
                if (attacked == step)
                    boxes.push_back(exception);
            for (const int box : boxes) {
                if (kind == static_cast<int>(TDiagramItem::Box) && box == index)
                    joined.emplace(static_cast<int>(TDiagramItem::Step), step);
                if (kind == static_cast<int>(TDiagramItem::Step) && step == index)
                    joined.emplace(static_cast<int>(TDiagramItem::Box), box);
            }
        }
        return joined;
    };
    const auto id = [](const QGraphicsItem *item) {
        return std::pair(item->data(DiagramItemKind).toInt(), item->data(DiagramItemIndex).toInt());
    };
    int followed = 0;
    const QList<QGraphicsItem *> items = view.scene()->items();
    for (QGraphicsItem *from : items) {
        const int kind = from->data(DiagramItemKind).toInt();
        if (kind != static_cast<int>(TDiagramItem::Box) && kind != static_cast<int>(TDiagramItem::Step))
            continue;
        const auto joined = ends(from);
        for (const auto &[key, dx, dy] : {std::tuple(Qt::Key_Up, 0, -1), std::tuple(Qt::Key_Down, 0, 1),
                                          std::tuple(Qt::Key_Left, -1, 0), std::tuple(Qt::Key_Right, 1, 0)}) {
            view.setCurrentItem(from);
            QTest::keyClick(&view, key);
            const bool lineLeadsThere = std::any_of(items.begin(), items.end(), [&](const QGraphicsItem *to) {
                    const QPointF d = to->sceneBoundingRect().center() - from->sceneBoundingRect().center();
                    const double ahead = d.x() * dx + d.y() * dy;
                    return joined.contains(id(to)) && ahead > 0
                           && std::abs(d.x() * dy) + std::abs(d.y() * dx) <= 2 * ahead;
                });
            if (lineLeadsThere) {
                EXPECT_TRUE(joined.contains(id(view.currentItem())));
                ++followed;
            }
        }
    }
    EXPECT_GT(followed, 0);
}

// With a statement or a step selected, the commands' dialogs open filled in from it.
TEST(TDiagramTest, ASelectionFillsInTheMoveDialog)
{
    const struct {
        const char *view;
        void (TKorvaneForm::*show)();
        const char *command;
        std::map<QString, QString> filled; // Box name to text.
    } starts[] = {
        {"StatementsTableView", &TKorvaneForm::ShowStatements, "ReasonConclusion1",
         {{QStringLiteral("ConclusionComboBox"), QStringLiteral("c")}}},
        {"ReasonsListView", &TKorvaneForm::ShowReasons, "Exception1",
         {{QStringLiteral("ConclusionComboBox"), QStringLiteral("c")},
          {QStringLiteral("ReasonComboBox"), QStringLiteral("r")}}},
    };
    for (const auto &start : starts) {
        SCOPED_TRACE(start.view);
        TKorvaneForm form(TKorvaneMode::Full);
        form.show();
        workedExample(form);
        (form.*start.show)();
        if (auto *table = form.findChild<QTreeWidget *>(QLatin1String(start.view)))
            table->setCurrentItem(table->findItems(QStringLiteral("c"), Qt::MatchExactly).first());
        else if (auto *list = form.findChild<QListWidget *>(QLatin1String(start.view)))
            list->setCurrentRow(1);
        std::map<QString, QString> seen;
        whenModal<QDialog>([&](QDialog *dialog) {
            for (const auto &[box, text] : start.filled)
                seen[box] = dialog->findChild<QComboBox *>(box)->currentText();
            dialog->reject();
        });
        form.findChild<QAction *>(QLatin1String(start.command))->trigger();
        EXPECT_EQ(seen, start.filled);
    }
}

namespace {

// Where the scene draws each box, by its statement's text.
std::map<QString, QPointF> boxPlaces(const TDiagramView &view)
{
    std::map<QString, QPointF> places;
    for (const QGraphicsItem *item : view.scene()->items()) {
        if (item->data(DiagramItemKind).toInt() == static_cast<int>(TDiagramItem::Box))
            places.emplace(view.snapshot().boxes.at(static_cast<std::size_t>(
                                                        item->data(DiagramItemIndex).toInt()))
                               .text,
                           item->pos());
    }
    return places;
}

} // namespace

// After each move what was drawn stays where it was; what the move added lands clear of it.
TEST(TDiagramTest, AMoveKeepsThePlacesOfTheBoxesShown)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        TLine made;
        lines::TLineMaker maker(seed);
        TDiagramView view;
        for (int moves = maker.length(); moves > 0; --moves) {
            const std::map<QString, QPointF> before = boxPlaces(view);
            lines::play(made.line, maker.next());
            view.showSnapshot(DiagramSnapshot(made.stage()), true);
            ASSERT_TRUE(waitForDiagram(view));
            const std::map<QString, QPointF> after = boxPlaces(view);
            std::vector<QRectF> drawn;
            for (const QGraphicsItem *item : view.scene()->items()) {
                if (item->data(DiagramItemKind).toInt() != static_cast<int>(TDiagramItem::Box))
                    continue;
                const QRectF rect = item->mapRectToScene(item->boundingRect().adjusted(3, 3, -3, -3));
                for (const QRectF &other : drawn)
                    EXPECT_FALSE(rect.intersects(other));
                drawn.push_back(rect);
            }
            for (const auto &[text, place] : before) {
                if (const auto now = after.find(text); now != after.end()) {
                    EXPECT_NEAR(now->second.x(), place.x(), 0.01) << text.toStdString();
                    EXPECT_NEAR(now->second.y(), place.y(), 0.01) << text.toStdString();
                }
            }
        }
    }
}
