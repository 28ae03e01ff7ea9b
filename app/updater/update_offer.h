// What the update list offers and the rules it is judged by: the list is a property list
// with "productVersion" (optionally beginning "v."), "productDownloadURL" (an array; the
// first address is used), "productReleaseNotes", "productSHA256" (the archive's SHA-256
// in hexadecimal, without which nothing is installed) and "productSize" (the archive's
// size in bytes, which bounds the download).
#pragma once

#include "platform/foundation/property_list.h"

#include <QString>
#include <QUrl>

#include <optional>

class VekPreferences;

struct UpdateOffer {
    QString version;       // without the "v."
    QUrl downloadUrl;      // empty when the list gives none
    QString releaseNotes;
    QByteArray sha256;     // lower-case hexadecimal; empty when the list gives none
    qint64 size = -1;      // -1 when the list gives none
};

// Nothing when the list holds no "productVersion".
std::optional<UpdateOffer> updateOfferFromList(const PropertyList &list);

// Whether `offered` is newer than `own`: compared part by part (major, minor, third), each
// read as an integer by its leading digits; an offer of fewer than three parts, or whose
// third part holds a "b" (a beta), counts as newer once major and minor are equal.
bool isNewerVersion(const QString &offered, const QString &own);

// The environment variable and the preference ("prefs") that name another update list
// (tests, mirrors); the variable wins.
inline constexpr char UpdateFeedVariable[] = "VEKANTO_UPDATE_FEED";
inline constexpr char UpdateFeedPreference[] = "updateFeed";
// The update list's address: the variable's, else the preference's, else `fallback`.
QUrl updateFeedUrl(const VekPreferences &preferences, const QUrl &fallback);

// Updates travel only over HTTPS. Plain HTTP is allowed only to this machine, and only while
// the environment variable names such an address itself (a test's local server); every
// redirect hop is judged by the same rule.
bool isAllowedUpdateUrl(const QUrl &url);
