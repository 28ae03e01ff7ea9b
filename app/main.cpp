// Program entry point: starts the Qt application and opens the documents named on the
// command line, each in its own window, or an untitled document.
#include "app/main_window.h"
#include "document/vek_document.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <memory>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vekanto"));
    QApplication::setOrganizationDomain(QStringLiteral("kestrum"));

    std::vector<std::unique_ptr<MainWindow>> windows;
    const QStringList files = QApplication::arguments().mid(1);
    for (const QString &file : files) {
        auto document = std::make_unique<VekDocument>();
        DocumentError error;
        if (!document->readFromFile(file, &error)) {
            QMessageBox::critical(nullptr, QStringLiteral("Vekanto"),
                                  QStringLiteral("The document \"%1\" could not be opened.\n%2")
                                      .arg(QFileInfo(file).fileName(), error.description));
            continue;
        }
        windows.push_back(std::make_unique<MainWindow>(std::move(document), QFileInfo(file).fileName()));
    }
    if (windows.empty())
        windows.push_back(std::make_unique<MainWindow>(std::make_unique<VekDocument>(), QStringLiteral("Untitled")));
    for (const auto &window : windows)
        window->show();
    return app.exec();
}
