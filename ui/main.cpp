#include "ui/commandline.h"
#include "ui/korvaneunit.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));

    const TCommandLine line = ParseCommandLine(QApplication::arguments().mid(1));
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "%s\n", line.error.toLocal8Bit().constData());
        return 2;
    }
    if (line.help) {
        std::printf("%s\n"
                    "Starts Korvane, the argument assistant. --full adds the file commands, undo\n"
                    "and redo, and opens FILE, a file of moves, when one is given.\n",
                    KorvaneUsage.toLocal8Bit().constData());
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
