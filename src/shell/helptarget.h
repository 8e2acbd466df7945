// Opens the help documentation or the product's web pages in the user's browser.
#pragma once

#include <functional>
#include <QString>
#include <QUrl>

namespace tfp::shell {

// A web address, or a local file that exists, is opened with the desktop's handler; a file
// name that does not exist shows where help can be found instead. Failures are silent.
void OpenHelpTarget(const QString& target);

// Opens the donation page of the product's web site.
void openDonationPage();

// Test seam: every address goes to this opener instead of the desktop; an empty function
// restores the desktop.
void setUrlOpenerForTesting(std::function<bool(const QUrl&)> opener);

} // namespace tfp::shell
