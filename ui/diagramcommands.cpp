// Full mode's diagram: the fifth view with its button, menu entries and zoom commands, and the
// File menu's Export and Print.

#include "ui/korvaneunit.h"

#include "model/argumentationstage.h"
#include "model/explanation.h"
#include "ui/diagramexport.h"
#include "ui/diagramview.h"
#include "ui/exceptionunit.h"
#include "ui/failurehandler.h"
#include "ui/reasonconclusionunit.h"
#include "ui/statementunit.h"
#include "ui/utf8.h"
#include "ui/viewprint.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

#include <initializer_list>
#include <utility>

namespace {

// A choice of how the diagram goes on paper, each item's data its TPageFit.
QComboBox *fitBox(std::initializer_list<std::pair<QString, TPageFit>> fits)
{
    auto *box = new QComboBox;
    for (const auto &[text, fit] : fits)
        box->addItem(text, static_cast<int>(fit));
    return box;
}

} // namespace

void TKorvaneForm::createDiagram()
{
    m_diagramView = new TDiagramView(m_scrollBox);
    m_diagramView->hide();
    m_scrollBox->layout()->addWidget(m_diagramView);

    m_viewDiagramButton = new QPushButton(QStringLiteral("Diagram"), m_viewGroupBox);
    m_viewDiagramButton->setObjectName(QStringLiteral("ViewDiagramSpeedButton"));
    m_viewDiagramButton->setMinimumSize(105, 25);
    m_viewDiagramButton->setAutoDefault(false);
    m_viewDiagramButton->setCheckable(true);
    m_viewGroupBox->layout()->addWidget(m_viewDiagramButton);
    connect(m_viewDiagramButton, &QPushButton::clicked, this,
            &TKorvaneForm::ViewDiagramSpeedButtonClick);
    setTabOrder(m_viewArgumentsButton, m_viewDiagramButton);
    setTabOrder(m_viewDiagramButton, m_memo);
    setTabOrder(m_argumentsTree, m_diagramView);

    // After the four views, before the hidden Options entry.
    QAction *options = m_viewMenu->findChild<QAction *>(QStringLiteral("N5"));
    m_diagramAction = new QAction(QStringLiteral("&Diagram"), this);
    m_diagramAction->setObjectName(QStringLiteral("Diagram1"));
    m_viewMenu->insertAction(options, m_diagramAction);
    connect(m_diagramAction, &QAction::triggered, this, &TKorvaneForm::Diagram1Click);
    m_viewMenu->insertSeparator(options);
    const struct {
        QAction *&action;
        const char *name;
        QString caption;
        QList<QKeySequence> shortcuts;
        void (TDiagramView::*zoom)();
    } zooms[] = {
        {m_zoomIn,
         "ZoomIn1",
         QStringLiteral("Zoom &In"),
         {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
         &TDiagramView::zoomIn},
        {m_zoomOut,
         "ZoomOut1",
         QStringLiteral("Zoom &Out"),
         {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
         &TDiagramView::zoomOut},
        {m_fitToWindow,
         "FitToWindow1",
         QStringLiteral("&Fit to Window"),
         {QKeySequence(Qt::CTRL | Qt::Key_0)},
         &TDiagramView::fitToWindow},
    };
    for (const auto &each : zooms) {
        each.action = new QAction(each.caption, this);
        each.action->setObjectName(QLatin1String(each.name));
        each.action->setShortcuts(each.shortcuts);
        each.action->setEnabled(false); // Until the diagram shows.
        m_viewMenu->insertAction(options, each.action);
        connect(each.action, &QAction::triggered, m_diagramView, each.zoom);
    }

    m_showKey = new QAction(QStringLiteral("Show &Key"), this);
    m_showKey->setObjectName(QStringLiteral("ShowKey1"));
    m_showKey->setCheckable(true);
    m_showKey->setChecked(true);
    m_viewMenu->insertAction(options, m_showKey);
    connect(m_showKey, &QAction::toggled, m_diagramView, &TDiagramView::setKeyShown);

    connect(m_diagramView, &TDiagramView::actionRequested, this, &TKorvaneForm::diagramAction);
    connect(m_diagramView, &TDiagramView::boxActivated, this, &TKorvaneForm::selectDiagramBox);

    // Export after the file commands; Print, hidden in the default mode, shows here.
    m_export = new QAction(QStringLiteral("&Export..."), this);
    m_export->setObjectName(QStringLiteral("Export1"));
    m_export->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_fileMenu->insertAction(m_fileMenu->findChild<QAction *>(QStringLiteral("N2")), m_export);
    connect(m_export, &QAction::triggered, this, &TKorvaneForm::Export1Click);
    m_print->setVisible(true);
    m_print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(m_print, &QAction::triggered, this, &TKorvaneForm::Print1Click);

    m_exportDialog = new QFileDialog(this, QStringLiteral("Export"));
    m_exportDialog->setObjectName(QStringLiteral("ExportDialog1"));
    m_exportDialog->setOption(QFileDialog::DontUseNativeDialog);
    m_exportDialog->setAcceptMode(QFileDialog::AcceptSave);
    m_exportDialog->setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const TExportFormat &format : ExportFormats())
        filters.append(format.filter);
    m_exportDialog->setNameFilters(filters);
    // How a PDF goes on paper, below the file name and filter; the sheet is the printer's.
    m_pdfFit = fitBox({{QStringLiteral("One page the diagram's size"), TPageFit::DiagramSize},
                       {QStringLiteral("Fit to one sheet"), TPageFit::OnePage},
                       {QStringLiteral("Spread over sheets at full size"), TPageFit::Pages}});
    m_pdfFit->setObjectName(QStringLiteral("PdfPagesComboBox"));
    auto *pdfLabel = new QLabel(QStringLiteral("PDF &pages:"));
    pdfLabel->setBuddy(m_pdfFit);
    if (auto *grid = qobject_cast<QGridLayout *>(m_exportDialog->layout())) {
        const int row = grid->rowCount();
        grid->addWidget(pdfLabel, row, 0);
        grid->addWidget(m_pdfFit, row, 1);
    }

    // The print dialog's own tab for the diagram, kept here until the dialog is made.
    m_printFitTab = new QWidget(this);
    m_printFitTab->setWindowTitle(QStringLiteral("Diagram"));
    m_printFitTab->hide();
    m_printFit = fitBox({{QStringLiteral("Fit to one page"), TPageFit::OnePage},
                         {QStringLiteral("Spread over pages at full size"), TPageFit::Pages}});
    m_printFit->setObjectName(QStringLiteral("PrintPagesComboBox"));
    auto *printLabel = new QLabel(QStringLiteral("Diagram &pages:"));
    printLabel->setBuddy(m_printFit);
    auto *tabLayout = new QFormLayout(m_printFitTab);
    tabLayout->addRow(printLabel, m_printFit);
}

void TKorvaneForm::ShowDiagram()
{
    m_diagramView->showSnapshot(
        DiagramSnapshot(*m_line->CurrentStage, explainedStage().get(), m_line->AifExtras.get()),
        m_keepDiagramPlaces);
    showView(m_diagramView, m_viewDiagramButton);
}

void TKorvaneForm::StartStatementMove(const TSentenceText &statement)
{
    if (m_runner.busy() || m_line->FileName.empty())
        return;
    m_statementForm->prefill(statement);
    command(&TKorvaneForm::StartStatementMove);
}

void TKorvaneForm::StartReasonConclusionMove(std::optional<TSentenceText> conclusion,
                                             std::optional<TSentenceText> reason)
{
    if (m_runner.busy() || m_line->FileName.empty())
        return;
    m_reasonConclusionForm->prefill(std::move(conclusion), std::move(reason));
    command(&TKorvaneForm::StartReasonConclusionMove);
}

void TKorvaneForm::StartExceptionMove(const TSentenceText &conclusion, const TSentenceText &reason)
{
    if (m_runner.busy() || m_line->FileName.empty())
        return;
    m_exceptionForm->prefill(conclusion, reason);
    command(&TKorvaneForm::StartExceptionMove);
}

TSentenceText TKorvaneForm::stageSentence(const QString &text) const
{
    TSentenceText sentence{modelText(text), TStatementType::Issue};
    for (const TStatement *statement : m_line->CurrentStage->Statements) {
        if (statement->Text == sentence.Text)
            sentence.StatementType = statement->StatementType;
    }
    return sentence;
}

void TKorvaneForm::startReasonConclusionFromSelection()
{
    if (FullMode() && !m_statementsTable->isHidden() && m_statementsTable->currentItem()
        && m_statementsTable->currentItem()->isSelected()) {
        StartReasonConclusionMove(stageSentence(m_statementsTable->currentItem()->text(0)),
                                  std::nullopt);
        return;
    }
    command(&TKorvaneForm::StartReasonConclusionMove);
}

void TKorvaneForm::startExceptionFromSelection()
{
    // The step of the selected entry: in the reasons view the block it stands in, in the
    // arguments view a reason's node under its conclusion's.
    const TReasonConclusion *selected = nullptr;
    const TArgumentationStage &stage = *m_line->CurrentStage;
    if (FullMode() && !m_reasonsList->isHidden() && m_reasonsList->currentRow() >= 0
        && m_reasonsList->currentItem()->isSelected()) {
        int first = 0;
        for (const TReasonConclusion *step : stage.ReasonConclusions) {
            const int rows = 4 + (step->Exceptions.IsEmpty() ? 1 : 1 + step->Exceptions.Count()) + 1;
            if (m_reasonsList->currentRow() < first + rows) {
                selected = step;
                break;
            }
            first += rows;
        }
    } else if (FullMode() && !m_argumentsTree->isHidden()
               && m_argumentsTree->selectionModel()->isSelected(m_argumentsTree->currentIndex())
               && m_argumentsTree->currentIndex().parent().isValid()) {
        const QModelIndex node = m_argumentsTree->currentIndex();
        const std::string reason = modelText(node.data().toString());
        const std::string conclusion = modelText(node.parent().data().toString());
        for (const TReasonConclusion *step : stage.ReasonConclusions) {
            if (step->Reason->Text == reason && step->Conclusion->Text == conclusion)
                selected = step;
        }
    }
    if (selected) {
        StartExceptionMove({selected->Conclusion->Text, selected->Conclusion->StatementType},
                           {selected->Reason->Text, selected->Reason->StatementType});
        return;
    }
    command(&TKorvaneForm::StartExceptionMove);
}

void TKorvaneForm::diagramAction(TDiagramAction action, int index)
{
    const TDiagramSnapshot &shown = m_diagramView->snapshot();
    const auto sentence = [&](int box) {
        const TDiagramSnapshot::TBox &each = shown.boxes.at(static_cast<std::size_t>(box));
        return TSentenceText{modelText(each.text), each.type};
    };
    switch (action) {
    case TDiagramAction::GiveReason:
        StartReasonConclusionMove(sentence(index), std::nullopt);
        break;
    case TDiagramAction::UseAsReason:
        StartReasonConclusionMove(std::nullopt, sentence(index));
        break;
    case TDiagramAction::Restate:
        StartStatementMove(sentence(index));
        break;
    case TDiagramAction::BlockStep: {
        const auto [reason, conclusion] = shown.stepBoxes.at(static_cast<std::size_t>(index));
        StartExceptionMove(sentence(conclusion), sentence(reason));
        break;
    }
    }
}

void TKorvaneForm::selectDiagramBox(int box)
{
    const QString text = m_diagramView->snapshot().boxes.at(static_cast<std::size_t>(box)).text;
    command(&TKorvaneForm::ShowStatements);
    const QList<QTreeWidgetItem *> rows = m_statementsTable->findItems(text, Qt::MatchExactly, 0);
    if (!rows.isEmpty()) {
        m_statementsTable->setCurrentItem(rows.first());
        m_statementsTable->setFocus(Qt::OtherFocusReason);
    }
}

void TKorvaneForm::exportStage(const QString &path, const QString &filter)
{
    const TExportFormat *format = ExportFormatFor(path, filter);
    if (!format)
        return;
    // A name without an extension gets the chosen format's.
    const QString file =
        QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + format->extension : path;
    const auto fit = static_cast<TPageFit>(m_pdfFit->currentData().toInt());
    format->write(*m_line, file,
                  {fit, fit == TPageFit::DiagramSize ? QPageLayout() : printer().pageLayout()});
}

void TKorvaneForm::PrintView(QPrinter &printer)
{
    if (!m_diagramView->isHidden()) {
        PrintDiagram(*m_line->CurrentStage, printer,
                     static_cast<TPageFit>(m_printFit->currentData().toInt()));
        return;
    }
    for (QWidget *view :
         std::initializer_list<QWidget *>{m_memo, m_statementsTable, m_reasonsList, m_argumentsTree})
        if (!view->isHidden())
            PrintViewText(*view, printer);
}

void TKorvaneForm::ViewDiagramSpeedButtonClick() { chooseView(&TKorvaneForm::ShowDiagram); }
void TKorvaneForm::Diagram1Click() { chooseView(&TKorvaneForm::ShowDiagram); }

void TKorvaneForm::Export1Click()
{
    if (m_runner.busy())
        return;
    const int answer = m_exportDialog->exec();
    hideCompletionPopups(*m_exportDialog);
    if (answer != QDialog::Accepted)
        return;
    const QStringList chosen = m_exportDialog->selectedFiles();
    if (chosen.isEmpty())
        return;
    const QString filter = m_exportDialog->selectedNameFilter();
    runGuarded([&] { exportStage(chosen.first(), filter); }, this);
}

void TKorvaneForm::Print1Click()
{
    if (m_runner.busy())
        return;
    printer();
    if (m_printDialog->exec() == QDialog::Accepted)
        runGuarded([this] { PrintView(*m_printer); }, this);
}

QPrinter &TKorvaneForm::printer()
{
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printDialog = new QPrintDialog(m_printer.get(), this);
        m_printDialog->setObjectName(QStringLiteral("PrintDialog1"));
        m_printFitTab->show();
        m_printDialog->setOptionTabs({m_printFitTab});
    }
    return *m_printer;
}
