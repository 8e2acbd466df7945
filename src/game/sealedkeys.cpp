#include "game/sealedkeys.h"

#include "game/sealed.h"
#include "game/shown.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QtEndian>

namespace tfp::sealed {
namespace {

const QByteArray kKeyHeader = "TorvaFoglineTurnpicker sealed key 1";
constexpr qint64 kLargestKeyFile = 1024;

void addField(QByteArray& bytes, const QByteArray& field)
{
    uchar length[4];
    qToBigEndian(quint32(field.size()), length);
    bytes.append(reinterpret_cast<const char*>(length), 4);
    bytes.append(field);
}

QByteArray keyText(const Key& key)
{
    const auto hex = [](const QByteArray& bytes) {
        return bytes.toHex();
    };
    return kKeyHeader + "\ngame " + hex(key.game) + "\nplayer " + QByteArray::number(key.player) +
           "\nseed " + hex(key.seed) + "\nsetup " + hex(key.setup) + "\ncommit1 " +
           hex(key.commit1) + "\ncommit2 " + (key.commit2.isEmpty() ? "-" : hex(key.commit2)) +
           "\nchecked " + QByteArray::number(key.checked) + "\n";
}

// The value of line `name`, or nullopt when the line is not "name value".
std::optional<QByteArray> lineValue(const QByteArray& line, const char* name)
{
    const QByteArray prefix = QByteArray(name) + ' ';
    if (!line.startsWith(prefix))
        return std::nullopt;
    return line.mid(prefix.size());
}

bool readKeyText(const QByteArray& text, Key& key)
{
    const QList<QByteArray> lines = text.split('\n');
    if (lines.size() != 9 || lines[0] != kKeyHeader || !lines[8].isEmpty())
        return false;
    const auto hexLine = [&](int at, const char* name, int bytes, QByteArray& out) {
        const std::optional<QByteArray> value = lineValue(lines[at], name);
        const std::optional<QByteArray> read =
            value ? readHex(QString::fromLatin1(*value), bytes) : std::nullopt;
        if (read)
            out = *read;
        return read.has_value();
    };
    const auto numberLine = [&](int at, const char* name, int highest, int& out) {
        const std::optional<QByteArray> value = lineValue(lines[at], name);
        bool ok = false;
        out = value ? value->toInt(&ok) : 0;
        return ok && out >= 0 && out <= highest && QByteArray::number(out) == *value;
    };
    Key read;
    if (!hexLine(1, "game", kGameIdBytes, read.game) || !numberLine(2, "player", 2, read.player) ||
        read.player < 1 || !hexLine(3, "seed", kSeedBytes, read.seed) ||
        !hexLine(4, "setup", kValueBytes, read.setup) ||
        !hexLine(5, "commit1", kValueBytes, read.commit1) ||
        !numberLine(7, "checked", 199, read.checked))
        return false;
    if (lines[6] != "commit2 -" && !hexLine(6, "commit2", kValueBytes, read.commit2))
        return false;
    key = read;
    return true;
}

} // namespace

QString defaultKeyFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/sealed-keys");
}

QString keyPath(const QString& folder, const QByteArray& game)
{
    return folder + u'/' + QString::fromLatin1(game.toHex()) + QStringLiteral(".key");
}

QByteArray setupDigest(const GameRecord& r, const QByteArray& game, const QByteArray& commit1)
{
    QByteArray bytes = "TFP-SEALED-SETUP";
    for (const QString& field :
         {r.GameName, r.Player1Name, r.Player2Name, QString::number(r.TotalTurns),
          QString::number(r.TurnVariance), QString::number(int(r.GameType))})
        addField(bytes, field.toUtf8());
    addField(bytes, game);
    addField(bytes, commit1);
    return hash(bytes);
}

KeyRead readKey(const QString& folder, const QByteArray& game, Key& key, QString& problem)
{
    const QString path = keyPath(folder, game);
    const QFileInfo info(path);
    if (folder.isEmpty() || (!info.exists() && !info.isSymLink()))
        return KeyRead::Missing;
    QFile file(path);
    const auto unreadable = [&](const QString& why) {
        problem = QStringLiteral("This computer's key file for the game cannot be read (%1):\r\n"
                                 "%2")
                      .arg(why, shownPath(path));
        return KeyRead::Unreadable;
    };
    if (!info.isFile())
        return unreadable(QStringLiteral("it is not a file"));
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    const QByteArray text = file.read(kLargestKeyFile + 1);
    Key read;
    if (!readKeyText(text, read) || read.game != game)
        return unreadable(QStringLiteral("it is damaged"));
    key = read;
    return KeyRead::Found;
}

bool writeKey(const QString& folder, const Key& key, QString& problem)
{
    const QString path = keyPath(folder, key.game);
    const auto failed = [&](const QString& why) {
        problem = QStringLiteral("This computer's key file for the game could not be written "
                                 "(%1):\r\n%2")
                      .arg(why, shownPath(path));
        return false;
    };
    if (folder.isEmpty())
        return failed(QStringLiteral("this user has no data folder to keep it in"));
    if (!QDir().mkpath(folder))
        return failed(QStringLiteral("its folder could not be made"));
    if (!QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return failed(QStringLiteral("its folder could not be made private"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    const QByteArray text = keyText(key);
    if (file.write(text) != text.size() || !file.commit())
        return failed(file.errorString());
    // A replaced key keeps the old one's mode; a new one is made private here, inside a
    // folder that no one else may enter already.
    if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
        return failed(QStringLiteral("it could not be made private"));
    return true;
}

} // namespace tfp::sealed
