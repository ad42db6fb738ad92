#include "kcs/program/SingleInstance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

#include "kcs/common/RunError.h"

namespace kcs::program {

namespace {

constexpr char kRaiseRequest[] = "raise\n";

// A folder only this user can enter: ours, and closed to everybody else.
bool isPrivateFolder(const std::filesystem::path& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
}

}  // namespace

std::filesystem::path SingleInstance::runtimeFolder() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg == '/' && isPrivateFolder(xdg)) return xdg;
    const char* home = std::getenv("HOME");
    if (!home || *home != '/') throw RunError(err::PathNotFound, "The program finds no folder of the user's to run in.");
    const std::filesystem::path folder = std::filesystem::path(home) / ".cache" / "kcs";
    std::error_code ec;
    std::filesystem::create_directories(folder.parent_path(), ec);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw fileError(errno, folder, "Cannot create");
    if (!isPrivateFolder(folder)) ::chmod(folder.c_str(), 0700);
    if (!isPrivateFolder(folder))
        throw RunError(err::PermissionDenied, folder.string() + " is not a private folder of this user");
    return folder;
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
    const QString name = QStringLiteral("kcs-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
    return QString::fromStdString((runtimeFolder() / name.toStdString()).string());
}

bool SingleInstance::becomePrimary() {
    lock_ = std::make_unique<QLockFile>(key_ + QStringLiteral(".lock"));
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
