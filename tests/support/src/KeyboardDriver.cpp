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

constexpr int kTickMs = 10;

Display* xDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

struct Combo {
    KeySym sym = NoSymbol;
    bool shift = false, ctrl = false, alt = false;
};

Combo parse(const QString& combo) {
    Combo c;
    const QStringList parts = combo.split(QLatin1Char('+'));
    for (int i = 0; i < parts.size(); ++i) {
        const QString& p = parts[i];
        if (i + 1 < parts.size() && p == QLatin1String("Shift")) c.shift = true;
        else if (i + 1 < parts.size() && p == QLatin1String("Ctrl")) c.ctrl = true;
        else if (i + 1 < parts.size() && p == QLatin1String("Alt")) c.alt = true;
        else c.sym = XStringToKeysym(p.toLatin1().constData());
    }
    return c;
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
    for (int i = 0; i < times; ++i)
        steps_.push_back({"press " + keys.toStdString(), nullptr, [this, keys] { sendKey(keys); }});
    return *this;
}

KeyboardDriver& KeyboardDriver::type(const QString& text) {
    static const QHash<QChar, QString> named{{u' ', "space"}, {u'/', "slash"}, {u'-', "minus"}, {u'.', "period"}, {u',', "comma"}};
    for (QChar ch : text) press(named.value(ch, ch.isUpper() ? QStringLiteral("Shift+") + ch : QString(ch)));
    return *this;
}

void KeyboardDriver::sendKey(const QString& combo) {
    const Combo c = parse(combo);
    Display* d = xDisplay();
    auto tap = [d](KeySym sym, bool down) {
        if (const KeyCode code = XKeysymToKeycode(d, sym)) XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime);
    };
    if (c.ctrl) tap(XK_Control_L, true);
    if (c.alt) tap(XK_Alt_L, true);
    if (c.shift) tap(XK_Shift_L, true);
    tap(c.sym, true);
    tap(c.sym, false);
    if (c.shift) tap(XK_Shift_L, false);
    if (c.alt) tap(XK_Alt_L, false);
    if (c.ctrl) tap(XK_Control_L, false);
    XSync(d, False);
}

std::string KeyboardDriver::screenState() {
    std::string s = "active window: ";
    QWidget* w = QApplication::activeWindow();
    s += w ? "\"" + w->windowTitle().toStdString() + "\" (" + w->objectName().toStdString() + ")" : "none";
    if (auto* box = qobject_cast<QMessageBox*>(w)) s += " text \"" + box->text().toStdString() + "\"";
    QWidget* f = QApplication::focusWidget();
    s += "; focus: " + (f ? f->objectName().toStdString() + " [" + f->metaObject()->className() + "]" : "none");
    return s;
}

void KeyboardDriver::tick() {
    // A key step is taken in before the next step is looked at: the X server has had the
    // keys (XSync) and this turn of the event loop has read them.
    if (waited_ < 0) {
        ++waited_;
        return;
    }
    while (!steps_.empty()) {
        Step& step = steps_.front();
        if (step.ready) {
            if (!step.ready()) {
                if (++waited_ * kTickMs > stallTicks_) {
                    failure_ = "stalled waiting for " + step.what + "; " + screenState();
                    timer_.stop();
                    done_ = true;
                    // A step stalled inside a modal screen: close every modal window, so
                    // their loops end and run() returns with the failure.
                    while (QWidget* modal = QApplication::activeModalWidget()) modal->hide();
                }
                return;
            }
            waited_ = 0;
            steps_.pop_front();
            continue;
        }
        auto action = std::move(step.action);
        const bool isKey = step.what.rfind("press ", 0) == 0;
        steps_.pop_front();
        waited_ = 0;
        // The action may open a modal loop; this timer keeps ticking inside it.
        action();
        if (isKey) {
            waited_ = -3;
            return;
        }
    }
    timer_.stop();
    done_ = true;
}

bool KeyboardDriver::run(int stallMs) {
    if (!xDisplay()) {
        failure_ = "real key presses need an X display";
        return false;
    }
    stallTicks_ = stallMs;
    done_ = false;
    failure_.clear();
    timer_.start();
    while (!done_) QApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents, 50);
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
