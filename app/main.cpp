// Program entry point: starts the application controller with the files named on the
// command line, or converts files without a window (`--export`), or prints the help or
// the version.
#include "app/app_version.h"
#include "app/command_line/batch_export.h"
#include "app/command_line/command_line_options.h"
#include "app/vek_main_controller.h"
#include "platform/foundation/user_defaults.h"

#include <QApplication>
#include <QTextStream>

#include <cstring>

namespace {

// Whether the program runs without windows: checked before Qt starts, so that a conversion,
// the help, the version and a wrong option never need a display. Qt's own options have one
// dash, the program's long ones two.
bool runsWithoutWindows(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        if (std::strncmp(argv[i], "--", 2) == 0 || std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "-v") == 0)
            return true;
    }
    return false;
}

// Without windows, standard error carries only the program's own messages: Qt's notes on
// the missing display and the like would bury them.
void keepQtWarningsQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        QTextStream(stderr) << message << '\n';
}

} // namespace

int main(int argc, char *argv[])
{
    if (runsWithoutWindows(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(keepQtWarningsQuiet);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vekanto"));
    QApplication::setOrganizationDomain(QStringLiteral("kestrum"));
    QApplication::setDesktopFileName(QStringLiteral("kestrum.Vekanto"));

    // Qt has taken its own options (-platform, -style, ...) from the arguments.
    const CommandLineOptions options = parseCommandLine(QApplication::arguments().mid(1));
    QTextStream out(stdout);
    QTextStream errors(stderr);
    switch (options.action) {
    case CommandLineOptions::Action::Help:
        out << commandLineHelp();
        return 0;
    case CommandLineOptions::Action::Version:
        out << "Vekanto " << VekAppVersion << '\n';
        return 0;
    case CommandLineOptions::Action::Invalid:
        errors << "vekanto: " << options.error << "\nTry 'vekanto --help'.\n";
        return 2;
    case CommandLineOptions::Action::Export: {
        VekMainController controller(UserDefaults::standardUserDefaults());
        controller.installServices();
        return runBatchExport(controller.docController(), options, errors);
    }
    case CommandLineOptions::Action::OpenFiles:
        break;
    }
    VekMainController controller(UserDefaults::standardUserDefaults());
    controller.startUp(options.files);
    return app.exec();
}
