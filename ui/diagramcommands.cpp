// Full mode's diagram: the fifth view with its button, menu entries and zoom commands, and the
// File menu's Export and Print.

#include "ui/korvaneunit.h"

#include "model/explanation.h"
#include "ui/diagramexport.h"
#include "ui/diagramview.h"
#include "ui/failurehandler.h"
#include "ui/viewprint.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

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
}

void TKorvaneForm::ShowDiagram()
{
    m_diagramView->showStage(*m_line->CurrentStage, explainedStage().get());
    showView(m_diagramView, m_viewDiagramButton);
}

void TKorvaneForm::exportStage(const QString &path, const QString &filter)
{
    const TExportFormat *format = ExportFormatFor(path, filter);
    if (!format)
        return;
    // A name without an extension gets the chosen format's.
    const QString file =
        QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + format->extension : path;
    format->write(*m_line, file);
}

void TKorvaneForm::PrintView(QPrinter &printer)
{
    if (!m_diagramView->isHidden()) {
        PrintDiagram(*m_line->CurrentStage, printer);
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
    if (m_runner.busy() || m_exportDialog->exec() != QDialog::Accepted)
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
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printDialog = new QPrintDialog(m_printer.get(), this);
        m_printDialog->setObjectName(QStringLiteral("PrintDialog1"));
    }
    if (m_printDialog->exec() == QDialog::Accepted)
        runGuarded([this] { PrintView(*m_printer); }, this);
}
