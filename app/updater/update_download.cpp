// Fetching the update list and downloading the archive.
#include "app/updater/update_download.h"

#include "app/updater/update_offer.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/plist_xml_format.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTimer>

#include <memory>

namespace {

constexpr qint64 MaxListSize = 1 << 20;

} // namespace

QNetworkReply *getUpdateAddress(QNetworkAccessManager &network, const QUrl &url)
{
    if (!isAllowedUpdateUrl(url))
        return nullptr;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply *reply = network.get(request);
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl &to) {
        if (isAllowedUpdateUrl(to)) {
            emit reply->redirectAllowed();
        } else {
            reply->setProperty("refusedRedirect", to);
            reply->abort();
        }
    });
    return reply;
}

PropertyList fetchUpdateList(const QUrl &url, int timeoutMs)
{
    QNetworkAccessManager network;
    std::unique_ptr<QNetworkReply> reply(getUpdateAddress(network, url));
    if (!reply)
        return {};
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(), [&reply](qint64 received, qint64) {
        if (received > MaxListSize)
            reply->abort();
    });
    QTimer::singleShot(timeoutMs, &loop, [&] { reply->abort(); });
    if (!reply->isFinished())
        loop.exec();
    if (reply->error() != QNetworkReply::NoError)
        return {};
    const PropertyList list = propertyListFromXml(reply->readAll());
    return list.isDictionary() ? list : PropertyList();
}

qint64 UpdateDownload::limitFor(qint64 announced, qint64 hardCap)
{
    return announced > 0 ? std::min(announced + SizeMargin, hardCap) : hardCap;
}

UpdateDownload::UpdateDownload(QNetworkAccessManager &network, const QUrl &url, const QString &filePath, qint64 limit,
                               QObject *parent)
    : QObject(parent), m_file(filePath), m_limit(limit)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        m_error = localizedString(QStringLiteral("Failed to create a temporary destination."));
        QTimer::singleShot(0, this, [this] { emit finished(false); });
        return;
    }
    m_reply = getUpdateAddress(network, url);
    if (!m_reply) {
        stop(localizedString(QStringLiteral("The download address %1 is not allowed.")).arg(url.toString()));
        QTimer::singleShot(0, this, [this] { emit finished(false); });
        return;
    }
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_limit)
            stop(localizedString(QStringLiteral("The download is larger than the update list says.")));
    });
    connect(m_reply, &QNetworkReply::readyRead, this, [this] { take(m_reply); });
    connect(m_reply, &QNetworkReply::downloadProgress, this, &UpdateDownload::progressed);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateDownload::end);
}

UpdateDownload::~UpdateDownload()
{
    cancel();
}

void UpdateDownload::cancel()
{
    if (QNetworkReply *reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    m_file.close();
}

void UpdateDownload::take(QNetworkReply *reply)
{
    while (m_error.isEmpty() && reply->bytesAvailable() > 0) {
        const QByteArray block = reply->read(std::min<qint64>(reply->bytesAvailable(), 1 << 20));
        m_received += block.size();
        if (m_received > m_limit) {
            stop(localizedString(QStringLiteral("The download is larger than the update list says.")));
            return;
        }
        m_hash.addData(block);
        if (m_file.write(block) != block.size()) {
            stop(localizedString(QStringLiteral("The download cannot be written: %1")).arg(m_file.errorString()));
            return;
        }
    }
}

void UpdateDownload::stop(const QString &reason)
{
    m_error = reason;
    if (m_reply)
        m_reply->abort();   // finished follows, and reports the reason
    m_file.close();
}

void UpdateDownload::end()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    take(reply);
    if (m_error.isEmpty() && reply->error() != QNetworkReply::NoError) {
        const QUrl refused = reply->property("refusedRedirect").toUrl();
        m_error = refused.isEmpty() ? reply->errorString()
                                    : localizedString(QStringLiteral("The download was sent on to %1, which is not allowed."))
                                          .arg(refused.toString());
    }
    if (m_error.isEmpty() && !m_file.flush())
        m_error = m_file.errorString();
    m_file.close();
    if (m_error.isEmpty())
        m_sha256 = m_hash.result().toHex();
    emit finished(m_error.isEmpty());
}
