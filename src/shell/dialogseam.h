// Test seam for the shell's modal dialogs (options and About): a test is handed each
// dialog once its modal loop runs and answers it through its buttons, so nothing waits.
#pragma once

#include <functional>

class QDialog;

namespace tfp::shell {

using ShownDialogHook = std::function<void(QDialog& dialog)>;

// While set, every options or About dialog that is shown is passed to the hook from inside
// its own modal loop; an empty hook ends the seam.
void setShownDialogHookForTesting(ShownDialogHook hook);

// Called by the dialogs when they are shown.
void notifyDialogShown(QDialog& dialog);

} // namespace tfp::shell
