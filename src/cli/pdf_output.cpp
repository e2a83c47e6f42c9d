#include "cli/pdf_output.h"

#include "report/page_layout.h"

#include <QBuffer>
#include <QGuiApplication>

#include <ostream>

namespace hrln::cli {
namespace {

// Without a desktop session Qt says it makes a runtime folder of its own; the
// command's output has no room for that.
QtMessageHandler previousHandler = nullptr;

void QuietAboutTheRuntimeFolder(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (previousHandler != nullptr)
        previousHandler(type, context, message);
}

}  // namespace

struct PdfOutput::Machinery {
    std::unique_ptr<QGuiApplication> app;
};

PdfOutput::PdfOutput(int& argc, char** argv) : machinery_(std::make_unique<Machinery>())
{
    renderer_ = [this, &argc, argv](report::Source& source, const report::Heading& heading, const std::string& path,
                                   std::ostream& out) {
        if (!machinery_->app) {
            // Pages are drawn in memory: no display is needed, or used when there is one.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            previousHandler = qInstallMessageHandler(QuietAboutTheRuntimeFolder);
            machinery_->app = std::make_unique<QGuiApplication>(argc, argv);
        }
        if (!path.empty())
            return report::WriteReportPdf(source, heading, QString::fromStdString(path));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (!report::WriteReportPdf(source, heading, buffer))
            return false;
        out.write(buffer.data().constData(), buffer.data().size());
        return static_cast<bool>(out);
    };
}

PdfOutput::~PdfOutput() = default;

}  // namespace hrln::cli
