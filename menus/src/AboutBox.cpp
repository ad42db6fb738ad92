#include "kcs/menus/AboutBox.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "kcs/common/Publishers.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::menus {

using namespace kcs::ui;

namespace {

// The bands in twips: left edge of the logo, 2200 wide, 560 high at these tops.
constexpr std::array<int, 6> kBandTops = {120, 660, 1200, 1680, 2160, 2640};
constexpr int kBandWidth = 2200;
constexpr int kBandHeight = 560;
constexpr int kBandShrink = 50;
constexpr int kBandsGoneBelow = 61;
constexpr int kLogoLeft = 120;
constexpr int kLogoHeight = 2640 + kBandHeight - 120;

QString fromView(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QLabel* textPanel(QWidget* parent, const QString& name, const QString& text, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMargin(3);
    setPanelColors(*label, kBlue, kWhite);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.25);
        label->setFont(f);
    }
    return label;
}

}  // namespace

frmAbout::frmAbout(char publisherFlag, const QPixmap& logo, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Kestrel Conduct Screening"));
    setPanelColors(*this, kBlue, kWhite);
    const Publisher& pub = publisherFor(publisherFlag);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, twipsToPixels(240, this), twipsToPixels(120, this));

    // The logo with the six bands over it; placed by hand because the bands overlap it.
    auto* logoArea = new QWidget(this);
    logoArea->setObjectName(QStringLiteral("logoArea"));
    logoArea->setFixedSize(twipsToPixels(kLogoLeft * 2 + kBandWidth, this),
                           twipsToPixels(120 * 2 + kLogoHeight, this));
    imgHWKLogo_ = new QLabel(logoArea);
    imgHWKLogo_->setObjectName(QStringLiteral("imgHWKLogo"));
    imgHWKLogo_->setGeometry(twipsToPixels(kLogoLeft, this), twipsToPixels(120, this),
                             twipsToPixels(kBandWidth, this), twipsToPixels(kLogoHeight, this));
    imgHWKLogo_->setAlignment(Qt::AlignCenter);
    setPanelColors(*imgHWKLogo_, kWhite, kBlack);
    if (!logo.isNull()) {
        imgHWKLogo_->setPixmap(logo.scaled(imgHWKLogo_->size(), Qt::KeepAspectRatio,
                                           Qt::SmoothTransformation));
    } else {
        imgHWKLogo_->setText(fromView(pub.name));
        imgHWKLogo_->setWordWrap(true);
    }
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        bands_[i] = new QFrame(logoArea);
        bands_[i]->setObjectName(QStringLiteral("picBand_") + QString::number(i));
        setPanelColors(*bands_[i], kBlue);
        bandHeights_[i] = kBandHeight;
    }
    placeBands();
    outer->addWidget(logoArea, 0, Qt::AlignTop);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(twipsToPixels(60, this));
    texts->setContentsMargins(0, twipsToPixels(120, this), 0, 0);
    texts->addWidget(textPanel(this, QStringLiteral("lblVersion"), fromView(kProductVersionLine), true));
    texts->addWidget(textPanel(this, QStringLiteral("lblPublisher"), fromView(pub.name)));
    texts->addWidget(textPanel(this, QStringLiteral("lblRights"), fromView(pub.rights)));
    texts->addWidget(textPanel(this, QStringLiteral("lblPhone"), fromView(pub.phoneFax)));
    texts->addWidget(textPanel(this, QStringLiteral("lblEmail"), fromView(pub.email)));
    texts->addWidget(textPanel(this, QStringLiteral("lblWeb"), fromView(pub.website)));
    texts->addStretch(1);

    okPanel_ = new QFrame(this);
    okPanel_->setObjectName(QStringLiteral("sspOK"));
    okPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setPanelColors(*okPanel_, kCyan, kBlack);
    auto* okLayout = new QHBoxLayout(okPanel_);
    const int border = twipsToPixels(90, this);
    okLayout->setContentsMargins(border, border, border, border);
    auto* ok = cmdOK_ = new QPushButton(QStringLiteral("OK"), okPanel_);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setMinimumSize(twipsToPixels(1300, this), twipsToPixels(450, this));
    okLayout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, [this] { requestClose(); });
    texts->addWidget(okPanel_, 0, Qt::AlignRight);
    outer->addLayout(texts, 1);

    animation_.setInterval(10);
    connect(&animation_, &QTimer::timeout, this, &frmAbout::animationTick);
    hold_.setInterval(1000);
    connect(&hold_, &QTimer::timeout, this, &frmAbout::holdTick);
}

void frmAbout::placeBands() {
    for (std::size_t i = 0; i < bands_.size(); ++i) {
        bands_[i]->setGeometry(twipsToPixels(kLogoLeft, this), twipsToPixels(kBandTops[i], this),
                               twipsToPixels(kBandWidth, this), twipsToPixels(bandHeights_[i], this));
    }
}

void frmAbout::showEvent(QShowEvent* event) {
    if (Splash) {
        setWindowTitle(QStringLiteral("Initializing..."));
        okPanel_->hide();
    }
    QDialog::showEvent(event);
    if (!Splash) takeKeyboard(*this, cmdOK_);
    if (!fadeDone_ && !animation_.isActive()) animation_.start();
}

void frmAbout::animationTick() {
    if (fadeDone_ || bands_[0]->isHidden()) return;
    for (int& h : bandHeights_) h -= kBandShrink;
    placeBands();
    if (bandHeights_[0] < kBandsGoneBelow) {
        for (QFrame* band : bands_) band->hide();
        animation_.stop();
        fadeDone_ = true;
        emit fadeDone();
    }
}

void frmAbout::requestClose() {
    if (finished_) return;
    if (!Splash || holdTicks_ <= 0) {
        finish();
        return;
    }
    if (holdTicksLeft_ > 0) return;  // already on its way out
    holdTicksLeft_ = holdTicks_;
    fadeDone_ = false;
    hold_.start();
}

void frmAbout::holdTick() {
    if (holdTicksLeft_ <= 0) return;
    fadeDone_ = true;
    if (--holdTicksLeft_ == 0) {
        hold_.stop();
        finish();
    } else {
        fadeDone_ = false;
    }
}

void frmAbout::finish() {
    finished_ = true;
    animation_.stop();
    hold_.stop();
    QDialog::done(QDialog::Accepted);
    hide();
    // The keyboard goes back to the window the box was opened over.
    if (QWidget* below = parentWidget(); below && below->isVisible()) takeKeyboard(*below->window());
    emit closed();
}

void frmAbout::closeEvent(QCloseEvent* event) {
    // The splash goes only when start-up is done with it.
    if (Splash && !finished_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmAbout::reject() {
    if (Splash && !finished_) return;
    requestClose();
}

}  // namespace kcs::menus
