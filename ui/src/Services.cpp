#include "kcs/ui/Services.h"

#include <QApplication>
#include <QDate>
#include <QSet>
#include <QStorageInfo>

namespace kcs::ui {

void BellBeeper::beep() {
    QApplication::beep();
}

app::Date SystemClock::today() const {
    const QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

namespace {

bool isSystemMount(const QString& root, const QByteArray& type) {
    static const QSet<QByteArray> pseudo = {
        "proc", "sysfs", "devpts", "devtmpfs", "cgroup", "cgroup2", "mqueue", "debugfs",
        "tracefs", "securityfs", "pstore", "bpf", "autofs", "hugetlbfs", "configfs",
        "fusectl", "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "ramfs", "squashfs"};
    if (pseudo.contains(type)) return true;
    for (const char* prefix : {"/proc", "/sys", "/dev", "/boot", "/snap", "/var/lib", "/etc"})
        if (root == QLatin1String(prefix) || root.startsWith(QLatin1String(prefix) + QLatin1Char('/')))
            return true;
    // /run holds the desktop's removable media under /run/media; the rest is the system's.
    if (root.startsWith(QLatin1String("/run")) && !root.startsWith(QLatin1String("/run/media/")))
        return true;
    return false;
}

}  // namespace

std::vector<DriveEntry> MountedVolumes::list() {
    std::vector<DriveEntry> out;
    QSet<QString> seen;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        if (isSystemMount(root, volume.fileSystemType()) || seen.contains(root)) continue;
        seen.insert(root);
        QString label = root;
        const QString name = volume.name();
        if (!name.isEmpty()) label += QStringLiteral("  [") + name + QLatin1Char(']');
        out.push_back({label, root});
    }
    return out;
}

}  // namespace kcs::ui
