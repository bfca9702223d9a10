#pragma once
#include <QLocalServer>
#include <QObject>
#include <QString>

// The running copy's answer to a second start: a local socket that only this user can reach
// (QLocalServer::UserAccessOption). The second copy connects, asks for the window, and exits.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject* parent = nullptr);

    // The socket's path for an instance name in the runtime folder.
    static QString SocketPath(const QString& runtimeFolder, const QString& instanceName);

    // Starts listening. Call only while holding the instance lock: a socket left behind by a
    // copy that died is removed first.
    bool Listen(const QString& path);
    void Close();
    bool IsListening() const { return server_.isListening(); }

    // Second copy: asks the running copy to bring its window forward. false when nobody answers
    // within the time-out (a first copy that has not shown its window yet).
    static bool AskToRaise(const QString& path, int timeoutMs = 1000);

signals:
    void raiseRequested();

private:
    QLocalServer server_;
};
