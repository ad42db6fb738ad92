#pragma once
// Only one copy of the program runs per user and program folder. The first copy holds a
// lock file and listens on a local socket; a later copy finds the lock held, asks the
// first copy to bring its window back, and ends without showing anything. A copy that
// crashed leaves a lock whose process is gone: it counts as free, and its stale socket
// is removed before the next copy listens.

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

    // The name of the lock and the socket for this user and program folder.
    static QString keyFor(const std::filesystem::path& programFolder);

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
