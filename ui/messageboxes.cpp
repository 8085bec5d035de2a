#include "ui/messageboxes.h"

#include "ui/utf8.h"

#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

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
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), QString(), QMessageBox::Ok);
    box.setObjectName(QStringLiteral("WarningBox"));
    prepareBox(box, text);
    box.exec();
}

bool TQtMessageBoxes::Confirm(const std::string &text)
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
