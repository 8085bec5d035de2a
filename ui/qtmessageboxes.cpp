#include "ui/qtmessageboxes.h"

#include "ui/utf8.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QThread>

#include <atomic>
#include <functional>

namespace {

// Keeps a box centred on its screen. Qt centres a box once, before its word-wrapped text has
// settled its height, so without this a long message ends up below the middle.
class TScreenCentring : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Resize) {
            auto *box = static_cast<QWidget *>(watched);
            if (const QScreen *screen = box->screen()) {
                QRect frame = box->frameGeometry();
                frame.moveCenter(screen->availableGeometry().center());
                box->move(frame.topLeft());
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// Boxes have no parent, so Qt centres them on the screen rather than over a window; they are
// application-modal, which blocks the main window and any open dialog alike.
void prepareBox(QMessageBox &box, const std::string &text)
{
    box.setTextFormat(Qt::PlainText); // A sentence holding '<' must show as typed.
    box.setText(TQtMessageBoxes::boxText(text));
    if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
        label->setWordWrap(true);
    box.installEventFilter(new TScreenCentring(&box));
}

// A question from another thread, for the user-interface thread to answer.
struct TPendingQuestion {
    std::function<void()> ask;
    std::atomic<bool> answered = false;
};
// One at a time: the asking thread waits for the answer. The flags, not Qt's queue and wait,
// order the two threads' work, so that a race detector sees the order too; and the function Qt
// carries over is one without captures, so that Qt's copy of it holds nothing either side reads.
std::atomic<TPendingQuestion *> s_pending = nullptr;

// Runs ask on the user-interface thread: a move computed on a thread of its own asks its questions
// through here, and waits for the answer.
template <typename Ask>
auto onUserInterfaceThread(Ask ask)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (QThread::currentThread() == application->thread())
        return ask();
    decltype(ask()) answer{};
    TPendingQuestion question{[&] { answer = ask(); }};
    s_pending.store(&question, std::memory_order_release);
    QMetaObject::invokeMethod(
        application,
        [] {
            TPendingQuestion *pending = s_pending.exchange(nullptr, std::memory_order_acq_rel);
            pending->ask();
            pending->answered.store(true, std::memory_order_release);
        },
        Qt::BlockingQueuedConnection);
    while (!question.answered.load(std::memory_order_acquire)) {
    }
    return answer;
}

} // namespace

QString TQtMessageBoxes::boxText(const std::string &text)
{
    QString shown = qtText(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void TQtMessageBoxes::Warning(const std::string &text)
{
    onUserInterfaceThread([&] {
        warning(text);
        return true;
    });
}

bool TQtMessageBoxes::Confirm(const std::string &text)
{
    return onUserInterfaceThread([&] { return confirm(text); });
}

void TQtMessageBoxes::warning(const std::string &text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), QString(), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("WarningBox"));
    prepareBox(box, text);
    box.exec();
}

bool TQtMessageBoxes::confirm(const std::string &text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), QString(),
                    QMessageBox::Yes | QMessageBox::No);
    box.setObjectName(QStringLiteral("ConfirmBox"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    prepareBox(box, text);
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}
