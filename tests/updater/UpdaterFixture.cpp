#include "UpdaterFixture.h"

#include "Database.h"
#include "Globals.h"
#include "IfoFiles.h"
#include "Paths.h"
#include "Publisher.h"
#include "Query.h"
#include "UpdateFiles.h"
#include "UpdateSignature.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

QString LabelText(const QWidget& window, const char16_t* name)
{
    const auto* label = window.findChild<QLabel*>(QString::fromUtf16(name));
    return label ? label->text() : u"(없음)"_s;
}

void UpdaterCase::SetUp()
{
    SURIBALL_REQUIRE_SERVER(GetParam(), true);
    OpenSystemDb();
    install.messages.clear();
}

Connection UpdaterCase::server() const { return ConnectServer(ServerLocation::ofInstall()); }

Connection UpdaterCase::owner() const { return ServerOwnerConnection(GetParam()); }

QByteArray UpdaterCase::secretKey() const
{
    return UpdateFiles::ReadKeyFile(install.path(u"SERVER/VELTRA1.key"_s), UpdateSignature::kSecretKeyBytes);
}

void UpdaterCase::publish(const QString& stamp, const QList<QPair<QString, QByteArray>>& targetsAndContent)
{
    QTemporaryDir sources;
    QList<Publisher::Item> items;
    int n = 0;
    for (const auto& [target, content] : targetsAndContent) {
        const QString file = QDir(sources.path()).filePath(QString::number(++n));
        WriteBytes(file, content);
        items.append({file, target});
    }
    Publisher::Publish(PublisherConnection(GetParam()), stamp, secretKey(), items);
}

void UpdaterCase::insertRow(const QString& name,
                            const QString& target,
                            const QVariant& size,
                            const QString& date,
                            const QVariant& bytes,
                            const QVariant& signature)
{
    Execute(owner(),
            u"INSERT INTO Update1 (Name1,File1,Size1,Date1,Bin1,Sig1) VALUES (?,?,?,?,?,?)"_s,
            {name, target, size, date, bytes, signature});
}

QByteArray
UpdaterCase::sign(const QString& name, const QString& target, const QString& date, const QByteArray& bytes) const
{
    UpdateSignature::Stream stream({name, target, date, bytes.size()});
    stream.add(bytes);
    return stream.sign(secretKey());
}

ReleaseManifest::File UpdaterCase::described(const QString& target, const QString& date, const QByteArray& bytes)
{
    return {target.section(u'\\', -1),
            target,
            date,
            bytes.size(),
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

void UpdaterCase::offerRelease(const ReleaseManifest& release, const QByteArray& key)
{
    const QByteArray bytes = release.compose();
    const Connection o = owner();
    Execute(o, u"DELETE FROM Release1 WHERE Stamp1 = ?"_s, {release.stamp});
    Execute(o,
            u"INSERT INTO Release1 (Stamp1,Sig1,Manifest1) VALUES (?,?,?)"_s,
            {release.stamp, UpdateSignature::SignRelease(bytes, key.isEmpty() ? secretKey() : key), bytes});
    setServerFilesStamp(release.stamp);
}

void UpdaterCase::setServerFilesStamp(const QString& stamp)
{
    const Connection o = owner();
    const QString text = SqlValue(o, u"SELECT Text1 FROM Info1 WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s);
    Execute(o,
            u"UPDATE Info1 SET Text1 = ? WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s,
            {Publisher::WithFilesStamp(text, stamp)});
}

UpdateRun::Outcome UpdaterCase::runToEnd(UpdateRun& run)
{
    run.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return run.finished(); }, 60000));
    return run.outcome();
}

QString UpdaterCase::installedStamp() const
{
    return SqlValue(gSystemConn,
                    u"SELECT Value1 FROM Info1 WHERE Section1 = '업데이트' AND Name1 = '화일복사:변경날짜'"_s);
}

QStringList UpdaterCase::tempFiles() const { return QDir(InstallPaths::tempDir()).entryList(QDir::Files); }
