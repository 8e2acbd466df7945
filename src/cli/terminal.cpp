#include "terminal.h"

#include "game/passwords.h"
#include "game/shown.h"

#if defined(Q_OS_UNIX)
#include <termios.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace tfp::cli {
namespace {

// Turns terminal echo off for its lifetime when standard input is a terminal (a console
// on Windows).
class EchoOff
{
public:
    EchoOff()
    {
#if defined(Q_OS_UNIX)
        if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &m_saved) == 0) {
            termios quiet = m_saved;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            m_active = tcsetattr(STDIN_FILENO, TCSANOW, &quiet) == 0;
        }
#elif defined(Q_OS_WIN)
        m_input = GetStdHandle(STD_INPUT_HANDLE);
        m_console = GetConsoleMode(m_input, &m_saved) != 0;
        if (m_console)
            m_active = SetConsoleMode(m_input, m_saved & ~DWORD(ENABLE_ECHO_INPUT)) != 0;
#endif
    }
    ~EchoOff()
    {
#if defined(Q_OS_UNIX)
        if (m_active)
            tcsetattr(STDIN_FILENO, TCSANOW, &m_saved);
#elif defined(Q_OS_WIN)
        if (m_active)
            SetConsoleMode(m_input, m_saved);
#endif
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    // True when the user's Enter key left no line break on the screen.
    [[nodiscard]] bool needsLineBreak() const
    {
#if defined(Q_OS_UNIX)
        return m_active || !isatty(STDIN_FILENO);
#elif defined(Q_OS_WIN)
        return m_active || !m_console;
#else
        return false;
#endif
    }

private:
#if defined(Q_OS_UNIX)
    termios m_saved{};
#elif defined(Q_OS_WIN)
    HANDLE m_input = nullptr;
    DWORD m_saved = 0;
    bool m_console = false;
#endif
    bool m_active = false;
};

} // namespace

QString terminalText(const QString& text)
{
    QString copy = text;
    copy.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shownText(copy, u"\n\t");
}

QString terminalLine(const QString& text)
{
    return shownText(text);
}

void TerminalInteraction::showMessage(const Message& message)
{
    m_err << terminalLine(message.title) << ":\n" << terminalText(message.text) << '\n';
    m_err.flush();
}

QString TerminalInteraction::askPassword(const QString& caption, const QString& playerName)
{
    if (m_source == PasswordSource::OneLine) {
        QString line;
        if (!m_in.readLineInto(&line))
            return {};
        const QString password = line.trimmed();
        if (const QString reason = passwordRefusal(password); !reason.isEmpty()) {
            m_err << caption << " (" << terminalLine(playerName) << "): " << reason << '\n';
            m_err.flush();
            return {};
        }
        return password;
    }
    for (;;) {
        m_err << caption << " (" << terminalLine(playerName) << "): ";
        m_err.flush();
        QString line;
        bool read = false;
        {
            const EchoOff echo;
            read = m_in.readLineInto(&line);
            if (echo.needsLineBreak())
                m_err << '\n';
        }
        m_err.flush(); // before anything is written to standard output
        if (!read)
            return {};
        const QString password = line.trimmed();
        if (const QString reason = passwordRefusal(password); !reason.isEmpty()) {
            m_err << reason << '\n';
            continue;
        }
        return password;
    }
}

} // namespace tfp::cli
