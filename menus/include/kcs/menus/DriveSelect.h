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

namespace kcs::app {
struct ProgramState;
class Settings;
class DriveFiles;
}  // namespace kcs::app

namespace kcs::menus {

class Dialogs;

// One entry of the drive list: what the list shows and the designation it stands for.
struct DriveEntry {
    QString label;        // e.g. "/media/ann/KCSDISK  [KCSDISK]"
    QString designation;  // e.g. "/media/ann/KCSDISK"
};

// The computer's mounted volumes worth offering (pseudo and system file systems left
// out), each with its volume label when it has one.
std::vector<DriveEntry> mountedVolumes();

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

// Everything the selection works with.
struct DriveSelectContext {
    app::ProgramState& state;
    app::Settings& settings;
    Dialogs& dialogs;
    frmDriveSelect& chooser;
    // Called in menu mode after records have been (re)loaded: rebuild the client list.
    std::function<void()> refreshClientList;
    // Fills the chooser before it is shown; by default the mounted volumes, the drive the
    // settings name and the drive in use.
    std::function<void(frmDriveSelect&)> fillChooser;
    // The candidate drive's file operations; null for the real ones.
    app::DriveFiles* files = nullptr;
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
