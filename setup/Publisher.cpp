#include "Publisher.h"

#include "Clock.h"
#include "Query.h"
#include "ServerCatalog.h"
#include "SetupError.h"
#include "SqlError.h"
#include "Tools.h"
#include "Transaction.h"
#include "UpdateFiles.h"
#include "UpdateSignature.h"
#include "UpdateTargets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSaveFile>
#include <QSet>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace Publisher {

namespace {

constexpr qsizetype kStampStart = 41; // byte 42, counted from 1
constexpr qsizetype kStampBytes = 10;
constexpr qint64 kPieceBytes = 4 * 1024 * 1024;

QString chainFile(const QString& keyFile) { return keyFile + u".chain"_s; }

// The keys of the service this one follows from, and itself.
QList<QByteArray> ourKeys(const QByteArray& secretKey, const QList<ReleaseManifest::KeyHandOver>& chain)
{
    QList<QByteArray> keys {UpdateSignature::PublicKeyOf(secretKey)};
    for (const ReleaseManifest::KeyHandOver& k : chain) {
        if (!keys.contains(k.from))
            keys.append(k.from);
    }
    return keys;
}

struct RowFacts
{
    QString name, target, date;
    qint64 size = 0;
    qint64 length = 0; // of the stored bytes
    QByteArray signature; // the row's own
};

QList<RowFacts> serverRows(const Connection& server)
{
    QList<RowFacts> rows;
    Query q(server, u"SELECT Name1, File1, Size1, Date1, Sig1, LENGTH(Bin1) AS Len1 FROM Update1 ORDER BY Name1"_s);
    q.run();
    while (q.next()) {
        rows.append({q.text(u"Name1"_s),
                     q.text(u"File1"_s),
                     q.text(u"Date1"_s),
                     q.integer(u"Size1"_s),
                     q.integer(u"Len1"_s),
                     q.value(u"Sig1"_s).toByteArray()});
    }
    return rows;
}

struct Streamed
{
    QByteArray sha256;
    bool rowSigned = false; // the row's own signature holds under one of the keys
};

// A row's bytes read piece by piece, never whole.
Streamed streamRow(const Connection& server, const RowFacts& row, const QList<QByteArray>& keys)
{
    std::vector<std::unique_ptr<UpdateSignature::Stream>> signatures;
    for (qsizetype i = 0; i < keys.size(); ++i)
        signatures.push_back(std::make_unique<UpdateSignature::Stream>(
            UpdateSignature::FileFacts {row.name, row.target, row.date, row.size}));
    UpdateSignature::Sha256 hash;
    Query piece(server, u"SELECT substr(Bin1, ?, ?) AS Part1 FROM Update1 WHERE Name1 = ?"_s);
    for (qint64 got = 0; got < row.length;) {
        piece.run({got + 1, kPieceBytes, row.name});
        const QByteArray part = piece.next() ? piece.value(u"Part1"_s).toByteArray() : QByteArray();
        if (part.isEmpty())
            break;
        hash.add(part);
        for (auto& s : signatures)
            s->add(part);
        got += part.size();
    }
    Streamed streamed {hash.result(), false};
    for (qsizetype i = 0; i < keys.size() && !streamed.rowSigned; ++i)
        streamed.rowSigned = signatures[size_t(i)]->verify(row.signature, keys[i]);
    return streamed;
}

void checkStamp(const QString& stamp)
{
    if (!ReleaseManifest::ValidStamp(stamp))
        throw SetupError(u"변경날짜(--stamp)는 YYYYMMDD로 시작하는 10자리 숫자여야 합니다: "_s + stamp);
}

struct Base
{
    QString stamp;
    QList<ReleaseManifest::File> files;
    QStringList unsignedReleases; // Release1 rows no key of ours signed
};

// The newest release one of our keys signed.
Base lastRelease(const Connection& server, const QList<QByteArray>& keys)
{
    Base base;
    Query releases(server, u"SELECT Stamp1, Manifest1, Sig1 FROM Release1 ORDER BY Stamp1 DESC"_s);
    releases.run();
    bool found = false;
    while (releases.next()) {
        const QString stamp = releases.text(u"Stamp1"_s);
        const QByteArray bytes = releases.value(u"Manifest1"_s).toByteArray();
        const QByteArray signature = releases.value(u"Sig1"_s).toByteArray();
        bool ours = false;
        for (const QByteArray& key : keys)
            ours = ours || UpdateSignature::VerifyRelease(bytes, signature, key);
        const std::optional<ReleaseManifest> manifest = ours ? ReleaseManifest::parse(bytes, nullptr) : std::nullopt;
        if (!manifest || manifest->stamp != stamp) {
            base.unsignedReleases.append(stamp);
            continue;
        }
        if (!found) {
            found = true;
            base.stamp = stamp;
            base.files = manifest->files;
        }
    }
    return base;
}

} // namespace

Item ParseItem(const QString& argument)
{
    const qsizetype equals = argument.indexOf(u'=');
    if (equals <= 0 || equals == argument.size() - 1)
        throw SetupError(u"화일=대상 형식이 아닙니다: "_s + argument);
    Item item {argument.left(equals), UpdateTargets::WindowsPath(argument.mid(equals + 1))};
    if (item.target.isEmpty())
        throw SetupError(u"대상이 설치 폴더("_s + QString::fromUtf16(UpdateTargets::kWindowsRoot)
                         + u") 밖을 가리킵니다: "_s + argument.mid(equals + 1));
    return item;
}

QString KeyBesideServer(const QString& serverFile)
{
    const QFileInfo info(serverFile);
    return info.absoluteDir().filePath(info.completeBaseName() + u".key"_s);
}

QList<ReleaseManifest::KeyHandOver> ReadChain(const QString& keyFile)
{
    QList<ReleaseManifest::KeyHandOver> chain;
    QFile file(chainFile(keyFile));
    if (!file.exists())
        return chain;
    if (!file.open(QIODevice::ReadOnly))
        throw SetupError(u"열쇠 바꿈 화일을 읽을 수 없습니다: "_s + file.fileName());
    // One line per hand-over: the old public key, the new one and the old key's signature, in base64.
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (line.trimmed().isEmpty())
            continue;
        const QByteArray from = parts.size() == 3 ? QByteArray::fromBase64(parts[0]) : QByteArray();
        const QByteArray to = parts.size() == 3 ? QByteArray::fromBase64(parts[1]) : QByteArray();
        const QByteArray signature = parts.size() == 3 ? QByteArray::fromBase64(parts[2]) : QByteArray();
        if (!UpdateSignature::VerifyKeyHandOver(to, signature, from))
            throw SetupError(u"열쇠 바꿈 화일이 올바르지 않습니다: "_s + file.fileName());
        chain.append({from, to, signature});
    }
    return chain;
}

void RotateKey(const QString& oldKeyFile, const QString& newKeyFile)
{
    const QByteArray oldSecret = UpdateFiles::ReadKeyFile(oldKeyFile, UpdateSignature::kSecretKeyBytes);
    if (oldSecret.isEmpty())
        throw SetupError(u"지금의 서명 열쇠를 읽을 수 없습니다: "_s + oldKeyFile);
    QByteArray newSecret = UpdateFiles::ReadKeyFile(newKeyFile, UpdateSignature::kSecretKeyBytes);
    QString error;
    if (newSecret.isEmpty()) {
        if (QFileInfo::exists(newKeyFile))
            throw SetupError(u"새 서명 열쇠 화일이 열쇠가 아닙니다: "_s + newKeyFile);
        const UpdateSignature::KeyPair pair = UpdateSignature::Generate();
        if (!UpdateFiles::WriteKeyFile(newKeyFile, pair.secretKey, true, &error)
            || !UpdateFiles::WriteKeyFile(newKeyFile + u".pub"_s, pair.publicKey, false, &error))
            throw SetupError(u"열쇠 화일을 쓸 수 없습니다: "_s + error);
        newSecret = pair.secretKey;
    }
    const QByteArray from = UpdateSignature::PublicKeyOf(oldSecret);
    const QByteArray to = UpdateSignature::PublicKeyOf(newSecret);
    if (from == to)
        throw SetupError(u"새 열쇠가 지금의 열쇠와 같습니다."_s);
    QList<ReleaseManifest::KeyHandOver> chain = ReadChain(oldKeyFile);
    chain.append({from, to, UpdateSignature::SignKeyHandOver(to, oldSecret)});
    QByteArray text;
    for (const ReleaseManifest::KeyHandOver& k : chain)
        text += k.from.toBase64() + ' ' + k.to.toBase64() + ' ' + k.signature.toBase64() + '\n';
    QSaveFile file(chainFile(newKeyFile));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw SetupError(u"열쇠 바꿈 화일을 쓸 수 없습니다: "_s + file.fileName());
}

QString WithFilesStamp(const QString& progressText, const QString& stamp)
{
    QByteArray bytes = ToCp949(progressText);
    if (bytes.size() < kStampStart + kStampBytes)
        throw SetupError(u"서버의 추첨진행 정보가 짧아 화일 변경날짜를 적을 수 없습니다."_s);
    bytes.replace(kStampStart, kStampBytes, stamp.toLatin1());
    const QString changed = FromCp949(bytes);
    // A two-byte character across either edge of the field would be torn apart.
    if (ToCp949(changed) != bytes || ByteMid(changed, 42, 10) != stamp)
        throw SetupError(u"서버의 추첨진행 정보에서 화일 변경날짜 자리가 올바르지 않습니다."_s);
    return changed;
}

Published Publish(const Connection& server,
                  const QString& stamp,
                  const QByteArray& secretKey,
                  const QList<Item>& items,
                  const QList<ReleaseManifest::KeyHandOver>& chain)
{
    checkStamp(stamp);
    if (secretKey.size() != UpdateSignature::kSecretKeyBytes)
        throw SetupError(u"서명할 열쇠가 올바르지 않습니다."_s);
    if (items.isEmpty())
        throw SetupError(u"올릴 화일(화일=대상)을 지정하여 주십시오."_s);
    const QList<QByteArray> keys = ourKeys(secretKey, chain);

    // The new files first: nothing on the server is read or changed for a list that cannot be published.
    QMap<QString, ReleaseManifest::File> release; // by the name in lower case, in name order
    struct NewRow
    {
        ReleaseManifest::File file;
        QByteArray bytes;
    };
    std::vector<NewRow> newRows;
    for (const Item& item : items) {
        const QString target = UpdateTargets::WindowsPath(item.target);
        if (target.isEmpty())
            throw SetupError(u"대상이 설치 폴더 밖을 가리킵니다: "_s + item.target);
        const QString name = target.section(u'\\', -1);
        if (!UpdateTargets::NameAcceptable(name))
            throw SetupError(u"대상의 화일 이름이 올바르지 않습니다: "_s + item.target);
        if (release.contains(name.toLower()))
            throw SetupError(u"같은 이름의 대상이 둘 있습니다: "_s + name);
        QFile file(item.file);
        if (!file.open(QIODevice::ReadOnly))
            throw SetupError(u"화일을 읽을 수 없습니다: "_s + item.file + u" ("_s + file.errorString() + u')');
        const QByteArray bytes = file.readAll();
        if (bytes.isEmpty())
            throw SetupError(u"빈 화일은 올릴 수 없습니다: "_s + item.file);
        UpdateSignature::Sha256 hash;
        hash.add(bytes);
        const ReleaseManifest::File facts {name, target, stamp, bytes.size(), hash.result()};
        release.insert(name.toLower(), facts);
        newRows.push_back({facts, bytes});
    }

    Published published;
    try {
        // The stand-in's file of an older demo gets the releases' table here; a PostgreSQL catalog gets it
        // from the administrator's `secure-members`, since the publisher creates nothing.
        if (server.engine() == Connection::Engine::SQLite)
            ServerCatalog::addReleaseTable(server);
        Query text(server, u"SELECT Text1 FROM Info1 WHERE IFPart1 = ? AND Name1 = ?"_s);
        text.run({u"업데이트"_s, u"추첨진행"_s});
        if (!text.next())
            throw SetupError(u"서버에 추첨진행 정보가 없습니다."_s);
        const QString progress = text.text(u"Text1"_s);
        const QString changed = WithFilesStamp(progress, stamp);

        const Base base = lastRelease(server, keys);
        published.previous = base.stamp;

        // The files of the last release stay in this one, each as the server holds it, checked byte by byte.
        const QList<RowFacts> rows = serverRows(server);
        QHash<QString, RowFacts> rowByName;
        for (const RowFacts& row : rows)
            rowByName.insert(row.name, row);
        QList<ReleaseManifest::File> carried;
        if (!base.stamp.isEmpty()) {
            carried = base.files;
        } else {
            // Before the first signed release: every row still signed on its own by one of our keys.
            for (const RowFacts& row : rows) {
                if (!ReleaseManifest::ValidStamp(row.date) || row.size <= 0 || row.length != row.size)
                    continue;
                const Streamed streamed = streamRow(server, row, keys);
                if (streamed.rowSigned)
                    carried.append({row.name, row.target, row.date, row.size, streamed.sha256});
            }
        }
        // Installs refuse a release that is not later than theirs. After the first signed release that is
        // the last one; before it, the text's stamp, which installs took over when they were made, and
        // the newest file signed on its own. The text is anyone's to write: a stamp of a day still to
        // come was not the service's, and does not hold publishing up.
        QString floor = base.stamp;
        if (floor.isEmpty()) {
            const QString text = ByteMid(progress, 42, 10).trimmed();
            if (text.left(8) <= Clock::today().toString(u"yyyyMMdd"_s))
                floor = text;
            for (const ReleaseManifest::File& file : std::as_const(carried))
                floor = qMax(floor, file.date);
        }
        if (stamp <= floor)
            throw SetupError(u"변경날짜 "_s + stamp + u"가 "_s
                             + (base.stamp.isEmpty() ? u"지금의 화일 변경날짜 "_s : u"마지막 릴리스의 변경날짜 "_s)
                             + floor + u"보다 나중이어야 합니다."_s);

        for (const ReleaseManifest::File& file : std::as_const(carried)) {
            if (release.contains(file.name.toLower()))
                continue;
            const auto row = rowByName.constFind(file.name);
            const bool whole = row != rowByName.cend() && row->target == file.target && row->date == file.date
                && row->size == file.size && row->length == file.size
                && streamRow(server, *row, {}).sha256 == file.sha256;
            if (!whole)
                throw SetupError(u"서버의 화일 ["_s + file.name
                                 + u"]이 마지막 릴리스와 다릅니다. 그 화일을 다시 올려 주십시오: "_s + file.target);
            release.insert(file.name.toLower(), file);
        }

        ReleaseManifest manifest;
        manifest.stamp = stamp;
        manifest.keys = chain;
        manifest.files = release.values();
        const QByteArray description = manifest.compose();

        Transaction transaction(server);
        QSet<QString> kept;
        for (const ReleaseManifest::File& file : std::as_const(manifest.files))
            kept.insert(file.name);
        for (const RowFacts& row : rows) {
            if (!kept.contains(row.name)) {
                Execute(server, u"DELETE FROM Update1 WHERE Name1 = ?"_s, {row.name});
                published.dropped.append(u"Update1: "_s + row.name);
            }
        }
        Query remove(server, u"DELETE FROM Update1 WHERE Name1 = ?"_s);
        Query insert(server, u"INSERT INTO Update1 (Name1,File1,Size1,Date1,Bin1,Sig1) VALUES (?,?,?,?,?,?)"_s);
        for (const NewRow& row : newRows) {
            const ReleaseManifest::File& f = row.file;
            // Updaters from before releases were signed check each file on its own.
            UpdateSignature::Stream signature({f.name, f.target, f.date, f.size});
            signature.add(row.bytes);
            remove.run({f.name});
            insert.run({f.name, f.target, f.size, f.date, row.bytes, signature.sign(secretKey)});
        }
        for (const QString& other : base.unsignedReleases) {
            Execute(server, u"DELETE FROM Release1 WHERE Stamp1 = ?"_s, {other});
            published.dropped.append(u"Release1: "_s + other);
        }
        Execute(server,
                u"INSERT INTO Release1 (Stamp1,Sig1,Manifest1) VALUES (?,?,?)"_s,
                {stamp, UpdateSignature::SignRelease(description, secretKey), description});
        if (server.engine() == Connection::Engine::PostgreSQL) {
            // The server's own function writes the files stamp and nothing else of the text; only the
            // publisher's login may call it.
            Query set(server, u"SELECT set_files_stamp(?)"_s);
            set.run({stamp});
        } else {
            Execute(server,
                    u"UPDATE Info1 SET Text1 = ? WHERE IFPart1 = ? AND Name1 = ?"_s,
                    {changed, u"업데이트"_s, u"추첨진행"_s});
        }
        transaction.commit();
    } catch (const SqlError& error) {
        throw SetupError(u"서버에 올리지 못하였습니다: "_s + error.message());
    }
    return published;
}

} // namespace Publisher
