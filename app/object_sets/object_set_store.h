// ObjectSetStore: the named sets of reusable drawings that the object-set palette shows.
// Each item of a set is one or more drawing objects with a 23 x 23 preview image. Every set
// is one property-list file in the support folder, named after the set with the extension
// "vekset" (key "objects": one array per item, the preview's TIFF data first, then the
// objects' dictionaries); the set's name is the file's name. The store also builds the
// default set from the shape library and converts the predecessor's "qomtSet" files.
#pragma once

#include "model/vek_object.h"
#include "platform/foundation/support_folder.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

struct ObjectSetItem {
    QImage preview;
    std::vector<std::shared_ptr<VekObject>> objects;   // at least one
};
using ObjectSetItems = std::vector<ObjectSetItem>;

class ObjectSetStore {
public:
    explicit ObjectSetStore(QString folder = vekSupportPath());

    const QString &folder() const { return m_folder; }
    bool hasSet(const QString &name) const { return m_sets.count(name) != 0; }
    int setCount() const { return int(m_sets.size()); }
    // Sorted without regard to case.
    QStringList setNames() const;
    // Empty for an unknown set.
    const ObjectSetItems &items(const QString &name) const;
    void setItems(const QString &name, ObjectSetItems items);
    void removeSet(const QString &name);
    // The set's items under the new name; the old name is gone.
    void renameSet(const QString &from, const QString &to);

    // Reads every set file in the folder and its subfolders; answers how many were read.
    int readAll();
    // Reads one set file; answers the name it was stored under (the file's name, with
    // digits appended while that is taken), empty when the file holds no item.
    QString readinSetFrom(const QString &path);
    // Reads a predecessor set file: every set of Bezier paths becomes a set of path objects
    // (under its key, with the smallest free number appended when taken). Answers the
    // names stored.
    QStringList readinQoMtSetsFrom(const QString &path);
    // Builds the set of the library's ready-made shapes under "default" (or "default1",
    // ...). Answers its name; no file is written.
    QString addDefaultSet();

    QString filePathFor(const QString &name) const;
    // Writes the set's file (removing an old one first); false when either fails.
    bool updateSupportFileFor(const QString &name) const;
    // Removes the set's file; false when it exists and cannot be removed.
    bool deleteSupportFileFor(const QString &name) const;

    // The item made of the objects: its preview first. Nothing without objects.
    static std::optional<ObjectSetItem> itemWith(std::vector<std::shared_ptr<VekObject>> objects);
    // The 23 x 23 preview of the objects, fitted and centred; null when there are none or
    // their bounds are empty.
    static QImage cellImageWith(const std::vector<std::shared_ptr<VekObject>> &objects);

private:
    // The name, with the digits of 1, 2, 3, ... appended in turn while it is taken.
    QString freeNameGrowing(const QString &name) const;
    // The name, or the name with the smallest number that makes it free.
    QString freeNameNumbered(const QString &name) const;

    QString m_folder;
    std::map<QString, ObjectSetItems> m_sets;
};
