#include "platform/linux/gui/InstanceServer.h"

#include <QLocalSocket>

namespace {
constexpr char kRaiseRequest[] = "raise\n";
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                // Anything beyond one short line is not ours to read.
                if (socket->bytesAvailable() > 64) {
                    socket->abort();
                    return;
                }
                if (!socket->canReadLine()) return;
                if (socket->readLine() == kRaiseRequest) emit raiseRequested();
                socket->disconnectFromServer();
            });
        }
    });
}

QString InstanceServer::SocketPath(const QString& runtimeFolder, const QString& instanceName) {
    return runtimeFolder + '/' + instanceName + ".socket";
}

bool InstanceServer::Listen(const QString& path) {
    QLocalServer::removeServer(path);
    return server_.listen(path);
}

void InstanceServer::Close() { server_.close(); }

bool InstanceServer::AskToRaise(const QString& path, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kRaiseRequest);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return sent;
}
