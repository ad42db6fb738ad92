#include "kcs/menus/SupervisorOptions.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "kcs/ui/ScreenConventions.h"

namespace kcs::menus {

using namespace kcs::ui;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QGroupBox* group(const QString& name, const QString& caption, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    setPanelColors(*box, kBlue, kWhite);
    return box;
}

// A tab holding the frame "Operation Comments" with a text that says what its operation does.
void commentTab(QTabWidget& tabs, const QString& caption, const QString& frameName, const QString& labelName,
                const QString& text) {
    auto* page = new QWidget;
    setPanelColors(*page, kBlue, kWhite);
    auto* frame = group(frameName, QStringLiteral("Operation Comments"), page);
    auto* label = new QLabel(text, frame);
    label->setObjectName(labelName);
    label->setWordWrap(true);
    (new QVBoxLayout(frame))->addWidget(label);
    (new QVBoxLayout(page))->addWidget(frame);
    tabs.addTab(page, caption);
}

}  // namespace

frmSupervisorOptions::frmSupervisorOptions(const app::ClientStore& store, SupervisorFlows& flows,
                                           ui::Services& services, QWidget* parent)
    : QDialog(parent), form_(store), flows_(flows), services_(services) {
    setUpModalScreen(*this, QStringLiteral("frmSupervisorOptions"), QStringLiteral("Supervisor Options"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frControls = new QWidget(this);
    frControls->setObjectName(QStringLiteral("frControls"));
    setPanelColors(*frControls, kBlue, kWhite);
    auto* layout = new QVBoxLayout(frControls);
    const int m = twipsToPixels(240, this);
    layout->setContentsMargins(m, m, m, m);
    outer->addWidget(frControls, 1);

    tabFrame_ = new QFrame(frControls);
    tabFrame_->setObjectName(QStringLiteral("sspMenuChoice_2"));
    tabFrame_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setPanelColors(*tabFrame_, kBlue);
    auto* tabLayout = new QVBoxLayout(tabFrame_);
    tabLayout->setContentsMargins(twipsToPixels(90, this), twipsToPixels(90, this), twipsToPixels(90, this),
                                  twipsToPixels(90, this));
    sstSupervisorOperations_ = new QTabWidget(tabFrame_);
    sstSupervisorOperations_->setObjectName(QStringLiteral("sstSupervisorOperations"));
    sstSupervisorOperations_->setAccessibleName(QStringLiteral("Supervisor operations"));
    sstSupervisorOperations_->tabBar()->setAccessibleName(QStringLiteral("Supervisor operations"));
    sstSupervisorOperations_->tabBar()->setFocusPolicy(Qt::StrongFocus);
    sstSupervisorOperations_->tabBar()->installEventFilter(this);
    tabLayout->addWidget(sstSupervisorOperations_);
    layout->addWidget(tabFrame_);

    // Tab 0: the report operations.
    auto* reports = new QWidget;
    setPanelColors(*reports, kBlue, kWhite);
    auto* reportsLayout = new QVBoxLayout(reports);
    auto* frame1 = group(QStringLiteral("Frame1"), QStringLiteral("Choose Report Operation"), reports);
    auto* optionsLayout = new QVBoxLayout(frame1);
    const QString captions[] = {QStringLiteral("Print above current client's report"),
                                QStringLiteral("Select and print multiple clients' reports"),
                                QStringLiteral("Print all clients' reports")};
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(captions[i], frame1);
        option->setObjectName(indexedName(QStringLiteral("optPrintOption"), i));
        option->installEventFilter(this);
        connect(option, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) form_.choosePrintOption(i);
        });
        optionsLayout->addWidget(option);
        optPrintOption_[static_cast<std::size_t>(i)] = option;
    }
    optPrintOption_[0]->setChecked(true);
    reportsLayout->addWidget(frame1);
    chkSumPage_ = new QCheckBox(QStringLiteral("One-page summary report"), reports);
    chkSumPage_->setObjectName(QStringLiteral("chkSumPage"));
    // A ticked box also shows its caption in bold, so the choice reads at a glance.
    connect(chkSumPage_, &QCheckBox::toggled, this, [this](bool on) { setBold(chkSumPage_, on); });
    reportsLayout->addWidget(chkSumPage_);
    sstSupervisorOperations_->addTab(reports, QStringLiteral("&Reports"));

    // Tab 1 and tab 2: what the operation does.
    commentTab(*sstSupervisorOperations_, QStringLiteral("&Verify Data"), QStringLiteral("Frame3"), QStringLiteral("Label1"),
               QStringLiteral("This gives you the opportunity to re-enter the client's responses from the answer sheet.  "
                              "After you enter the responses, any differences from what was just entered and what was "
                              "previously stored will be reported.  This gives you the opportunity to correct any errors."));
    commentTab(*sstSupervisorOperations_, QStringLiteral("&Delete Names"), QStringLiteral("Frame4"), QStringLiteral("Label2"),
               QStringLiteral("This operation will delete the client's name from the client database.  USE WITH CAUTION!  "
                              "Once the name has been deleted on this data disk, it CANNOT be retrieved.  All other "
                              "associated client data, demographics, court history and responses will NOT be deleted.  "
                              "Use this operation to protect client confidentiality when you are done with the disk."));
    sstSupervisorOperations_->setMinimumWidth(twipsToPixels(7200, this));
    connect(sstSupervisorOperations_, &QTabWidget::currentChanged, this, &frmSupervisorOptions::tabChanged);

    // Ctrl+Tab and Ctrl+Shift+Tab switch tabs from anywhere in the window (the X server
    // reports Shift+Tab as Backtab, with or without Shift).
    const auto step = [this](int by) {
        return [this, by] { sstSupervisorOperations_->setCurrentIndex((sstSupervisorOperations_->currentIndex() + by + 3) % 3); };
    };
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this), &QShortcut::activated, this, step(+1));
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_Backtab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, step(-1));

    auto* frCurrentClient = group(QStringLiteral("frCurrentClient"), QStringLiteral("Current Client"), frControls);
    lblNameDisplay_ = new QLabel(q(form_.nameDisplay()), frCurrentClient);
    lblNameDisplay_->setObjectName(QStringLiteral("lblNameDisplay"));
    (new QVBoxLayout(frCurrentClient))->addWidget(lblNameDisplay_);
    layout->addWidget(frCurrentClient);

    msgPanel_ = new MsgPanel(this);
    auto* rowFrame = new QWidget(frControls);
    rowFrame->setObjectName(QStringLiteral("frButtons"));
    row_ = new MenuButtonRow(*this, msgPanel_, services_.dialogs);
    row_->addButton(rowFrame, QStringLiteral("Execute Selection"), QString::fromLatin1(kExecuteHelp));
    row_->addButton(rowFrame, QStringLiteral("Go to Main Menu"), QString::fromLatin1(kMainMenuHelp));
    row_->layoutRow(rowFrame, twipsToPixels(2600, this), twipsToPixels(600, this), twipsToPixels(240, this));
    layout->addWidget(rowFrame, 0, Qt::AlignHCenter);
    row_->onChosen([this](int i) {
        if (i == 0) execute();
        else reject();
    });
    outer->addWidget(msgPanel_);

    // Tab leaves the option group from whichever option is chosen.
    setTabOrder(sstSupervisorOperations_->tabBar(), optPrintOption_[0]);
    setTabOrder(optPrintOption_[0], optPrintOption_[1]);
    setTabOrder(optPrintOption_[1], optPrintOption_[2]);
    setTabOrder(optPrintOption_[2], chkSumPage_);
    setTabOrder(chkSumPage_, row_->button(0));
    setTabOrder(row_->button(0), row_->button(1));
}

void frmSupervisorOptions::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    CenterForm(*this);
    sstSupervisorOperations_->tabBar()->setFocus(Qt::OtherFocusReason);
    // The empty-drive message comes once the window is on screen, then the window closes.
    QTimer::singleShot(0, this, &frmSupervisorOptions::activate);
}

void frmSupervisorOptions::activate() {
    row_->ResetMenuHighlight();
    if (const auto empty = form_.activate()) {
        services_.dialogs.show(*empty);
        reject();
    }
}

void frmSupervisorOptions::tabChanged(int tab) {
    const auto view = form_.tabChanged(tab);
    if (!view) return;
    msgPanel_->setText(q(view->msgPanel));
    lblNameDisplay_->setText(q(view->nameDisplay));
    if (view->reselectPrintOption) optPrintOption_.at(static_cast<std::size_t>(form_.printOption()))->setChecked(true);
}

void frmSupervisorOptions::execute() {
    // Whatever the operation did, the window closes afterwards (an error was shown).
    struct Close {
        frmSupervisorOptions& w;
        ~Close() { w.accept(); }
    } close{*this};
    flows_.execute(form_.tab(), form_.printOption(), chkSumPage_->isChecked());
}

bool frmSupervisorOptions::eventFilter(QObject* watched, QEvent* event) {
    const bool in = event->type() == QEvent::FocusIn, out = event->type() == QEvent::FocusOut;
    if (in || out) {
        if (watched == sstSupervisorOperations_->tabBar()) {
            setPanelColors(*tabFrame_, in ? kCyan : kBlue, in ? kBlack : kWhite);
        } else if (auto* option = qobject_cast<QRadioButton*>(watched)) {
            setBold(option, in);
            if (in) msgPanel_->setText(QString::fromLatin1(kPrintOptionHelp));
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kcs::menus
