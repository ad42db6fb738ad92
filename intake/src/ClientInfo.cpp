#include "kcs/intake/ClientInfo.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>

#include "kcs/app/SaveRetry.h"
#include "kcs/ui/EntryFields.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::intake {

using namespace kcs::ui;

namespace {

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

InfoField infoField(int i) { return static_cast<InfoField>(i); }

char latin1(QChar c) { return c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\0'; }

}  // namespace

frmClientInfo::frmClientInfo(bool editMode, std::int16_t slot, records::ClientRecord& record,
                             app::ClientStore& store, ui::Services& services, QWidget* parent)
    : EntryScreen(QStringLiteral("frmClientInfo"), QStringLiteral("Client Information"), services, parent),
      form_(editMode, record),
      slot_(slot),
      record_(record),
      store_(store) {
    auto textBox = [this](const char* name, int length) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(length);
        return edit;
    };
    auto list = [this](const char* name, InfoField f) {
        QStringList entries;
        for (std::string_view e : ClientInfoForm::entries(f)) entries << q(e);
        auto* combo = new ListField(
            entries, [f](QChar c) { return ClientInfoForm::listKeyAllowed(f, latin1(c)); },
            [f](const QString& text) { return ClientInfoForm::matchEntry(f, text.toStdString()); },
            services_.beeper, this);
        combo->setObjectName(QLatin1String(name));
        combo->setMinimumWidth(twipsToPixels(2400, this));
        return combo;
    };
    QWidget* widgets[] = {
        textBox("txtName", 25),
        textBox("txtAge", 2),
        list("cmbGender", InfoField::Sex),
        list("cmbRace", InfoField::Race),
        list("cmbMarital", InfoField::Marital),
        textBox("txtEducation", 2),
        new DateField([](QChar c) { return ClientInfoForm::dateKeyAllowed(latin1(c)); }, services_.beeper, this),
    };
    widgets[6]->setObjectName(QStringLiteral("mebDateOfBirth"));
    static_cast<QLineEdit*>(widgets[0])->setMinimumWidth(twipsToPixels(3600, this));
    for (InfoField f : kInfoFields) addField(q(ClientInfoForm::caption(f)), widgets[static_cast<int>(f)]);
    finishLayout(q(form_.okHelpLine()), q(ClientInfoForm::cancelHelpLine()));

    for (InfoField f : kInfoFields) {
        toWidget(f);
        fromWidget(f);  // the date as its mask shows it
    }
    applyLocks();
    msgPanel()->setText(q(form_.startHelpLine()));
}

QString frmClientInfo::widgetText(InfoField f) const {
    QWidget* w = fieldOf(f);
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
    auto* edit = static_cast<QLineEdit*>(w);
    return f == InfoField::DateOfBirth ? edit->displayText() : edit->text();
}

void frmClientInfo::fromWidget(InfoField f) { form_.setText(f, widgetText(f).toStdString()); }

void frmClientInfo::toWidget(InfoField f) {
    const QString text = QString::fromStdString(form_.text(f));
    if (text == widgetText(f)) return;
    QWidget* w = fieldOf(f);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const int entry = ClientInfoForm::matchEntry(f, form_.text(f));
        const QSignalBlocker quiet(combo);
        if (entry >= 0 && combo->itemText(entry) == text) combo->setCurrentIndex(entry);
        else combo->setEditText(text);
        return;
    }
    static_cast<QLineEdit*>(w)->setText(text);
}

void frmClientInfo::applyLocks() {
    for (InfoField f : kInfoFields) fieldOf(f)->setEnabled(form_.enabled(f));
    buttons().setHelpText(0, q(form_.okHelpLine()));
    if (buttons().button(0)->hasFocus()) msgPanel()->setText(q(form_.okHelpLine()));
}

QString frmClientInfo::helpLine(int i) const { return q(ClientInfoForm::helpLine(infoField(i))); }

bool frmClientInfo::enterField(int i) {
    const InfoField f = infoField(i);
    fromWidget(f);
    const auto refused = form_.enter(f);
    toWidget(f);
    if (refused) refuse(i, refused->message);
    return !refused;
}

void frmClientInfo::leaveField(int i) {
    const InfoField f = infoField(i);
    fromWidget(f);
    const bool limit = form_.leave(f);
    toWidget(f);
    if (!limit) return;
    // The box and the lock wait until the focus has settled on the next control.
    limitPending_ = true;
    QTimer::singleShot(0, this, [this] { lockAtLimit(); });
}

void frmClientInfo::lockAtLimit() {
    if (!limitPending_) return;
    limitPending_ = false;
    services_.dialogs.show(ClientInfoForm::editLimitMessage());
    applyLocks();
    focusOk();
}

void frmClientInfo::showEvent(QShowEvent* event) {
    EntryScreen::showEvent(event);
    CenterForm(*this);
    if (form_.editMode()) focusOk();
    else focusField(static_cast<int>(InfoField::Name));
}

void frmClientInfo::changeEvent(QEvent* event) {
    EntryScreen::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || activated_) return;
    activated_ = true;
    buttons().ResetMenuHighlight();
    if (const auto box = form_.activationMessage()) services_.dialogs.show(*box);
}

void frmClientInfo::informationOk() {
    lockAtLimit();
    for (InfoField f : kInfoFields) fromWidget(f);
    auto confirmed = form_.confirm(services_.clock.today());
    for (InfoField f : kInfoFields) toWidget(f);
    applyLocks();
    if (confirmed.refused) {
        refuse(static_cast<int>(confirmed.refused->field), confirmed.refused->message);
        return;
    }
    if (confirmed.save &&
        !app::saveWithRetry(services_.dialogs, [&] { store_.update(slot_, confirmed.record); })) {
        focusOk();
        return;
    }
    record_ = confirmed.record;
    finish(true);
}

void frmClientInfo::cancelInput() { finish(false); }

}  // namespace kcs::intake
