#include <QApplication>

#include <gtest/gtest.h>

// Qt tests need one application object for the whole run; the offscreen platform keeps them
// off any display.
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
