// The user's colour-list files.
#include "panels/colour_lists.h"

#include "platform/foundation/file_writing.h"
#include "platform/foundation/localized_strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString ListExtension = QStringLiteral("clr");
const QString DefaultPatternsResource = QStringLiteral(":/patterns/Vekanto Patterns.clr");

ArchiveResult<ColorList> readList(const QString &path, const QString &name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ArchiveResult<ColorList> unread;
        unread.error = file.errorString();
        return unread;
    }
    return colorListWithData(file.readAll(), name);
}

} // namespace

ColourListStore::ColourListStore(QString folder) : m_folder(std::move(folder)) {}

QString ColourListStore::filePathFor(const QString &listName) const
{
    return QDir(m_folder).filePath(listName + QLatin1Char('.') + ListExtension);
}

QStringList ColourListStore::listNames() const
{
    QStringList names;
    for (const QFileInfo &file : QDir(m_folder).entryInfoList({QStringLiteral("*.") + ListExtension}, QDir::Files))
        names << file.completeBaseName();
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

bool ColourListStore::hasList(const QString &listName) const
{
    return QFileInfo::exists(filePathFor(listName));
}

ArchiveResult<ColorList> ColourListStore::list(const QString &listName) const
{
    return readList(filePathFor(listName), listName);
}

bool ColourListStore::writeList(const ColorList &list) const
{
    const QByteArray data = colorListData(list);
    if (data.isEmpty() || !QDir().mkpath(m_folder))
        return false;
    return writeWholeFile(filePathFor(list.name), data);
}

bool ColourListStore::removeList(const QString &listName) const
{
    return QFile::remove(filePathFor(listName));
}

QString ColourListStore::newListName() const
{
    const QString base = localizedString(QStringLiteral("New"));
    if (!hasList(base))
        return base;
    for (int n = 1; n <= 48; ++n)
        if (!hasList(base + QString::number(n)))
            return base + QString::number(n);
    return {};
}

ColourListStore::AddResult ColourListStore::addColor(const QString &listName, const QString &colorName,
                                                     const Color &color) const
{
    if (listName.isEmpty() || colorName.isEmpty())
        return AddResult::Failed;
    ColorList target;
    if (hasList(listName)) {
        auto existing = list(listName);
        if (!existing)
            return AddResult::Failed;   // never write over a list that did not read
        target = std::move(*existing.value);
    }
    target.name = listName;
    if (!target.add(colorName, color))
        return AddResult::Duplicate;
    return writeList(target) ? AddResult::Added : AddResult::Failed;
}

QString ColourListStore::addDefaultPatternColors(QString *error) const
{
    const QString base = QStringLiteral("Vekanto Patterns");
    QString name = base;
    for (int n = 1; hasList(name); ++n)
        name = base + QLatin1Char(' ') + QString::number(n);
    if (!QDir().mkpath(m_folder)) {
        *error = localizedString(QStringLiteral("Failed to create a folder \"Colors\"."));
        return {};
    }
    const auto patterns = readList(DefaultPatternsResource, name);
    if (!patterns || patterns.value->colors.empty() || !writeList(*patterns.value)) {
        if (hasList(name))
            removeList(name);
        *error = localizedString(QStringLiteral("Sorry, failed to create a color list with default patterns."));
        return {};
    }
    return name;
}
