// The one open and save dialog of the program. Tests set the next answer and read what
// the dialog would have been asked, so no dialog is shown.
#pragma once

#include "shell/dialogseam.h"

#include <optional>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QWidget;

namespace tfp::ui {

// What the dialog is asked to show.
struct FileDialogRequest
{
    QString title;
    QString fileName;
    QString directory;
    QStringList nameFilters;
    bool save = false;
};

class FileDialog
{
public:
    // Test seam: while enabled, requests are recorded and answered with the queued path
    // (an empty path answers Cancel; no queued path answers Cancel too).
    static shell::DialogSeam<QString, FileDialogRequest>& testSeam();

    // Shows the request; the chosen path, or nullopt when cancelled.
    [[nodiscard]] static std::optional<QString> exec(QWidget* parent,
                                                     const FileDialogRequest& request);
};

// The folder a first save dialog starts in: the stored last save folder when that option
// is on, otherwise the program's folder `programFolder` when a file can be made in it and it
// is not under the system's program folders (on Windows the Program Files folders, whose
// permissions a folder's attributes do not show), else the documents folder.
[[nodiscard]] QString
defaultSaveFolder(const QString& programFolder = QCoreApplication::applicationDirPath());

// Shows the save (or open) dialog for a game file. `filePath` comes in as the path to
// offer and leaves as the chosen path, or empty when the user cancelled.
[[nodiscard]] bool showFileDialog(QWidget* parent, QString& filePath, const QString& title,
                                  bool save, const QString& defaultName);

} // namespace tfp::ui
