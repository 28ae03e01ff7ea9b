// The object sets in memory and their files.
#include "app/object_sets/object_set_store.h"

#include "model/vek_obj_path.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/file_writing.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/foundation/plist_xml_format.h"
#include "platform/geometry/affine_transform.h"
#include "platform/image/image_file.h"
#include "toolkit/path_editing.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString SetExtension = QStringLiteral("vekset");

QByteArray tiffOf(const QImage &image)
{
    return image.isNull() ? QByteArray() : encodeBitmap(BitmapRep(image), "tiff");
}

// Set files and the predecessor's files are XML property lists; the text form is read too.
PropertyList propertyListOfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    const QByteArray start = data.trimmed().left(1);
    return start == "{" || start == "(" ? propertyListFromText(data) : propertyListFromXml(data);
}

} // namespace

ObjectSetStore::ObjectSetStore(QString folder) : m_folder(std::move(folder)) {}

QStringList ObjectSetStore::setNames() const
{
    QStringList names;
    for (const auto &[name, items] : m_sets)
        names << name;
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

const ObjectSetItems &ObjectSetStore::items(const QString &name) const
{
    static const ObjectSetItems none;
    const auto found = m_sets.find(name);
    return found == m_sets.end() ? none : found->second;
}

void ObjectSetStore::setItems(const QString &name, ObjectSetItems items)
{
    m_sets[name] = std::move(items);
}

void ObjectSetStore::removeSet(const QString &name)
{
    m_sets.erase(name);
}

void ObjectSetStore::renameSet(const QString &from, const QString &to)
{
    if (from == to || !hasSet(from))
        return;
    ObjectSetItems moved = std::move(m_sets[from]);
    m_sets.erase(from);
    m_sets[to] = std::move(moved);
}

QString ObjectSetStore::freeNameGrowing(const QString &name) const
{
    QString free = name;
    for (int counter = 1; hasSet(free); ++counter)
        free += QString::number(counter);
    return free;
}

QString ObjectSetStore::freeNameNumbered(const QString &name) const
{
    QString free = name;
    for (int counter = 1; hasSet(free); ++counter)
        free = name + QString::number(counter);
    return free;
}

int ObjectSetStore::readAll()
{
    int read = 0;
    if (!QFileInfo(m_folder).isDir())
        return read;
    QDirIterator files(m_folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        if (!readinSetFrom(files.next()).isEmpty())
            ++read;
    return read;
}

QString ObjectSetStore::readinSetFrom(const QString &path)
{
    if (QFileInfo(path).suffix() != SetExtension)
        return {};
    const PropertyList stored = propertyListOfFile(path).value(QStringLiteral("objects"));
    ObjectSetItems items;
    for (const PropertyList &entry : stored.elements()) {
        // An entry whose objects cannot be recreated is passed over; a preview that does
        // not decode is drawn again from the objects.
        std::vector<std::shared_ptr<VekObject>> objects;
        for (qsizetype i = 1; i < entry.count(); ++i)
            if (auto object = VekObject::objectWithPropertyListRepresentation(entry.at(i)))
                objects.push_back(std::move(object));
        if (objects.empty())
            continue;
        QImage preview = readImageData(entry.at(0).dataValue()).toQImage();
        if (preview.isNull())
            preview = cellImageWith(objects);
        items.push_back({preview, std::move(objects)});
    }
    if (items.empty())
        return {};
    QString name = QFileInfo(path).completeBaseName();
    if (name.isEmpty())
        name = localizedString(QStringLiteral("Untitled"));
    name = freeNameGrowing(name);
    m_sets[name] = std::move(items);
    return name;
}

QStringList ObjectSetStore::readinQoMtSetsFrom(const QString &path)
{
    QStringList added;
    const PropertyList sets = propertyListOfFile(path);
    for (const PropertyList::Entry &entry : sets.entries()) {
        ObjectSetItems items;
        for (const PropertyList &datum : entry.second.elements()) {
            const ArchiveResult<BezierPath> decoded = unarchiveBezierPathWithData(datum.dataValue());
            if (!decoded.value)
                continue;
            // The predecessor's paths are y-up: turned over within their control points.
            BezierPath path = *decoded.value;
            const Rect area = path.controlPointBounds();
            AffineTransform flip;
            flip.translateXBy(0, area.height());
            flip.scaleXBy(1, -1);
            path.transformUsingAffineTransform(flip);
            const Rect bounds = path.bounds();
            const auto object = VekObjPath::create();
            object->setBezierPathSimplyAs(keepAtBase(path));
            object->setBoundsSimplyAs(bounds);
            if (auto item = itemWith({object}))
                items.push_back(std::move(*item));
        }
        if (items.empty())
            continue;
        const QString name = freeNameNumbered(entry.first);
        m_sets[name] = std::move(items);
        added << name;
    }
    return added;
}

QString ObjectSetStore::filePathFor(const QString &name) const
{
    return QDir(m_folder).filePath(name + QLatin1Char('.') + SetExtension);
}

bool ObjectSetStore::updateSupportFileFor(const QString &name) const
{
    const QString path = filePathFor(name);
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return false;
    PropertyList objects = PropertyList::array();
    for (const ObjectSetItem &item : items(name)) {
        PropertyList entry = PropertyList::array();
        entry.append(PropertyList::fromData(tiffOf(item.preview)));
        for (const auto &object : item.objects)
            entry.append(object->propertyListRepresentation());
        objects.append(entry);
    }
    PropertyList root = PropertyList::dictionary();
    root.insert(QStringLiteral("objects"), objects);
    const QByteArray data = xmlPropertyListData(root);
    if (data.isEmpty() || !QDir().mkpath(m_folder))
        return false;
    return writeWholeFile(path, data);
}

bool ObjectSetStore::deleteSupportFileFor(const QString &name) const
{
    const QString path = filePathFor(name);
    return !QFileInfo::exists(path) || QFile::remove(path);
}

std::optional<ObjectSetItem> ObjectSetStore::itemWith(std::vector<std::shared_ptr<VekObject>> objects)
{
    if (objects.empty())
        return std::nullopt;
    QImage preview = cellImageWith(objects);
    return ObjectSetItem{std::move(preview), std::move(objects)};
}
