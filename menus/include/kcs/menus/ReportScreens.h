#pragma once
// The report viewer and the print-selected window.
//
// Viewer object names: frmViewReport, fraAll, Text1, cmdPrintReport, cmdSavePdf, cmdCancel;
// the PDF file chooser is dlgSavePdf.
// Print-selected object names: frmPrintSelected, fraAll, txtInstructions, fraClient,
// lbNameDisplay, sspMenuChoice_0..2, cmdMenuChoice_0..2, MsgPanel.

#include <QDialog>

#include "kcs/app/ClientStore.h"
#include "kcs/menus/SupervisorForms.h"
#include "kcs/report/ScoreAndReport.h"
#include "kcs/ui/MenuButtonRow.h"
#include "kcs/ui/Services.h"

class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kcs::menus {

// Shows the current client's report, freshly scored when the viewer opens, in a fixed-pitch
// font; prints it, saves it as a PDF, and removes the report files when it closes.
class frmViewReport : public QDialog {
    Q_OBJECT
public:
    frmViewReport(const app::ClientStore& store, report::ReportOptions options, bool printDOS,
                  ui::Services& services, QWidget* parent = nullptr);

    QPlainTextEdit* text() const { return Text1_; }
    QPushButton* printButton() const { return cmdPrintReport_; }
    QPushButton* pdfButton() const { return cmdSavePdf_; }
    QPushButton* closeButton() const { return cmdCancel_; }

    // The report as the viewer shows it: Windows-1252 decoded, line ends as line breaks and
    // each page break as a rule across the text.
    static QString ShowReportText(const std::string& reportText);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();
    void printReport();
    void saveAsPdf();

    const app::ClientStore& store_;
    report::ReportOptions options_;
    bool printDOS_;
    ui::Services& services_;
    std::int16_t client_;
    bool activated_ = false;

    QPlainTextEdit* Text1_;
    QPushButton* cmdPrintReport_;
    QPushButton* cmdSavePdf_;
    QPushButton* cmdCancel_;
};

// "Print Selected Reports": the clients picked in a list are scored and printed in one go.
class frmPrintSelected : public QDialog {
    Q_OBJECT
public:
    frmPrintSelected(app::ClientStore& store, report::ReportOptions options, bool printDOS, ui::Services& services,
                     QWidget* parent = nullptr);

    QListWidget* list() const { return lbNameDisplay_; }
    ui::MenuButtonRow& buttons() const { return *row_; }
    ui::MsgPanel* msgPanel() const { return msgPanel_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillList();
    void updateButtons();
    void printSelected();

    PrintSelectedForm form_;
    ui::Services& services_;
    bool activated_ = false;

    QGroupBox* fraClient_;
    QListWidget* lbNameDisplay_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtonRow* row_;
};

}  // namespace kcs::menus
