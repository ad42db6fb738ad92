#include "kcs/menus/ReportScreens.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include "kcs/common/Cp1252.h"
#include "kcs/common/DurableFile.h"
#include "kcs/menus/ReportPages.h"
#include "kcs/report/PrintReport.h"
#include "kcs/ui/ErrorGuard.h"
#include "kcs/ui/ScreenConventions.h"

namespace kcs::menus {

using namespace kcs::ui;

namespace {

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(true);
    return b;
}

}  // namespace

// --- the viewer -------------------------------------------------------------------------

frmViewReport::frmViewReport(const app::ClientStore& store, report::ReportOptions options, bool printDOS,
                             ui::Services& services, QWidget* parent)
    : QDialog(parent),
      store_(store),
      options_(std::move(options)),
      printDOS_(printDOS),
      services_(services),
      client_(store.CurClient()) {
    setUpModalScreen(*this, QStringLiteral("frmViewReport"), QStringLiteral("Client Report"));

    auto* outer = new QVBoxLayout(this);
    auto* fraAll = new QWidget(this);
    fraAll->setObjectName(QStringLiteral("fraAll"));
    auto* layout = new QVBoxLayout(fraAll);
    outer->addWidget(fraAll);

    Text1_ = new QPlainTextEdit(fraAll);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setAccessibleName(QStringLiteral("Client report"));
    Text1_->setReadOnly(true);
    // Read only, but the keyboard moves through it, so arrows and Page keys scroll.
    Text1_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    Text1_->setTabChangesFocus(true);
    Text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1_->setFont(reportFont(10));
    const QFontMetrics metrics(Text1_->font());
    Text1_->setMinimumSize(metrics.horizontalAdvance(QString(84, QLatin1Char('M'))), metrics.lineSpacing() * 30);
    layout->addWidget(Text1_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdPrintReport_ = button(QStringLiteral("cmdPrintReport"), QStringLiteral("&Print Report"), fraAll);
    cmdSavePdf_ = button(QStringLiteral("cmdSavePdf"), QStringLiteral("&Save as PDF..."), fraAll);
    cmdCancel_ = button(QStringLiteral("cmdCancel"), QStringLiteral("&Close"), fraAll);
    for (QPushButton* b : {cmdPrintReport_, cmdSavePdf_, cmdCancel_}) {
        b->installEventFilter(this);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(cmdPrintReport_, &QPushButton::clicked, this, [this] { guarded(services_.dialogs, [this] { printReport(); }); });
    connect(cmdSavePdf_, &QPushButton::clicked, this, [this] { guarded(services_.dialogs, [this] { saveAsPdf(); }); });
    connect(cmdCancel_, &QPushButton::clicked, this, &QDialog::accept);
}

QString frmViewReport::ShowReportText(const std::string& reportText) {
    QString shown = QString::fromStdString(cp1252ToUtf8(reportText));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    shown.replace(QLatin1Char('\f'), QString(80, QChar(0x2500)));
    return shown;
}

void frmViewReport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    CenterForm(*this);
    Text1_->setFocus(Qt::OtherFocusReason);
    QTimer::singleShot(0, this, &frmViewReport::activate);
}

void frmViewReport::activate() {
    const bool shown = guarded(services_.dialogs, [this] {
        Hourglass wait;
        report::ScoreAndReport(store_.table(), client_, options_);
        Text1_->setPlainText(ShowReportText(report::ReadReportText(options_.programFolder)));
    });
    // Without a report there is nothing to view: the error has been shown.
    if (!shown) reject();
}

void frmViewReport::printReport() {
    Hourglass wait;
    report::PrintReport(options_.programFolder, printDOS_, services_.printer, report::ReportJobName(client_));
}

void frmViewReport::saveAsPdf() {
    QFileDialog chooser(this, QStringLiteral("Save as PDF"));
    chooser.setObjectName(QStringLiteral("dlgSavePdf"));
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setNameFilter(QStringLiteral("PDF files (*.pdf)"));
    chooser.setDefaultSuffix(QStringLiteral("pdf"));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    chooser.setDirectory(folder);
    chooser.selectFile(QStringLiteral("KCS report %1.pdf").arg(client_));
    if (services_.dialogs.execModal(chooser) != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
    const QString file = chooser.selectedFiles().first();

    Hourglass wait;
    const auto pages = report::SplitReportPages(report::ReadReportText(options_.programFolder));
    const QByteArray pdf = reportPdf(pages, QString::fromStdString(report::ReportJobName(client_)));
    replaceFileDurably(file.toStdString(), std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
}

void frmViewReport::done(int result) {
    // The report holds a client's answers: it does not stay behind in the program folder.
    guarded(services_.dialogs, [this] { report::RemoveReportFiles(options_.programFolder); });
    QDialog::done(result);
}

bool frmViewReport::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched != Text1_) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Up:
        case Qt::Key_Down: {
            // The scrolling keys go to the report from anywhere, and scroll it at once.
            Text1_->setFocus(Qt::OtherFocusReason);
            QKeyEvent again(key->type(), key->key(), key->modifiers(), key->text());
            QCoreApplication::sendEvent(Text1_, &again);
            return true;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// --- print selected ---------------------------------------------------------------------

namespace {

void setFrameLook(QGroupBox& frame, bool focused) {
    setPanelColors(frame, focused ? kCyan : kBlue, focused ? kBlack : kWhite);
    setBold(&frame, focused);
}

}  // namespace

frmPrintSelected::frmPrintSelected(app::ClientStore& store, report::ReportOptions options, bool printDOS,
                                   ui::Services& services, QWidget* parent)
    : QDialog(parent), form_(store, services.printer, std::move(options), printDOS), services_(services) {
    setUpModalScreen(*this, QStringLiteral("frmPrintSelected"), QStringLiteral("Print Selected Reports"));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* fraAll = new QWidget(this);
    fraAll->setObjectName(QStringLiteral("fraAll"));
    auto* layout = new QVBoxLayout(fraAll);
    const int m = twipsToPixels(240, this);
    layout->setContentsMargins(m, m, m, m);
    outer->addWidget(fraAll, 1);

    auto* instructions = new QLabel(
        QStringLiteral("Select the clients whose reports are to be printed: click a name, or move to it with the "
                       "up and down arrow keys and press the Space bar. Doing the same again clears the selection. "
                       "Names scrolled out of view stay selected.\n"
                       "Print Selected prints the report of every selected client. Select All selects every "
                       "client. Return to Main Menu leaves without printing."),
        fraAll);
    instructions->setObjectName(QStringLiteral("txtInstructions"));
    instructions->setWordWrap(true);
    layout->addWidget(instructions);

    fraClient_ = new QGroupBox(QStringLiteral("Client List"), fraAll);
    fraClient_->setObjectName(QStringLiteral("fraClient"));
    setFrameLook(*fraClient_, false);
    lbNameDisplay_ = new QListWidget(fraClient_);
    lbNameDisplay_->setObjectName(QStringLiteral("lbNameDisplay"));
    lbNameDisplay_->setAccessibleName(QStringLiteral("Client List"));
    lbNameDisplay_->setSelectionMode(QAbstractItemView::MultiSelection);
    QFont listFont = reportFont(10);
    lbNameDisplay_->setFont(listFont);  // set explicitly: the frame's bold caption stays off it
    lbNameDisplay_->setMinimumHeight(twipsToPixels(3000, this));
    lbNameDisplay_->installEventFilter(this);
    (new QVBoxLayout(fraClient_))->addWidget(lbNameDisplay_);
    layout->addWidget(fraClient_, 1);

    msgPanel_ = new MsgPanel(this);
    auto* rowFrame = new QWidget(fraAll);
    rowFrame->setObjectName(QStringLiteral("frButtons"));
    row_ = new MenuButtonRow(*this, msgPanel_, services_.dialogs);
    row_->addButton(rowFrame, QStringLiteral("Print Selected"), QStringLiteral("Print selected client reports"));
    row_->addButton(rowFrame, QStringLiteral("Select All"), QStringLiteral("Select all client reports for printing"));
    row_->addButton(rowFrame, QStringLiteral("Return to Main Menu"), QStringLiteral("Cancel selections and printing."));
    row_->layoutRow(rowFrame, twipsToPixels(2400, this), twipsToPixels(600, this), twipsToPixels(200, this));
    layout->addWidget(rowFrame, 0, Qt::AlignHCenter);
    row_->onChosen([this](int i) {
        if (i == 0) printSelected();
        else if (i == 1) lbNameDisplay_->selectAll();
        else reject();
    });
    outer->addWidget(msgPanel_);

    setTabOrder(lbNameDisplay_, row_->button(0));
    setTabOrder(row_->button(0), row_->button(1));
    setTabOrder(row_->button(1), row_->button(2));
}

void frmPrintSelected::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activated_) return;
    activated_ = true;
    CenterForm(*this);
    row_->ResetMenuHighlight();
    fillList();
    updateButtons();
    lbNameDisplay_->setFocus(Qt::OtherFocusReason);
}

void frmPrintSelected::fillList() {
    lbNameDisplay_->clear();
    for (const std::string& line : form_.lines()) lbNameDisplay_->addItem(QString::fromStdString(line));
    const int first = PrintSelectedForm::firstCurrent(static_cast<std::size_t>(lbNameDisplay_->count()));
    if (first >= 0) lbNameDisplay_->setCurrentRow(first, QItemSelectionModel::NoUpdate);
}

void frmPrintSelected::updateButtons() {
    const QListWidgetItem* current = lbNameDisplay_->currentItem();
    row_->button(0)->setEnabled(PrintSelectedForm::printEnabled(current ? current->text().toStdString() : std::string()));
}

void frmPrintSelected::printSelected() {
    std::vector<int> positions;
    for (int i = 0; i < lbNameDisplay_->count(); ++i)
        if (lbNameDisplay_->item(i)->isSelected()) positions.push_back(i);
    // The window closes afterwards, also when printing stopped with an error.
    struct Close {
        frmPrintSelected& w;
        ~Close() { w.accept(); }
    } close{*this};
    Hourglass wait;
    form_.printSelected(positions);
}

bool frmPrintSelected::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbNameDisplay_) {
        switch (event->type()) {
        case QEvent::FocusIn:
            updateButtons();
            if (lbNameDisplay_->count() == 0) {
                row_->button(1)->setFocus(Qt::TabFocusReason);
                break;
            }
            setFrameLook(*fraClient_, true);
            msgPanel_->setText(QStringLiteral("Use up or down arrow keys or mouse to select client."));
            break;
        case QEvent::FocusOut:
            setFrameLook(*fraClient_, false);
            break;
        case QEvent::KeyRelease:
            updateButtons();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kcs::menus
