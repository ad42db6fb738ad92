#include "kcs/test/KeyboardDriver.h"

#include <QAccessible>
#include <QApplication>
#include <QEventLoop>
#include <QHash>
#include <QMessageBox>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace kcs::test {

namespace {

constexpr int kTickMs = 10, kStallMs = 20000;

Display* xDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// Presses the modifiers, then the key; releases them in the opposite order.
void sendKey(const QString& combo) {
    static const QHash<QString, KeySym> modifiers{{"Shift", XK_Shift_L}, {"Ctrl", XK_Control_L}, {"Alt", XK_Alt_L}};
    const QStringList parts = combo.split(QLatin1Char('+'));
    std::vector<KeySym> syms;
    for (int i = 0; i + 1 < parts.size(); ++i) syms.push_back(modifiers.value(parts[i], NoSymbol));
    syms.push_back(XStringToKeysym(parts.back().toLatin1().constData()));
    Display* d = xDisplay();
    auto tap = [d](KeySym sym, bool down) {
        if (const KeyCode code = XKeysymToKeycode(d, sym)) XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime);
    };
    for (KeySym sym : syms) tap(sym, true);
    for (auto sym = syms.rbegin(); sym != syms.rend(); ++sym) tap(*sym, false);
    XSync(d, False);
}

std::string screenState() {
    QWidget* w = QApplication::activeWindow();
    std::string s = "active window: " + (w ? "\"" + w->windowTitle().toStdString() + "\"" : std::string("none"));
    if (auto* box = qobject_cast<QMessageBox*>(w)) s += " text \"" + box->text().toStdString() + "\"";
    QWidget* f = QApplication::focusWidget();
    return s + "; focus: " + (f ? f->objectName().toStdString() + " [" + f->metaObject()->className() + "]" : "none");
}

}  // namespace

KeyboardDriver::KeyboardDriver() {
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &KeyboardDriver::tick);
}

KeyboardDriver& KeyboardDriver::until(const std::string& what, std::function<bool()> condition) {
    steps_.push_back({what, std::move(condition), {}});
    return *this;
}

KeyboardDriver& KeyboardDriver::then(std::function<void()> action) {
    steps_.push_back({"action", nullptr, std::move(action)});
    return *this;
}

KeyboardDriver& KeyboardDriver::window(const QString& title) {
    return until("window titled \"" + title.toStdString() + "\"", [title] {
        QWidget* w = QApplication::activeWindow();
        return w && w->isVisible() && w->windowTitle() == title;
    });
}

KeyboardDriver& KeyboardDriver::message(const QString& part) {
    return until("message box with \"" + part.toStdString() + "\"", [part] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeWindow());
        return box && box->isVisible() && box->text().contains(part);
    });
}

KeyboardDriver& KeyboardDriver::focus(const QString& objectName) {
    return until("focus on " + objectName.toStdString(), [objectName] {
        QWidget* f = QApplication::focusWidget();
        return f && f->objectName() == objectName;
    });
}

KeyboardDriver& KeyboardDriver::press(const QString& keys, int times) {
    for (int i = 0; i < times; ++i) steps_.push_back({"press " + keys.toStdString(), nullptr, [keys] { sendKey(keys); }, true});
    return *this;
}

KeyboardDriver& KeyboardDriver::type(const QString& text) {
    for (QChar ch : text) press(ch == u' ' ? QStringLiteral("space") : ch.isUpper() ? QStringLiteral("Shift+") + ch : QString(ch));
    return *this;
}

void KeyboardDriver::tick() {
    // After a key, a few ticks pass before the next step: the X server has had the key
    // (XSync) and these turns of the event loop read it.
    if (waited_ < 0 && ++waited_ <= 0) return;
    while (!steps_.empty()) {
        Step& step = steps_.front();
        if (step.ready && !step.ready()) {
            if (++waited_ * kTickMs <= kStallMs) return;
            failure_ = "stalled waiting for " + step.what + "; " + screenState();
            // Close every modal window, so their loops end and run() returns the failure.
            while (QWidget* modal = QApplication::activeModalWidget()) modal->hide();
            break;
        }
        const auto action = std::move(step.action);
        const bool isKey = step.isKey;
        steps_.pop_front();
        waited_ = isKey ? -3 : 0;
        if (action) action();  // may open a modal loop: this timer keeps ticking inside it
        if (isKey) return;
    }
    timer_.stop();
}

bool KeyboardDriver::run() {
    failure_ = xDisplay() ? "" : "real key presses need an X display";
    if (!failure_.empty()) return false;
    timer_.start();
    while (timer_.isActive()) QApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents, 50);
    return failure_.empty();
}

std::vector<std::string> unnamedControls(const QWidget& window) {
    std::vector<std::string> out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(&window)) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            out.push_back(w->objectName().toStdString() + " [" + w->metaObject()->className() + "]");
    }
    return out;
}

}  // namespace kcs::test
