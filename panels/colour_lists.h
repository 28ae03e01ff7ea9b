// ColourListStore: the user's colour lists, one "clr" file each in the colour-list folder
// (the support folder's "Colors"), named after the list. The colour panel's accessory adds
// pattern colours to them; the application installs the default pattern list from its
// resources.
#pragma once

#include "platform/color/color_list.h"
#include "platform/foundation/support_folder.h"

#include <QStringList>

class ColourListStore {
public:
    explicit ColourListStore(QString folder = vekSupportPath() + QStringLiteral("/Colors"));

    const QString &folder() const { return m_folder; }
    QString filePathFor(const QString &listName) const;
    // The lists in the folder, sorted without regard to case.
    QStringList listNames() const;
    bool hasList(const QString &listName) const;
    // The list, or why its file cannot be read.
    ArchiveResult<ColorList> list(const QString &listName) const;
    // Writes the list's file (making the folder); false when that fails.
    bool writeList(const ColorList &list) const;
    bool removeList(const QString &listName) const;
    // "New", else "New1" to "New48"; empty when all are taken.
    QString newListName() const;

    enum class AddResult { Added, Duplicate, Failed };
    // Adds the colour to the list (made when missing) and writes its file; a list whose file
    // does not read is left as it is (Failed).
    AddResult addColor(const QString &listName, const QString &colorName, const Color &color) const;

    // Installs the default pattern list from the program's resources as "Vekanto Patterns"
    // (or "Vekanto Patterns 1", ...). Answers the list's name, or empty with the reason.
    QString addDefaultPatternColors(QString *error) const;

private:
    QString m_folder;
};
