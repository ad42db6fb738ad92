#include "kcs/program/SingleInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

namespace kcs::program {

namespace {
constexpr char kRaiseRequest[] = "raise\n";
}

SingleInstance::SingleInstance(const std::filesystem::path& programFolder, QObject* parent)
    : QObject(parent), key_(keyFor(programFolder)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
}

SingleInstance::~SingleInstance() {
    server_.close();
}

QString SingleInstance::keyFor(const std::filesystem::path& programFolder) {
    const QByteArray folder = QByteArray::fromStdString(programFolder.lexically_normal().string());
    const QByteArray hash = QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("kcs-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

bool SingleInstance::becomePrimary() {
    lock_ = std::make_unique<QLockFile>(QDir::temp().filePath(key_ + QStringLiteral(".lock")));
    // Age never makes the lock stale; only a lock whose process is gone is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        // Nobody holds the lock, so a socket file left by a crashed copy is stale.
        QLocalServer::removeServer(key_);
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        server_.listen(key_);
        return true;
    }
    // Another copy runs. It may still be starting up and not yet listening: keep trying
    // for a short while, then end quietly either way.
    const QDeadlineTimer deadline(3000);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(key_);
        if (socket.waitForConnected(250)) {
            socket.write(kRaiseRequest);
            socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(500);
            return false;
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstance::acceptConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto drain = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kRaiseRequest) emit raiseRequested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, drain);
        drain();
    }
}

}  // namespace kcs::program
