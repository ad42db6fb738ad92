#include "kcs/ui/MenuButtonRow.h"

#include <QEvent>
#include <QKeyEvent>

#include "kcs/ui/ErrorGuard.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::ui {

MsgPanel::MsgPanel(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("MsgPanel"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setMargin(4);
    setMinimumHeight(twipsToPixels(400, parent));
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setPanelColors(*this, kBlue, kWhite);
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 1.1);
    setFont(f);
}

MenuButtonRow::MenuButtonRow(QWidget& window, MsgPanel* msgPanel, app::MessageBoxes& errors)
    : QObject(&window), window_(window), msgPanel_(msgPanel), errors_(errors) {}

QPushButton* MenuButtonRow::addButton(QWidget* container, const QString& caption,
                                      const QString& helpText) {
    const int i = static_cast<int>(buttons_.size());
    auto* panel = new QFrame(container);
    panel->setObjectName(indexedName(QStringLiteral("sspMenuChoice"), i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    setPanelColors(*panel, kBlue);

    auto* button = new QPushButton(caption, panel);
    button->setObjectName(indexedName(QStringLiteral("cmdMenuChoice"), i));
    // Enter is handled here for the focused button only; no button of a row is a dialog's
    // default button, so Enter never reaches another one.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [this, i] { choose(i); });

    buttons_.push_back(button);
    panels_.push_back(panel);
    helps_.push_back(helpText);
    return button;
}

void MenuButtonRow::layoutColumn(QWidget* container, int buttonWidth, int buttonHeight, int gap) {
    const int border = twipsToPixels(90, &window_);
    int y = gap;
    int width = 0;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        QFrame* panel = panels_[i];
        panel->setGeometry(gap, y, buttonWidth + 2 * border, buttonHeight + 2 * border);
        buttons_[i]->setGeometry(border, border, buttonWidth, buttonHeight);
        if (!panel->isHidden()) y += panel->height() + gap;
        width = panel->width() + 2 * gap;
    }
    container->resize(width, y);
}

void MenuButtonRow::layoutRow(QWidget* container, int buttonWidth, int buttonHeight, int gap) {
    const int border = twipsToPixels(90, &window_);
    int x = 0;
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        QFrame* panel = panels_[i];
        panel->setGeometry(x, 0, buttonWidth + 2 * border, buttonHeight + 2 * border);
        buttons_[i]->setGeometry(border, border, buttonWidth, buttonHeight);
        if (!panel->isHidden()) x += panel->width() + gap;
    }
    container->setFixedSize(std::max(0, x - gap), buttonHeight + 2 * border);
}

void MenuButtonRow::setButtonVisible(int i, bool visible) {
    panel(i)->setVisible(visible);
    button(i)->setVisible(visible);
}

void MenuButtonRow::ResetMenuHighlight() {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        setPanelColors(*panels_[i], kBlue);
        setBold(buttons_[i], false);
    }
}

void MenuButtonRow::HighlightMenuChoice(int index) {
    ResetMenuHighlight();
    setPanelColors(*panel(index), kCyan, kBlack);
    setBold(button(index), true);
}

void MenuButtonRow::choose(int index) {
    guarded(errors_, [&] {
        if (action_) action_(index);
    });
    emit chosen(index);
}

void MenuButtonRow::moveFocus(int from, int step) {
    for (int j = from + step; j >= 0 && j <= highest(); j += step) {
        QPushButton* b = button(j);
        if (b->isVisibleTo(&window_) && b->isEnabled()) {
            b->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

int MenuButtonRow::indexOf(QObject* o) const {
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i] == o) return static_cast<int>(i);
    return -1;
}

bool MenuButtonRow::eventFilter(QObject* watched, QEvent* event) {
    const int i = indexOf(watched);
    if (i < 0) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        HighlightMenuChoice(i);
        if (msgPanel_) msgPanel_->setText(helps_[static_cast<std::size_t>(i)]);
        if (focused_) focused_(i);
        break;
    case QEvent::FocusOut:
        ResetMenuHighlight();
        break;
    case QEvent::ShortcutOverride: {
        // Enter belongs to the button, not to a dialog's default-button handling.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) event->accept();
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!key->isAutoRepeat()) buttons_[static_cast<std::size_t>(i)]->click();
            return true;
        case Qt::Key_Space:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return false;  // the button clicks on Space; Tab moves on
        case Qt::Key_Up:
        case Qt::Key_Left:
            moveFocus(i, -1);
            return true;
        case Qt::Key_Down:
        case Qt::Key_Right:
            moveFocus(i, +1);
            return true;
        default:
            return true;  // every other key is discarded
        }
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        return key->key() != Qt::Key_Space;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kcs::ui
