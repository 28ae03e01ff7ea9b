// PickColor over D-Bus: the request's answer comes as the Response signal of a request
// object whose path follows from our bus name and a token of ours, so we listen before we ask.
#include "panels/picker/portal_colour_pick.h"

#include "platform/foundation/localized_strings.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusObjectPath>
#include <QObject>
#include <QUuid>
#include <QVariantMap>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

QString notOffered()
{
    return localizedString(QStringLiteral("The desktop offers no colour picking: the screen cannot be read in a Wayland "
                                          "session. Start Vekanto with QT_QPA_PLATFORM=xcb (XWayland) to pick colours "
                                          "from the screen."));
}

// Receives the request's Response signal once, then goes.
class PortalResponse : public QObject {
    Q_OBJECT
public:
    explicit PortalResponse(std::function<void(const QColor &, const QString &)> done) : m_done(std::move(done)) {}
    void finish(const QColor &color, const QString &error)
    {
        if (m_done)
            std::exchange(m_done, nullptr)(color, error);
        deleteLater();
    }

public slots:
    void response(uint code, const QVariantMap &results)
    {
        if (code != 0) {
            finish({}, {});   // cancelled by the user
            return;
        }
        double rgb[3] = {0, 0, 0};
        const QDBusArgument argument = results.value(QStringLiteral("color")).value<QDBusArgument>();
        argument.beginStructure();
        argument >> rgb[0] >> rgb[1] >> rgb[2];
        argument.endStructure();
        finish(QColor::fromRgbF(float(rgb[0]), float(rgb[1]), float(rgb[2])), {});
    }

private:
    std::function<void(const QColor &, const QString &)> m_done;
};

} // namespace

void pickColourThroughPortal(std::function<void(const QColor &color, const QString &error)> done)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        done({}, notOffered());
        return;
    }
    const QString token = QStringLiteral("vekanto") + QUuid::createUuid().toString(QUuid::Id128);
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString requestPath = PortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    auto *receiver = new PortalResponse(std::move(done));
    bus.connect(PortalService, requestPath, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                receiver, SLOT(response(uint, QVariantMap)));
    QDBusMessage call = QDBusMessage::createMethodCall(PortalService, PortalPath,
                                                       QStringLiteral("org.freedesktop.portal.Screenshot"),
                                                       QStringLiteral("PickColor"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), receiver);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, receiver, [receiver](QDBusPendingCallWatcher *w) {
        if (QDBusPendingReply<QDBusObjectPath>(*w).isError())
            receiver->finish({}, notOffered());
        w->deleteLater();
    });
}

#include "portal_colour_pick.moc"
