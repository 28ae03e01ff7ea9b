// Program entry point: starts the Qt application and shows the main window.
#include "app/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vekanto"));
    QApplication::setOrganizationDomain(QStringLiteral("kestrum"));

    MainWindow window;
    window.show();
    return app.exec();
}
