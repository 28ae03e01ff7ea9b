// The network side of an update: requests whose every redirect hop is judged like the first
// address, the update list's fetch, and the archive's download, streamed to its file while
// it is hashed and stopped at its size bound.
#pragma once

#include "platform/foundation/property_list.h"

#include <QCryptographicHash>
#include <QFile>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;

// Starts a GET of an allowed update address (nullptr for any other). A redirect is followed
// only to an allowed address, at most 5 times; any other ends the reply with an error, and
// the refused address is kept in the reply's property "refusedRedirect".
QNetworkReply *getUpdateAddress(QNetworkAccessManager &network, const QUrl &url);

// Fetches and reads the update list (XML property list, at most 1 MB); absent when the
// address is not allowed, the fetch fails or times out, or the answer is no property list.
PropertyList fetchUpdateList(const QUrl &url, int timeoutMs = 20000);

class UpdateDownload : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 HardCap = qint64(512) << 20;
    static constexpr qint64 SizeMargin = qint64(64) << 10;
    // The most a download may bring: the announced size (-1 for none) and a small margin,
    // never above the hard cap.
    static qint64 limitFor(qint64 announced, qint64 hardCap = HardCap);

    // Starts downloading into the file (created new; the caller's folder is its own).
    UpdateDownload(QNetworkAccessManager &network, const QUrl &url, const QString &filePath, qint64 limit,
                   QObject *parent = nullptr);
    ~UpdateDownload() override;

    // The SHA-256 (lower-case hexadecimal) of what arrived; valid once finished well.
    QByteArray sha256() const { return m_sha256; }
    // Why the download failed; empty when it succeeded or was cancelled.
    QString errorString() const { return m_error; }
    // Stops the download; finished is not sent.
    void cancel();

signals:
    void progressed(qint64 received, qint64 total);
    // The file is complete and closed (true), or the download failed (false).
    void finished(bool ok);

private:
    void take(QNetworkReply *reply);
    void end();
    void stop(const QString &reason);

    QPointer<QNetworkReply> m_reply;
    QFile m_file;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_limit;
    qint64 m_received = 0;
    QByteArray m_sha256;
    QString m_error;
};
