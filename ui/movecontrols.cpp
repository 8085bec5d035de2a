#include "ui/movecontrols.h"

#include "ui/utf8.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

namespace {

bool isLineBreak(QChar c)
{
    switch (c.unicode()) {
    case 0x000A: // line feed
    case 0x000B: // vertical tab
    case 0x000C: // form feed
    case 0x000D: // carriage return
    case 0x0085: // next line
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
        return true;
    default:
        return false;
    }
}

// The text with its line breaks as blanks; *pos, when given, follows its character.
QString replaceLineBreaks(const QString &text, int *pos)
{
    QString result;
    result.reserve(text.size());
    const int oldPos = pos ? *pos : 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!isLineBreak(c)) {
            result.append(c);
            continue;
        }
        result.append(QLatin1Char(' '));
        // CR LF is one break and becomes one blank.
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            if (pos && i + 1 < oldPos)
                --*pos;
            ++i;
        }
    }
    return result;
}

bool isNotTheDialogsOwn(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

} // namespace

QString withoutLineBreaks(const QString &text) { return replaceLineBreaks(text, nullptr); }

std::vector<TSentenceText> shownStatements(const TStatements &statements)
{
    std::vector<TSentenceText> shown;
    shown.reserve(statements.Count());
    for (const TStatement *statement : statements)
        shown.push_back({statement->Text, statement->StatementType});
    return shown;
}

QStringList statementTexts(const std::vector<TSentenceText> &statements)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(statements.size()));
    for (const TSentenceText &statement : statements)
        texts.append(qtText(statement.Text));
    return texts;
}

void setTabOrderChain(std::initializer_list<QWidget *> widgets)
{
    QWidget *previous = nullptr;
    for (QWidget *widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

QValidator::State TOneLineValidator::validate(QString &input, int &pos) const
{
    if (std::any_of(input.cbegin(), input.cend(), isLineBreak))
        input = replaceLineBreaks(input, &pos);
    return Acceptable;
}

TMoveComboBox::TMoveComboBox(const char *name, const QString &placeholder, QWidget *parent)
    : QComboBox(parent)
    , m_placeholder(placeholder)
{
    setObjectName(QLatin1String(name));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMinimumWidth(409);
    setValidator(new TOneLineValidator(this));
    // The default completer ignores case and completes inline, which would turn a typed "a"
    // into "A" or "ab" behind the user's back.
    completer()->setCaseSensitivity(Qt::CaseSensitive);
    completer()->setCompletionMode(QCompleter::PopupCompletion);
    // Installed after the completer's own filter, so it sees the popup's keys first.
    completer()->popup()->installEventFilter(this);
    setTextQuietly(placeholder);
}

void TMoveComboBox::setEntries(QStringList texts)
{
    std::stable_sort(texts.begin(), texts.end(), showsBefore);
    const QString text = currentText();
    // clear() would blank the text and the first entry added would become the text.
    const QSignalBlocker blocker(this);
    clear();
    addItems(texts);
    setCurrentIndex(-1);
    setEditText(text);
}

void TMoveComboBox::setTextQuietly(const QString &text)
{
    const QSignalBlocker blocker(this);
    setEditText(text);
}

QStringList TMoveComboBox::entries() const
{
    QStringList texts;
    for (int row = 0; row < count(); ++row)
        texts.append(itemText(row));
    return texts;
}

std::string TMoveComboBox::sentence() const { return modelText(currentText()); }

void TMoveComboBox::selectAllText() { lineEdit()->selectAll(); }

bool TMoveComboBox::showsBefore(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

bool TMoveComboBox::eventFilter(QObject *watched, QEvent *event)
{
    QAbstractItemView *popup = completer()->popup();
    if (watched == popup && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool picked =
            popup->selectionModel() && popup->selectionModel()->isSelected(popup->currentIndex());
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !picked) {
            // Nothing picked: the typed text stands, and Enter goes on to the dialog once the
            // popup has closed.
            popup->hide();
            QCoreApplication::postEvent(
                this, new QKeyEvent(QEvent::KeyPress, key->key(), key->modifiers(), key->text()));
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TMoveComboBox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !view()->isVisible()) {
        // Not the box's business: ignored, the key goes on to the dialog's default button.
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TMoveComboBox::focusInEvent(QFocusEvent *event)
{
    QComboBox::focusInEvent(event);
    if (!isNotTheDialogsOwn(event->reason()))
        emit entered();
}

void TMoveComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    // A dialog that hides or goes behind a message box keeps its focus where it was.
    if (!isNotTheDialogsOwn(event->reason()) && window()->isVisible())
        emit exited();
}

bool acceptSentence(TMoveComboBox *box, const QString &what)
{
    const QString text = box->currentText();
    QString problem;
    if (text.trimmed().isEmpty())
        problem =
            QStringLiteral("Type the %1: a sentence cannot be empty or only blanks.").arg(what);
    else if (text == box->placeholder())
        problem = QStringLiteral("Type the %1: \"%2\" only holds its place.").arg(what, text);
    if (problem.isEmpty())
        return true;
    QMessageBox message(QMessageBox::Warning, QStringLiteral("Korvane"), problem, QMessageBox::Ok,
                        box->window());
    message.setObjectName(QStringLiteral("SentenceBox"));
    message.setTextFormat(Qt::PlainText);
    message.exec();
    box->setFocus(Qt::OtherFocusReason);
    box->selectAllText();
    return false;
}

QPushButton *newCancelButton(QDialog *dialog)
{
    auto *button = new QPushButton(QStringLiteral("Ca&ncel"), dialog); // full mode only
    button->setObjectName(QStringLiteral("CancelButton"));
    button->setFixedSize(75, 25);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
    return button;
}

QCheckBox *newWarrantCheckBox(const QString &caption, const char *name, bool full, QDialog *dialog)
{
    auto *box = new QCheckBox(caption, dialog);
    box->setObjectName(QLatin1String(name));
    if (!full)
        box->setFixedSize(201, 17);
    box->setVisible(full);
    return box;
}

QPushButton *addButtonRow(QBoxLayout *layout, QPushButton *ok, QCheckBox *warrant, bool full,
                          QDialog *dialog)
{
    QPushButton *cancel = full ? newCancelButton(dialog) : nullptr;
    auto *row = new QHBoxLayout;
    row->addWidget(ok);
    if (cancel) {
        row->addWidget(cancel);
        row->addSpacing(24);
    } else {
        row->addSpacing(133);
    }
    row->addWidget(warrant);
    row->addStretch();
    layout->addLayout(row);
    return cancel;
}

TTypeRadioGroup::TTypeRadioGroup(const char *name, const QString &title, QWidget *parent)
    : QGroupBox(title, parent)
{
    setObjectName(QLatin1String(name));
    setMinimumSize(409, 49);
    auto *layout = new QHBoxLayout(this);
    m_items = new QButtonGroup(this);
    const QString captions[] = {QStringLiteral("Issue"), QStringLiteral("Assumption")};
    for (int index = 0; index < 2; ++index) {
        auto *radio = new QRadioButton(captions[index], this);
        radio->setObjectName(objectName() + QString::number(index));
        m_items->addButton(radio, index);
        // Two equal columns, as wide as half the group each.
        layout->addWidget(radio, 1);
    }
    m_items->button(0)->setChecked(true);
    // The fixed height is a floor, never less than the buttons need: with larger fonts or a
    // fractional scale a group held at 49 pixels cut off the bottom of its buttons.
    setMinimumHeight(std::max(minimumHeight(), minimumSizeHint().height()));
}

TStatementType TTypeRadioGroup::statementType() const
{
    return itemIndex() == 0 ? TStatementType::Issue : TStatementType::Assumption;
}

void TTypeRadioGroup::setStatementType(TStatementType type)
{
    setItemIndex(type == TStatementType::Issue ? 0 : 1);
}

int TTypeRadioGroup::itemIndex() const { return m_items->checkedId(); }

void TTypeRadioGroup::setItemIndex(int index) { m_items->button(index)->setChecked(true); }

QRadioButton *TTypeRadioGroup::item(int index) const
{
    return static_cast<QRadioButton *>(m_items->button(index));
}

void TTypeRadioGroup::followType(const std::string &text,
                                 const std::vector<TSentenceText> &statements)
{
    for (const TSentenceText &statement : statements)
        if (statement.Text == text)
            setStatementType(statement.StatementType);
}
