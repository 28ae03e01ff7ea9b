// What the program's command line asks for: open files in windows (the default), print the
// help or the version, or convert files without a window (`--export OUT IN`, repeated).
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct ExportJob {
    QString output;   // the file to write; its extension names the format
    QString input;    // any file the program opens
};

struct CommandLineOptions {
    enum class Action { OpenFiles, Help, Version, Export, Invalid };
    Action action = Action::OpenFiles;
    QStringList files;               // OpenFiles: the files to open
    std::vector<ExportJob> jobs;     // Export: in the order given
    double dpi = 0;                  // bitmaps: pixels per inch; 0 = one pixel a point
    int width = 0;                   // bitmaps: the image's width in pixels; 0 = from dpi
    QString pages;                   // "1,3,5-7"; empty = every page
    bool drawingArea = false;        // --area drawing: only what the objects cover
    QString error;                   // Invalid: what is wrong, for the user
};

// Reads the arguments after the program's name. `--export OUT` pairs with the input files in
// order: the n-th `--export` converts the n-th input.
CommandLineOptions parseCommandLine(const QStringList &arguments);

// The text `--help` prints.
QString commandLineHelp();
