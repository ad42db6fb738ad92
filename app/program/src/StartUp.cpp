#include "kcs/program/StartUp.h"

#include <QApplication>
#include <QStyleFactory>

#include "kcs/common/Publishers.h"
#include "kcs/common/RunError.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/Dialogs.h"
#include "kcs/menus/DriveSelect.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/menus/ScreenConventions.h"
#include "kcs/records/ClientFile.h"

namespace kcs::program {

namespace {

// Start-up's "data disk not found" group.
bool isNotFound(int n) {
    switch (n) {
    case err::BadFileName: case err::FileNotFound: case err::DeviceIO: case err::DiskNotReady:
    case err::BankFileNotFound: case err::BankPathInvalid: case err::BankCannotOpen:
        return true;
    default:
        return false;
    }
}

QString logoPath(const std::filesystem::path& folder, const Publisher& pub) {
    return QString::fromStdString((folder / std::string(pub.logoFile)).string());
}

}  // namespace

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("kcs"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kestrel Conduct Screening"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
}

StartUp::StartUp(std::filesystem::path programFolder, menus::Dialogs& dialogs, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)), dialogs_(dialogs) {}

StartUp::~StartUp() {
    if (splash_) delete splash_;
}

bool StartUp::runStep(const std::function<void()>& step) {
    for (;;) {
        int number = 0;
        QString description;
        try {
            step();
            return true;
        } catch (const RunError& e) {
            number = e.number();
            description = QString::fromStdString(e.description());
        } catch (const std::exception& e) {
            number = 51;  // internal error
            description = QString::fromUtf8(e.what());
        }
        if (isNotFound(number) || number == err::PermissionDenied) {
            const QString text = number == err::PermissionDenied ? menus::diskWriteProtectedText()
                                                                  : menus::diskNotFoundText();
            if (dialogs_.message(text, menus::kDataDiskErrorTitle, menus::MsgIcon::Critical,
                                 menus::MsgButtons::OkCancel) == menus::MsgAnswer::Ok)
                continue;  // the same step again
        } else {
            menus::showRunError(dialogs_, number, description);
        }
        return false;
    }
}

void StartUp::start() {
    if (stage_ != Stage::NotStarted) return;

    // Engine, settings file, workspace, question bank path, sound folder.
    if (!runStep([this] { session_.emplace(app::prepareStartup(state_, programFolder_)); })) return end();
    settings_.emplace(state_.IniPath);

    main_ = std::make_unique<menus::frmMain>(state_, *settings_, dialogs_);
    main_->setNumLockKey(numLockKey_);
    main_->setDriveFiles(driveFiles_);
    if (chooserFiller_) main_->setChooserFiller(chooserFiller_);
    const int logoHeight = menus::twipsToPixels(2400, main_.get());
    main_->setLogos(menus::loadLogo(logoPath(programFolder_, kFirstPublisher), logoHeight),
                    menus::loadLogo(logoPath(programFolder_, kSecondPublisher), logoHeight));

    // The data drive: the one the settings name, or the supervisor chooses one. Without
    // an accepted drive there is nothing to work on.
    menus::DriveSelection chosen = menus::DriveSelection::NotAccepted;
    if (!runStep([this, &chosen] { chosen = main_->selectDataDrive(true); })) return end();
    if (chosen != menus::DriveSelection::Accepted) return end();

    main_->showPublisherLogo();

    // The splash; the main window stays hidden until start-up is done.
    splash_ = new menus::frmAbout(state_.PublisherFlag, main_->logoFor(state_.PublisherFlag));
    splash_->Splash = true;
    splash_->setHoldTicks(holdTicks_);
    connect(splash_, &menus::frmAbout::fadeDone, this, &StartUp::afterFade, Qt::SingleShotConnection);
    stage_ = Stage::Splash;
    splash_->show();
    menus::CenterForm(*splash_);
    emit splashShown();
}

void StartUp::afterFade() {
    if (stage_ != Stage::Splash) return;
    if (!runStep([this] { state_.LastLoad = records::LoadClients(state_.table, state_.ClientFilePath); }))
        return end();
    connect(splash_, &menus::frmAbout::closed, this, &StartUp::afterSplash, Qt::SingleShotConnection);
    splash_->requestClose();
}

void StartUp::afterSplash() {
    if (stage_ != Stage::Splash) return;
    if (splash_) splash_->deleteLater();
    main_->show();
    menus::CenterForm(*main_);
    main_->activationStep();
    main_->reportOverfullDisk();
    bool numLock = true;
    bool printDOS = true;
    if (!runStep([&] {
            numLock = settings_->GetININumLock();
            printDOS = settings_->GetINIPrintDOS();
        }))
        return end();
    main_->setOptions(numLock, printDOS);
    state_.UnloadOthersOnActivate = true;
    main_->numLockTick();
    stage_ = Stage::Ready;
    main_->activateWindow();
    emit ready();
}

void StartUp::end() {
    stage_ = Stage::Ended;
    if (splash_) {
        splash_->hide();
        splash_->deleteLater();
    }
    if (main_) main_->hide();
    emit ended();
}

void StartUp::raiseWindow() {
    QWidget* target = nullptr;
    if (main_ && main_->isVisible()) target = main_.get();
    if (QWidget* modal = QApplication::activeModalWidget()) target = modal;
    else if (!target && splash_ && splash_->isVisible()) target = splash_;
    if (!target) return;
    if (target->isMinimized()) target->showNormal();
    if (main_ && main_->isMinimized()) main_->showNormal();
    target->raise();
    target->activateWindow();
}

}  // namespace kcs::program
