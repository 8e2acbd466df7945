#include "shell/dialogseam.h"

#include <QDialog>
#include <QMetaObject>
#include <QPointer>

namespace tfp::shell {
namespace {

ShownDialogHook& shownDialogHook()
{
    static ShownDialogHook hook;
    return hook;
}

} // namespace

void setShownDialogHookForTesting(ShownDialogHook hook)
{
    shownDialogHook() = std::move(hook);
}

void notifyDialogShown(QDialog& dialog)
{
    if (!shownDialogHook())
        return;
    // Queued, so that the hook runs once the dialog's modal loop has started and can end it.
    QMetaObject::invokeMethod(
        &dialog,
        [target = QPointer<QDialog>(&dialog), hook = shownDialogHook()] {
            if (target)
                hook(*target);
        },
        Qt::QueuedConnection);
}

} // namespace tfp::shell
