#include "kcs/ui/ScreenConventions.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QWidget>

namespace kcs::ui {

namespace {

QScreen* screenOf(const QWidget* w) {
    QScreen* s = w ? w->screen() : nullptr;
    return s ? s : QGuiApplication::primaryScreen();
}

}  // namespace

void setBold(QWidget* w, bool bold) {
    if (!w) return;
    QFont f = w->font();
    if (f.bold() != bold) {
        f.setBold(bold);
        w->setFont(f);
    }
}

int twipsToPixels(int twips, const QWidget* onScreenOf) {
    double dpi = 96.0;
    if (onScreenOf) {
        dpi = onScreenOf->logicalDpiY();
    } else if (QScreen* s = QGuiApplication::primaryScreen()) {
        dpi = s->logicalDotsPerInchY();
    }
    if (dpi <= 0) dpi = 96.0;
    return static_cast<int>(twips * dpi / 1440.0 + (twips >= 0 ? 0.5 : -0.5));
}

void setPanelColors(QWidget& panel, const QColor& background, const QColor& text) {
    QPalette pal = panel.palette();
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::WindowText, text);
    panel.setPalette(pal);
    panel.setAutoFillBackground(true);
}

void setUpModalScreen(QDialog& screen, const QString& objectName, const QString& caption) {
    screen.setObjectName(objectName);
    screen.setWindowTitle(caption);
    screen.setModal(true);
    setPanelColors(screen, kBlue, kWhite);
}

QColor panelColor(const QWidget& panel) {
    return panel.palette().color(QPalette::Window);
}

void takeKeyboard(QWidget& window, QWidget* focus) {
    window.raise();
    window.activateWindow();
    if (focus) focus->setFocus(Qt::OtherFocusReason);
}

void CenterForm(QWidget& window) {
    if (window.isMaximized()) return;
    QScreen* s = screenOf(&window);
    if (!s) return;
    const QRect area = s->geometry();
    const QSize size = window.frameGeometry().size();
    window.move(area.x() + area.width() / 2 - size.width() / 2,
                area.y() + area.height() / 2 - size.height() / 2);
}

void PlaceMainFrame(QWidget& window, QWidget& frame) {
    QWidget* within = frame.parentWidget() ? frame.parentWidget() : &window;
    const int left = (within->width() - frame.width()) / 2;
    const int top = within->height() / 2 - (frame.height() + twipsToPixels(1000, &window)) / 2;
    frame.move(left, top);
}

void SelectAllText(QWidget* control) {
    QWidget* w = control ? control : QApplication::focusWidget();
    if (!w) return;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->lineEdit()) combo->lineEdit()->selectAll();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
        spin->selectAll();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        plain->selectAll();
    } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
        rich->selectAll();
    }
}

void MOUSEWAIT() {
    if (!QGuiApplication::overrideCursor())
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void MOUSEDEFAULT() {
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    QCoreApplication::processEvents();
}

}  // namespace kcs::ui
