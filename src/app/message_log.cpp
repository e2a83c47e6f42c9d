#include "app/message_log.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <atomic>
#include <cstdio>

namespace hrln::app {
namespace {

std::atomic<bool> g_verbose{false};

void WriteMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    LogLevel level = LogLevel::Debug;
    switch (type) {
    case QtDebugMsg: level = LogLevel::Debug; break;
    case QtInfoMsg: level = LogLevel::Info; break;
    case QtWarningMsg: level = LogLevel::Warning; break;
    case QtCriticalMsg: level = LogLevel::Critical; break;
    case QtFatalMsg: level = LogLevel::Fatal; break;
    }
    const QByteArray text = message.toLocal8Bit();
    if (const auto line = LogLine(level, g_verbose.load(), std::string_view(text.constData(), text.size()))) {
        std::fputs(line->c_str(), stderr);
        std::fflush(stderr);
    }
}

}  // namespace

std::optional<std::string> LogLine(LogLevel level, bool verbose, std::string_view message)
{
    const char* label = "";
    switch (level) {
    case LogLevel::Debug:
    case LogLevel::Info:
        if (!verbose)
            return std::nullopt;
        label = level == LogLevel::Debug ? "debug: " : "";
        break;
    case LogLevel::Warning: label = "warning: "; break;
    case LogLevel::Critical: label = "error: "; break;
    case LogLevel::Fatal: label = "fatal: "; break;
    }
    // One message, one line: a line break inside would read as a second message.
    std::string line = std::string("horalyn: ") + label;
    for (const char c : message)
        line += c == '\n' ? ' ' : c;
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    line += '\n';
    return line;
}

void InstallMessageLog(bool verbose)
{
    g_verbose = verbose;
    qInstallMessageHandler(WriteMessage);
}

}  // namespace hrln::app
