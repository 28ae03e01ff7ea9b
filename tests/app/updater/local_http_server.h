// A small HTTP server on this machine for the updater's tests: each path answers a fixed
// body (with its length, so downloads report progress, unless the path is in `unsized`),
// a path in `redirects` answers 302 to its address; any other path answers 404.
#pragma once

#include <QHostAddress>
#include <QMap>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class LocalHttpServer : public QTcpServer {
public:
    LocalHttpServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QUrl url(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }
    QMap<QString, QByteArray> bodies;
    QMap<QString, QUrl> redirects;
    QSet<QString> unsized;
    int requests = 0;

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &request = m_pending[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        ++requests;
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        m_pending.remove(socket);
        const bool known = bodies.contains(path);
        const QByteArray body = known ? bodies.value(path) : QByteArray("not here");
        if (redirects.contains(path))
            socket->write("HTTP/1.1 302 Found\r\nLocation: " + redirects.value(path).toEncoded()
                          + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        else if (unsized.contains(path))
            socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + body);
        else
            socket->write((known ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") + QByteArray("Content-Length: ")
                          + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
    QMap<QTcpSocket *, QByteArray> m_pending;
};
