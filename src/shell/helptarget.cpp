#include "shell/helptarget.h"

#include "appversion.h"
#include "shell/messagebox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>

namespace tfp::shell {
namespace {

std::function<bool(const QUrl&)>& testOpener()
{
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

void openUrl(const QUrl& url)
{
    if (testOpener())
        testOpener()(url);
    else
        QDesktopServices::openUrl(url);
}

// A web address or other URL with a scheme; "C:" of a Windows path is no scheme, and a
// file: URL names a local file.
bool isAddress(const QUrl& url)
{
    return url.isValid() && url.scheme().size() > 1 && !url.isLocalFile();
}

Message helpMissingMessage()
{
    const QString site = QLatin1String(appinfo::kWebSite);
    return {QLatin1String(appinfo::kProductName),
            QStringLiteral("Help documentation cannot be located on your system.\r\n\r\n"
                           "Please see the application's web site at ") +
                site + QStringLiteral(" for additional information on this product."),
            MessageIcon::Information};
}

} // namespace

void OpenHelpTarget(const QString& target)
{
    const QUrl url(target, QUrl::StrictMode);
    if (isAddress(url)) {
        openUrl(url);
        return;
    }
    const QString path = url.isLocalFile() ? url.toLocalFile() : target;
    const QFileInfo file(path);
    if (!path.isEmpty() && file.isFile()) {
        openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
        return;
    }
    MessageBox::show(QApplication::activeWindow(), helpMissingMessage());
}

void openDonationPage()
{
    openUrl(QUrl(QLatin1String(appinfo::kDonationPage)));
}

void setUrlOpenerForTesting(std::function<bool(const QUrl&)> opener)
{
    testOpener() = std::move(opener);
}

} // namespace tfp::shell
