// Reading the update list and comparing versions.
#include "app/updater/update_offer.h"

#include "app/preferences.h"

#include <QHostAddress>
#include <QStringList>

namespace {

int leadingNumber(const QString &part)
{
    int value = 0, i = 0;
    while (i < part.size() && part[i].isDigit() && value < 100000000)
        value = value * 10 + part[i++].digitValue();
    return value;
}

QString withoutPrefix(const QString &version)
{
    return version.startsWith(QLatin1String("v.")) ? version.mid(2) : version;
}

} // namespace

std::optional<UpdateOffer> updateOfferFromList(const PropertyList &list)
{
    const PropertyList version = list.value(QStringLiteral("productVersion"));
    if (!version.isString() || version.stringValue().isEmpty())
        return std::nullopt;
    UpdateOffer offer;
    offer.version = withoutPrefix(version.stringValue());
    const PropertyList addresses = list.value(QStringLiteral("productDownloadURL"));
    if (addresses.count() > 0)
        offer.downloadUrl = QUrl(addresses.at(0).stringValue());
    offer.releaseNotes = list.value(QStringLiteral("productReleaseNotes")).stringValue();
    offer.sha256 = list.value(QStringLiteral("productSHA256")).stringValue().trimmed().toLower().toLatin1();
    const PropertyList size = list.value(QStringLiteral("productSize"));
    if (!size.isAbsent() && size.longLongValue() > 0)
        offer.size = size.longLongValue();
    return offer;
}

bool isNewerVersion(const QString &offered, const QString &own)
{
    const QString version = withoutPrefix(offered);
    if (version == own)
        return false;
    const QStringList theirs = version.split(QLatin1Char('.')), ours = own.split(QLatin1Char('.'));
    const auto part = [](const QStringList &parts, int i) { return i < parts.size() ? leadingNumber(parts[i]) : 0; };
    for (int i = 0; i < 2; ++i) {
        if (part(theirs, i) != part(ours, i))
            return part(theirs, i) > part(ours, i);
    }
    if (theirs.size() < 3 || theirs[2].contains(QLatin1Char('b')))
        return true;
    return part(theirs, 2) >= part(ours, 2);
}

QUrl updateFeedUrl(const VekPreferences &preferences, const QUrl &fallback)
{
    const QString fromEnvironment = qEnvironmentVariable(UpdateFeedVariable);
    if (!fromEnvironment.isEmpty())
        return QUrl(fromEnvironment);
    const QString fromPreference = preferences.userPrefsStringFor(QLatin1String(UpdateFeedPreference));
    return fromPreference.isEmpty() ? fallback : QUrl(fromPreference);
}

namespace {

bool isPlainHttpToThisMachine(const QUrl &url)
{
    const QHostAddress host(url.host());
    return url.scheme() == QLatin1String("http") && (url.host() == QLatin1String("localhost") || host.isLoopback());
}

} // namespace

bool isAllowedUpdateUrl(const QUrl &url)
{
    if (!url.isValid())
        return false;
    if (url.scheme() == QLatin1String("https"))
        return true;
    return isPlainHttpToThisMachine(url) && isPlainHttpToThisMachine(QUrl(qEnvironmentVariable(UpdateFeedVariable)));
}
