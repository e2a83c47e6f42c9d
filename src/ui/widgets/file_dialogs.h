#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace hrln::ui {

// What a file dialog is asked for.
struct FileRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString filter;     // "Sound Files (*.wav *.ogg ...)"
    QString suggested;  // a file name or path to start from
    // What a name typed without an ending gets ("hsx"); none when empty.
    QString defaultSuffix = {};
    // The file is written at its end, not replaced: no question about replacing it.
    bool appends = false;
};

// Asks for a file through the desktop's own dialog where the platform offers
// one. The current folder is kept whatever the user does in the dialog (the
// program's files live there); an empty result means the user cancelled, and
// the caller then reads and writes nothing.
QString ChooseFile(QWidget* parent, const FileRequest& request);

// The dialog for a program (or document) to start, from `suggested`.
QString ChooseProgram(QWidget* parent, const QString& suggested);

// The dialog for an alarm's sound file, from `suggested`.
QString ChooseWav(QWidget* parent, const QString& title, const QString& suggested);

// Replaces the dialog, for tests that cannot answer a real one; an empty
// function restores it.
void SetFileChooser(std::function<QString(QWidget*, const FileRequest&)> chooser);

}  // namespace hrln::ui
