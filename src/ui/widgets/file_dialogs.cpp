#include "ui/widgets/file_dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>

namespace hrln::ui {
namespace {

std::function<QString(QWidget*, const FileRequest&)>& Chooser()
{
    static std::function<QString(QWidget*, const FileRequest&)> chooser;
    return chooser;
}

// Icons and type names from a file's name alone. Qt's own provider reads a
// file whose ending it does not know to guess its type, and so opens the
// database files whenever the dialog shows the data folder; reading them is
// not ours to do outside the database engine.
class NameOnlyIcons : public QFileIconProvider {
public:
    NameOnlyIcons() { setOptions(DontUseCustomDirectoryIcons); }

    using QFileIconProvider::icon;

    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isDir())
            return icon(Folder);
        const QMimeType type = byName(info);
        for (const QString& name : {type.iconName(), type.genericIconName()}) {
            const QIcon themed = QIcon::fromTheme(name);
            if (!themed.isNull())
                return themed;
        }
        return icon(File);
    }

    QString type(const QFileInfo& info) const override
    {
        if (info.isDir())
            return QCoreApplication::translate("hrln::ui::FileDialogs", "Folder");
        if (mimes_.mimeTypesForFileName(info.fileName()).isEmpty()) {
            const QString suffix = info.suffix();
            return suffix.isEmpty() ? QCoreApplication::translate("hrln::ui::FileDialogs", "File") : QCoreApplication::translate("hrln::ui::FileDialogs", "%1 File").arg(suffix);
        }
        const QMimeType type = byName(info);
        return type.comment().isEmpty() ? type.name() : type.comment();
    }

private:
    QMimeType byName(const QFileInfo& info) const
    {
        const QList<QMimeType> types = mimes_.mimeTypesForFileName(info.fileName());
        return types.isEmpty() ? mimes_.mimeTypeForName(QStringLiteral("application/octet-stream")) : types.first();
    }

    QMimeDatabase mimes_;
};

QString DesktopDialog(QWidget* parent, const FileRequest& request)
{
    // The dialog starts listing the folder it is made with at once: it is
    // made on the root, and shown the folder asked for only once it names
    // types by name.
    QFileDialog dialog(parent, request.title, QDir::rootPath(), request.filter);
    NameOnlyIcons icons;
    dialog.setIconProvider(&icons);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
    const QFileInfo suggested(request.suggested.isEmpty() ? QDir::currentPath() : request.suggested);
    if (request.suggested.isEmpty() || suggested.isDir()) {
        dialog.setDirectory(suggested.absoluteFilePath());
    } else {
        dialog.setDirectory(suggested.absolutePath());
        dialog.selectFile(suggested.fileName());
    }
    if (request.kind == FileRequest::Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultSuffix);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, request.appends);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
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
    request.title = QCoreApplication::translate("hrln::ui::FileDialogs", "Choose a Program to Start");
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
    request.filter = QStringLiteral("Sound Files (*.wav *.ogg *.oga *.flac *.mp3 *.WAV *.OGG *.OGA *.FLAC *.MP3);;"
                                    "All Files (*)");
    request.suggested = suggested;
    return ChooseFile(parent, request);
}

}  // namespace hrln::ui
