// The journalled replacement of the installed files.
#include "app/updater/file_replacement.h"

#include "app/updater/installed_files.h"
#include "app/updater/update_files.h"
#include "platform/foundation/file_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString NewSuffix = QStringLiteral(".vekanto-new");
const QString OldSuffix = QStringLiteral(".vekanto-old");
const QString ProgramPath = QStringLiteral("bin/vekanto");

enum class Action { Replace, Add, Remove };

struct Step {
    Action action;
    QString path;        // relative to the prefix
    QByteArray sha256;   // the new file's (Add only: what the undo may remove)
};

struct Journal {
    QString state;   // "staging", "replacing" or "replaced"
    QList<Step> steps;
};

const char *actionName(Action action)
{
    return action == Action::Replace ? "replace" : action == Action::Add ? "add" : "remove";
}

bool writeJournal(const QString &root, const Journal &journal, QString *error)
{
    QByteArray text = "state " + journal.state.toLatin1() + '\n';
    for (const Step &step : journal.steps) {
        text += actionName(step.action);
        if (step.action == Action::Add)
            text += ' ' + step.sha256;
        text += ' ' + QFile::encodeName(step.path) + '\n';
    }
    return writeWholeFile(updateJournalPath(root), text, error);
}

std::optional<Journal> readJournal(const QString &root)
{
    QFile file(updateJournalPath(root));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.isEmpty() || !lines.front().startsWith("state "))
        return std::nullopt;
    Journal journal{QString::fromLatin1(lines.takeFirst().mid(6)), {}};
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            continue;
        const qsizetype space = line.indexOf(' ');
        const QByteArray name = line.left(space);
        Step step{Action::Replace, {}, {}};
        QByteArray rest = line.mid(space + 1);
        if (name == "add") {
            step.action = Action::Add;
            step.sha256 = rest.left(64);
            rest = rest.mid(65);
        } else if (name == "remove") {
            step.action = Action::Remove;
        } else if (name != "replace") {
            return std::nullopt;
        }
        step.path = QFile::decodeName(rest);
        if (space < 0 || !isSafeRelativePath(step.path))
            return std::nullopt;
        journal.steps.append(step);
    }
    return journal;
}

bool exists(const QString &path)
{
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}

// Keeps the old file under a second name without copying it; a copy where the file system
// has no hard links.
bool keepAside(const QString &path, const QString &aside)
{
    return ::link(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0
           || (errno != EEXIST && QFile::copy(path, aside));
}

bool renameOver(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// A rename that never replaces a file that appeared at the target meanwhile.
bool renameToFreeName(const QString &from, const QString &to)
{
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return false;
    QFile::remove(from);
    return true;
}

// Writes a copy of the new file beside its place, on disk before the journal moves on.
bool stage(const QString &source, const QString &target)
{
    QFile in(source), out(target);
    if (!QDir().mkpath(QFileInfo(target).path()) || !in.open(QIODevice::ReadOnly)
        || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    QByteArray block;
    while (!(block = in.read(1 << 20)).isEmpty())
        if (out.write(block) != block.size())
            return false;
    return out.flush() && ::fsync(out.handle()) == 0 && out.setPermissions(in.permissions()) && in.error() == QFile::NoError;
}

void undo(const QString &root, const Journal &journal)
{
    for (const Step &step : journal.steps) {
        const QString path = root + QLatin1Char('/') + step.path;
        const QString aside = path + OldSuffix;
        switch (step.action) {
        case Action::Replace:
            // A rename between two names of the same file does nothing: the kept name goes then.
            if (exists(aside) && renameOver(aside, path))
                QFile::remove(aside);
            QFile::remove(path + NewSuffix);
            break;
        case Action::Add:
            QFile::remove(path + NewSuffix);
            if (QFileInfo(path).isFile() && sha256OfFile(path) == step.sha256)
                QFile::remove(path);
            break;
        case Action::Remove:
            if (exists(aside) && !exists(path))
                renameOver(aside, path);
            break;
        }
    }
    QFile::remove(updateJournalPath(root));
}

void finish(const QString &root, const Journal &journal)
{
    for (const Step &step : journal.steps)
        if (step.action != Action::Add)
            QFile::remove(root + QLatin1Char('/') + step.path + OldSuffix);
    QFile::remove(updateJournalPath(root));
}

// The steps from the old list to the new one; the list itself goes second to last and the
// program last, so that until the very end the old program is the one that starts.
QList<Step> stepsBetween(const QList<InstalledFile> &oldFiles, const QList<InstalledFile> &newFiles)
{
    QHash<QString, QByteArray> old;
    for (const InstalledFile &file : oldFiles)
        old.insert(file.path, file.sha256);
    QList<Step> steps;
    QSet<QString> kept;
    for (const InstalledFile &file : newFiles) {
        kept.insert(file.path);
        const auto found = old.constFind(file.path);
        if (found == old.cend())
            steps.append({Action::Add, file.path, file.sha256});
        else if (*found != file.sha256)
            steps.append({Action::Replace, file.path, {}});
    }
    for (const InstalledFile &file : oldFiles)
        if (!kept.contains(file.path))
            steps.append({Action::Remove, file.path, {}});
    steps.append({Action::Replace, InstalledFilesListName, {}});
    std::stable_partition(steps.begin(), steps.end(), [](const Step &s) { return s.path != ProgramPath; });
    return steps;
}

} // namespace

QString updateJournalPath(const QString &root)
{
    return root + QStringLiteral("/share/vekanto/update-journal");
}

ReplaceOutcome replaceInstalledFiles(const QString &root, const QString &newRoot, QString *error,
                                     const std::function<void()> &afterEachStep)
{
    const auto oldFiles = readInstalledFiles(root, error);
    if (!oldFiles || !filesMatchList(root, *oldFiles, error))
        return ReplaceOutcome::Refused;
    if (exists(updateJournalPath(root))) {
        *error = QStringLiteral("An earlier update of %1 is unfinished; start Vekanto once to settle it.").arg(root);
        return ReplaceOutcome::Refused;
    }
    QString newError;
    const auto newFiles = readInstalledFiles(newRoot, &newError);
    if (!newFiles || !filesMatchList(newRoot, *newFiles, &newError)) {
        *error = QStringLiteral("The update is damaged: %1").arg(newError);
        return ReplaceOutcome::Failed;
    }
    Journal journal{QStringLiteral("staging"), stepsBetween(*oldFiles, *newFiles)};
    for (const Step &step : journal.steps) {
        const QString path = root + QLatin1Char('/') + step.path;
        const QString inTheWay = step.action == Action::Add && exists(path) ? path
                                 : exists(path + NewSuffix)                 ? path + NewSuffix
                                 : exists(path + OldSuffix)                 ? path + OldSuffix
                                                                            : QString();
        if (!inTheWay.isEmpty()) {
            *error = QStringLiteral("%1 is not Vekanto's own file, and the update would replace it.").arg(inTheWay);
            return ReplaceOutcome::Refused;
        }
    }
    const auto fail = [&](const QString &reason) {
        undo(root, journal);
        *error = reason;
        return ReplaceOutcome::Failed;
    };
    if (!writeJournal(root, journal, error))
        return fail(QStringLiteral("The update journal cannot be written: %1").arg(*error));
    for (const Step &step : journal.steps) {
        const QString path = root + QLatin1Char('/') + step.path;
        if (step.action == Action::Remove)
            continue;
        if (!stage(newRoot + QLatin1Char('/') + step.path, path + NewSuffix))
            return fail(QStringLiteral("%1 cannot be written.").arg(path + NewSuffix));
        if (afterEachStep)
            afterEachStep();
    }
    journal.state = QStringLiteral("replacing");
    if (!writeJournal(root, journal, error))
        return fail(QStringLiteral("The update journal cannot be written: %1").arg(*error));
    for (const Step &step : journal.steps) {
        const QString path = root + QLatin1Char('/') + step.path;
        const bool done = step.action == Action::Replace ? keepAside(path, path + OldSuffix) && renameOver(path + NewSuffix, path)
                          : step.action == Action::Add   ? renameToFreeName(path + NewSuffix, path)
                                                         : renameOver(path, path + OldSuffix);
        if (!done)
            return fail(QStringLiteral("%1 cannot be replaced.").arg(path));
        if (afterEachStep)
            afterEachStep();
    }
    journal.state = QStringLiteral("replaced");
    if (!writeJournal(root, journal, error))
        return fail(QStringLiteral("The update journal cannot be written: %1").arg(*error));
    return ReplaceOutcome::Replaced;
}

void settleInterruptedUpdate(const QString &root)
{
    const auto journal = readJournal(root);
    if (!journal)
        return;
    if (journal->state == QLatin1String("replaced"))
        finish(root, *journal);
    else if (journal->state == QLatin1String("staging") || journal->state == QLatin1String("replacing"))
        undo(root, *journal);
}
