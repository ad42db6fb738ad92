#include "kcs/menus/DriveSelect.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

#include "kcs/app/DataDrive.h"
#include "kcs/common/RunError.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::menus {

using namespace kcs::ui;

QString diskNotFoundText() {
    return QStringLiteral("Data disk not found!\r\rInsert data disk in drive A to continue.");
}

QString diskWriteProtectedText() {
    return QStringLiteral("Data disk write protected!\r\rSet the data disk to writable and replace in drive.");
}

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// The drive selection's groups of errors.
bool isNotFound(int n) {
    switch (n) {
    case err::BadFileName: case err::FileNotFound: case err::DeviceIO: case err::DiskNotReady:
    case err::PathNotFound: case err::BankFileNotFound: case err::BankPathInvalid:
    case err::BankCannotOpen:
        return true;
    default:
        return false;
    }
}

void fillChooser(DriveSelectContext& ctx, frmDriveSelect& chooser) {
    QStringList extra;
    extra << q(ctx.settings.GetINIFilePath());
    if (!ctx.store.DataPath().empty()) extra << q(ctx.store.DataPath());
    const QString current = chooser.SelectedDrive().isEmpty() ? q(ctx.store.DataPath()) : chooser.SelectedDrive();
    chooser.setDrives(ctx.services.volumes.list(), extra, current);
}

// CheckDataDisk with its own message for a disk of another test.
app::DiskCheck checkDisk(DriveSelectContext& ctx, const std::string& drive) {
    const app::DiskCheck result = app::CheckDataDisk(ctx.store, ctx.paths, drive, ctx.services.drive);
    if (result == app::DiskCheck::NotThisTest) {
        ctx.services.dialogs.message(QStringLiteral("This is not an Kestrel Conduct Screening data disk."),
                            kDataDiskErrorTitle, MsgIcon::Critical, MsgButtons::Ok);
    }
    return result;
}

// Menu mode, the user gave up: examine the drive that was in use before and reload it.
DriveSelection reloadPrevious(DriveSelectContext& ctx, const std::string& previous) {
    bool ok = false;
    try {
        ok = !previous.empty() && checkDisk(ctx, previous) == app::DiskCheck::Accepted;
    } catch (const RunError&) {
        ok = false;
    }
    if (!ok) {
        ctx.services.dialogs.message(QStringLiteral("Reload of original data disk failed, aborting Program"),
                            QString(), MsgIcon::None, MsgButtons::Ok);
        return DriveSelection::EndProgram;
    }
    if (ctx.refreshClientList) ctx.refreshClientList();
    return DriveSelection::NotAccepted;
}

}  // namespace

frmDriveSelect::frmDriveSelect(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setUpModalScreen(*this, QStringLiteral("frmDriveSelect"), QStringLiteral("Select Drive"));

    auto* layout = new QVBoxLayout(this);
    const int m = twipsToPixels(240, this);
    layout->setContentsMargins(m, m, m, m);
    label1_ = new QLabel(QStringLiteral(" Choose the drive associated with the data disk. (Usually A: or F:)"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label1_);

    drDrive_ = new QComboBox(this);
    drDrive_->setObjectName(QStringLiteral("drDrive"));
    drDrive_->setEditable(true);
    drDrive_->setInsertPolicy(QComboBox::NoInsert);
    drDrive_->setMinimumWidth(twipsToPixels(5600, this));
    layout->addWidget(drDrive_);
    connect(drDrive_, &QComboBox::currentIndexChanged, this, &frmDriveSelect::driveChanged);
    connect(drDrive_, &QComboBox::editTextChanged, this, &frmDriveSelect::driveChanged);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdhelp_ = new QPushButton(QStringLiteral("Help"), this);
    cmdhelp_->setObjectName(QStringLiteral("cmdhelp"));
    cmdhelp_->setAutoDefault(false);
    cmdDone_ = new QPushButton(QStringLiteral("Done"), this);
    cmdDone_->setObjectName(QStringLiteral("cmdDone"));
    cmdDone_->setDefault(true);
    buttons->addWidget(cmdhelp_);
    buttons->addWidget(cmdDone_);
    layout->addLayout(buttons);

    connect(cmdhelp_, &QPushButton::clicked, this, [this] {
        dialogs_.message(QStringLiteral("Use the dropdown box to select the drive that the floppy data \r\n"
                                        "diskette or USB Flash Drive is in. Floppy drives are usually A: or\r\n"
                                        "B: and USB drives are usually F: or G:"),
                         QString(), MsgIcon::None, MsgButtons::Ok);
    });
    // Done only hides the window; the drive stays chosen for the next use.
    connect(cmdDone_, &QPushButton::clicked, this, [this] { accept(); });
}

void frmDriveSelect::setDrives(std::vector<DriveEntry> entries, const QStringList& extra,
                               const QString& current) {
    QSet<QString> known;
    for (const DriveEntry& e : entries) known.insert(e.designation);
    for (const QString& x : extra) {
        if (x.isEmpty() || known.contains(x)) continue;
        known.insert(x);
        entries.insert(entries.begin(), DriveEntry{x, x});
    }
    const QSignalBlocker block(drDrive_);
    drDrive_->clear();
    int shown = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        drDrive_->addItem(entries[i].label, entries[i].designation);
        if (entries[i].designation == current) shown = static_cast<int>(i);
    }
    drDrive_->setCurrentIndex(entries.empty() ? -1 : shown);
    selectedDrive_ = entries.empty() ? QString() : entries[static_cast<std::size_t>(shown)].designation;
}

void frmDriveSelect::driveChanged() {
    // A listed entry stands for its designation; anything typed is taken as it is.
    const QString text = drDrive_->currentText();
    const int i = drDrive_->findText(text);
    selectedDrive_ = i >= 0 ? drDrive_->itemData(i).toString() : text.trimmed();
}

DriveSelection SelectDataDrive(DriveSelectContext& ctx, bool startUpMode) {
    const std::string previous = ctx.store.DataPath();
    bool firstPass = true;
    for (;;) {
        std::string candidate;
        if (startUpMode && firstPass) {
            candidate = ctx.settings.GetINIFilePath();
        } else {
            fillChooser(ctx, ctx.chooser);
            ctx.services.dialogs.execModal(ctx.chooser);
            candidate = ctx.chooser.SelectedDrive().toStdString();
        }
        firstPass = false;

        bool tryAgain = false;
        for (bool recheck = true; recheck;) {
            recheck = false;
            try {
                if (checkDisk(ctx, candidate) == app::DiskCheck::Accepted) {
                    ctx.settings.SaveINIFilePath(candidate);
                    if (!startUpMode && ctx.refreshClientList) ctx.refreshClientList();
                    return DriveSelection::Accepted;
                }
                const MsgAnswer again = ctx.services.dialogs.message(
                    QStringLiteral("Drive select unsuccessful, would you like to try again?"), QString(),
                    MsgIcon::None, MsgButtons::YesNo);
                if (again == MsgAnswer::Yes) {
                    tryAgain = true;
                } else {
                    return startUpMode ? DriveSelection::EndProgram : reloadPrevious(ctx, previous);
                }
            } catch (const RunError& e) {
                if (isNotFound(e.number())) {
                    const MsgAnswer another = ctx.services.dialogs.message(
                        QStringLiteral("No test information found on drive ") + q(candidate).toUpper() +
                            QStringLiteral(", would you like to try another drive?"),
                        QString(), MsgIcon::None, MsgButtons::YesNo);
                    if (another == MsgAnswer::Yes) {
                        tryAgain = true;
                    } else {
                        return startUpMode ? DriveSelection::EndProgram : reloadPrevious(ctx, previous);
                    }
                } else if (e.number() == err::PermissionDenied) {
                    const MsgAnswer retry = ctx.services.dialogs.message(diskWriteProtectedText(), kDataDiskErrorTitle,
                                                                MsgIcon::Critical, MsgButtons::OkCancel);
                    if (retry == MsgAnswer::Ok) recheck = true;
                    else return DriveSelection::NotAccepted;
                } else {
                    app::showRunError(ctx.services.dialogs, e.number(), e.description());
                    return DriveSelection::NotAccepted;
                }
            }
        }
        if (!tryAgain) return DriveSelection::NotAccepted;
    }
}

}  // namespace kcs::menus
