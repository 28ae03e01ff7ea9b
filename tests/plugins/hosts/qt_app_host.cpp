// The plug-in host inside a Qt program that made its own application object before loading
// the plug-ins: a QGuiApplication when built with VEK_HOST_GUI, else a QCoreApplication.
#include "tests/plugins/hosts/plugin_host.h"

#ifdef VEK_HOST_GUI
#include <QGuiApplication>
using HostApplication = QGuiApplication;
#else
#include <QCoreApplication>
using HostApplication = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    int applicationArgc = 1;
    HostApplication application(applicationArgc, argv);
    return run_plugin_host(argc, argv);
}
