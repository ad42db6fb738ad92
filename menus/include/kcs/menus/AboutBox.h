#pragma once
// The About box, which is also the start-up splash.
//
// Splash mode: caption "Initializing...", no OK button. On show, six blue bands cover the
// logo and shrink by 50 twips every 10 ms tick; when the first band is below 61 twips
// they disappear and FadeDone becomes true (fadeDone() is emitted). Asked to close in
// splash mode, the box stays on screen for seven more one-second ticks, then closes
// (closed() is emitted). About mode closes at once.
//
// Both timers are ordinary QTimers; tests call animationTick() and holdTick() directly
// instead of waiting for them.

#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <array>

class QLabel;
class QFrame;
class QPushButton;

namespace kcs::menus {


class frmAbout : public QDialog {
    Q_OBJECT
public:
    // `logo` is the publisher's picture (may be null); `publisherFlag` picks the texts.
    frmAbout(char publisherFlag, const QPixmap& logo, QWidget* parent = nullptr);

    // Set before the box is shown.
    bool Splash = false;
    bool FadeDone() const { return fadeDone_; }

    // Band heights in twips, for the animation's observers.
    int bandHeight(int i) const { return bandHeights_.at(static_cast<std::size_t>(i)); }
    bool holding() const { return holdTicksLeft_ > 0; }

    // How many one-second ticks the splash stays after being asked to close (7).
    void setHoldTicks(int ticks) { holdTicks_ = ticks; }

    QTimer& animationTimer() { return animation_; }
    QTimer& holdTimer() { return hold_; }

    // Asks the box to close: at once in About mode, after the hold in splash mode.
    void requestClose();

public slots:
    void animationTick();
    void holdTick();

signals:
    void fadeDone();
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void placeBands();
    void finish();

    QLabel* imgHWKLogo_;
    std::array<QFrame*, 6> bands_{};
    std::array<int, 6> bandHeights_{};
    QFrame* okPanel_;
    QPushButton* cmdOK_;
    QTimer animation_;
    QTimer hold_;
    bool fadeDone_ = false;
    bool finished_ = false;
    int holdTicks_ = 7;
    int holdTicksLeft_ = 0;
};

}  // namespace kcs::menus
