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

#include "kcs/app/ClientStore.h"
#include "kcs/app/Options.h"
#include "kcs/app/Paths.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/DriveSelect.h"
#include "kcs/menus/Flows.h"
#include "kcs/menus/MainMenuForm.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/Services.h"

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;

namespace kcs::menus {

using ui::MenuButtonRow;
using ui::MsgPanel;

// A publisher's logo from an SVG or bitmap file, `height` pixels high; null if unreadable.
QPixmap loadLogo(const QString& file, int height);

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // The menu's buttons run `flows`; the options and the data drive are kept in `options`
    // and `store`; message boxes, the NumLock key and the drives come from `services`.
    frmMain(app::ClientStore& store, app::Options& options, const app::Paths& paths, ui::Services& services,
            ClientFlows& flows, QWidget* parent = nullptr);
    ~frmMain() override;

    // The logos of the first and the second publisher (Image3 and Image1).
    void setLogos(const QPixmap& first, const QPixmap& second);
    const QPixmap& logoFor(char publisherFlag) const;
    // Shows the logo of the publisher the data drive names.
    void showPublisherLogo();

    // Run each time the window becomes active.
    void activationStep();
    void RefreshNameDisplay();
    // Shows the options' check marks as they were read; NumLock is held from then on.
    void showOptions();
    // From now on each return to this window closes every other open window.
    void setUnloadOthersOnActivate(bool on) { UnloadOthersOnActivate = on; }
    // Tells the supervisor when the drive just loaded holds more clients than the list can
    // show; the records beyond it stay on the drive untouched.
    void reportOverfullDisk();

    // The data drive selection with this window's chooser.
    DriveSelection selectDataDrive(bool startUpMode);
    frmDriveSelect& chooser() { return *chooser_; }

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
    // Runs a flow with the menu frame hidden, then takes over again.
    void runFlow(const std::function<void()>& flow);
    void buildMenuBar();
    void layoutWindow();
    void applyRuleE();
    QString listText() const;
    void listClicked();
    void menuChoice(int index);
    void toggleNumLock();
    void togglePrintDOS();
    void selectDriveFromMenu();
    void closeOtherWindows();

    app::ClientStore& store_;
    app::Options& options_;
    const app::Paths& paths_;
    ui::Services& services_;
    ClientFlows& flows_;
    MainMenuForm form_;
    // While true, each activation of this window closes every other open window; false
    // during the Edit Current Client sequence.
    bool UnloadOthersOnActivate = false;
    // Set when the keyboard went to another window of the program: the activation step
    // runs when it comes back from there, not when the supervisor returns from another
    // application.
    bool awayInOwnWindow_ = false;

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
    QPointer<frmAbout> about_;
};

}  // namespace kcs::menus
