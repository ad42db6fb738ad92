#pragma once
// The look shared by every screen of the program.
//
// Object names: indexed controls carry their index after an underscore:
// "cmdMenuChoice_0".."cmdMenuChoice_n" (buttons), "sspMenuChoice_0".. (the coloured panel
// behind each button), "lblInfo_0".. (field labels of the data-entry screens), "MsgPanel"
// (the help line at the bottom). The names are for tests and screenshots; the screens
// reach their controls through the objects that own them (MenuButtonRow, InfoLabels).

#include <QColor>
#include <QString>

class QDialog;
class QWidget;

namespace kcs::ui {

// Normal background with white text, focus colour, text colour.
inline const QColor kBlue{0, 0, 255};
inline const QColor kCyan{0, 255, 255};
inline const QColor kWhite{255, 255, 255};
inline const QColor kBlack{0, 0, 0};

inline QString indexedName(const QString& base, int index) {
    return base + QLatin1Char('_') + QString::number(index);
}

// Layout measures are kept in twips (1/1440 inch) and turned into pixels with the
// logical DPI of the screen the widget is on (96 DPI: 15 twips a pixel).
int twipsToPixels(int twips, const QWidget* onScreenOf = nullptr);

// Fills a frame or panel with a background colour and a text colour.
void setPanelColors(QWidget& panel, const QColor& background, const QColor& text = kWhite);
QColor panelColor(const QWidget& panel);

// What every modal screen starts with: its object name, its caption as the window title,
// modal, white on the program's blue.
void setUpModalScreen(QDialog& screen, const QString& objectName, const QString& caption);

// A window that opens takes the keyboard itself (no window manager may hand it over) and
// puts the focus on `focus` when given.
void takeKeyboard(QWidget& window, QWidget* focus = nullptr);

// Centres a top-level window on its screen unless it is maximised.
void CenterForm(QWidget& window);

// Places a screen's main frame: centred across, 500 twips above the vertical centre.
void PlaceMainFrame(QWidget& window, QWidget& frame);

// Makes a widget's font bold or normal (only when it changes, so nothing is re-laid out).
void setBold(QWidget* w, bool bold);

// Selects the whole text of `control` (the focused widget when null). Controls without
// a text selection are left alone.
void SelectAllText(QWidget* control = nullptr);

// Hourglass pointer over the whole program / back to the normal pointer, then let pending
// window events run.
void MOUSEWAIT();
void MOUSEDEFAULT();

// The hourglass for as long as it lives: the normal pointer is back before any box.
struct Hourglass {
    Hourglass() { MOUSEWAIT(); }
    ~Hourglass() { MOUSEDEFAULT(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

}  // namespace kcs::ui
