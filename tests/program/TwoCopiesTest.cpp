// Two real copies of the program: the second one hands over to the first and ends.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>

#include "ScreenTestSupport.h"
#include "kcs/program/SingleInstance.h"

using namespace kcs;

namespace {

// A program folder holding a copy of `kcs`, its settings and a data drive.
struct InstalledProgram {
    testutil::ProgramFolder folder;

    InstalledProgram() {
        std::filesystem::copy_file(KCS_EXE, folder.path() / "kcs");
        std::filesystem::permissions(folder.path() / "kcs", std::filesystem::perms::owner_all);
        folder.writeSettings("disk", "NumLock=False\r\n");
        testutil::makeDrive(folder.path() / "disk", {"Ann Lee"});
    }

    std::unique_ptr<QProcess> launch() const {
        auto p = std::make_unique<QProcess>();  // inherits the test's offscreen platform
        p->start(QString::fromStdString((folder.path() / "kcs").string()), {});
        EXPECT_TRUE(p->waitForStarted(5000));
        return p;
    }

    // True once a copy listens for later copies.
    bool listening(int timeoutMs) const {
        const QString key = program::SingleInstance::keyFor(folder.path());
        const QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            QLocalSocket probe;
            probe.connectToServer(key);
            if (probe.waitForConnected(100)) return true;
            QThread::msleep(50);
        }
        return false;
    }
};

}  // namespace

TEST(TwoCopies, ASecondCopyHandsOverToTheFirstAndEndsAndACrashedFirstDoesNotBlockTheNext) {
    InstalledProgram program;
    auto first = program.launch();
    ASSERT_TRUE(program.listening(20000)) << first->readAllStandardError().toStdString();
    auto second = program.launch();
    ASSERT_TRUE(second->waitForFinished(15000));
    EXPECT_EQ(second->exitCode(), 0);
    ASSERT_EQ(first->state(), QProcess::Running);
    EXPECT_TRUE(program.listening(1000));

    first->kill();  // SIGKILL: lock file and socket stay behind
    first->waitForFinished(5000);
    // This test process takes the first copy's place and sees what the next copy asks of it.
    program::SingleInstance next(program.folder.path());
    ASSERT_TRUE(next.becomePrimary());
    QSignalSpy raised(&next, &program::SingleInstance::raiseRequested);
    auto third = program.launch();
    ASSERT_TRUE(third->waitForFinished(15000));
    EXPECT_EQ(third->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(third->exitCode(), 0);
    ASSERT_TRUE(raised.count() > 0 || raised.wait(5000));
    EXPECT_EQ(raised.count(), 1);
}

TEST(TwoCopies, LockAndSocketLiveInTheUsersRuntimeFolderSoAForeignLockInTmpChangesNothing) {
    InstalledProgram program;
    test::TempDir runtime;
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path().string()));

    const QString key = program::SingleInstance::keyFor(program.folder.path());
    // The lock the test below puts in /tmp would not hold anyone up (its process is not
    // "kcs"), so where the key lives is what keeps another account from blocking the program.
    EXPECT_TRUE(key.startsWith(QString::fromStdString(runtime.path().string()) + u'/')) << key.toStdString();
    // Another account got there first under the name in the shared temporary folder, with a
    // lock that looks held by a live process.
    const std::string foreign = QDir::temp().filePath(QFileInfo(key).fileName() + QStringLiteral(".lock")).toStdString();
    test::writeFile(foreign, std::to_string(::getpid()) + "\nkcs\n" + QSysInfo::machineHostName().toStdString() + "\n");

    program::SingleInstance first(program.folder.path());
    EXPECT_TRUE(first.becomePrimary());
    EXPECT_TRUE(program.listening(1000));
    std::filesystem::remove(foreign);
    qputenv("XDG_RUNTIME_DIR", saved);
}
