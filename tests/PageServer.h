// SPDX-License-Identifier: GPL-3.0-or-later
// A minimal HTTP server on 127.0.0.1 for the information page tests.
#pragma once

#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

using namespace Qt::StringLiterals;

// A minimal HTTP server: each page is a coloured body with the body type in its title.
class PageServer : public QTcpServer
{
public:
    PageServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString base() const { return u"http://127.0.0.1:%1"_s.arg(serverPort()); }
    QStringList requests;

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        if (!pending.contains("\r\n\r\n"))
            return;
        const QByteArray path = pending.split(' ').value(1);
        m_pending.remove(socket);
        requests.append(QString::fromLatin1(path));
        const QByteArray prefix = "/pemmira/res/body";
        QByteArray status = "404 Not Found";
        QByteArray body = "<html><body>not here</body></html>";
        if (path.startsWith(prefix) && path.endsWith(".htm")) {
            const QByteArray type = path.mid(prefix.size(), path.size() - prefix.size() - 4);
            status = "200 OK";
            body = "<html><head><title>体型" + type
                + "</title></head><body style=\"background:#00ff00\">体型" + type
                + "</body></html>";
        }
        socket->write("HTTP/1.0 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\n"
            + "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n"
            + body);
        socket->disconnectFromHost();
    }
    QHash<QTcpSocket *, QByteArray> m_pending;
};
