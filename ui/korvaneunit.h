#pragma once

#include "dialogue/lineofargumentation.h"
#include "dialogue/movehistory.h"
#include "ui/argumentsview.h"
#include "ui/moverunner.h"
#include "ui/movesink.h"
#include "ui/qtmessageboxes.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

class QAbstractButton;
class QAction;
class QComboBox;
class QDialog;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPrintDialog;
class QPrinter;
class QPushButton;
class QTreeView;
class QTreeWidget;
class TAboutForm;
class TDiagramView;
enum class TDiagramAction : std::uint8_t;
class TArgumentsModel;
class TExceptionForm;
class TExplanations;
class THelpForm;
class TOptionsForm;
class TReasonConclusionForm;
class TStatementForm;
class TTreeDepth;

// The default mode is the program as it always was. Full mode, chosen on the command line, adds
// the file commands, undo and redo, input checks and a window that resizes well.
enum class TKorvaneMode : std::uint8_t { Default = 0, Full = 1 };

// The program's main window. It owns the one line of argumentation, offers every command,
// shows one of four views of the current stage and creates the five dialogs as its children.
// Every command and Make operation catches its own failures and reports them through the one
// failure handler, so no exception reaches the event loop.
//
// In full mode the window also keeps the history of moves: the line always holds the moves up to
// the history's position, and Undo, Redo and Open replace it by a line replayed from moves.
class TKorvaneForm : public QMainWindow, public TMoveSink {
    Q_OBJECT

public:
    // The largest file Open loads into the memo, in bytes; beyond it the memo would be unusable.
    static constexpr std::size_t MemoCapacity = 64 * 1024 * 1024;
    // The title of a line that no file holds.
    static constexpr const char *NewLineTitle = "New line of argumentation";

    explicit TKorvaneForm(QWidget *parent = nullptr);
    explicit TKorvaneForm(TKorvaneMode mode, QWidget *parent = nullptr);
    ~TKorvaneForm() override;

    // The move dialogs' entry points: make the move, then rebuild the visible view (also when
    // the line declines the move). MakeStatementMove returns whether the move was recorded.
    TLineOfArgumentation &lineOfArgumentation() override { return *m_line; }
    bool MakeStatementMove(TStatement *statement) override;
    void MakeReasonConclusionMove(TReasonConclusion *step) override;
    void MakeExceptionMove(TReasonConclusion *step) override;
    bool FullMode() const override { return m_mode == TKorvaneMode::Full; }
    void MovesDone() override;

    // Full mode: the history of moves the line was made from, and the commands on it.
    const TMoveHistory &History() const { return m_history; }
    // True while a command's model work runs on its thread: nothing may read the line then.
    bool Busy() const override { return m_runner.busy(); }
    // Shows the stage one undo step back or forward, replayed from the moves.
    void UndoMove();
    void RedoMove();
    // Replaces the line by the moves of the file, unless it cannot be read or replayed; then a
    // message names the file and the line, and the line stays as it was. A move too large to
    // evaluate ends the line there when the user agrees, and the moves shown count as unsaved.
    void OpenMoveFile(const QString &path);
    // Writes the moves up to the shown stage. SaveLine without a move file to write to (a new
    // line, or one opened from AIF) asks for a name as SaveLineAs does; both return false when
    // cancelled or failed (the failure reported).
    bool SaveLine();
    bool SaveLineAs();
    // Asks "Save changes to NAME?" when the shown moves are not the ones a file holds; false
    // when the user cancels, or the save fails.
    bool MaySetLineAside();

    // Sets FileName to "New line of argumentation", the caption after it, and shows the
    // arguments view; the moves, stages and Modified stay.
    void NewLineOfArgumentation();
    // Show the move dialog modally when FileName is set; the dialog makes its move itself.
    void StartStatementMove();
    void StartReasonConclusionMove();
    void StartExceptionMove();
    void StartProsConsMove() {}
    // Full mode: the same dialogs with their boxes filled in, for a move started from the
    // diagram or from a selection; the move is still the dialog's own.
    void StartStatementMove(const TSentenceText &statement);
    void StartReasonConclusionMove(std::optional<TSentenceText> conclusion,
                                   std::optional<TSentenceText> reason);
    void StartExceptionMove(const TSentenceText &conclusion, const TSentenceText &reason);
    // Rebuilds whichever view is visible.
    void RefreshViews();
    // Each rebuilds its view from the current stage, shows it, hides the other three and
    // presses its toggle button.
    void ShowLineOfArgumentation();
    void ShowStatements();
    void ShowReasons();
    void ShowArguments();
    // Full mode: the stage as a diagram, laid out on a thread of its own (see TDiagramView).
    void ShowDiagram();
    // Full mode: prints the diagram when it is the visible view, else the visible view as it
    // shows on screen.
    void PrintView(QPrinter &printer);
    // The printer Print uses and whose sheet a PDF goes on, made with its dialog on first use.
    QPrinter &printer();

    TArgumentsView ArgumentsView() const { return m_argumentsView; }
    void setArgumentsView(TArgumentsView view) { m_argumentsView = view; }

    // The caption's name part of a file name: the text after the last '\', ':' or '/'.
    static std::string namePart(const std::string &fileName);

    // Dialogs, for the commands' callers and for tests. Owned by this window.
    TStatementForm *StatementForm() const { return m_statementForm; }
    TReasonConclusionForm *ReasonConclusionForm() const { return m_reasonConclusionForm; }
    TExceptionForm *ExceptionForm() const { return m_exceptionForm; }
    TAboutForm *AboutForm() const { return m_aboutForm; }
    TOptionsForm *OptionsForm() const { return m_optionsForm; }
    QFileDialog *OpenDialog1() const { return m_openDialog; }
    QFileDialog *SaveDialog1() const { return m_saveDialog; }
    THelpForm *HelpForm() const { return m_helpForm; }
    QFileDialog *ExportDialog1() const { return m_exportDialog; }
    TDiagramView *DiagramView() const { return m_diagramView; } // Null in the default mode.

public slots:
    void StatementButtonClick();
    void Statement1Click();
    void ReasonConclusionButtonClick();
    void ReasonConclusion1Click();
    void ExceptionButtonClick();
    void Exception1Click();
    void ProsConsButtonClick();
    void ProsCons1Click();
    void ViewLineOfArgumentationSpeedButtonClick();
    void Lineofargumentation1Click();
    void ViewStatementsSpeedButtonClick();
    void Statements1Click();
    void ViewReasonsSpeedButtonClick();
    void Reasons1Click();
    void ViewArgumentsSpeedButtonClick();
    void Arguments1Click();
    void ViewDiagramSpeedButtonClick();
    void Diagram1Click();
    void Export1Click();
    void Print1Click();
    void Exit1Click();
    void About1Click();
    void Options1Click();
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Undo1Click();
    void Redo1Click();
    void Back1Click();
    void Forward1Click();
    void Contents1Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void createActions();
    void createMenus();
    void createButtonPanel();
    void createViews();
    void createFileDialogs();
    void createDialogs();
    // Full mode's additions to the window, made after the default window is complete.
    void createFullMode();
    // Full mode: why each status of the current stage is what it is; null in the default mode.
    std::unique_ptr<TExplanations> explainedStage();
    // Full mode's entry for an exception in the reasons view: its text, its type, and the status
    // of the statement with its text (the exception object itself is never computed), and the
    // scheme of the conflict it came from when an opened file named one.
    QString exceptionEntry(const TReasonConclusion &step, const TStatement &exception) const;
    // Full mode's statements view: text, type and status, each statement's explanation as its
    // tooltip.
    void showStatementsTable();
    // Shows the explanation of the selected node or statement at the left of the status bar.
    void showExplanation(const QString &why);
    // Full mode keeps the window's size, place and view between runs.
    void restoreSettings();
    void saveSettings() const;
    // The views' Show operations by the names the settings keep, in the View buttons' order.
    static std::span<const std::pair<const char *, void (TKorvaneForm::*)()>> viewCommands();
    // Full mode's diagram view with its button, menu entries and zoom commands.
    void createDiagram();
    // The reason/conclusion and exception commands: in full mode, a statement or step selected
    // in the visible view fills the dialog in.
    void startReasonConclusionFromSelection();
    void startExceptionFromSelection();
    // The sentence of the statement with this text in the current stage (its type kept).
    TSentenceText stageSentence(const QString &text) const;
    // A context action chosen in the diagram, on the snapshot's box or step with this index.
    void diagramAction(TDiagramAction action, int index);
    // Shows the statements view with the statement of the diagram's box selected.
    void selectDiagramBox(int box);
    // Writes the current stage in the format the file name or the filter names.
    void exportStage(const QString &path, const QString &filter);

    // Runs the model work of a command: on this thread in the default mode, in full mode on a
    // thread of its own with a busy indicator (see TMoveRunner). False when cancelled.
    bool runModelWork(TLineOfArgumentation &line, const std::function<void()> &work);
    // A new line of argumentation with the moves replayed, every question answered Yes and the
    // warnings kept in *warnings when given; null when cancelled. With refusal given, a move too
    // large to evaluate ends the replay there and *refusal says why; without, it throws.
    std::unique_ptr<TLineOfArgumentation> replayedLine(std::span<const TMoveText> moves,
                                                       const std::string &fileName,
                                                       std::vector<std::string> *warnings = nullptr,
                                                       std::string *refusal = nullptr);
    // The line of the history's first count moves: stage count, as Undo and Redo show it.
    std::unique_ptr<TLineOfArgumentation> stageLine(std::size_t count);
    // Makes line the shown one and rebuilds the visible view.
    void replaceLine(std::unique_ptr<TLineOfArgumentation> line);
    // Full mode: caption, stage item, and which of Undo and Redo can be used.
    void updateFullMode();

    // Runs a move's model work as the move dialogs' entry points do, then rebuilds the visible
    // view; returns what move returned (false when busy or cancelled).
    bool makeMove(const std::function<bool()> &move);
    // Runs one operation of this window as a command: a failure ends it and is reported.
    void command(void (TKorvaneForm::*operation)());
    // A View command: shows the view; full mode also gives it the keyboard focus.
    void chooseView(void (TKorvaneForm::*showOperation)());
    void setCaption();
    // Shows a move dialog modally; full mode centres it over the window first.
    void execMoveDialog(QDialog *dialog);
    // The name full mode shows for the line: the file's name part, or the new line's title.
    QString lineName() const;
    void showView(QWidget *view, QAbstractButton *button);
    // Open's steps after the dialog: FileName first, so it names the file even when loading fails.
    void openFile(const QString &path);
    // Writes the text of every recorded move to the file.
    void writeLine(const std::string &path) const;
    // Full mode: hides what completion lists of the closed dialog are still on screen.
    static void hideCompletionPopups(QWidget &dialog);
    // The chosen file of a file dialog, or an empty text when cancelled.
    QString chooseFile(QFileDialog *dialog);

    TKorvaneMode m_mode = TKorvaneMode::Default;
    // In the start-up order: the diagram, made and never used, then the line, which uses the
    // boxes. Only full mode ever replaces the line.
    TQtMessageBoxes m_boxes;
    TArgumentationDiagram m_diagram;
    std::unique_ptr<TLineOfArgumentation> m_line;
    TArgumentsView m_argumentsView = TArgumentsView::avCoordinated;
    // Full mode: the moves, the file they came from (empty for a new line), the runner. A file
    // of another format (AIF, Argdown) is never written over with moves: Save asks for a name instead.
    TMoveHistory m_history;
    std::string m_fileName;
    bool m_fileHoldsMoves = false;
    TMoveRunner m_runner{this};
    // True while the views are rebuilt after a move: the diagram keeps its boxes' places then.
    bool m_keepDiagramPlaces = false;

    // Widgets: all owned by this window through Qt's parent chain.
    QFrame *m_buttonPanel = nullptr;
    QGroupBox *m_argueGroupBox = nullptr;
    QPushButton *m_statementButton = nullptr;
    QPushButton *m_reasonConclusionButton = nullptr;
    QPushButton *m_exceptionButton = nullptr;
    QGroupBox *m_viewGroupBox = nullptr;
    QPushButton *m_viewLineOfArgumentationButton = nullptr;
    QPushButton *m_viewStatementsButton = nullptr;
    QPushButton *m_viewReasonsButton = nullptr;
    QPushButton *m_viewArgumentsButton = nullptr;
    QFrame *m_scrollBox = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QListWidget *m_statementsList = nullptr;
    QListWidget *m_reasonsList = nullptr;
    QTreeView *m_argumentsTree = nullptr;
    TArgumentsModel *m_argumentsModel = nullptr;
    TTreeDepth *m_argumentsDepth = nullptr;
    QPushButton *m_prosConsButton = nullptr;
    QPushButton *m_viewDiagramButton = nullptr; // Full mode only, as is the view.
    TDiagramView *m_diagramView = nullptr;
    // Full mode shows the statements with their types and statuses here, not in the list.
    QTreeWidget *m_statementsTable = nullptr;

    QMenu *m_fileMenu = nullptr;
    QMenu *m_argueMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QAction *m_new = nullptr;
    QAction *m_open = nullptr;
    QAction *m_save = nullptr;
    QAction *m_saveAs = nullptr;
    QAction *m_print = nullptr;
    QAction *m_printSetup = nullptr;
    QAction *m_exit = nullptr;
    QAction *m_statement = nullptr;
    QAction *m_reasonConclusion = nullptr;
    QAction *m_exception = nullptr;
    QAction *m_prosCons = nullptr;
    QAction *m_back = nullptr;
    QAction *m_forward = nullptr;
    QAction *m_lineOfArgumentation = nullptr;
    QAction *m_statements = nullptr;
    QAction *m_reasons = nullptr;
    QAction *m_arguments = nullptr;
    QAction *m_options = nullptr;
    QAction *m_contents = nullptr;
    QAction *m_about = nullptr;
    QAction *m_undo = nullptr; // Full mode only, as are the two below.
    QAction *m_redo = nullptr;
    QLabel *m_stageLabel = nullptr;
    QAction *m_diagramAction = nullptr; // Full mode only, as are the five below.
    QAction *m_zoomIn = nullptr;
    QAction *m_zoomOut = nullptr;
    QAction *m_fitToWindow = nullptr;
    QAction *m_showKey = nullptr;
    QAction *m_export = nullptr;
    QFileDialog *m_exportDialog = nullptr;
    QComboBox *m_pdfFit = nullptr; // In the export dialog: how a PDF goes on paper.
    // Made when Print is first chosen, then kept with its settings: the sheet a PDF goes on too.
    std::unique_ptr<QPrinter> m_printer;
    QPrintDialog *m_printDialog = nullptr;
    QWidget *m_printFitTab = nullptr; // The print dialog's tab with the choice below.
    QComboBox *m_printFit = nullptr;

    QFileDialog *m_openDialog = nullptr;
    QFileDialog *m_saveDialog = nullptr;
    TStatementForm *m_statementForm = nullptr;
    TExceptionForm *m_exceptionForm = nullptr;
    TReasonConclusionForm *m_reasonConclusionForm = nullptr;
    TAboutForm *m_aboutForm = nullptr;
    TOptionsForm *m_optionsForm = nullptr;
    THelpForm *m_helpForm = nullptr; // Full mode only.
};
