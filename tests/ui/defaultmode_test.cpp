#include "ui/korvaneunit.h"

#include "uitest.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMetaProperty>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

// What the program shows when started without options: every named widget and action of the main
// window and its dialogs. Any change fails here; KORVANE_UPDATE_GOLDEN=1 writes the new dump.

namespace {

QString quoted(QString text)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QStringLiteral(" \"") + text + QLatin1Char('"');
}

QString named(const QObject *object, int depth)
{
    return QString(2 * depth, QLatin1Char(' ')) + object->objectName() + QLatin1Char(' ')
           + QLatin1String(object->metaObject()->className());
}

// The text a user reads on the widget, for the classes that have one: a button's or label's
// text, a group's title, a combo box's current text, a window's title.
QString caption(const QWidget *widget)
{
    if (widget->isWindow())
        return widget->windowTitle();
    for (const char *property : {"text", "title", "currentText"})
        if (widget->metaObject()->indexOfProperty(property) >= 0)
            return widget->property(property).toString();
    return QString();
}

// The keys of an enum or flags property, e.g. "AcceptSave" or "DontUseNativeDialog".
QString enumKeys(const QObject *object, const char *name)
{
    const QMetaObject *type = object->metaObject();
    const QMetaProperty property = type->property(type->indexOfProperty(name));
    const int value = property.read(object).toInt();
    const QMetaEnum keys = property.enumerator();
    return QString::fromLatin1(keys.isFlag() ? keys.valueToKeys(value)
                                             : QByteArray(keys.valueToKey(value)));
}

// Qt's own helpers go by names like qt_scrollarea_viewport.
const QLatin1String Internal("qt_");

// Qt's composite widgets, whose children are their own business.
bool isComposite(const QWidget *w)
{
    return qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractScrollArea *>(w)
           || qobject_cast<const QFileDialog *>(w) || qobject_cast<const QMenuBar *>(w)
           || qobject_cast<const QMenu *>(w) || qobject_cast<const QDialogButtonBox *>(w)
           || qobject_cast<const QStatusBar *>(w);
}

// A menu is listed by its own name and title, then its actions one level deeper.
void dumpAction(QStringList &lines, const QAction *action, int depth)
{
    const QMenu *menu = action->menu();
    QString line = named(menu ? static_cast<const QObject *>(menu) : action, depth);
    line += action->isSeparator() ? QStringLiteral(" separator") : quoted(action->text());
    line += QString::asprintf(" visible=%d enabled=%d", action->isVisible(), action->isEnabled());
    const QString keys =
        QKeySequence::listToString(action->shortcuts(), QKeySequence::PortableText);
    if (!keys.isEmpty())
        line += QStringLiteral(" shortcut") + quoted(keys);
    if (action->isCheckable())
        line += QString::asprintf(" checked=%d", action->isChecked());
    lines.append(line);
    if (menu)
        for (const QAction *item : menu->actions())
            dumpAction(lines, item, depth + 1);
}

// A window's place is on the screen, a widget's in its window, whatever containers lie between.
void dumpWidget(QStringList &lines, const QWidget *widget, int depth)
{
    const QWidget *window = widget->window();
    const bool isWindow = widget == window;
    const QPoint at = isWindow ? widget->pos() : widget->mapTo(window, QPoint(0, 0));
    QString line = named(widget, depth);
    if (isWindow || !caption(widget).isEmpty())
        line += quoted(caption(widget));
    line +=
        QString::asprintf(" visible=%d enabled=%d at=%d,%d size=%dx%d",
                          isWindow ? widget->isVisible() : widget->isVisibleTo(window),
                          widget->isEnabled(), at.x(), at.y(), widget->width(), widget->height());
    if (!widget->accessibleName().isEmpty())
        line += QStringLiteral(" accessible") + quoted(widget->accessibleName());
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget);
        button && button->isCheckable())
        line += QString::asprintf(" checked=%d", button->isChecked());
    lines.append(line);
    // The menu bar's menus, and the window's own named actions; Qt's unnamed ones are left out.
    for (const QAction *own : widget->actions())
        if (own->menu()
            || (!own->objectName().isEmpty() && !own->objectName().startsWith(Internal)))
            dumpAction(lines, own, depth + 1);
}

// The named widgets under parent in tree order; other windows and Qt's internals are left out.
void dumpTree(QStringList &lines, const QWidget *parent, int depth)
{
    for (const QObject *child : parent->children()) {
        const auto *widget = qobject_cast<const QWidget *>(child);
        if (!widget || widget->isWindow() || child->objectName().startsWith(Internal))
            continue;
        const bool isNamed = !child->objectName().isEmpty();
        if (isNamed)
            dumpWidget(lines, widget, depth);
        if (!isComposite(widget))
            dumpTree(lines, widget, isNamed ? depth + 1 : depth);
    }
}

TEST(TDefaultModeTest, WindowsMenusAndDialogsMatchTheGoldenDump)
{
    TKorvaneForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QApplication::processEvents();

    QStringList lines;
    dumpWidget(lines, &form, 0);
    lines.append(QStringLiteral("  visible view: ") + visibleView(form));
    dumpTree(lines, &form, 1);
    // The dialogs in creation order, each shown on its own so that its layout is done.
    for (QObject *child : form.children()) {
        auto *window = qobject_cast<QWidget *>(child);
        if (!window || !window->isWindow())
            continue;
        if (const auto *files = qobject_cast<const QFileDialog *>(window)) {
            // Never shown: its own settings only, for its insides are Qt's.
            dumpWidget(lines, files, 0);
            lines.append(QStringLiteral("  acceptMode=%1 fileMode=%2 viewMode=%3 options=%4")
                             .arg(enumKeys(files, "acceptMode"), enumKeys(files, "fileMode"),
                                  enumKeys(files, "viewMode"), enumKeys(files, "options")));
            lines.append(QStringLiteral("  nameFilters")
                         + quoted(files->nameFilters().join(QLatin1Char('|')))
                         + QStringLiteral(" defaultSuffix") + quoted(files->defaultSuffix()));
            continue;
        }
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window)) << window->objectName().toStdString();
        QApplication::processEvents();
        dumpWidget(lines, window, 0);
        dumpTree(lines, window, 1);
        window->hide();
    }

    QFile file(QStringLiteral(KORVANE_UI_GOLDEN_DIR "/defaultmode.txt"));
    if (qEnvironmentVariable("KORVANE_UPDATE_GOLDEN") == QLatin1String("1")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text));
        file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        GTEST_SKIP() << "wrote " << file.fileName().toStdString();
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << KORVANE_UI_GOLDEN_DIR;
    const QStringList golden =
        QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The first few lines that differ, "(end)" past the end of the shorter dump.
    const QString end = QStringLiteral("(end)");
    for (qsizetype i = 0, shown = 0; i < std::max(golden.size(), lines.size()) && shown < 5; ++i) {
        shown += golden.value(i, end) != lines.value(i, end);
        EXPECT_EQ(lines.value(i, end).toStdString(), golden.value(i, end).toStdString())
            << "line " << i + 1;
    }
    EXPECT_EQ(lines.size(), golden.size());
}

} // namespace
