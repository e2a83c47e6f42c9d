#pragma once

#include "common/report.h"
#include "platform/clock.h"
#include "scheduler/report_catalogue.h"
#include "ui/widgets/window_services.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPrinter;

namespace hrln::ui {

struct ReportServices {
    WindowServices window;
    const platform::Clock& clock;
    std::string userName;  // printed on every page
    QPrinter& printer;     // the one File, Print Setup sets up
};

// The choices of one report before its preview: the days it covers, the
// category, whether history entries, disabled tasks or done items are taken.
// Only the choices the report takes are shown.
class ReportOptionsWindow : public QDialog {
    Q_OBJECT

public:
    ReportOptionsWindow(WindowServices services, scheduler::ReportKind kind, Date today, QWidget* parent = nullptr);

    scheduler::ReportRequest request() const;

    void accept() override;

private:
    WindowServices s_;
    scheduler::ReportKind kind_;
    QCheckBox* allDates_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QComboBox* category_ = nullptr;
    QCheckBox* history_ = nullptr;
    QCheckBox* disabled_ = nullptr;
    QCheckBox* done_ = nullptr;
};

// What every page of a report says besides its rows: the user and the moment.
report::Heading ReportHeading(const platform::Clock& clock, const std::string& userName);

// Draws the report on `printer`, only the pages it was asked for.
bool PrintReport(report::Source& source, const report::Heading& heading, QPrinter& printer);

// The report's options, then its preview. Nothing happens when the options
// are cancelled.
void OpenReport(const ReportServices& services, scheduler::ReportKind kind, QWidget* parent);

// What printing needs of the program besides the report.
struct PrintServices {
    const platform::Clock& clock;
    std::string userName;  // printed on every page
    QPrinter& printer;     // the one File, Print Setup sets up
};

// The preview of a report: zoom, page by page, print through the desktop's
// dialog, to PDF.
void PreviewReport(const PrintServices& services, report::Source& source, QWidget* parent);

// The script editor opens under several forms that do not carry the printer;
// its windows reach the program's through here. The frame sets it while it
// stands (an empty function: none), and it is asked only when a print starts,
// as finding the printers takes a while.
void SetProgramPrinting(std::function<PrintServices()> printing);
bool ProgramCanPrint();
// The preview of `source` with the program's printer; nothing without one.
void PreviewWithProgramPrinter(report::Source& source, QWidget* parent);

}  // namespace hrln::ui
