#include "ui/moverunner.h"

#include "dialogue/lineofargumentation.h"
#include "model/movescope.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>

bool TMoveRunner::run(TLineOfArgumentation &line, const std::function<void()> &work)
{
    m_busy = true;
    m_cancel = false;
    line.SetCancelFlag(&m_cancel);
    // The window and its dialogs stay as they are (disabling them would move the focus, and a
    // dialog's type groups follow the box that loses it); the window refuses commands while
    // busy() instead.
    std::exception_ptr failure;
    // Published last by the thread, read after it ends: the thread's writes happen before what
    // this thread does next, in a way a race detector sees through Qt's own waiting too.
    std::atomic<bool> finished = false;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true, std::memory_order_release);
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);

    // Made only once it is due: a progress dialog shows itself on a timer of its own.
    std::unique_ptr<QProgressDialog> indicator;
    QTimer showLater;
    showLater.setSingleShot(true);
    QObject::connect(&showLater, &QTimer::timeout, [&] {
        // Not over a question the move is asking: the indicator waits until it is answered.
        if (qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            showLater.start(ShowAfterMs);
            return;
        }
        indicator = std::make_unique<QProgressDialog>(QStringLiteral("Working on the move..."),
                                                      QStringLiteral("Cancel"), 0, 0, m_window);
        indicator->setObjectName(QStringLiteral("BusyIndicator"));
        indicator->setWindowTitle(QStringLiteral("Korvane"));
        indicator->setWindowModality(Qt::ApplicationModal);
        indicator->setMinimumDuration(0);
        QObject::connect(indicator.get(), &QProgressDialog::canceled, [this] { m_cancel = true; });
        indicator->show();
    });

    thread->start();
    showLater.start(ShowAfterMs);
    if (!thread->isFinished())
        loop.exec();
    thread->wait();
    while (!finished.load(std::memory_order_acquire)) {
    }
    showLater.stop();
    indicator.reset();

    line.SetCancelFlag(nullptr);
    m_busy = false;
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const TMoveCancelled &) {
            return false;
        }
    }
    return true;
}
