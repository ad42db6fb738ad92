#pragma once
// Choosing the data drive: the chooser window and the selection procedure used at
// start-up and from the main menu.

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;

#include "kcs/app/ClientStore.h"
#include "kcs/app/Paths.h"
#include "kcs/app/Settings.h"
#include "kcs/ui/Services.h"

namespace kcs::menus {

using ui::Dialogs;
using ui::DriveEntry;

// frmDriveSelect, caption "Select Drive": Label1, the drive list drDrive (editable, so a
// folder can also be typed), cmdhelp "Help" and cmdDone "Done". Done hides the window;
// SelectedDrive keeps the last choice between uses.
class frmDriveSelect : public QDialog {
    Q_OBJECT
public:
    frmDriveSelect(Dialogs& dialogs, QWidget* parent = nullptr);

    // Fills the list: the given entries, and `extra` designations (the drive the settings
    // name, the drive in use) that are not among them. The entry for `current` (or the
    // first one) is shown and becomes SelectedDrive.
    void setDrives(std::vector<DriveEntry> entries, const QStringList& extra, const QString& current);

    // The designation of the entry shown (or the text typed into the list).
    const QString& SelectedDrive() const { return selectedDrive_; }

    QComboBox* driveList() const { return drDrive_; }

private:
    void driveChanged();

    Dialogs& dialogs_;
    QLabel* label1_;
    QComboBox* drDrive_;
    QPushButton* cmdhelp_;
    QPushButton* cmdDone_;
    QString selectedDrive_;
};

enum class DriveSelection {
    Accepted,     // a drive was accepted; its records are loaded and the setting saved
    NotAccepted,  // the selection ended without a new drive; the previous one stays in use
    EndProgram,   // the user gave up (start-up) or the previous drive is gone (menu)
};

// Everything the selection works with. The chooser offers the services' volumes, the
// drive the settings name and the drive in use; the candidate drive is examined with the
// services' drive file operations.
struct DriveSelectContext {
    app::ClientStore& store;
    const app::Paths& paths;
    app::Settings& settings;
    ui::Services& services;
    frmDriveSelect& chooser;
    // Called in menu mode after records have been (re)loaded: rebuild the client list.
    std::function<void()> refreshClientList;
};

// SelectDataDrive: at start-up first tries the drive the settings name and asks only if
// it is not usable; from the menu it always asks. A drive is accepted when it carries
// this test's identity file and can be written.
DriveSelection SelectDataDrive(DriveSelectContext& ctx, bool startUpMode);

// The two start-up and drive messages shared with the start-up error handler.
QString diskNotFoundText();
QString diskWriteProtectedText();
inline const QString kDataDiskErrorTitle = QStringLiteral("Data Disk Error");

}  // namespace kcs::menus
