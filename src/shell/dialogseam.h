// Test seams for the program's modal dialogs, so that no test ever waits on one. The
// message boxes, the file dialog and the password and confirm-save dialogs record what
// they would ask and take their answers from a queue (DialogSeam); the options and About
// dialogs are handed to a test once their modal loop runs, to be answered through their
// buttons.
#pragma once

#include <functional>
#include <optional>
#include <QList>

class QDialog;

namespace tfp::shell {

// While enabled, a dialog records its request instead of showing itself and returns the
// next queued answer, or its own fallback when none is queued.
template <typename Answer, typename Request> class DialogSeam
{
public:
    // Switches the seam on or off, forgetting queued answers and recorded requests.
    void setEnabled(bool enabled)
    {
        m_enabled = enabled;
        m_answers.clear();
        m_requests.clear();
    }
    [[nodiscard]] bool enabled() const { return m_enabled; }

    void queueAnswer(Answer answer) { m_answers.append(std::move(answer)); }

    // Records `request` and returns the answer the dialog gives it.
    [[nodiscard]] Answer answer(Request request, Answer fallback)
    {
        m_requests.append(std::move(request));
        return m_answers.isEmpty() ? std::move(fallback) : m_answers.takeFirst();
    }

    [[nodiscard]] const QList<Request>& requests() const { return m_requests; }
    [[nodiscard]] std::optional<Request> lastRequest() const
    {
        if (m_requests.isEmpty())
            return std::nullopt;
        return m_requests.constLast();
    }

private:
    bool m_enabled = false;
    QList<Answer> m_answers;
    QList<Request> m_requests;
};

using ShownDialogHook = std::function<void(QDialog& dialog)>;

// While set, every options or About dialog that is shown is passed to the hook from inside
// its own modal loop; an empty hook ends the seam.
void setShownDialogHookForTesting(ShownDialogHook hook);

// Called by the dialogs when they are shown.
void notifyDialogShown(QDialog& dialog);

} // namespace tfp::shell
