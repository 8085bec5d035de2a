// Saves a PNG of the main window in each of its four views after the worked example's three
// moves, and of full mode's diagram with its key: korvane-<view>.png in the folder given as the
// only argument.
#include "ui/diagramview.h"
#include "ui/korvaneunit.h"

#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QThread>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvane-screenshots <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make folder %s\n", argv[1]);
        return 1;
    }

    TKorvaneForm form;
    form.show();
    workedExample(form);

    const struct {
        void (TKorvaneForm::*show)();
        const char *file;
    } views[] = {
        {&TKorvaneForm::ShowLineOfArgumentation, "korvane-lineofargumentation.png"},
        {&TKorvaneForm::ShowStatements, "korvane-statements.png"},
        {&TKorvaneForm::ShowReasons, "korvane-reasons.png"},
        {&TKorvaneForm::ShowArguments, "korvane-arguments.png"},
    };
    for (const auto &view : views) {
        (form.*view.show)();
        QApplication::processEvents();
        const QString path = folder.filePath(QString::fromLatin1(view.file));
        if (!form.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }

    TKorvaneForm full(TKorvaneMode::Full);
    full.resize(960, 640);
    full.show();
    workedExample(full);
    full.MovesDone(); // as a dialog does after its moves, so the status bar counts them
    full.ShowDiagram();
    while (full.DiagramView()->layingOut()) {
        QApplication::processEvents();
        QThread::msleep(5);
    }
    QApplication::processEvents();
    const QString diagram = folder.filePath(QStringLiteral("korvane-diagram.png"));
    if (!full.grab().save(diagram)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(diagram));
        return 1;
    }
    std::printf("%s\n", qPrintable(diagram));
    return 0;
}
