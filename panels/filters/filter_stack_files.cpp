#include "panels/filters/filter_stack_files.h"

#include "platform/foundation/file_writing.h"
#include "platform/foundation/plist_xml_format.h"
#include "platform/foundation/support_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QString pathForName(const QString &typedName)
{
    const QString base = filterFileBaseName(typedName);
    if (base.isEmpty())
        return QString();
    return savedFiltersFolder() + QLatin1Char('/') + base + QStringLiteral(".plist");
}

} // namespace

QString savedFiltersFolder()
{
    return vekSupportPath() + QStringLiteral("/filters");
}

QString confirmFilterPathNotExisting(const QString &path)
{
    const QString folder = savedFiltersFolder();
    if (!QDir().mkpath(folder))
        return path;
    if (!QFileInfo::exists(path))
        return path;
    const QString base = QFileInfo(path).completeBaseName();
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("%1/%2_%3.plist").arg(folder, base).arg(n);
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

QString filterFileBaseName(const QString &typedName)
{
    QString name = typedName;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    name.remove(QChar(0));
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    return name;
}

std::vector<SavedFilterStack> readinSavedFilters()
{
    std::vector<SavedFilterStack> stacks;
    const QString folder = savedFiltersFolder();
    const QDir root(folder);
    QDirIterator files(folder, {QStringLiteral("*.plist")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QString title = root.relativeFilePath(path);
        title.chop(int(qstrlen(".plist")));
        stacks.push_back({title, path});
    }
    std::sort(stacks.begin(), stacks.end(),
              [](const SavedFilterStack &a, const SavedFilterStack &b) { return a.title < b.title; });
    return stacks;
}

bool writeFilterStack(const PropertyList &stack, const QString &path)
{
    // The one writer that keeps the old file whole when the disk is full.
    return writeWholeFile(path, xmlPropertyListData(stack));
}

PropertyList readFilterStack(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PropertyList();
    const PropertyList stack = propertyListFromXml(file.readAll());
    return stack.isArray() ? stack : PropertyList();
}

QString saveFilterStack(const PropertyList &stack, const QString &typedName)
{
    const QString wanted = pathForName(typedName);
    if (wanted.isEmpty())
        return QString();
    const QString path = confirmFilterPathNotExisting(wanted);
    return writeFilterStack(stack, path) ? path : QString();
}

QString renameSavedFilterStack(const QString &oldPath, const QString &typedName, const PropertyList &currentStack)
{
    const QString wanted = pathForName(typedName);
    if (wanted.isEmpty() || wanted == oldPath)
        return QString();
    const QString destination = confirmFilterPathNotExisting(wanted);
    if (QFileInfo::exists(oldPath)) {
        const PropertyList saved = readFilterStack(oldPath);
        if (!saved || !writeFilterStack(saved, destination))
            return QString();
        QFile::remove(oldPath);
        return destination;
    }
    if (currentStack.count() == 0 || !writeFilterStack(currentStack, destination))
        return QString();
    return destination;
}
