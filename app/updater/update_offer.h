// What the update list offers and the rules it is judged by: the list is a property list
// with "productVersion" (optionally beginning "v."), "productDownloadURL" (an array; the
// first address is used), "productReleaseNotes" and "productSHA256" (the archive's SHA-256
// in hexadecimal, without which nothing is installed).
#pragma once

#include "platform/foundation/property_list.h"

#include <QString>
#include <QUrl>

#include <optional>

struct UpdateOffer {
    QString version;       // without the "v."
    QUrl downloadUrl;      // empty when the list gives none
    QString releaseNotes;
    QByteArray sha256;     // lower-case hexadecimal; empty when the list gives none
};

// Nothing when the list holds no "productVersion".
std::optional<UpdateOffer> updateOfferFromList(const PropertyList &list);

// Whether `offered` is newer than `own`: compared part by part (major, minor, third), each
// read as an integer by its leading digits; an offer of fewer than three parts, or whose
// third part holds a "b" (a beta), counts as newer once major and minor are equal.
bool isNewerVersion(const QString &offered, const QString &own);

// Updates travel only over HTTPS; plain HTTP only to this machine (for tests).
bool isAllowedUpdateUrl(const QUrl &url);
