#include "ui/failurehandler.h"

#include "ui/utf8.h"

#include <QMessageBox>

void ShowFailure(const QString &message, QWidget *parent)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Korvane"), message + QLatin1Char('.'),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("FailureBox"));
    // File paths and sentences may hold '<' or '&': never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString currentFailureMessage()
{
    try {
        throw;
    } catch (const std::exception &failure) {
        return qtText(failure.what());
    } catch (...) {
        return QStringLiteral("Unknown failure");
    }
}
