#pragma once
// Only one copy of the program runs per user and program folder. The first copy holds a
// lock file and listens on a local socket; a later copy finds the lock held, asks the
// first copy to bring its window back, and ends without showing anything. A copy that
// crashed leaves a lock whose process is gone: it counts as free, and its stale socket
// is removed before the next copy listens.
//
// Both live in the user's own runtime folder ($XDG_RUNTIME_DIR, or a folder the program
// makes for itself in the user's home, mode 0700), never in the shared temporary folder,
// where another account could create the lock's name first and keep the program from
// starting.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>

namespace kcs::program {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const std::filesystem::path& programFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The path of the socket for this user and program folder (the lock is beside it).
    static QString keyFor(const std::filesystem::path& programFolder);
    // The user's runtime folder: $XDG_RUNTIME_DIR when it is a private folder of the
    // user's, else ~/.cache/kcs, made private. Throws kcs::RunError when neither can be had.
    static std::filesystem::path runtimeFolder();

    // True: this is the only copy and now listens. False: another copy runs and was asked
    // to restore and raise its window; this copy should end at once.
    bool becomePrimary();

signals:
    // A later copy asked this one to show itself.
    void raiseRequested();

private:
    void acceptConnection();

    QString key_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

}  // namespace kcs::program
