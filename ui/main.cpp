#include "ui/commandline.h"
#include "ui/korvaneunit.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Before the application object, which loads a platform plugin and so needs a display.
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    if (const QString answer = TextOnlyAnswer(arguments); !answer.isEmpty()) {
        std::fputs(answer.toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));

    const TCommandLine line = ParseCommandLine(QApplication::arguments().mid(1));
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", line.error.toLocal8Bit().constData());
        return 2;
    }
    if (line.help) { // after "--" a help option is a file name, so this cannot happen
        std::fputs(TextOnlyAnswer({QStringLiteral("--help")}).toLocal8Bit().constData(), stdout);
        return 0;
    }

    // The main window creates the line of argumentation and then its five dialogs, in order.
    TKorvaneForm korvaneForm(line.full ? TKorvaneMode::Full : TKorvaneMode::Default);
    korvaneForm.show();
    if (!line.file.isEmpty())
        // Once the window is on screen, so that a message about the file has a window to go with.
        QTimer::singleShot(0, &korvaneForm, [&] { korvaneForm.OpenMoveFile(line.file); });
    return QApplication::exec();
}
