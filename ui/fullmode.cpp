// Full mode's additions to the main window: its menus and layout, the history of moves with
// Undo and Redo, and running the model's work off the user-interface thread.

#include "ui/korvaneunit.h"

#include "dialogue/aifextras.h"
#include "dialogue/replay.h"
#include "model/explanation.h"
#include "model/movescope.h"
#include "ui/diagramview.h"
#include "ui/failurehandler.h"
#include "ui/helpform.h"
#include "ui/tooltips.h"
#include "ui/utf8.h"

#include <QAction>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QTreeWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeView>

#include <algorithm>
#include <span>
#include <utility>
#include <stdexcept>

namespace {

void showSeparator(QMenu *menu, const char *name)
{
    if (auto *separator = menu->findChild<QAction *>(QLatin1String(name)))
        separator->setVisible(true);
}

} // namespace

void TKorvaneForm::createFullMode()
{
    const struct {
        QAction *action;
        QKeySequence shortcut;
    } commands[] = {
        {m_new, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {m_open, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {m_save, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {m_saveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {m_exit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {m_back, QKeySequence(Qt::ALT | Qt::Key_Left)},
        {m_forward, QKeySequence(Qt::ALT | Qt::Key_Right)},
        {m_contents, QKeySequence(Qt::Key_F1)},
    };
    for (const auto &each : commands) {
        each.action->setVisible(true);
        each.action->setShortcut(each.shortcut);
    }
    showSeparator(m_fileMenu, "N1");
    showSeparator(m_fileMenu, "N2");
    showSeparator(m_argueMenu, "N4");
    showSeparator(m_helpMenu, "N3");
    connect(m_back, &QAction::triggered, this, &TKorvaneForm::Back1Click);
    connect(m_forward, &QAction::triggered, this, &TKorvaneForm::Forward1Click);
    connect(m_contents, &QAction::triggered, this, &TKorvaneForm::Contents1Click);

    auto *editMenu = new QMenu(QStringLiteral("&Edit"), menuBar());
    editMenu->setObjectName(QStringLiteral("Edit1"));
    menuBar()->insertMenu(m_argueMenu->menuAction(), editMenu);
    m_undo = editMenu->addAction(QStringLiteral("&Undo move"));
    m_undo->setObjectName(QStringLiteral("Undo1"));
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redo = editMenu->addAction(QStringLiteral("&Redo move"));
    m_redo->setObjectName(QStringLiteral("Redo1"));
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(m_undo, &QAction::triggered, this, &TKorvaneForm::Undo1Click);
    connect(m_redo, &QAction::triggered, this, &TKorvaneForm::Redo1Click);

    // The button panel and the views side by side, the border between them movable.
    auto *splitter = new QSplitter(Qt::Horizontal, centralWidget());
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    m_buttonPanel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    splitter->addWidget(m_buttonPanel);
    splitter->addWidget(m_scrollBox);
    splitter->setStretchFactor(1, 1);
    centralWidget()->layout()->addWidget(splitter);

    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Long tree lines scroll sideways instead of ending in "...".
    m_argumentsTree->setTextElideMode(Qt::ElideNone);
    m_argumentsTree->header()->setStretchLastSection(false);
    m_argumentsTree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_argumentsTree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_argumentsTree->setItemDelegate(new TWrappedToolTipDelegate(m_argumentsTree));

    // A screen reader reads the label's own text, "Stage K of N": no accessible name over it.
    m_stageLabel = new QLabel(statusBar());
    m_stageLabel->setObjectName(QStringLiteral("StageLabel"));
    statusBar()->addPermanentWidget(m_stageLabel);

    // The explanation of whatever node or statement is selected, beside the stage.
    connect(m_argumentsTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                showExplanation(current.data(Qt::ToolTipRole).toString());
            });
    m_statementsTable = new QTreeWidget(m_scrollBox);
    m_statementsTable->setObjectName(QStringLiteral("StatementsTableView"));
    m_statementsTable->setAccessibleName(QStringLiteral("Statements"));
    m_statementsTable->setHeaderLabels(
        {QStringLiteral("Statement"), QStringLiteral("Type"), QStringLiteral("Status")});
    m_statementsTable->setRootIsDecorated(false);
    m_statementsTable->setUniformRowHeights(true);
    m_statementsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Type and status always show; a statement too long for the rest is shortened in the middle.
    m_statementsTable->setTextElideMode(Qt::ElideMiddle);
    m_statementsTable->header()->setStretchLastSection(false);
    m_statementsTable->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_statementsTable->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_statementsTable->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_statementsTable->setItemDelegate(new TWrappedToolTipDelegate(m_statementsTable));
    m_statementsTable->hide();
    m_scrollBox->layout()->addWidget(m_statementsTable);
    setTabOrder(m_statementsList, m_statementsTable);
    connect(m_statementsTable, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) {
                showExplanation(current ? current->toolTip(0) : QString());
            });

    m_helpForm = new THelpForm(this);
    createDiagram();
    for (QAction *view : {m_lineOfArgumentation, m_statements, m_reasons, m_arguments, m_diagramAction})
        view->setCheckable(true);
    // Access keys, clear of the menu bar's F, E, A, V and H.
    const std::pair<QPushButton *, QString> captions[] = {
        {m_statementButton, QStringLiteral("S&tatement")},
        {m_reasonConclusionButton, QStringLiteral("&Reason/conclusion")},
        {m_exceptionButton, QStringLiteral("E&xception")},
        {m_viewLineOfArgumentationButton, QStringLiteral("&Line of arg.")},
        {m_viewStatementsButton, QStringLiteral("State&ments")},
        {m_viewReasonsButton, QStringLiteral("Reas&ons")},
        {m_viewArgumentsButton, QStringLiteral("Ar&guments")},
        {m_viewDiagramButton, QStringLiteral("&Diagram")},
    };
    for (const auto &[button, caption] : captions) {
        // The accessible name stays the caption without its access key.
        if (button->accessibleName().isEmpty())
            button->setAccessibleName(button->text());
        button->setText(caption);
    }

    // Small enough for a small screen, big enough that nothing overlaps or is cut off.
    setMinimumSize(minimumSizeHint().expandedTo(QSize(520, 360)));
    restoreSettings();
    updateFullMode();
}

namespace {

// Whose settings full mode keeps the window in between runs; the default mode keeps nothing.
const QString SettingsOwner = QStringLiteral("Korvane");

} // namespace

void TKorvaneForm::restoreSettings()
{
    const QSettings settings(SettingsOwner, SettingsOwner);
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    const QString view = settings.value(QStringLiteral("window/view")).toString();
    for (const auto &[name, operation] : viewCommands())
        if (view == QLatin1String(name))
            command(operation);
}

void TKorvaneForm::saveSettings() const
{
    QSettings settings(SettingsOwner, SettingsOwner);
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    const QWidget *views[] = {m_memo, m_statementsTable, m_reasonsList, m_argumentsTree,
                              m_diagramView};
    for (std::size_t index = 0; index < std::size(views); ++index)
        if (!views[index]->isHidden())
            settings.setValue(QStringLiteral("window/view"),
                              QLatin1String(viewCommands()[index].first));
}

std::span<const std::pair<const char *, void (TKorvaneForm::*)()>> TKorvaneForm::viewCommands()
{
    // In the order of the View buttons.
    static const std::pair<const char *, void (TKorvaneForm::*)()> commands[] = {
        {"lineOfArgumentation", &TKorvaneForm::ShowLineOfArgumentation},
        {"statements", &TKorvaneForm::ShowStatements},
        {"reasons", &TKorvaneForm::ShowReasons},
        {"arguments", &TKorvaneForm::ShowArguments},
        {"diagram", &TKorvaneForm::ShowDiagram},
    };
    return commands;
}

std::unique_ptr<TExplanations> TKorvaneForm::explainedStage()
{
    if (!FullMode())
        return nullptr;
    auto explanations = std::make_unique<TExplanations>();
    m_line->CurrentStage->ExplainStatuses(*explanations);
    return explanations;
}

void TKorvaneForm::showStatementsTable()
{
    const std::unique_ptr<TExplanations> why = explainedStage();
    QList<QTreeWidgetItem *> rows;
    for (const TStatement *statement : m_line->CurrentStage->Statements) {
        auto *row = new QTreeWidgetItem(
            {qtText(statement->Text), qtText(StatementTypeName(statement->StatementType)),
             qtText(JustificationStatusName(statement->JustificationStatus))});
        const QString explanation = qtText(why->Explain(*statement).Text);
        for (int column = 0; column < row->columnCount(); ++column)
            row->setToolTip(column, explanation);
        rows.append(row);
    }
    m_statementsTable->clear();
    m_statementsTable->addTopLevelItems(rows);
    showView(m_statementsTable, m_viewStatementsButton);
}

QString TKorvaneForm::exceptionEntry(const TReasonConclusion &step, const TStatement &exception) const
{
    QString entry = qtText(exception.Text) + QStringLiteral("  (")
                    + qtText(StatementTypeName(exception.StatementType));
    for (const TStatement *statement : m_line->CurrentStage->Statements) {
        if (SameText(*statement, exception)) {
            entry += QStringLiteral(", ") + qtText(JustificationStatusName(statement->JustificationStatus));
            break;
        }
    }
    entry += QLatin1Char(')');
    // The scheme of the conflict the opened file made this exception from.
    if (const TAifExtras *extras = m_line->AifExtras.get()) {
        const std::string_view scheme =
            SchemeName(*extras, step.Reason->Text, step.Conclusion->Text, exception.Text);
        if (!scheme.empty())
            entry += QStringLiteral("  SCHEME: ") + qtText(scheme);
    }
    return entry;
}

void TKorvaneForm::showExplanation(const QString &why)
{
    statusBar()->setToolTip(WrappedToolTip(why));
    if (why.isEmpty()) {
        statusBar()->clearMessage();
        return;
    }
    // A sentence longer than the bar ends in "…", so that it shows it goes on (in the tooltip).
    const int room = statusBar()->width() - m_stageLabel->width() - 4 * statusBar()->fontMetrics().averageCharWidth();
    statusBar()->showMessage(statusBar()->fontMetrics().elidedText(why, Qt::ElideRight, std::max(room, 0)));
}

bool TKorvaneForm::runModelWork(TLineOfArgumentation &line, const std::function<void()> &work)
{
    if (!FullMode()) {
        work();
        return true;
    }
    return m_runner.run(line, work);
}

std::unique_ptr<TLineOfArgumentation> TKorvaneForm::replayedLine(std::span<const TMoveText> moves,
                                                                 const std::string &fileName,
                                                                 std::vector<std::string> *warnings,
                                                                 std::string *refusal)
{
    TReplayBoxes boxes;
    auto line = std::make_unique<TLineOfArgumentation>(boxes);
    line->FileName = fileName.empty() ? std::string(NewLineTitle) : fileName;
    const bool done = runModelWork(*line, [&] {
        if (refusal)
            *refusal = ReplayMovesThatFit(*line, moves, fileName);
        else
            ReplayMoves(*line, moves, fileName);
    });
    if (!done)
        return nullptr;
    // From here on the line asks the user.
    line->SetMessageBoxes(m_boxes);
    if (warnings)
        *warnings = std::move(boxes.warnings);
    return line;
}

std::unique_ptr<TLineOfArgumentation> TKorvaneForm::stageLine(std::size_t count)
{
    std::unique_ptr<TLineOfArgumentation> line =
        replayedLine(std::span(m_history.Moves()).first(count), m_fileName);
    // Recorded moves are recorded again; anything else would show the wrong stage.
    if (line && line->ArgumentationMoves.Count() != static_cast<int>(count))
        throw std::logic_error("the moves could not be replayed");
    // What an opened AIF file held beyond the stage stays with every stage of its moves.
    if (line)
        line->AifExtras = m_line->AifExtras;
    return line;
}

void TKorvaneForm::replaceLine(std::unique_ptr<TLineOfArgumentation> line)
{
    m_line = std::move(line);
    RefreshViews();
    updateFullMode();
}

void TKorvaneForm::updateFullMode()
{
    if (!FullMode())
        return;
    setCaption();
    m_undo->setEnabled(m_history.CanUndo());
    m_back->setEnabled(m_history.CanUndo());
    m_redo->setEnabled(m_history.CanRedo());
    m_forward->setEnabled(m_history.CanRedo());
    // Between the two moves of one dialog the line is ahead of the history.
    const auto shown = static_cast<std::size_t>(m_line->ArgumentationMoves.Count());
    const std::size_t count = shown > m_history.Position() ? shown : m_history.Count();
    m_stageLabel->setText(QStringLiteral("Stage %1 of %2").arg(shown).arg(count));
}

void TKorvaneForm::MovesDone()
{
    // A second OK while the first one's move computes made no move; the first records its own.
    if (!FullMode() || m_runner.busy())
        return;
    runGuarded([this] { m_history.Record(RecordedMoves(*m_line, m_history.Position())); }, this);
    updateFullMode();
}

void TKorvaneForm::UndoMove()
{
    if (!m_history.CanUndo())
        return;
    if (std::unique_ptr<TLineOfArgumentation> line = stageLine(m_history.UndoPosition())) {
        m_history.Undo();
        replaceLine(std::move(line));
    }
}

void TKorvaneForm::RedoMove()
{
    if (!m_history.CanRedo())
        return;
    if (std::unique_ptr<TLineOfArgumentation> line = stageLine(m_history.RedoPosition())) {
        m_history.Redo();
        replaceLine(std::move(line));
    }
}

void TKorvaneForm::Undo1Click() { command(&TKorvaneForm::UndoMove); }
void TKorvaneForm::Redo1Click() { command(&TKorvaneForm::RedoMove); }
void TKorvaneForm::Back1Click() { command(&TKorvaneForm::UndoMove); }
void TKorvaneForm::Forward1Click() { command(&TKorvaneForm::RedoMove); }
