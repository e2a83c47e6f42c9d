#include "ui/widgets/file_dialogs.h"

#include <QDir>
#include <QFileDialog>

namespace hrln::ui {
namespace {

std::function<QString(QWidget*, const FileRequest&)>& Chooser()
{
    static std::function<QString(QWidget*, const FileRequest&)> chooser;
    return chooser;
}

QString DesktopDialog(QWidget* parent, const FileRequest& request)
{
    if (request.kind == FileRequest::Kind::Save)
        return QFileDialog::getSaveFileName(parent, request.title, request.suggested, request.filter);
    return QFileDialog::getOpenFileName(parent, request.title, request.suggested, request.filter);
}

}  // namespace

void SetFileChooser(std::function<QString(QWidget*, const FileRequest&)> chooser)
{
    Chooser() = std::move(chooser);
}

QString ChooseFile(QWidget* parent, const FileRequest& request)
{
    const QString folder = QDir::currentPath();
    const QString chosen = Chooser() ? Chooser()(parent, request) : DesktopDialog(parent, request);
    if (QDir::currentPath() != folder)
        QDir::setCurrent(folder);
    return chosen;
}

QString ChooseProgram(QWidget* parent, const QString& suggested)
{
    FileRequest request;
    request.title = QStringLiteral("Choose a Program to Start");
    // What starts a program here: any executable file (no ending marks one),
    // a script, an AppImage or a desktop launcher.
    request.filter = QStringLiteral("All Files (*);;Scripts (*.sh *.py *.pl);;AppImages (*.AppImage);;"
                                    "Desktop Launchers (*.desktop)");
    request.suggested = suggested;
    return ChooseFile(parent, request);
}

QString ChooseWav(QWidget* parent, const QString& title, const QString& suggested)
{
    FileRequest request;
    request.title = title;
    request.filter = QStringLiteral("WAV Files (*.wav *.WAV);;All Files (*)");
    request.suggested = suggested;
    return ChooseFile(parent, request);
}

}  // namespace hrln::ui
