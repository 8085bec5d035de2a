#pragma once

#include <QString>
#include <QStringList>

// What korvane was started with. Without options it is the program as it always was.
struct TCommandLine {
    bool full = false;
    bool help = false;
    QString file;  // Full mode's file to open at start-up; empty for none.
    QString error; // One line naming what is wrong; empty when the arguments are sound.
};

inline const QString KorvaneUsage =
    QStringLiteral("usage: korvane [--full [FILE]] [--help] [--version]");

// The arguments after the program's name, once Qt has taken its own.
TCommandLine ParseCommandLine(const QStringList &arguments);

// What korvane prints and exits on, before any window system is reached: the usage for --help
// or -h, the version for --version, when one of them comes before "--"; empty otherwise.
QString TextOnlyAnswer(const QStringList &arguments);
