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
#include "uitest.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

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

    std::vector<QRectF> boxes;
    QStringList tips;
    for (const QGraphicsItem *item : scene.items()) {
        if (item->data(DiagramItemKind).toInt() != static_cast<int>(TDiagramItem::Box))
            continue;
        const QRectF rect = item->mapRectToScene(item->boundingRect().adjusted(2, 2, -2, -2));
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
        format.write(line->line, path);
        const QByteArray bytes = fileBytes(path);
        ASSERT_FALSE(bytes.isEmpty());
        if (format.extension == QLatin1String("svg")) {
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
        } else if (format.extension == QLatin1String("json")) {
            EXPECT_EQ(bytes.toStdString(),
                      AifText(StageGraph(line->stage()), MoveTextLines(line->line)));
        } else if (format.extension == QLatin1String("argdown")) {
            EXPECT_EQ(bytes.toStdString(), ArgdownText(StageGraph(line->stage())));
        }
    }
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
        ASSERT_EQ(layout.nodes.size(), 1U);
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
