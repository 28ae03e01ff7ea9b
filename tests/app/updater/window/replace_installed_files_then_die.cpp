// For the updater's window test: replaces the files of the install at a prefix with those of
// a new tree as the program does, and is killed (SIGKILL) right after the given step (a file
// written beside its place, or a rename).
// Usage: replace_installed_files_then_die PREFIX NEW-TREE STEPS
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
    int steps = 0;
    QString error;
    replaceInstalledFiles(QFile::decodeName(argv[1]), QFile::decodeName(argv[2]), &error, [&] {
        if (++steps == killAfter)
            std::raise(SIGKILL);
    });
    std::fprintf(stderr, "not killed after %d steps: %s\n", steps, qPrintable(error));
    return 1;
}
