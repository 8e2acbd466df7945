// The settings store in the Windows registry, under a scratch key of its own: text values
// stored as REG_SZ and read back with the registry API, values of other types and lengths,
// and the user's key taking what the machine's key refuses.
#include "shell/settingsstore.h"

#include <memory>
#include <optional>
#include <QRandomGenerator>
#include <qt_windows.h>
#include <QTest>
#include <string>
// After the Windows types.
#include <aclapi.h>

using namespace tfp::shell;

namespace {

constexpr Setting kProbe = Setting::PlaySounds;
constexpr wchar_t kProbeName[] = L"PlaySounds";

enum class Kind
{
    Text,
    ExpandableText,
    Number
};

// What a key holds where it holds no value at all.
constexpr char kNone[] = "(none)";

// The value as the registry holds it: its type and, for text, the characters before the
// terminating NUL.
struct Stored
{
    DWORD type = REG_NONE;
    QString text;
};

class ScratchKey
{
public:
    explicit ScratchKey(HKEY root, const QString& path) : m_root(root), m_path(path.toStdWString())
    {}
    ~ScratchKey()
    {
        allowWrites();
        RegDeleteTreeW(m_root, m_path.c_str());
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    [[nodiscard]] bool put(Kind kind, const QString& text) const
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(m_root, m_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return false;
        LONG result = ERROR_SUCCESS;
        if (kind == Kind::Number) {
            const DWORD number = text.toUInt();
            result = RegSetValueExW(key, kProbeName, 0, REG_DWORD,
                                    reinterpret_cast<const BYTE*>(&number), sizeof number);
        } else {
            const std::wstring data = text.toStdWString();
            result = RegSetValueExW(key, kProbeName, 0, kind == Kind::Text ? REG_SZ : REG_EXPAND_SZ,
                                    reinterpret_cast<const BYTE*>(data.c_str()),
                                    DWORD((data.size() + 1) * sizeof(wchar_t)));
        }
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }

    // The value, or nullopt when there is none.
    [[nodiscard]] std::optional<Stored> get() const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(m_root, m_path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        Stored stored;
        wchar_t data[512] = {};
        DWORD bytes = sizeof data - sizeof(wchar_t);
        const LONG result = RegQueryValueExW(key, kProbeName, nullptr, &stored.type,
                                             reinterpret_cast<BYTE*>(data), &bytes);
        RegCloseKey(key);
        if (result != ERROR_SUCCESS)
            return std::nullopt;
        if (stored.type == REG_SZ) {
            // Written with its terminating NUL, which is not part of the text.
            const qsizetype characters = bytes / sizeof(wchar_t);
            if (characters < 1 || data[characters - 1] != L'\0')
                return std::nullopt;
            stored.text = QString::fromWCharArray(data, characters - 1);
        }
        return stored;
    }

    // Lets everyone read the key and no one write it, as the machine's key is for a
    // standard user.
    [[nodiscard]] bool refuseWrites() const { return setAccess(KEY_READ); }

private:
    bool allowWrites() const { return setAccess(KEY_ALL_ACCESS); }

    bool setAccess(DWORD access) const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(m_root, m_path.c_str(), 0, READ_CONTROL | WRITE_DAC, &key) !=
            ERROR_SUCCESS)
            return false;
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone = nullptr;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        EXPLICIT_ACCESSW entry = {};
        entry.grfAccessPermissions = access;
        entry.grfAccessMode = SET_ACCESS;
        entry.grfInheritance = NO_INHERITANCE;
        entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        entry.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
        PACL acl = nullptr;
        bool done = SetEntriesInAclW(1, &entry, nullptr, &acl) == ERROR_SUCCESS &&
                    SetSecurityInfo(key, SE_REGISTRY_KEY,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, acl, nullptr) == ERROR_SUCCESS;
        LocalFree(acl);
        FreeSid(everyone);
        RegCloseKey(key);
        return done;
    }

    HKEY m_root;
    std::wstring m_path;
};

// The text of the key's value, or kNone.
QString textIn(const ScratchKey& key)
{
    const std::optional<Stored> stored = key.get();
    return stored ? stored->text : QLatin1String(kNone);
}

} // namespace

Q_DECLARE_METATYPE(Kind)

class tst_ShellRegistry : public QObject
{
    Q_OBJECT

private:
    QString m_path;
    std::unique_ptr<ScratchKey> m_machine;
    std::unique_ptr<ScratchKey> m_user;

private slots:
    void init()
    {
        m_path = QStringLiteral("Software\\Torva\\TurnpickerTest-%1")
                     .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
        m_machine = std::make_unique<ScratchKey>(HKEY_LOCAL_MACHINE, m_path);
        m_user = std::make_unique<ScratchKey>(HKEY_CURRENT_USER, m_path);
        setRegistryKeyForTesting(m_path);
    }

    void cleanup()
    {
        setRegistryKeyForTesting(QString());
        m_machine.reset();
        m_user.reset();
    }

    void readSetting_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text with spaces") << Kind::Text << " True "
                                          << "True";
        QTest::newRow("254 characters") << Kind::Text << QString(254, u'x') << QString(254, u'x');
        QTest::newRow("255 characters") << Kind::Text << QString(255, u'x') << QString();
        QTest::newRow("a number") << Kind::Number << "1" << QString();
        // QSettings hands expandable text back as text: the one accepted difference.
        QTest::newRow("expandable text") << Kind::ExpandableText << "True"
                                         << "True";
    }

    void readSetting()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        QVERIFY(m_machine->put(kind, stored));
        QCOMPARE(ReadSetting(kProbe), expected);
    }

    void writeSetting_storesText()
    {
        QVERIFY(WriteSetting(kProbe, QStringLiteral("False")));
        const std::optional<Stored> stored = m_machine->get();
        QVERIFY(stored);
        QCOMPARE(stored->type, DWORD(REG_SZ));
        QCOMPARE(stored->text, QStringLiteral("False"));
        QVERIFY(!m_user->get());
        QCOMPARE(ReadSetting(kProbe), QStringLiteral("False"));
    }

    // Which key holds the value after a write or a delete, with the machine's key writable
    // or not, and a value of the user's there before or not.
    void machineKeyAndUserKey_data()
    {
        QTest::addColumn<bool>("machineWritable");
        QTest::addColumn<QString>("userBefore");
        QTest::addColumn<bool>("write"); // else delete
        QTest::addColumn<QString>("machineAfter");
        QTest::addColumn<QString>("userAfter");
        QTest::addColumn<QString>("read");

        QTest::newRow("write, machine writable")
            << true << kNone << true << "False" << kNone << "False";
        QTest::newRow("write, machine writable, replaces the user's")
            << true << "True" << true << "False" << kNone << "False";
        QTest::newRow("write, machine refuses") << false << kNone << true << "True"
                                                << "False"
                                                << "False";
        QTest::newRow("delete, machine writable, the user's too")
            << true << "False" << false << kNone << kNone << "";
        QTest::newRow("delete, machine refuses: hidden by an empty value")
            << false << kNone << false << "True"
            << ""
            << "";
    }

    void machineKeyAndUserKey()
    {
        QFETCH(bool, machineWritable);
        QFETCH(QString, userBefore);
        QFETCH(bool, write);
        QFETCH(QString, machineAfter);
        QFETCH(QString, userAfter);
        QFETCH(QString, read);

        QVERIFY(m_machine->put(Kind::Text, QStringLiteral("True")));
        if (!machineWritable)
            QVERIFY(m_machine->refuseWrites());
        const bool userHasOne = userBefore != QLatin1String(kNone);
        if (userHasOne)
            QVERIFY(m_user->put(Kind::Text, userBefore));
        // The user's value is read first.
        QCOMPARE(ReadSetting(kProbe), userHasOne ? userBefore : QStringLiteral("True"));

        if (write)
            QVERIFY(WriteSetting(kProbe, QStringLiteral("False")));
        else
            QCOMPARE(DeleteSetting(kProbe), QString());

        QCOMPARE(textIn(*m_machine), machineAfter);
        QCOMPARE(textIn(*m_user), userAfter);
        if (const std::optional<Stored> user = m_user->get())
            QCOMPARE(user->type, DWORD(REG_SZ));
        QCOMPARE(ReadSetting(kProbe), read);
    }
};

QTEST_GUILESS_MAIN(tst_ShellRegistry)
#include "tst_shell_registry.moc"
