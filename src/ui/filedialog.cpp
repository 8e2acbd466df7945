#include "ui/filedialog.h"

#include "game/creation.h"
#include "game/gamestore.h"
#include "shell/settingsstore.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

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

QString defaultSaveFolder()
{
    using namespace tfp::shell;
    if (settingsFlags().UseLastSavePath) {
        const QString stored = ReadSetting(Setting::LastSavePath);
        if (!stored.isEmpty())
            return stored;
    }
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(programFolder).isWritable())
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
