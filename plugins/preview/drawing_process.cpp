#include "plugins/preview/drawing_process.h"

#include "platform/foundation/native_path_files.h"
#include "plugins/preview/preview_generation.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// The thumbnailer beside this library (a build tree), else in the installed bin/.
std::string thumbnailerProgram()
{
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void *>(&drawnByThumbnailer), &info) || !info.dli_fname)
        return {};
    std::string folder = info.dli_fname;
    folder.erase(folder.find_last_of('/') + 1);
    for (const std::string &candidate : {folder + "vekanto-thumbnailer",
                                         folder + VEK_HOSTS_FROM_PLUGINS "/vekanto-thumbnailer"})
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    return {};
}

bool runToEnd(const std::string &program, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), program);
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

QByteArray drawnByThumbnailer(const char *path, bool preview, VekPreviewSize maxSize)
{
    const std::string program = thumbnailerProgram();
    QTemporaryDir folder;
    if (program.empty() || !folder.isValid())
        return {};
    // A relative name that starts with "-" must not be read as an option.
    const std::string input = path[0] == '-' ? std::string("./") + path : std::string(path);
    const QByteArray output = QFile::encodeName(folder.filePath(QStringLiteral("answer")));
    std::vector<std::string> arguments;
    if (preview) {
        arguments = {"--preview", input, output.toStdString()};
    } else {
        const double side = maxSize.width > 0 && maxSize.height > 0 ? std::min(maxSize.width, maxSize.height)
                                                                     : double(maximumPreviewPageSide);
        arguments = {"-s", std::to_string(std::clamp(int(side), 1, 4096)), input, output.toStdString()};
    }
    if (!runToEnd(program, arguments))
        return {};
    return readWholeFileAtNativePath(output.constData()).value_or(QByteArray());
}
