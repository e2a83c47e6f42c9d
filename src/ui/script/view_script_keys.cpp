#include "ui/script/view_script_keys.h"

#include "script/key_list_file.h"
#include "script/script_report.h"
#include "ui/report/report_windows.h"
#include "ui/widgets/field_widgets.h"
#include "ui/widgets/progress_window.h"
#include "ui/widgets/window_placement.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace hrln::ui {
namespace {

const QString kPosition = QStringLiteral("ViewScriptKeys");

QPushButton* Button(QWidget* parent, const QString& text, const QString& objectName, QBoxLayout* into)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    into->addWidget(button);
    return button;
}

}  // namespace

SearchTextWindow::SearchTextWindow(const script::TextSearch& last, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("VIEWSCRIPTKEYS$ASC1:SEARCHWINDOW"));
    setWindowTitle(tr("Searching Text..."));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    text_ = Entry(this, QStringLiteral("findEdit"), 20);
    text_->setText(Text(last.text));
    form->addRow(tr("Fi&nd What:"), text_);
    layout->addLayout(form);
    wholeWord_ = new QCheckBox(tr("Match &Whole Word Only"), this);
    wholeWord_->setObjectName(QStringLiteral("wholeWordCheck"));
    wholeWord_->setChecked(last.wholeWord);
    matchCase_ = new QCheckBox(tr("Match &Case"), this);
    matchCase_->setObjectName(QStringLiteral("matchCaseCheck"));
    matchCase_->setChecked(last.matchCase);
    layout->addWidget(wholeWord_);
    layout->addWidget(matchCase_);
    auto* direction = new QGroupBox(tr("Direction"), this);
    auto* row = new QHBoxLayout(direction);
    up_ = new QRadioButton(tr("&Up"), direction);
    up_->setObjectName(QStringLiteral("upRadio"));
    down_ = new QRadioButton(tr("&Down"), direction);
    down_->setObjectName(QStringLiteral("downRadio"));
    (last.down ? down_ : up_)->setChecked(true);
    row->addWidget(up_);
    row->addWidget(down_);
    layout->addWidget(direction);
    auto* buttons = new QHBoxLayout;
    QPushButton* findButton = Button(this, tr("Find"), QStringLiteral("findButton"), buttons);
    findButton->setDefault(true);
    connect(findButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button(this, tr("Cancel"), QStringLiteral("cancelButton"), buttons), &QPushButton::clicked,
            this, &QDialog::reject);
    layout->addLayout(buttons);
    text_->selectAll();
    text_->setFocus();
    ResizeWithin(this, sizeHint());
}

script::TextSearch SearchTextWindow::search() const
{
    return {text_->text().toStdString(), wholeWord_->isChecked(), matchCase_->isChecked(), down_->isChecked()};
}

ViewScriptKeysWindow::ViewScriptKeysWindow(WindowServices services, std::vector<std::string> lines,
                                           std::string fileName, QWidget* parent)
    : QDialog(parent), s_(services), lines_(std::move(lines)), fileName_(std::move(fileName))
{
    setObjectName(QStringLiteral("VIEWSCRIPTKEYS$VIEWWINDOW"));
    setWindowTitle(tr("List of Key Abbreviations"));
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("keysText"));
    text_->setAccessibleName(windowTitle());
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QStringList all;
    for (const std::string& line : lines_)
        all << Text(line);
    text_->setPlainText(all.join(QLatin1Char('\n')));
    layout->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    QPushButton* print = Button(this, tr("&Print"), QStringLiteral("printButton"), buttons);
    print->setEnabled(ProgramCanPrint());
    connect(print, &QPushButton::clicked, this, &ViewScriptKeysWindow::print);
    connect(Button(this, tr("&Find..."), QStringLiteral("findButton"), buttons), &QPushButton::clicked,
            this, &ViewScriptKeysWindow::find);
    connect(Button(this, tr("Find Next"), QStringLiteral("findNextButton"), buttons),
            &QPushButton::clicked, this, &ViewScriptKeysWindow::findNext);
    buttons->addStretch(1);
    connect(Button(this, tr("&Close"), QStringLiteral("closeButton"), buttons), &QPushButton::clicked,
            this, &QDialog::reject);
    layout->addLayout(buttons);
    resize(560, 480);
    RestoreWindowPosition(this, s_.positions, kPosition);
    text_->setFocus();
}

void ViewScriptKeysWindow::print()
{
    const std::unique_ptr<report::Source> source = script::MakeKeyListReport(lines_, fileName_);
    PreviewWithProgramPrinter(*source, this);
    text_->setFocus();
}

void ViewScriptKeysWindow::find()
{
    SearchTextWindow dialog(search_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    search_ = dialog.search();
    findNext();
}

void ViewScriptKeysWindow::findNext()
{
    if (search_.text.empty()) {
        find();
        return;
    }
    const script::TextPosition from =
        match_ ? *match_ : (search_.down ? script::TextPosition{} : script::EndOfLines(lines_));
    std::optional<script::TextPosition> found = script::FindText(lines_, search_, from);
    if (!found) {
        const std::string question =
            search_.down ? "The end of the viewed file was encountered.  Do you want to start again from the "
                           "beginning?"
                         : "The beginning of the viewed file was encountered.  Do you want to start again from the "
                           "end of the file?";
        if (s_.prompter.ask({question, "Find", platform::MessageIcon::Question, platform::MessageButtons::YesNo,
                             platform::MessageButton::Yes}) != platform::MessageButton::Yes)
            return;
        found = script::FindText(lines_, search_, search_.down ? script::TextPosition{} : script::EndOfLines(lines_));
        if (!found)
            return;
    }
    match_ = found;
    highlight(*found);
}

void ViewScriptKeysWindow::highlight(const script::TextPosition& at)
{
    const std::string& line = lines_[static_cast<std::size_t>(at.line)];
    const auto start = QString::fromUtf8(line.data(), at.column).size();
    const auto length = Text(std::string_view(line).substr(static_cast<std::size_t>(at.column), search_.text.size())).size();
    QTextCursor cursor(text_->document()->findBlockByNumber(at.line));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, static_cast<int>(start));
    cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, static_cast<int>(length));
    text_->setTextCursor(cursor);
}

void ViewScriptKeysWindow::done(int result)
{
    SaveWindowPosition(this, s_.positions, kPosition);
    QDialog::done(result);
}

void ViewScriptKeysWindow::Show(const WindowServices& services, QWidget* parent, const std::string& path)
{
    const std::string file = path.empty() ? std::string(script::kKeyListFile) : path;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        services.prompter.ask({"The file " + file + " could not be read: " + std::strerror(errno), "File Load Error",
                               platform::MessageIcon::Exclamation});
        return;
    }
    std::error_code sizeError;
    const auto size = std::filesystem::file_size(file, sizeError);
    script::ReadViewedLinesJob job(in, sizeError ? 0 : static_cast<std::int64_t>(size));
    ProgressWindow progress(job, script::ReadViewedLinesJob::kBatch, QStringLiteral("VIEWSCRIPTKEYS$PROGRESSWINDOW"),
                            parent);
    progress.setTitle(tr("Reading File"));
    progress.exec();
    if (progress.run().state() != BatchRun::State::Completed)
        return;  // cancelled: nothing to show
    std::vector<std::string> lines = job.takeLines();
    bool blank = true;
    for (const std::string& line : lines)
        blank = blank && line.find_first_not_of(" \t") == std::string::npos;
    if (blank) {
        services.prompter.ask({"The file you've requested contains no text.", "File Load Error",
                               platform::MessageIcon::Exclamation});
        return;
    }
    ViewScriptKeysWindow window(services, std::move(lines), std::filesystem::path(file).filename().string(), parent);
    window.exec();
}

}  // namespace hrln::ui
