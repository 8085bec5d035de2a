#include "ui/korvaneunit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    // The main window creates the line of argumentation and then its five dialogs, in order.
    TKorvaneForm korvaneForm;
    korvaneForm.show();
    return QApplication::exec();
}
