#pragma once
// The main window: the client list, the four menu buttons, the help line, the logo and
// the menu bar. It lives for the whole run; every other screen is opened from here.
//
// Object names: frmMain, frMainMenu, sspMenuChoice_0..3, cmdMenuChoice_0..3, fraClient,
// lbNameDisplay, MsgPanel, imgHWKLogo, timNumLock, mnuExit, mnuAudio, mnuDrive,
// mnuOptionsNumLock, mnuOptionsPrintDOS, mnuHelpAbout.

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <functional>

#include "kcs/menus/AboutBox.h"
#include "kcs/menus/DriveSelect.h"

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;

// ProgramState, Settings, DriveFiles and Dialogs are declared by DriveSelect.h.
namespace kcs::menus {

class MenuButtonRow;
class MsgPanel;

// Holds the keyboard's NumLock state where the window system allows it.
class NumLockKey {
public:
    virtual ~NumLockKey() = default;
    // Sets NumLock on or off; false where the window system does not allow it.
    virtual bool setNumLock(bool on) = 0;
};

// The screens the menu opens. Each opens its screen modally over `parent` and leaves
// ProgramState::ContinueFlag true when the screen was completed. A screen that is not
// there (empty function) makes its menu action do nothing.
struct MainMenuScreens {
    std::function<void(QWidget& parent)> clientInformation;
    std::function<void(QWidget& parent)> courtHistory;
    std::function<void(QWidget& parent)> answerSheet;
    std::function<void(QWidget& parent)> entryMethod;
    std::function<void(QWidget& parent)> supervisorOptions;
};

// A publisher's logo from an SVG or bitmap file, `height` pixels high; null if unreadable.
QPixmap loadLogo(const QString& file, int height);

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(app::ProgramState& state, app::Settings& settings, Dialogs& dialogs,
            QWidget* parent = nullptr);
    ~frmMain() override;

    void setScreens(MainMenuScreens screens) { screens_ = std::move(screens); }
    void setNumLockKey(NumLockKey* key) { numLockKey_ = key; }
    // The logos of the first and the second publisher (Image3 and Image1).
    void setLogos(const QPixmap& first, const QPixmap& second);
    const QPixmap& logoFor(char publisherFlag) const;
    // Shows the logo of the publisher the data drive names.
    void showPublisherLogo();

    // Run each time the window becomes active.
    void activationStep();
    void RefreshNameDisplay();
    // Sets the two options and their check marks (no saving); NumLock is held from then on.
    void setOptions(bool numLockOn, bool printDOS);
    // Tells the supervisor when the drive just loaded holds more clients than the list can
    // show; the records beyond it stay on the drive untouched.
    void reportOverfullDisk();

    // The data drive selection with this window's chooser.
    DriveSelection selectDataDrive(bool startUpMode);
    // Replaces how the chooser's list is filled (tests use their own folders).
    void setChooserFiller(std::function<void(frmDriveSelect&)> fill) { chooserFiller_ = std::move(fill); }
    frmDriveSelect& chooser() { return *chooser_; }
    // Replaces the data drive's file operations (tests simulate failing drives).
    void setDriveFiles(app::DriveFiles* files) { driveFiles_ = files; }

    // The About box, opened from the menu (not the splash).
    void showAbout();
    frmAbout* aboutBox() const { return about_; }

    MenuButtonRow& menuButtons() const { return *row_; }
    QListWidget* nameList() const { return lbNameDisplay_; }
    QGroupBox* clientFrame() const { return fraClient_; }
    QWidget* menuFrame() const { return frMainMenu_; }
    MsgPanel* msgPanel() const { return msgPanel_; }
    QLabel* logo() const { return imgHWKLogo_; }
    QAction* exitAction() const { return mnuExit_; }
    QAction* driveAction() const { return mnuDrive_; }
    QAction* numLockAction() const { return mnuOptionsNumLock_; }
    QAction* printDOSAction() const { return mnuOptionsPrintDOS_; }
    QAction* aboutAction() const { return mnuHelpAbout_; }
    QTimer& numLockTimer() { return timNumLock_; }

public slots:
    // timNumLock: while the option is on, NumLock is put back on.
    void numLockTick();

signals:
    // "Exit Application", "E&xit!", or a drive selection that cannot go on.
    void exitRequested();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenuBar();
    void layoutWindow();
    void applyRuleE();
    QString listText() const;
    void listClicked();
    void menuChoice(int index);
    void editCurrentClient();
    void addNewClient();
    void supervisorOptions();
    // Flips an option, ticks its menu item and saves it; a failed save is reported.
    void toggleOption(bool& option, QAction& item, void (app::Settings::*save)(bool));
    void toggleNumLock();
    void togglePrintDOS();
    void selectDriveFromMenu();
    void closeOtherWindows();

    app::ProgramState& state_;
    app::Settings& settings_;
    Dialogs& dialogs_;
    MainMenuScreens screens_;
    NumLockKey* numLockKey_ = nullptr;

    QWidget* central_;
    QWidget* frMainMenu_;
    MenuButtonRow* row_;
    QGroupBox* fraClient_;
    QListWidget* lbNameDisplay_;
    MsgPanel* msgPanel_;
    QLabel* imgHWKLogo_;
    QPixmap image3_;  // first publisher
    QPixmap image1_;  // second publisher
    QTimer timNumLock_;
    QAction* mnuExit_ = nullptr;
    QAction* mnuDrive_ = nullptr;
    QAction* mnuOptionsNumLock_ = nullptr;
    QAction* mnuOptionsPrintDOS_ = nullptr;
    QAction* mnuHelpAbout_ = nullptr;
    frmDriveSelect* chooser_;
    std::function<void(frmDriveSelect&)> chooserFiller_;
    app::DriveFiles* driveFiles_ = nullptr;
    QPointer<frmAbout> about_;
};

}  // namespace kcs::menus
