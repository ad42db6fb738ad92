#include "kcs/administration/PresentQA.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "kcs/app/SaveRetry.h"
#include "kcs/common/RunError.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::administration {

using namespace kcs::ui;

namespace {

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

constexpr int kAnswerRows = 5;

// After a failed save of a finished test: giving up loses every answer, so it is asked
// twice and a stray Escape only tries again.
const std::string kTestSaveRetry =
    "The client's answers have not been saved. Check that the data disk is in its drive and can be written, "
    "then press OK to try again.";
const std::string kGiveUp =
    "If you give up, the client's answers are lost and the test must be taken again.\r\rGive up saving them?";

QPlainTextEdit* textBox(const QString& name, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::NoTextInteraction);
    box->setFocusPolicy(Qt::ClickFocus);  // not a tab stop; the screen gives it the focus
    box->setContextMenuPolicy(Qt::NoContextMenu);
    return box;
}

void setBoxColors(QPlainTextEdit* box, const QColor& back, const QColor& text) {
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Text, text);
    box->setPalette(pal);
}

}  // namespace

// ---------------------------------------------------------------- frmSelectLanguage

frmSelectLanguage::frmSelectLanguage(const std::vector<std::string>& languages, bool editMode,
                                     records::ClientRecord& record, ui::Services& services, QWidget* parent)
    : QDialog(parent), editMode_(editMode), record_(record), captions_(LanguageForm::captions(languages)) {
    setUpModalScreen(*this, QStringLiteral("frmSelectLanguage"), QStringLiteral("Select Presentation Language"));

    auto* layout = new QVBoxLayout(this);
    const int m = twipsToPixels(360, this);
    layout->setContentsMargins(m, m, m, 0);
    auto* frame = new QGroupBox(QStringLiteral("Select Language to Present"), this);
    frame->setObjectName(QStringLiteral("fraSelectMethod"));
    setPanelColors(*frame, kBlue, kWhite);
    auto* inner = new QVBoxLayout(frame);
    auto* column = new QWidget(frame);
    inner->addWidget(column);

    msgPanel_ = new MsgPanel(this);
    row_ = new MenuButtonRow(*this, msgPanel_, services.dialogs);
    for (int i = 0; i <= LanguageForm::kCancelButton; ++i) {
        const std::string& c = captions_[static_cast<std::size_t>(i)];
        row_->addButton(column, q(c), q(LanguageForm::helpLine(i, c)));
    }
    // A third language button stays hidden unless the bank has a third language.
    if (languages.size() < 3) row_->setButtonVisible(2, false);
    row_->layoutColumn(column, twipsToPixels(3600, this), twipsToPixels(600, this), twipsToPixels(150, this));
    column->setFixedSize(column->size());
    row_->onChosen([this](int i) {
        if (i == LanguageForm::kCancelButton) {
            // A new client is dropped; a stored one stays as it was.
            if (!editMode_) record_ = records::ClientRecord();
            completed_ = false;
        } else {
            language_ = captions_[static_cast<std::size_t>(i)];
            completed_ = true;
        }
        done(completed_ ? Accepted : Rejected);
    });
    for (int i = 0; i < LanguageForm::kCancelButton; ++i) setTabOrder(row_->button(i), row_->button(i + 1));

    layout->addStretch(1);
    layout->addWidget(frame, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(msgPanel_);
    resize(twipsToPixels(6600, this), std::max(sizeHint().height(), twipsToPixels(4800, this)));
}

void frmSelectLanguage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterForm(*this);
    row_->ResetMenuHighlight();
    row_->button(0)->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------- frmPresentQA

frmPresentQA::frmPresentQA(const std::string& language, std::vector<QAItem> items, std::filesystem::path soundFolder,
                           std::int16_t slot, records::ClientRecord& record, app::ClientStore& store,
                           ui::Services& services, QWidget* parent)
    : QDialog(parent),
      form_(language, std::move(items), services.audio.available()),
      soundFolder_(std::move(soundFolder)),
      slot_(slot),
      record_(record),
      store_(store),
      services_(services) {
    setUpModalScreen(*this, QStringLiteral("frmPresentQA"), q(form_.caption()));

    auto* layout = new QVBoxLayout(this);
    const int m = twipsToPixels(360, this);
    layout->setContentsMargins(m, m, m, 0);
    // The instructions lie in front of the question area, on the same spot.
    auto* stack = new QGridLayout;
    layout->addStretch(1);
    layout->addLayout(stack);
    layout->addStretch(1);

    frQandA_ = new QWidget(this);
    frQandA_->setObjectName(QStringLiteral("frQandA"));
    auto* qa = new QVBoxLayout(frQandA_);
    auto* fraQuestions = new QGroupBox(QStringLiteral("Question"), frQandA_);
    fraQuestions->setObjectName(QStringLiteral("fraQuestions"));
    setPanelColors(*fraQuestions, kBlue, kWhite);
    auto* qBox = new QVBoxLayout(fraQuestions);
    txtQuestion_ = textBox(QStringLiteral("txtQuestion"), fraQuestions);
    txtQuestion_->setAccessibleName(QStringLiteral("Question"));
    txtQuestion_->setFixedHeight(twipsToPixels(1400, this));
    QFont big = txtQuestion_->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    txtQuestion_->setFont(big);
    setBoxColors(txtQuestion_, kBlue, kWhite);
    qBox->addWidget(txtQuestion_);
    fraQuestions->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    qa->addWidget(fraQuestions);

    auto* fraAnswer = new QGroupBox(QStringLiteral("Choose Answer"), frQandA_);
    fraAnswer->setObjectName(QStringLiteral("fraAnswer"));
    setPanelColors(*fraAnswer, kBlue, kWhite);
    auto* aBox = new QVBoxLayout(fraAnswer);
    msgPanel_ = new MsgPanel(this);
    row_ = new MenuButtonRow(*this, msgPanel_, services_.dialogs);
    const int border = twipsToPixels(90, this);
    const int side = twipsToPixels(450, this);
    for (int i = 0; i < kAnswerRows; ++i) {
        auto* line = new QHBoxLayout;
        QPushButton* button = row_->addButton(fraAnswer, QString(), QString());
        QFrame* panel = row_->panel(i);
        panel->setFixedSize(side + 2 * border, side + 2 * border);
        button->setGeometry(border, border, side, side);
        auto* text = new QLabel(fraAnswer);
        text->setObjectName(indexedName(QStringLiteral("txtButtonText"), i));
        setPanelColors(*text, kBlue, kWhite);
        text->setFont(big);
        text->installEventFilter(this);  // a click selects the answer
        answerTexts_.push_back(text);
        line->addWidget(panel);
        line->addWidget(text, 1);
        aBox->addLayout(line);
        button->installEventFilter(this);  // after the row's filter, so it sees keys first
    }
    for (int i = 1; i < kAnswerRows; ++i) setTabOrder(row_->button(i - 1), row_->button(i));
    row_->onFocus([this](int i) {
        msgPanel_->setText(q(form_.helpAnswer()));
        setBold(answerText(i), true);
        PlaySoundFile(form_.choiceSound(i));
    });
    row_->onChosen([this](int i) { apply(form_.select(i)); });
    fraAnswer->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    qa->addWidget(fraAnswer);
    frQandA_->setFixedWidth(twipsToPixels(9600, this));
    stack->addWidget(frQandA_, 0, 0, Qt::AlignCenter);

    fraInstructions_ = new QGroupBox(QStringLiteral("Instructions"), this);
    fraInstructions_->setObjectName(QStringLiteral("fraInstructions"));
    setPanelColors(*fraInstructions_, kBlue, kWhite);
    auto* iBox = new QVBoxLayout(fraInstructions_);
    txtInstructions_ = textBox(QStringLiteral("txtInstructions"), fraInstructions_);
    txtInstructions_->setAccessibleName(QStringLiteral("Instructions"));
    // The longest introduction fits without scrolling: the client cannot scroll it.
    QFont text = txtInstructions_->font();
    text.setPointSizeF(text.pointSizeF() * 1.25);
    txtInstructions_->setFont(text);
    txtInstructions_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBoxColors(txtInstructions_, kWhite, kBlack);
    iBox->addWidget(txtInstructions_);
    fraInstructions_->setFixedSize(twipsToPixels(11400, this), twipsToPixels(8400, this));
    stack->addWidget(fraInstructions_, 0, 0, Qt::AlignCenter);
    fraInstructions_->raise();

    layout->addWidget(msgPanel_);
    for (QWidget* w : {static_cast<QWidget*>(txtQuestion_), static_cast<QWidget*>(txtInstructions_)})
        w->installEventFilter(this);
    render();
    resize(std::max(sizeHint().width(), twipsToPixels(12600, this)), std::max(sizeHint().height(), twipsToPixels(10200, this)));
}

void frmPresentQA::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterForm(*this);
    if (started_) return;
    started_ = true;
    setWindowTitle(q(form_.caption()));
    row_->ResetMenuHighlight();
    apply(form_.start());
}

void frmPresentQA::hidePart(QWidget* part) {
    // A hidden part's focus would pass on to the next control, which would light up and
    // speak: the screen holds it until the step says where it goes.
    QWidget* f = focusWidget();
    if (f && (f == part || part->isAncestorOf(f))) setFocus(Qt::OtherFocusReason);
    part->setVisible(false);
}

void frmPresentQA::render() {
    if (form_.instructionsShown()) fraInstructions_->setVisible(true);
    else hidePart(fraInstructions_);
    if (form_.instructionsShown() && shownSection_ != form_.instructionSection()) {
        shownSection_ = form_.instructionSection();
        txtInstructions_->setPlainText(q(PresentQAForm::instructionText(shownSection_, form_.spanish())));
    }
    if (!form_.instructionsShown()) shownSection_ = -1;
    if (form_.questionShown()) frQandA_->setVisible(true);
    else hidePart(frQandA_);
    const QString question = q(form_.questionText());
    if (txtQuestion_->toPlainText() != question) {
        txtQuestion_->setPlainText(question);
        txtQuestion_->moveCursor(QTextCursor::Start);
        const auto& answers = form_.item().answers;
        for (int i = 0; i < kAnswerRows; ++i) {
            const bool shown = i < form_.choices();
            const QString text = shown ? q(answers[static_cast<std::size_t>(i)]) : QString();
            answerText(i)->setText(text);
            answerText(i)->setVisible(shown);
            if (!shown) hidePart(row_->button(i));
            row_->setButtonVisible(i, shown);
            row_->button(i)->setAccessibleName(text);
        }
    }
}

void frmPresentQA::apply(PresentQAForm::Effect e) {
    if (e.beep) services_.beeper.beep();
    if (e.stopSound) StopSound();
    if (!e.messages.empty()) {
        msgPanel_->clear();
        hidePart(frQandA_);
        for (const app::Message& m : e.messages) services_.dialogs.show(m);
    }
    if (e.finished) {
        finish();
        return;
    }
    render();
    if (!e.sound.empty()) {
        repaint();  // the instructions are on screen before they are spoken
        PlaySoundFile(e.sound);
    }
    switch (e.focus) {
    case PresentQAForm::Focus::Instructions:
        txtInstructions_->setFocus(Qt::OtherFocusReason);
        msgPanel_->setText(q(form_.helpInstructions()));
        break;
    case PresentQAForm::Focus::Question: focusQuestion(); break;
    case PresentQAForm::Focus::Answer0: row_->button(0)->setFocus(Qt::OtherFocusReason); break;
    case PresentQAForm::Focus::None: break;
    }
}

void frmPresentQA::focusQuestion() {
    if (txtQuestion_->hasFocus()) questionFocused();
    else txtQuestion_->setFocus(Qt::OtherFocusReason);
}

void frmPresentQA::questionFocused() {
    if (form_.instructionsShown()) {
        txtInstructions_->setFocus(Qt::OtherFocusReason);
        return;
    }
    row_->ResetMenuHighlight();
    setBoxColors(txtQuestion_, kCyan, kBlack);
    msgPanel_->setText(q(form_.helpQuestion()));
    PlaySoundFile(form_.questionSound());
}

void frmPresentQA::PlaySoundFile(const std::string& name) {
    if (!form_.soundOn()) return;
    StopSound();
    const auto file = soundFile(soundFolder_, name);
    if (!file) return;
    try {
        services_.audio.play(*file);
    } catch (const RunError& e) {
        if (!silentSoundError(e.number()))
            services_.dialogs.message(app::runErrorText(e.number(), e.what()), "Sound Error", app::MsgIcon::Critical,
                                      app::MsgButtons::Ok);
    }
}

void frmPresentQA::StopSound() {
    if (form_.soundOn()) services_.audio.stop();
}

bool frmPresentQA::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::MouseButtonPress) {
        for (int i = 0; i < kAnswerRows; ++i)
            if (watched == answerText(i) && !ending_) {
                apply(form_.select(i));
                return true;
            }
        return QDialog::eventFilter(watched, event);
    }
    if (type == QEvent::FocusIn) {
        if (watched == txtQuestion_) questionFocused();
        if (watched == txtInstructions_) msgPanel_->setText(q(form_.helpInstructions()));
        return QDialog::eventFilter(watched, event);
    }
    if (type == QEvent::FocusOut) {
        if (watched == txtQuestion_) setBoxColors(txtQuestion_, kBlue, kWhite);
        for (int i = 0; i < kAnswerRows; ++i)
            if (watched == row_->button(i)) setBold(answerText(i), false);
        return QDialog::eventFilter(watched, event);
    }
    if (type != QEvent::KeyPress || ending_) return QDialog::eventFilter(watched, event);

    auto* key = static_cast<QKeyEvent*>(event);
    // F10 anywhere: back one item; with Alt and Shift: the test is abandoned.
    if (key->key() == Qt::Key_F10) {
        const auto mods = key->modifiers();
        if ((mods & Qt::AltModifier) && (mods & Qt::ShiftModifier)) abandon();
        else apply(form_.back());
        return true;
    }
    if (watched == txtInstructions_) {
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Tab)
            apply(form_.leaveInstructions());
        return true;
    }
    if (watched == txtQuestion_) {
        if (key->key() == Qt::Key_Down) row_->button(0)->setFocus(Qt::OtherFocusReason);
        return true;
    }
    for (int i = 0; i < kAnswerRows; ++i) {
        if (watched != row_->button(i)) continue;
        int step = 0;
        bool arrow = true;
        switch (key->key()) {
        case Qt::Key_Up: step = -1; break;
        case Qt::Key_Down: step = 1; break;
        case Qt::Key_Tab: step = 1, arrow = false; break;
        case Qt::Key_Backtab: step = -1, arrow = false; break;
        default: return false;  // Enter and Space choose; the row discards the rest
        }
        const int to = form_.moveFrom(i, step, arrow);
        if (to < 0) focusQuestion();
        else row_->button(to)->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmPresentQA::finish() {
    msgPanel_->clear();
    records::ClientRecord next = record_;
    next.set(records::Field::Answers, form_.answers());
    for (;;) {
        if (app::saveWithRetry(services_.dialogs, [&] { store_.save(slot_, next); }, kTestSaveRetry)) {
            record_ = next;
            end(true);
            return;
        }
        if (services_.dialogs.message(kGiveUp, app::kSaveErrorTitle, app::MsgIcon::Exclamation,
                                      app::MsgButtons::YesNo) == app::MsgAnswer::Yes) {
            end(false);
            return;
        }
    }
}

void frmPresentQA::abandon() {
    // Nothing of this client reaches the drive.
    record_ = records::ClientRecord();
    end(false);
}

void frmPresentQA::end(bool completed) {
    ending_ = true;
    completed_ = completed;
    StopSound();
    done(completed ? Accepted : Rejected);
}

void frmPresentQA::reject() {
    if (ending_) QDialog::reject();
}

void frmPresentQA::closeEvent(QCloseEvent* event) {
    if (!ending_) event->ignore();
}

}  // namespace kcs::administration
