#include "kcs/menus/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "kcs/common/RunError.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/records/ClientFile.h"
#include "kcs/ui/ErrorGuard.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::menus {

using namespace kcs::ui;

namespace {

constexpr int kHighest = 3;

const char* const kCaptions[] = {"Edit Current Client", "Add New Client", "Supervisor Options",
                                 "Exit Application"};
const char* const kHelps[] = {
    "Edit client's information.",
    "Enter a new client. Test client on computer or enter data from answer sheet.",
    "Print client report, verify data entry or delete client names.",
    "Quit the program.",
};

void setFrameLook(QGroupBox& frame, bool focused) {
    setPanelColors(frame, focused ? kCyan : kBlue, focused ? kBlack : kWhite);
    QFont f = frame.font();
    f.setBold(focused);
    frame.setFont(f);
}

}  // namespace

QPixmap loadLogo(const QString& file, int height) {
    if (file.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgRenderer svg(file);
        if (!svg.isValid()) return {};
        QSize size = svg.defaultSize();
        if (size.isEmpty()) size = QSize(height, height);
        size = size.scaled(QSize(height * 4, height), Qt::KeepAspectRatio);
        QPixmap pix(size);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        svg.render(&p);
        return pix;
    }
    QPixmap pix(file);
    return pix.isNull() ? pix : pix.scaledToHeight(height, Qt::SmoothTransformation);
}

frmMain::frmMain(app::ClientStore& store, app::Options& options, const app::Paths& paths, ui::Services& services,
                 ClientFlows& flows, QWidget* parent)
    : QMainWindow(parent),
      store_(store),
      options_(options),
      paths_(paths),
      services_(services),
      flows_(flows),
      form_(store) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kestrel Conduct Screening"));

    central_ = new QWidget(this);
    central_->setObjectName(QStringLiteral("frmMainArea"));
    setPanelColors(*central_, kBlue, kWhite);
    setCentralWidget(central_);

    msgPanel_ = new MsgPanel(central_);

    fraClient_ = new QGroupBox(QStringLiteral("Client List"), central_);
    fraClient_->setObjectName(QStringLiteral("fraClient"));
    setFrameLook(*fraClient_, false);
    auto* clientLayout = new QVBoxLayout(fraClient_);
    lbNameDisplay_ = new QListWidget(fraClient_);
    lbNameDisplay_->setObjectName(QStringLiteral("lbNameDisplay"));
    lbNameDisplay_->setAccessibleName(QStringLiteral("Client List"));
    QFont listFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    listFont.setPointSizeF(std::max(listFont.pointSizeF(), 10.0));
    listFont.setBold(false);
    lbNameDisplay_->setFont(listFont);  // set explicitly: the frame's bold caption stays off it
    lbNameDisplay_->setSelectionMode(QAbstractItemView::SingleSelection);
    lbNameDisplay_->installEventFilter(this);
    clientLayout->addWidget(lbNameDisplay_);
    connect(lbNameDisplay_, &QListWidget::itemSelectionChanged, this, &frmMain::listClicked);
    connect(lbNameDisplay_, &QListWidget::itemClicked, this, &frmMain::listClicked);

    frMainMenu_ = new QWidget(central_);
    frMainMenu_->setObjectName(QStringLiteral("frMainMenu"));
    setPanelColors(*frMainMenu_, kBlue, kWhite);
    row_ = new MenuButtonRow(*this, msgPanel_, services_.dialogs);
    for (int i = 0; i <= kHighest; ++i) {
        QPushButton* b = row_->addButton(frMainMenu_, QString::fromLatin1(kCaptions[i]), QString::fromLatin1(kHelps[i]));
        QFont f = b->font();
        f.setPointSizeF(f.pointSizeF() * 1.2);
        b->setFont(f);
    }
    row_->layoutColumn(frMainMenu_, twipsToPixels(3400, this), twipsToPixels(700, this), twipsToPixels(150, this));
    row_->onChosen([this](int i) { menuChoice(i); });
    row_->button(0)->setEnabled(false);

    imgHWKLogo_ = new QLabel(central_);
    imgHWKLogo_->setObjectName(QStringLiteral("imgHWKLogo"));
    imgHWKLogo_->setAlignment(Qt::AlignCenter);

    setTabOrder(lbNameDisplay_, row_->button(0));
    for (int i = 0; i < kHighest; ++i) setTabOrder(row_->button(i), row_->button(i + 1));

    chooser_ = new frmDriveSelect(services_.dialogs, this);

    buildMenuBar();

    timNumLock_.setObjectName(QStringLiteral("timNumLock"));
    timNumLock_.setInterval(1000);
    connect(&timNumLock_, &QTimer::timeout, this, &frmMain::numLockTick);

    resize(twipsToPixels(14400, this), twipsToPixels(9600, this));
    layoutWindow();
}

frmMain::~frmMain() {
    if (about_) delete about_;
}

void frmMain::buildMenuBar() {
    QMenuBar* bar = menuBar();
    mnuExit_ = bar->addAction(QStringLiteral("E&xit!"));
    mnuExit_->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit_, &QAction::triggered, this, [this] { emit exitRequested(); });
    // Every menu item runs under the error guard, like the buttons.
    const auto guard = [this](void (frmMain::*item)()) {
        return [this, item] { guarded(services_.dialogs, [&] { (this->*item)(); }); };
    };

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuAudio"));
    mnuDrive_ = options->addAction(QStringLiteral("Select Data Drive"));
    mnuDrive_->setObjectName(QStringLiteral("mnuDrive"));
    connect(mnuDrive_, &QAction::triggered, this, guard(&frmMain::selectDriveFromMenu));
    mnuOptionsNumLock_ = options->addAction(QStringLiteral("&Num Lock Always On"));
    mnuOptionsNumLock_->setObjectName(QStringLiteral("mnuOptionsNumLock"));
    mnuOptionsNumLock_->setCheckable(true);
    connect(mnuOptionsNumLock_, &QAction::triggered, this, guard(&frmMain::toggleNumLock));
    mnuOptionsPrintDOS_ = options->addAction(QStringLiteral("&Print to DOS port"));
    mnuOptionsPrintDOS_->setObjectName(QStringLiteral("mnuOptionsPrintDOS"));
    mnuOptionsPrintDOS_->setCheckable(true);
    connect(mnuOptionsPrintDOS_, &QAction::triggered, this, guard(&frmMain::togglePrintDOS));

    mnuHelpAbout_ = bar->addAction(QStringLiteral("&About..."));
    mnuHelpAbout_->setObjectName(QStringLiteral("mnuHelpAbout"));
    connect(mnuHelpAbout_, &QAction::triggered, this, guard(&frmMain::showAbout));
}

void frmMain::setLogos(const QPixmap& first, const QPixmap& second) {
    image3_ = first;
    image1_ = second;
}

const QPixmap& frmMain::logoFor(char publisherFlag) const {
    return publisherFlag == 'b' ? image3_ : image1_;
}

void frmMain::showPublisherLogo() {
    imgHWKLogo_->setPixmap(logoFor(store_.PublisherFlag()));
    layoutWindow();
}

void frmMain::layoutWindow() {
    const int margin = twipsToPixels(240, this);
    const int w = central_->width();
    const int h = central_->height();
    const int panelHeight = msgPanel_->sizeHint().height();
    msgPanel_->setGeometry(0, h - panelHeight, w, panelHeight);

    const int menuLeft = (w - frMainMenu_->width()) / 2;
    const int clientWidth = std::max(twipsToPixels(2400, this), menuLeft - 2 * margin);
    fraClient_->setGeometry(margin, margin, clientWidth, h - panelHeight - 2 * margin);

    const QPixmap pix = imgHWKLogo_->pixmap();
    const QSize logoSize = pix.isNull() ? QSize(0, 0) : pix.deviceIndependentSize().toSize();
    const int logoLeft = menuLeft + frMainMenu_->width() + margin;
    imgHWKLogo_->setGeometry(logoLeft, margin, std::max(0, w - logoLeft - margin),
                             std::max(logoSize.height(), twipsToPixels(1200, this)));
    PlaceMainFrame(*this, *frMainMenu_);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    layoutWindow();
}

void frmMain::closeEvent(QCloseEvent* event) {
    // The window's close box ends the program like "Exit Application".
    event->ignore();
    emit exitRequested();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) return;
    if (!isActiveWindow()) {
        // Where did the keyboard go? Another window of ours, or another application.
        awayInOwnWindow_ = QApplication::activeWindow() != nullptr || QApplication::activeModalWidget() != nullptr;
        return;
    }
    if (awayInOwnWindow_ && isEnabled() && isVisible()) {
        awayInOwnWindow_ = false;
        guarded(services_.dialogs, [this] { activationStep(); });
    }
}

void frmMain::activationStep() {
    PlaceMainFrame(*this, *frMainMenu_);
    row_->ResetMenuHighlight();
    applyRuleE();
    form_.activate();
    RefreshNameDisplay();
    // A data drive holds at most 51 clients; a drive with room again allows adding.
    row_->button(1)->setEnabled(form_.addEnabled());
    row_->button(0)->setEnabled(false);
    if (UnloadOthersOnActivate) closeOtherWindows();
}

void frmMain::closeOtherWindows() {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w == this || !w->isVisible()) continue;
        const Qt::WindowType type = w->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::Desktop) continue;
        w->close();
    }
}

void frmMain::RefreshNameDisplay() {
    const QSignalBlocker block(lbNameDisplay_);
    lbNameDisplay_->clear();
    for (const std::string& line : form_.listLines()) lbNameDisplay_->addItem(QString::fromStdString(line));
    lbNameDisplay_->setCurrentRow(-1);
}

QString frmMain::listText() const {
    const auto selected = lbNameDisplay_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void frmMain::applyRuleE() {
    row_->button(0)->setEnabled(MainMenuForm::editEnabled(listText().toStdString()));
}

void frmMain::listClicked() {
    applyRuleE();
    form_.lineChosen(listText().toStdString());
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbNameDisplay_) {
        switch (event->type()) {
        case QEvent::FocusIn:
            if (store_.NumClients() < 1) {
                applyRuleE();
                row_->button(1)->setFocus(Qt::TabFocusReason);
                return false;
            }
            setFrameLook(*fraClient_, true);
            msgPanel_->setText(QStringLiteral("Use up or down arrow keys or mouse to select client."));
            applyRuleE();
            break;
        case QEvent::FocusOut:
            setFrameLook(*fraClient_, false);
            msgPanel_->clear();
            break;
        case QEvent::KeyPress: {
            // The list opens with nothing picked: the first arrow picks client 1, not the
            // line after an unseen current one.
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Down || key == Qt::Key_Up) && lbNameDisplay_->selectedItems().isEmpty() &&
                lbNameDisplay_->count() > 0) {
                lbNameDisplay_->setCurrentRow(0);
                return true;
            }
            break;
        }
        case QEvent::KeyRelease:
            applyRuleE();
            break;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::menuChoice(int index) {
    switch (index) {
    case 0:
        // The screens of an edit sequence open one after another over this window; none of
        // them may be closed by its activation in between.
        UnloadOthersOnActivate = false;
        runFlow([this] {
            flows_.editCurrentClient();
            UnloadOthersOnActivate = true;
        });
        UnloadOthersOnActivate = true;
        break;
    case 1: runFlow([this] { flows_.addNewClient(); }); break;
    case 2: runFlow([this] { flows_.supervisorOptions(); }); break;
    case 3: emit exitRequested(); break;
    default: break;
    }
}

void frmMain::runFlow(const std::function<void()>& flow) {
    frMainMenu_->hide();
    guarded(services_.dialogs, flow);
    frMainMenu_->show();
    // The list shows what the data drive holds now, whatever the flow did.
    activationStep();
}

void frmMain::showOptions() {
    mnuOptionsNumLock_->setChecked(options_.NumLockOn());
    mnuOptionsPrintDOS_->setChecked(options_.PrintDOSFlag());
    if (!timNumLock_.isActive()) timNumLock_.start();
}

void frmMain::toggleNumLock() {
    // The check mark follows the option even when saving it fails (the box says so).
    struct Tick {
        frmMain& w;
        ~Tick() { w.mnuOptionsNumLock_->setChecked(w.options_.NumLockOn()); }
    } tick{*this};
    options_.toggleNumLock();
    numLockTick();
}

void frmMain::togglePrintDOS() {
    struct Tick {
        frmMain& w;
        ~Tick() { w.mnuOptionsPrintDOS_->setChecked(w.options_.PrintDOSFlag()); }
    } tick{*this};
    options_.togglePrintDOS();
}

void frmMain::numLockTick() {
    // Only an option that is on holds the key; with it off the key is the user's.
    if (options_.NumLockOn()) services_.numLock.setNumLock(true);
}

DriveSelection frmMain::selectDataDrive(bool startUpMode) {
    DriveSelectContext ctx{store_, paths_, options_.settings(), services_, *chooser_, [this] {
                               lbNameDisplay_->clear();
                               RefreshNameDisplay();
                               applyRuleE();
                           }};
    return SelectDataDrive(ctx, startUpMode);
}

void frmMain::reportOverfullDisk() {
    const std::string text = records::overCapacityMessage(store_.lastLoad());
    if (!text.empty()) services_.dialogs.message(text, "Data Disk", MsgIcon::Exclamation, MsgButtons::Ok);
}

void frmMain::selectDriveFromMenu() {
    const auto chosen = selectDataDrive(false);
    if (chosen == DriveSelection::EndProgram) {
        emit exitRequested();
        return;
    }
    if (chosen == DriveSelection::Accepted) reportOverfullDisk();
    showPublisherLogo();
    row_->button(1)->setEnabled(form_.addEnabled());
}

void frmMain::showAbout() {
    if (about_) {
        about_->raise();
        about_->activateWindow();
        return;
    }
    about_ = new frmAbout(store_.PublisherFlag(), logoFor(store_.PublisherFlag()), this);
    about_->Splash = false;
    connect(about_, &frmAbout::closed, about_, &QObject::deleteLater);
    about_->show();
    CenterForm(*about_);
}

}  // namespace kcs::menus
