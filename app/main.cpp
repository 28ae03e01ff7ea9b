// Program entry point: starts the application controller with the files named on the
// command line.
#include "app/vek_main_controller.h"
#include "platform/foundation/user_defaults.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vekanto"));
    QApplication::setOrganizationDomain(QStringLiteral("kestrum"));
    QApplication::setDesktopFileName(QStringLiteral("kestrum.Vekanto"));

    VekMainController controller(UserDefaults::standardUserDefaults());
    controller.startUp(QApplication::arguments().mid(1));
    return app.exec();
}
