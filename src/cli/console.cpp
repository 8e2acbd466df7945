#include "console.h"

#ifdef Q_OS_WIN
#include <cstring>
#include <QStringDecoder>
#include <qt_windows.h>
#endif

namespace tfp::cli {

#ifdef Q_OS_WIN
namespace {

class ConsoleDevice final : public QIODevice
{
public:
    ConsoleDevice(HANDLE handle, OpenMode mode) : m_handle(handle)
    {
        open(mode | QIODevice::Unbuffered);
    }
    [[nodiscard]] bool isSequential() const override { return true; }

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        // The decoder keeps a character cut between two writes until its end arrives.
        const QString text = m_decoder(QByteArrayView(data, size));
        DWORD written = 0;
        if (!text.isEmpty() &&
            !WriteConsoleW(m_handle, text.utf16(), DWORD(text.size()), &written, nullptr))
            return -1;
        return size;
    }

    qint64 readData(char* data, qint64 maxSize) override
    {
        while (m_read.isEmpty()) {
            wchar_t chars[256];
            DWORD count = 0;
            if (!ReadConsoleW(m_handle, chars, 256, &count, nullptr) || count == 0)
                return -1;
            // A character typed as a surrogate pair may arrive in two reads.
            m_surrogate += QString::fromWCharArray(chars, int(count));
            qsizetype whole = m_surrogate.size();
            if (m_surrogate.back().isHighSurrogate())
                --whole;
            m_read += m_surrogate.left(whole).toUtf8();
            m_surrogate.remove(0, whole);
            // Ctrl+Z at the start of a line ends the input, as it does for a console's programs.
            if (m_read.startsWith('\x1a'))
                return -1;
        }
        const qint64 size = qMin(maxSize, qint64(m_read.size()));
        std::memcpy(data, m_read.constData(), size_t(size));
        m_read.remove(0, size);
        return size;
    }

private:
    HANDLE m_handle;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    QByteArray m_read;
    QString m_surrogate;
};

} // namespace

std::unique_ptr<QIODevice> openConsole(FILE* stream)
{
    const DWORD which = stream == stdin    ? STD_INPUT_HANDLE
                        : stream == stdout ? STD_OUTPUT_HANDLE
                                           : STD_ERROR_HANDLE;
    const HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || !GetConsoleMode(handle, &mode))
        return nullptr;
    return std::make_unique<ConsoleDevice>(handle, stream == stdin ? QIODevice::ReadOnly
                                                                   : QIODevice::WriteOnly);
}
#else
std::unique_ptr<QIODevice> openConsole(FILE*)
{
    return nullptr;
}
#endif

} // namespace tfp::cli
