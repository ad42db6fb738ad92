#include "kcs/program/StartUp.h"

#include <QApplication>
#include <QStyleFactory>

#include "kcs/common/Publishers.h"
#include "kcs/common/RunError.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/DriveSelect.h"
#include "kcs/menus/MainWindow.h"
#include "kcs/program/ProgramScreens.h"
#include "kcs/records/ClientFile.h"
#include "kcs/ui/ScreenConventions.h"

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
    // No display name: the window system shows each window's own caption, exactly.
    QApplication::setApplicationName(QStringLiteral("kcs"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false);
}

StartUp::StartUp(std::filesystem::path programFolder, ui::Services& services, int splashHoldTicks, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)), services_(services), holdTicks_(splashHoldTicks) {}

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
            number = err::InternalError;
            description = QString::fromUtf8(e.what());
        }
        if (isNotFound(number) || number == err::PermissionDenied) {
            const QString text = number == err::PermissionDenied ? menus::diskWriteProtectedText()
                                                                  : menus::diskNotFoundText();
            if (services_.dialogs.message(text, menus::kDataDiskErrorTitle, app::MsgIcon::Critical,
                                          app::MsgButtons::OkCancel) == app::MsgAnswer::Ok)
                continue;  // the same step again
        } else {
            app::showRunError(services_.dialogs, number, description.toStdString());
        }
        return false;
    }
}

void StartUp::start() {
    if (stage_ != Stage::NotStarted) return;

    // Engine, settings file, workspace, question bank path, sound folder.
    if (!runStep([this] { prepared_.emplace(app::prepareStartup(programFolder_)); })) return end();
    options_.emplace(prepared_->settings);

    screens_ = std::make_unique<ProgramScreens>(store_, *options_, prepared_->paths, prepared_->TestWorkspace,
                                                services_);
    flows_ = std::make_unique<menus::ClientFlows>(store_, *screens_, services_.dialogs);
    main_ = std::make_unique<menus::frmMain>(store_, *options_, prepared_->paths, services_, *flows_);
    const int logoHeight = ui::twipsToPixels(2400, main_.get());
    main_->setLogos(menus::loadLogo(logoPath(programFolder_, kFirstPublisher), logoHeight),
                    menus::loadLogo(logoPath(programFolder_, kSecondPublisher), logoHeight));

    // The data drive: the one the settings name, or the supervisor chooses one. Without
    // an accepted drive there is nothing to work on.
    menus::DriveSelection chosen = menus::DriveSelection::NotAccepted;
    if (!runStep([this, &chosen] { chosen = main_->selectDataDrive(true); })) return end();
    if (chosen != menus::DriveSelection::Accepted) return end();

    main_->showPublisherLogo();

    // The splash; the main window stays hidden until start-up is done.
    splash_ = new menus::frmAbout(store_.PublisherFlag(), main_->logoFor(store_.PublisherFlag()));
    splash_->Splash = true;
    splash_->setHoldTicks(holdTicks_);
    connect(splash_, &menus::frmAbout::fadeDone, this, &StartUp::afterFade, Qt::SingleShotConnection);
    stage_ = Stage::Splash;
    splash_->show();
    ui::CenterForm(*splash_);
    emit splashShown();
}

void StartUp::afterFade() {
    if (stage_ != Stage::Splash) return;
    if (!runStep([this] { store_.reload(); })) return end();
    connect(splash_, &menus::frmAbout::closed, this, &StartUp::afterSplash, Qt::SingleShotConnection);
    splash_->requestClose();
}

void StartUp::afterSplash() {
    if (stage_ != Stage::Splash) return;
    if (splash_) splash_->deleteLater();
    main_->show();
    ui::CenterForm(*main_);
    main_->activationStep();
    main_->reportOverfullDisk();
    if (!runStep([this] { options_->read(); })) return end();
    main_->showOptions();
    main_->setUnloadOthersOnActivate(true);
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
