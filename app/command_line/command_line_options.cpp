// Reading the command line by hand: options may come before or after the files, and every
// `--export` keeps its place so that it pairs with its input.
#include "app/command_line/command_line_options.h"

#include <optional>

namespace {

// The value of `--name VALUE` or `--name=VALUE` at `index`, moving past it; absent when the
// argument is another option.
std::optional<QString> optionValue(const QStringList &arguments, int &index, const QString &name)
{
    const QString &argument = arguments.at(index);
    if (argument.startsWith(name + QLatin1Char('=')))
        return argument.mid(name.size() + 1);
    if (argument != name)
        return std::nullopt;
    if (index + 1 >= arguments.size())
        return QString();
    return arguments.at(++index);
}

CommandLineOptions invalid(const QString &error)
{
    CommandLineOptions options;
    options.action = CommandLineOptions::Action::Invalid;
    options.error = error;
    return options;
}

} // namespace

CommandLineOptions parseCommandLine(const QStringList &arguments)
{
    CommandLineOptions options;
    QStringList outputs;
    bool exportOptionSeen = false;   // a bitmap or page option only makes sense with --export
    bool filesOnly = false;          // after "--" every argument is a file
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (filesOnly || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            options.files.append(argument);
            continue;
        }
        if (argument == QLatin1String("--")) {
            filesOnly = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.action = CommandLineOptions::Action::Help;
            return options;
        } else if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            options.action = CommandLineOptions::Action::Version;
            return options;
        } else if (const auto out = optionValue(arguments, i, QStringLiteral("--export"))) {
            if (out->isEmpty())
                return invalid(QStringLiteral("--export needs the file to write"));
            outputs.append(*out);
        } else if (const auto dpi = optionValue(arguments, i, QStringLiteral("--dpi"))) {
            bool ok = false;
            options.dpi = dpi->toDouble(&ok);
            if (!ok || options.dpi < 1 || options.dpi > 9600)
                return invalid(QStringLiteral("--dpi takes a number from 1 to 9600"));
            exportOptionSeen = true;
        } else if (const auto width = optionValue(arguments, i, QStringLiteral("--width"))) {
            bool ok = false;
            options.width = width->toInt(&ok);
            if (!ok || options.width < 1 || options.width > 100000)
                return invalid(QStringLiteral("--width takes a number of pixels from 1 to 100000"));
            exportOptionSeen = true;
        } else if (const auto pages = optionValue(arguments, i, QStringLiteral("--pages"))) {
            if (pages->isEmpty())
                return invalid(QStringLiteral("--pages needs a list of pages, such as 1,3,5-7"));
            options.pages = *pages;
            exportOptionSeen = true;
        } else if (const auto area = optionValue(arguments, i, QStringLiteral("--area"))) {
            if (*area != QLatin1String("page") && *area != QLatin1String("drawing"))
                return invalid(QStringLiteral("--area is \"page\" or \"drawing\""));
            options.drawingArea = *area == QLatin1String("drawing");
            exportOptionSeen = true;
        } else {
            return invalid(QStringLiteral("unknown option %1").arg(argument));
        }
    }
    if (outputs.isEmpty()) {
        if (exportOptionSeen)
            return invalid(QStringLiteral("--dpi, --width, --pages and --area go with --export"));
        return options;
    }
    if (outputs.size() != options.files.size())
        return invalid(QStringLiteral("every --export OUT needs one input file (%1 outputs, %2 inputs)")
                           .arg(outputs.size())
                           .arg(options.files.size()));
    options.action = CommandLineOptions::Action::Export;
    for (int i = 0; i < outputs.size(); ++i)
        options.jobs.push_back({outputs.at(i), options.files.at(i)});
    options.files.clear();
    return options;
}

QString commandLineHelp()
{
    return QStringLiteral(
        "Usage: vekanto [FILE...]\n"
        "       vekanto --export OUT IN [--export OUT IN ...] [options]\n"
        "\n"
        "Without options, opens the files in windows.\n"
        "\n"
        "  --export OUT IN   convert IN (a Vekanto document, SVG, PDF, image, RTF or predecessor\n"
        "                    document) to OUT without opening a window; the format comes from\n"
        "                    OUT's extension: pdf, png, jpg, jp2, tiff, eps, svg, rtf,\n"
        "                    txt.\n"
        "                    Repeat it to convert several files: the n-th --export takes the\n"
        "                    n-th input.\n"
        "The options below apply to every file of the call.\n"
        "  --dpi N           bitmaps: N pixels per inch (default 72, one pixel a point)\n"
        "  --width N         bitmaps: N pixels wide, the height in proportion\n"
        "  --pages LIST      only these pages, such as 1,3,5-7; a bitmap of several pages\n"
        "                    writes one file a page, numbered (out-1.png, out-3.png, ...)\n"
        "  --area page|drawing\n"
        "                    the whole pages (default) or only what the drawing covers\n"
        "  --help            show this text\n"
        "  --version         show the version\n"
        "\n"
        "Exits 0 when every file was converted; otherwise it says why on standard error and\n"
        "exits 1 (2 for a wrong command line).\n");
}
