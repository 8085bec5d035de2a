#include "ui/korvaneunit.h"

#include "ui/aboutunit.h"
#include "ui/argumentsmodel.h"
#include "ui/exceptionunit.h"
#include "ui/helpform.h"
#include "ui/optionsunit.h"
#include "ui/reasonconclusionunit.h"
#include "ui/statementunit.h"
#include "ui/treedepth.h"

#include <QAbstractItemView>
#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

namespace {

QAction *newAction(QObject *parent, const char *name, const QString &caption, bool shown)
{
    auto *action = new QAction(caption, parent);
    action->setObjectName(QLatin1String(name));
    action->setVisible(shown);
    return action;
}

QAction *hiddenSeparator(QMenu *menu, const char *name)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(QLatin1String(name));
    separator->setVisible(false);
    return separator;
}

QPushButton *newButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setMinimumSize(105, 25);
    button->setAutoDefault(false);
    return button;
}

QListWidget *newList(QWidget *parent, const char *name, const QString &accessibleName)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setAccessibleName(accessibleName);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return list;
}

} // namespace

TKorvaneForm::TKorvaneForm(QWidget *parent)
    : TKorvaneForm(TKorvaneMode::Default, parent)
{
}

TKorvaneForm::TKorvaneForm(TKorvaneMode mode, QWidget *parent)
    : QMainWindow(parent)
    , m_mode(mode)
    , m_line(std::make_unique<TLineOfArgumentation>(m_boxes))
{
    setObjectName(QStringLiteral("KorvaneForm"));
    createActions();
    createMenus();
    createButtonPanel();
    createViews();
    createFileDialogs();
    FormCreate();
    createDialogs();
    if (FullMode())
        createFullMode();
}

TKorvaneForm::~TKorvaneForm()
{
    // The dialogs read the line while they close; they go first.
    for (QWidget *dialog :
         std::initializer_list<QWidget *>{m_statementForm, m_exceptionForm, m_reasonConclusionForm,
                                          m_aboutForm, m_optionsForm, m_helpForm, m_printDialog})
        delete dialog;
}

void TKorvaneForm::FormCreate()
{
    move(316, 143);
    resize(600, 480);
    NewLineOfArgumentation();
}

void TKorvaneForm::createActions()
{
    m_new = newAction(this, "New1", QStringLiteral("&New"), false);
    m_open = newAction(this, "Open1", QStringLiteral("&Open..."), false);
    m_save = newAction(this, "Save1", QStringLiteral("&Save"), false);
    m_saveAs = newAction(this, "SaveAs1", QStringLiteral("Save &As..."), false);
    m_print = newAction(this, "Print1", QStringLiteral("&Print..."), false);
    m_printSetup = newAction(this, "PrintSetup1", QStringLiteral("P&rint Setup..."), false);
    m_exit = newAction(this, "Exit1", QStringLiteral("E&xit"), true);
    m_statement = newAction(this, "Statement1", QStringLiteral("&Statement"), true);
    m_reasonConclusion =
        newAction(this, "ReasonConclusion1", QStringLiteral("&Reason/conclusion"), true);
    m_exception = newAction(this, "Exception1", QStringLiteral("&Exception"), true);
    m_prosCons = newAction(this, "ProsCons1", QStringLiteral("&Pros && cons"), false);
    m_back = newAction(this, "Back1", QStringLiteral("&Back"), false);
    m_forward = newAction(this, "Forward1", QStringLiteral("&Forward"), false);
    m_lineOfArgumentation =
        newAction(this, "Lineofargumentation1", QStringLiteral("&Line of argumentation"), true);
    m_statements = newAction(this, "Statements1", QStringLiteral("&Statements"), true);
    m_reasons = newAction(this, "Reasons1", QStringLiteral("&Reasons"), true);
    m_arguments = newAction(this, "Arguments1", QStringLiteral("&Arguments"), true);
    m_options = newAction(this, "Options1", QStringLiteral("&Options"), false);
    m_contents = newAction(this, "Contents1", QStringLiteral("&Contents"), false);
    m_about = newAction(this, "About1", QStringLiteral("&About..."), true);

    connect(m_new, &QAction::triggered, this, &TKorvaneForm::New1Click);
    connect(m_open, &QAction::triggered, this, &TKorvaneForm::Open1Click);
    connect(m_save, &QAction::triggered, this, &TKorvaneForm::Save1Click);
    connect(m_saveAs, &QAction::triggered, this, &TKorvaneForm::SaveAs1Click);
    connect(m_exit, &QAction::triggered, this, &TKorvaneForm::Exit1Click);
    connect(m_statement, &QAction::triggered, this, &TKorvaneForm::Statement1Click);
    connect(m_reasonConclusion, &QAction::triggered, this, &TKorvaneForm::ReasonConclusion1Click);
    connect(m_exception, &QAction::triggered, this, &TKorvaneForm::Exception1Click);
    connect(m_prosCons, &QAction::triggered, this, &TKorvaneForm::ProsCons1Click);
    connect(m_lineOfArgumentation, &QAction::triggered, this,
            &TKorvaneForm::Lineofargumentation1Click);
    connect(m_statements, &QAction::triggered, this, &TKorvaneForm::Statements1Click);
    connect(m_reasons, &QAction::triggered, this, &TKorvaneForm::Reasons1Click);
    connect(m_arguments, &QAction::triggered, this, &TKorvaneForm::Arguments1Click);
    connect(m_options, &QAction::triggered, this, &TKorvaneForm::Options1Click);
    connect(m_about, &QAction::triggered, this, &TKorvaneForm::About1Click);
}

void TKorvaneForm::createMenus()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("File1"));
    m_fileMenu->addActions({m_new, m_open, m_save, m_saveAs});
    hiddenSeparator(m_fileMenu, "N2");
    m_fileMenu->addActions({m_print, m_printSetup});
    hiddenSeparator(m_fileMenu, "N1");
    m_fileMenu->addAction(m_exit);

    m_argueMenu = menuBar()->addMenu(QStringLiteral("&Argue"));
    m_argueMenu->setObjectName(QStringLiteral("Move1"));
    m_argueMenu->addActions({m_statement, m_reasonConclusion, m_exception, m_prosCons});
    hiddenSeparator(m_argueMenu, "N4");
    m_argueMenu->addActions({m_back, m_forward});

    m_viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    m_viewMenu->setObjectName(QStringLiteral("View1"));
    m_viewMenu->addActions({m_lineOfArgumentation, m_statements, m_reasons, m_arguments});
    hiddenSeparator(m_viewMenu, "N5");
    m_viewMenu->addAction(m_options);

    m_helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("Help1"));
    m_helpMenu->addAction(m_contents);
    hiddenSeparator(m_helpMenu, "N3");
    m_helpMenu->addAction(m_about);
}

void TKorvaneForm::createButtonPanel()
{
    auto *central = new QWidget(this);
    auto *centralLayout = new QHBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    setCentralWidget(central);

    m_buttonPanel = new QFrame(central);
    m_buttonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    m_buttonPanel->setFrameShape(QFrame::StyledPanel);
    m_buttonPanel->setMinimumWidth(137);
    m_buttonPanel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto *panelLayout = new QVBoxLayout(m_buttonPanel);
    panelLayout->setContentsMargins(8, 8, 8, 8);
    centralLayout->addWidget(m_buttonPanel);

    m_argueGroupBox = new QGroupBox(QStringLiteral("Argue"), m_buttonPanel);
    m_argueGroupBox->setObjectName(QStringLiteral("ArgueGroupBox"));
    auto *argueLayout = new QVBoxLayout(m_argueGroupBox);
    m_statementButton = newButton(m_argueGroupBox, "StatementButton", QStringLiteral("Statement"));
    m_reasonConclusionButton =
        newButton(m_argueGroupBox, "ReasonConclusionButton", QStringLiteral("Reason/conclusion"));
    m_exceptionButton = newButton(m_argueGroupBox, "ExceptionButton", QStringLiteral("Exception"));
    for (QPushButton *button : {m_statementButton, m_reasonConclusionButton, m_exceptionButton})
        argueLayout->addWidget(button);
    panelLayout->addWidget(m_argueGroupBox);

    m_viewGroupBox = new QGroupBox(QStringLiteral("View"), m_buttonPanel);
    m_viewGroupBox->setObjectName(QStringLiteral("ViewGroupBox"));
    auto *viewLayout = new QVBoxLayout(m_viewGroupBox);
    m_viewLineOfArgumentationButton = newButton(
        m_viewGroupBox, "ViewLineOfArgumentationSpeedButton", QStringLiteral("Line of arg."));
    m_viewLineOfArgumentationButton->setAccessibleName(QStringLiteral("Line of argumentation"));
    m_viewStatementsButton =
        newButton(m_viewGroupBox, "ViewStatementsSpeedButton", QStringLiteral("Statements"));
    m_viewReasonsButton =
        newButton(m_viewGroupBox, "viewReasonsSpeedButton", QStringLiteral("Reasons"));
    m_viewArgumentsButton =
        newButton(m_viewGroupBox, "ViewArgumentsSpeedButton", QStringLiteral("Arguments"));
    // One group kept by showView rather than by an exclusive QButtonGroup, which would let Tab
    // reach only one of the four buttons. A click on the button already down raises it, and
    // its handler presses it again, so the clicked button always ends up the only one down.
    for (QPushButton *button : {m_viewLineOfArgumentationButton, m_viewStatementsButton,
                                m_viewReasonsButton, m_viewArgumentsButton}) {
        button->setCheckable(true);
        viewLayout->addWidget(button);
    }
    panelLayout->addWidget(m_viewGroupBox);
    panelLayout->addStretch();

    connect(m_statementButton, &QPushButton::clicked, this, &TKorvaneForm::StatementButtonClick);
    connect(m_reasonConclusionButton, &QPushButton::clicked, this,
            &TKorvaneForm::ReasonConclusionButtonClick);
    connect(m_exceptionButton, &QPushButton::clicked, this, &TKorvaneForm::ExceptionButtonClick);
    connect(m_viewLineOfArgumentationButton, &QPushButton::clicked, this,
            &TKorvaneForm::ViewLineOfArgumentationSpeedButtonClick);
    connect(m_viewStatementsButton, &QPushButton::clicked, this,
            &TKorvaneForm::ViewStatementsSpeedButtonClick);
    connect(m_viewReasonsButton, &QPushButton::clicked, this,
            &TKorvaneForm::ViewReasonsSpeedButtonClick);
    connect(m_viewArgumentsButton, &QPushButton::clicked, this,
            &TKorvaneForm::ViewArgumentsSpeedButtonClick);

    auto *statusBar1 = new QStatusBar(this);
    statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(statusBar1);
}

void TKorvaneForm::createViews()
{
    m_scrollBox = new QFrame(centralWidget());
    m_scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
    m_scrollBox->setFrameShape(QFrame::NoFrame);
    auto *scrollLayout = new QVBoxLayout(m_scrollBox);
    scrollLayout->setContentsMargins(0, 0, 0, 0);
    centralWidget()->layout()->addWidget(m_scrollBox);

    m_memo = new QPlainTextEdit(m_scrollBox);
    m_memo->setObjectName(QStringLiteral("LineOfArgumentationMemo"));
    m_memo->setAccessibleName(QStringLiteral("Line of argumentation"));
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Read-only text is still reachable by Tab and scrollable by keys.
    m_memo->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    m_statementsList = newList(m_scrollBox, "StatementsListView", QStringLiteral("Statements"));
    m_statementsList->setEditTriggers(QAbstractItemView::DoubleClicked
                                      | QAbstractItemView::SelectedClicked
                                      | QAbstractItemView::EditKeyPressed);
    m_reasonsList = newList(m_scrollBox, "ReasonsListView", QStringLiteral("Reasons"));
    m_reasonsList->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_argumentsModel = new TArgumentsModel(this);
    m_argumentsTree = new QTreeView(m_scrollBox);
    m_argumentsTree->setObjectName(QStringLiteral("ArgumentsTreeView"));
    m_argumentsTree->setAccessibleName(QStringLiteral("Arguments"));
    m_argumentsTree->setHeaderHidden(true);
    m_argumentsTree->setIndentation(19);
    m_argumentsTree->setIconSize(QSize(16, 16));
    m_argumentsTree->setUniformRowHeights(true);
    m_argumentsTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_argumentsTree->setModel(m_argumentsModel);
    m_argumentsDepth = new TTreeDepth(m_argumentsTree);

    for (QWidget *view :
         std::initializer_list<QWidget *>{m_memo, m_statementsList, m_reasonsList, m_argumentsTree})
        scrollLayout->addWidget(view);

    // Kept for its place in the window; it does nothing and nothing shows it.
    m_prosConsButton = new QPushButton(QStringLiteral("Pros && cons"), m_scrollBox);
    m_prosConsButton->setObjectName(QStringLiteral("ProsConsButton"));
    m_prosConsButton->resize(105, 25);
    m_prosConsButton->hide();
    connect(m_prosConsButton, &QPushButton::clicked, this, &TKorvaneForm::ProsConsButtonClick);

    setTabOrder(m_statementButton, m_reasonConclusionButton);
    setTabOrder(m_reasonConclusionButton, m_exceptionButton);
    setTabOrder(m_exceptionButton, m_viewLineOfArgumentationButton);
    setTabOrder(m_viewLineOfArgumentationButton, m_viewStatementsButton);
    setTabOrder(m_viewStatementsButton, m_viewReasonsButton);
    setTabOrder(m_viewReasonsButton, m_viewArgumentsButton);
    setTabOrder(m_viewArgumentsButton, m_memo);
    setTabOrder(m_memo, m_statementsList);
    setTabOrder(m_statementsList, m_reasonsList);
    setTabOrder(m_reasonsList, m_argumentsTree);
}

void TKorvaneForm::createDialogs()
{
    // The start-up order of the windows; all are children of this window, so closing it ends
    // the program and nothing outlives it.
    m_statementForm = new TStatementForm(*this, this);
    m_statementForm->setObjectName(QStringLiteral("StatementForm"));
    m_exceptionForm = new TExceptionForm(*this, this);
    m_exceptionForm->setObjectName(QStringLiteral("ExceptionForm"));
    m_reasonConclusionForm = new TReasonConclusionForm(*this, this);
    m_reasonConclusionForm->setObjectName(QStringLiteral("ReasonConclusionForm"));
    m_aboutForm = new TAboutForm(this);
    m_optionsForm = new TOptionsForm(
        [this](TArgumentsView view) {
            m_argumentsView = view;
            ShowArguments();
        },
        this);
}
