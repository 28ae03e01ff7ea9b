// The user's lists of page-number and date formats, kept in the user defaults under
// "formats" ("formatsPage", "formatsDate") and shared with the header and footer panel.
//
// A list that is missing or empty in the defaults, and a list whose last item is deleted,
// is the built-in list of its kind. Every change is written and synchronised at once.
#pragma once

#include <QString>
#include <QStringList>

class UserDefaults;

inline const QString VekDateFormatDidChangeNotification = QStringLiteral("VekDateFormatDidChange");

enum class FormatKind { Page, Date };

class FormatLists {
public:
    explicit FormatLists(UserDefaults &defaults);

    static QStringList builtInFormats(FormatKind kind);
    // The stored list, or the built-in one when none (or an empty one) is stored.
    QStringList storedFormats(FormatKind kind) const;
    // Stores both lists: the stored "formats" dictionary with the kind's list replaced.
    void store(FormatKind kind, const QStringList &formats);

private:
    UserDefaults &m_defaults;
};
