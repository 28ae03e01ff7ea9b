// For the updater's window test: replaces the files of the install at a prefix with those of
// a new tree as the program does, and is killed (SIGKILL) right after the given rename.
// Usage: replace_installed_files_then_die PREFIX NEW-TREE RENAMES
#include "app/updater/file_replacement.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const int killAfter = std::atoi(argv[3]);
    int renames = 0;
    QString error;
    replaceInstalledFiles(QFile::decodeName(argv[1]), QFile::decodeName(argv[2]), &error, [&] {
        if (++renames == killAfter)
            std::raise(SIGKILL);
    });
    std::fprintf(stderr, "not killed after %d renames: %s\n", renames, qPrintable(error));
    return 1;
}
