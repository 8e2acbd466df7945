#include "ui/filedialog.h"

#include "game/creation.h"
#include "game/gamestore.h"
#include "shell/settingsstore.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tfp::ui {
namespace {

bool containsSeparator(const QString& path)
{
#ifdef Q_OS_WIN
    return path.contains(u'\\') || path.contains(u'/');
#else
    return path.contains(u'/');
#endif
}

// True when a file can be made in the folder: tried, since on Windows the folder's
// attributes say nothing of the permissions of the user.
bool canCreateFileIn(const QString& folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.turnpicker-XXXXXX"));
    return probe.open();
}

// True for a folder in one of the folders programs are installed in, where a standard user
// may not write (an administrator may, or a file system may pretend so).
bool isUnderProgramFolders(const QString& folder)
{
#ifdef Q_OS_WIN
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder)) + u'/';
    for (const char* name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        const QString root = QDir::fromNativeSeparators(qEnvironmentVariable(name));
        if (!root.isEmpty() && path.startsWith(QDir::cleanPath(root) + u'/', Qt::CaseInsensitive))
            return true;
    }
#else
    Q_UNUSED(folder);
#endif
    return false;
}

} // namespace

shell::DialogSeam<QString, FileDialogRequest>& FileDialog::testSeam()
{
    static shell::DialogSeam<QString, FileDialogRequest> seam;
    return seam;
}

std::optional<QString> FileDialog::exec(QWidget* parent, const FileDialogRequest& request)
{
    if (testSeam().enabled()) {
        const QString answer = testSeam().answer(request, QString());
        if (answer.isEmpty())
            return std::nullopt;
        return answer;
    }
    QFileDialog dialog(parent, request.title, request.directory);
    dialog.setNameFilters(request.nameFilters);
    dialog.setDefaultSuffix(QStringLiteral("tfp"));
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString defaultSaveFolder(const QString& programFolder)
{
    using namespace tfp::shell;
    if (settingsFlags().UseLastSavePath) {
        const QString stored = ReadSetting(Setting::LastSavePath);
        if (!stored.isEmpty())
            return stored;
    }
    if (!isUnderProgramFolders(programFolder) && canCreateFileIn(programFolder))
        return programFolder;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

bool showFileDialog(QWidget* parent, QString& filePath, const QString& title, bool save,
                    const QString& defaultName)
{
    FileDialogRequest request;
    request.title = title;
    request.save = save;
    request.nameFilters = {QStringLiteral("Torva Fogline Turnpicker File (*%1)")
                               .arg(QLatin1String(kGameFileExtension)),
                           QStringLiteral("All Files (*)")};
    if (filePath.isEmpty()) {
        request.fileName = suggestedFileName(defaultName);
        request.directory = defaultSaveFolder();
    } else {
        request.fileName = filePath;
        QString folder;
        if (containsSeparator(filePath) && splitPath(filePath, folder))
            request.directory = folder;
    }
    const std::optional<QString> chosen = FileDialog::exec(parent, request);
    if (!chosen) {
        filePath.clear();
        return false;
    }
    filePath = *chosen;
    return true;
}

} // namespace tfp::ui
