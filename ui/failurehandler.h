#pragma once

#include <QString>

#include <exception>

class QWidget;

// Shows the application's error box: error icon, caption "Korvane", one OK button, the message
// followed by "."; returns once the user has acknowledged it.
void ShowFailure(const QString &message, QWidget *parent = nullptr);

// The message of the failure being handled (call inside a catch block only).
QString currentFailureMessage();

// Runs a command; a failure ends it and is reported by ShowFailure, so that no exception ever
// reaches Qt's event loop. Returns false when the command failed.
template <typename Command>
bool runGuarded(Command &&command, QWidget *parent = nullptr) noexcept
{
    try {
        command();
        return true;
    } catch (...) {
        try {
            ShowFailure(currentFailureMessage(), parent);
        } catch (...) {
            // Nothing more can be shown; carrying on beats ending the program.
        }
        return false;
    }
}
