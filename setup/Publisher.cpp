#include "Publisher.h"

#include "DrawProgress.h"
#include "Query.h"
#include "SetupError.h"
#include "SqlError.h"
#include "Tools.h"
#include "Transaction.h"
#include "UpdateSignature.h"
#include "UpdateTargets.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace Publisher {

namespace {

constexpr qsizetype kStampStart = 41; // byte 42, counted from 1
constexpr qsizetype kStampBytes = 10;

void checkStamp(const QString& stamp)
{
    bool digits = stamp.size() == kStampBytes;
    for (QChar c : stamp)
        digits = digits && c >= u'0' && c <= u'9';
    if (!digits || !QDate::fromString(stamp.left(8), u"yyyyMMdd"_s).isValid())
        throw SetupError(u"변경날짜(--stamp)는 YYYYMMDD로 시작하는 10자리 숫자여야 합니다: "_s + stamp);
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

void Publish(const Connection& server, const QString& stamp, const QByteArray& secretKey, const QList<Item>& items)
{
    checkStamp(stamp);
    if (secretKey.size() != UpdateSignature::kSecretKeyBytes)
        throw SetupError(u"서명할 열쇠가 올바르지 않습니다."_s);
    if (items.isEmpty())
        throw SetupError(u"올릴 화일(화일=대상)을 지정하여 주십시오."_s);

    try {
        Query text(server, u"SELECT Text1 FROM Info1 WHERE IFPart1 = ? AND Name1 = ?"_s);
        text.run({u"업데이트"_s, u"추첨진행"_s});
        if (!text.next())
            throw SetupError(u"서버에 추첨진행 정보가 없습니다."_s);
        const QString progress = text.text(u"Text1"_s);
        const QString changed = WithFilesStamp(progress, stamp);
        const QString current = ByteMid(progress, 42, 10).trimmed();
        if (stamp <= current)
            throw SetupError(u"변경날짜 "_s + stamp + u"가 지금의 화일 변경날짜 "_s + current
                             + u"보다 나중이어야 합니다."_s);

        Transaction transaction(server);
        Query remove(server, u"DELETE FROM Update1 WHERE Name1 = ?"_s);
        Query insert(server, u"INSERT INTO Update1 (Name1,File1,Size1,Date1,Bin1,Sig1) VALUES (?,?,?,?,?,?)"_s);
        QSet<QString> names;
        for (const Item& item : items) {
            const QString target = UpdateTargets::WindowsPath(item.target);
            if (target.isEmpty())
                throw SetupError(u"대상이 설치 폴더 밖을 가리킵니다: "_s + item.target);
            const QString name = target.section(u'\\', -1);
            if (!UpdateTargets::NameAcceptable(name))
                throw SetupError(u"대상의 화일 이름이 올바르지 않습니다: "_s + item.target);
            if (names.contains(name.toLower()))
                throw SetupError(u"같은 이름의 대상이 둘 있습니다: "_s + name);
            names.insert(name.toLower());
            QFile file(item.file);
            if (!file.open(QIODevice::ReadOnly))
                throw SetupError(u"화일을 읽을 수 없습니다: "_s + item.file + u" ("_s + file.errorString() + u')');
            const QByteArray bytes = file.readAll();
            if (bytes.isEmpty())
                throw SetupError(u"빈 화일은 올릴 수 없습니다: "_s + item.file);
            UpdateSignature::Stream signature({name, target, stamp, bytes.size()});
            signature.add(bytes);
            remove.run({name});
            insert.run({name, target, qint64(bytes.size()), stamp, bytes, signature.sign(secretKey)});
        }
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
}

} // namespace Publisher
