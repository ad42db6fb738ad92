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

#include "kcs/app/ProgramState.h"
#include "kcs/app/Settings.h"
#include "kcs/common/Cp1252.h"
#include "kcs/common/RunError.h"
#include "kcs/menus/AboutBox.h"
#include "kcs/menus/Dialogs.h"
#include "kcs/menus/MenuButtonRow.h"
#include "kcs/menus/ScreenConventions.h"
#include "kcs/records/ClientFile.h"

namespace kcs::menus {

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

frmMain::frmMain(app::ProgramState& state, app::Settings& settings, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), state_(state), settings_(settings), dialogs_(dialogs) {
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
    row_ = new MenuButtonRow(*this, msgPanel_);
    for (int i = 0; i <= kHighest; ++i) {
        QPushButton* b = row_->addButton(frMainMenu_, QString::fromLatin1(kCaptions[i]), QString::fromLatin1(kHelps[i]));
        QFont f = b->font();
        f.setPointSizeF(f.pointSizeF() * 1.2);
        b->setFont(f);
    }
    row_->layoutColumn(frMainMenu_, twipsToPixels(3400, this), twipsToPixels(700, this), twipsToPixels(150, this));
    connect(row_, &MenuButtonRow::chosen, this, &frmMain::menuChoice);
    row_->button(0)->setEnabled(false);

    imgHWKLogo_ = new QLabel(central_);
    imgHWKLogo_->setObjectName(QStringLiteral("imgHWKLogo"));
    imgHWKLogo_->setAlignment(Qt::AlignCenter);

    setTabOrder(lbNameDisplay_, row_->button(0));
    for (int i = 0; i < kHighest; ++i) setTabOrder(row_->button(i), row_->button(i + 1));

    chooser_ = new frmDriveSelect(dialogs_, this);

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

    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("mnuAudio"));
    mnuDrive_ = options->addAction(QStringLiteral("Select Data Drive"));
    mnuDrive_->setObjectName(QStringLiteral("mnuDrive"));
    connect(mnuDrive_, &QAction::triggered, this, &frmMain::selectDriveFromMenu);
    mnuOptionsNumLock_ = options->addAction(QStringLiteral("&Num Lock Always On"));
    mnuOptionsNumLock_->setObjectName(QStringLiteral("mnuOptionsNumLock"));
    mnuOptionsNumLock_->setCheckable(true);
    connect(mnuOptionsNumLock_, &QAction::triggered, this, &frmMain::toggleNumLock);
    mnuOptionsPrintDOS_ = options->addAction(QStringLiteral("&Print to DOS port"));
    mnuOptionsPrintDOS_->setObjectName(QStringLiteral("mnuOptionsPrintDOS"));
    mnuOptionsPrintDOS_->setCheckable(true);
    connect(mnuOptionsPrintDOS_, &QAction::triggered, this, &frmMain::togglePrintDOS);

    mnuHelpAbout_ = bar->addAction(QStringLiteral("&About..."));
    mnuHelpAbout_->setObjectName(QStringLiteral("mnuHelpAbout"));
    connect(mnuHelpAbout_, &QAction::triggered, this, &frmMain::showAbout);
}

void frmMain::setLogos(const QPixmap& first, const QPixmap& second) {
    image3_ = first;
    image1_ = second;
}

const QPixmap& frmMain::logoFor(char publisherFlag) const {
    return publisherFlag == 'b' ? image3_ : image1_;
}

void frmMain::showPublisherLogo() {
    imgHWKLogo_->setPixmap(logoFor(state_.PublisherFlag));
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
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isEnabled())
        activationStep();
}

void frmMain::activationStep() {
    PlaceMainFrame(*this, *frMainMenu_);
    row_->resetHighlight();
    applyRuleE();
    if (state_.table.NumClients == 0) state_.table.CurClient = 0;
    RefreshNameDisplay();
    // A data drive holds at most 51 clients; a drive with room again allows adding.
    row_->button(1)->setEnabled(state_.table.NumClients < records::kMaxClients);
    row_->button(0)->setEnabled(false);
    if (state_.UnloadOthersOnActivate) closeOtherWindows();
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
    const auto& table = state_.table;
    for (int i = 1; i <= table.NumClients && i <= records::kMaxClients; ++i) {
        const std::string_view name = table.Clients[static_cast<std::size_t>(i)].raw(records::Field::Name);
        lbNameDisplay_->addItem(QString::number(i) + QLatin1Char('-') +
                                QString::fromStdString(cp1252ToUtf8(name)));
    }
    lbNameDisplay_->setCurrentRow(-1);
}

QString frmMain::listText() const {
    const auto selected = lbNameDisplay_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void frmMain::applyRuleE() {
    row_->button(0)->setEnabled(!listText().isEmpty());
}

void frmMain::listClicked() {
    applyRuleE();
    const QString text = listText();
    if (text.isEmpty()) return;
    bool ok = false;
    const int number = text.left(text.indexOf(QLatin1Char('-'))).toInt(&ok);
    if (ok) state_.table.CurClient = static_cast<std::int16_t>(number);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbNameDisplay_) {
        switch (event->type()) {
        case QEvent::FocusIn:
            if (state_.table.NumClients < 1) {
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
    case 0: editCurrentClient(); break;
    case 1: addNewClient(); break;
    case 2: supervisorOptions(); break;
    case 3: emit exitRequested(); break;
    default: break;
    }
}

void frmMain::editCurrentClient() {
    if (!screens_.clientInformation) return;
    state_.EditMode = true;
    state_.UnloadOthersOnActivate = false;
    frMainMenu_->hide();
    screens_.clientInformation(*this);
    if (state_.ContinueFlag) {
        state_.ContinueFlag = false;
        if (screens_.courtHistory) screens_.courtHistory(*this);
        if (state_.ContinueFlag && screens_.answerSheet) screens_.answerSheet(*this);
    }
    state_.UnloadOthersOnActivate = true;
    frMainMenu_->show();
    activationStep();
}

void frmMain::addNewClient() {
    if (!screens_.entryMethod) return;
    state_.EditMode = false;
    frMainMenu_->hide();
    screens_.entryMethod(*this);
    frMainMenu_->show();
    activationStep();
}

void frmMain::supervisorOptions() {
    if (!screens_.supervisorOptions) return;
    frMainMenu_->hide();
    screens_.supervisorOptions(*this);
    frMainMenu_->show();
    activationStep();
}

void frmMain::setOptions(bool numLockOn, bool printDOS) {
    state_.NumLockOn = numLockOn;
    state_.PrintDOSFlag = printDOS;
    mnuOptionsNumLock_->setChecked(numLockOn);
    mnuOptionsPrintDOS_->setChecked(printDOS);
    if (!timNumLock_.isActive()) timNumLock_.start();
}

void frmMain::toggleOption(bool& option, QAction& item, void (app::Settings::*save)(bool)) {
    option = !option;
    item.setChecked(option);
    try {
        (settings_.*save)(option);
    } catch (const RunError& e) {
        showRunError(dialogs_, e);
    }
}

void frmMain::toggleNumLock() {
    toggleOption(state_.NumLockOn, *mnuOptionsNumLock_, &app::Settings::SaveININumLock);
    numLockTick();
}

void frmMain::togglePrintDOS() {
    toggleOption(state_.PrintDOSFlag, *mnuOptionsPrintDOS_, &app::Settings::SaveINIPrintDOS);
}

void frmMain::numLockTick() {
    // Only an option that is on holds the key; with it off the key is the user's.
    if (state_.NumLockOn && numLockKey_) numLockKey_->setNumLock(true);
}

DriveSelection frmMain::selectDataDrive(bool startUpMode) {
    DriveSelectContext ctx{state_, settings_, dialogs_, *chooser_,
                           [this] {
                               lbNameDisplay_->clear();
                               RefreshNameDisplay();
                               applyRuleE();
                           },
                           chooserFiller_, driveFiles_};
    return SelectDataDrive(ctx, startUpMode);
}

void frmMain::reportOverfullDisk() {
    const std::string text = records::overCapacityMessage(state_.LastLoad);
    if (!text.empty())
        dialogs_.message(QString::fromStdString(text), QStringLiteral("Data Disk"), MsgIcon::Exclamation,
                         MsgButtons::Ok);
}

void frmMain::selectDriveFromMenu() {
    const auto chosen = selectDataDrive(false);
    if (chosen == DriveSelection::EndProgram) {
        emit exitRequested();
        return;
    }
    if (chosen == DriveSelection::Accepted) reportOverfullDisk();
    showPublisherLogo();
    row_->button(1)->setEnabled(state_.table.NumClients < records::kMaxClients);
}

void frmMain::showAbout() {
    if (about_) {
        about_->raise();
        about_->activateWindow();
        return;
    }
    about_ = new frmAbout(state_.PublisherFlag, logoFor(state_.PublisherFlag), this);
    about_->Splash = false;
    connect(about_, &frmAbout::closed, about_, &QObject::deleteLater);
    about_->show();
    CenterForm(*about_);
}

}  // namespace kcs::menus
