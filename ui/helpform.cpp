#include "ui/helpform.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

THelpForm::THelpForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Korvane Help"));
    resize(900, 600);
    auto *layout = new QVBoxLayout(this);

    auto *findRow = new QHBoxLayout;
    auto *findLabel = new QLabel(QStringLiteral("&Find:"), this);
    m_findBox = new QLineEdit(this);
    m_findBox->setObjectName(QStringLiteral("HelpFindBox"));
    m_findBox->setAccessibleName(QStringLiteral("Find in help"));
    m_findBox->setClearButtonEnabled(true);
    findLabel->setBuddy(m_findBox);
    findRow->addWidget(findLabel);
    findRow->addWidget(m_findBox, 1);
    layout->addLayout(findRow);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    m_contents = new QTreeWidget(splitter);
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setAccessibleName(QStringLiteral("Contents"));
    m_contents->setHeaderHidden(true);
    m_browser = new QTextBrowser(splitter);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setAccessibleName(QStringLiteral("Help"));
    m_browser->setOpenExternalLinks(true);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 680});
    layout->addWidget(splitter, 1);

    // The guide is built into the program, so it is there wherever the program is installed.
    QFile guide(QStringLiteral(":/guide/docs/guide.md"));
    if (guide.open(QIODevice::ReadOnly))
        m_browser->setMarkdown(QString::fromUtf8(guide.readAll()));
    listHeadings();

    connect(m_contents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (!item)
            return;
        // Scroll the heading to the top, not merely into view.
        QTextCursor cursor(m_browser->document()->findBlockByNumber(item->data(0, Qt::UserRole).toInt()));
        m_browser->moveCursor(QTextCursor::End);
        m_browser->setTextCursor(cursor);
        m_browser->ensureCursorVisible();
    });
    connect(m_findBox, &QLineEdit::returnPressed, this, &THelpForm::findNext);
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        m_findBox->setFocus(Qt::ShortcutFocusReason);
        m_findBox->selectAll();
    });
    auto *again = new QShortcut(QKeySequence::FindNext, this);
    connect(again, &QShortcut::activated, this, &THelpForm::findNext);
}

void THelpForm::listHeadings()
{
    // Level 1 is the guide's title; its sections and subsections make the contents.
    QTreeWidgetItem *section = nullptr;
    for (QTextBlock block = m_browser->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 2)
            continue;
        auto *item = level == 2 || !section ? new QTreeWidgetItem(m_contents)
                                            : new QTreeWidgetItem(section);
        if (level == 2)
            section = item;
        item->setText(0, block.text());
        item->setData(0, Qt::UserRole, block.blockNumber());
    }
    m_contents->expandAll();
}

bool THelpForm::findNext()
{
    const QString text = m_findBox->text();
    if (text.isEmpty())
        return false;
    if (m_browser->find(text))
        return true;
    m_browser->moveCursor(QTextCursor::Start);
    return m_browser->find(text);
}
