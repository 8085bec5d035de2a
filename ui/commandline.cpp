#include "ui/commandline.h"

TCommandLine ParseCommandLine(const QStringList &arguments)
{
    TCommandLine line;
    bool onlyFiles = false;
    for (const QString &argument : arguments) {
        if (!onlyFiles && argument == QStringLiteral("--")) {
            onlyFiles = true;
        } else if (!onlyFiles
                   && (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))) {
            line.help = true;
        } else if (!onlyFiles && argument == QStringLiteral("--full")) {
            line.full = true;
        } else if (!onlyFiles && argument.size() > 1 && argument.startsWith(QLatin1Char('-'))) {
            line.error =
                QStringLiteral("korvane: unknown option '%1'; %2").arg(argument, KorvaneUsage);
            return line;
        } else if (!line.file.isEmpty()) {
            line.error = QStringLiteral("korvane: more than one FILE; %1").arg(KorvaneUsage);
            return line;
        } else {
            line.file = argument;
        }
    }
    // A file is opened by full mode only: the default mode reads no file at start-up.
    if (!line.file.isEmpty() && !line.full && !line.help)
        line.error = QStringLiteral("korvane: a FILE needs --full; %1").arg(KorvaneUsage);
    return line;
}

QString TextOnlyAnswer(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (argument == QStringLiteral("--"))
            break;
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h"))
            return KorvaneUsage
                   + QStringLiteral(
                       "\nStarts Korvane, the argument assistant. --full adds the file commands, "
                       "undo\nand redo, and opens FILE, a file of moves, when one is given.\n");
        if (argument == QStringLiteral("--version"))
            return QStringLiteral("korvane " KORVANE_VERSION "\n");
    }
    return {};
}
