#pragma once

#include <QObject>

#include <atomic>
#include <functional>

class QWidget;
class TLineOfArgumentation;

// Runs the model's work for a command on a thread of its own while the user-interface thread
// goes on drawing, so that a long move never freezes the window. After ShowAfterMs a busy
// indicator with a Cancel button appears; Cancel stops the move through the line's cancel flag,
// and the move's rollback leaves the line as it was. Nothing may read the line while it runs:
// the views show snapshots, and the window refuses commands while busy().
class TMoveRunner {
public:
    static constexpr int ShowAfterMs = 200;

    explicit TMoveRunner(QWidget *window)
        : m_window(window)
    {
    }

    // Runs work, which may change only line, and waits for it while handling events. True when it
    // ran to its end, false when the user cancelled it; any other failure of work is rethrown
    // here, on the user-interface thread.
    bool run(TLineOfArgumentation &line, const std::function<void()> &work);
    bool busy() const { return m_busy; }

private:
    QWidget *m_window; // Not owned: the window the indicator belongs to.
    std::atomic<bool> m_cancel = false;
    bool m_busy = false;
};
