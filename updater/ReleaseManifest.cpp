#include "ReleaseManifest.h"

#include "UpdateSignature.h"
#include "UpdateTargets.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

const QString kFormat = u"suriball release 1"_s;

// JSON numbers are doubles: sizes beyond 2^53 bytes cannot be said exactly and are refused.
constexpr double kLargestSize = 9007199254740992.0;

std::optional<QByteArray> base64(const QJsonValue& value, qsizetype bytes)
{
    if (!value.isString())
        return std::nullopt;
    const auto decoded
        = QByteArray::fromBase64Encoding(value.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != bytes)
        return std::nullopt;
    return decoded.decoded;
}

} // namespace

bool ReleaseManifest::ValidStamp(const QString& stamp)
{
    if (stamp.size() != 10)
        return false;
    for (QChar c : stamp) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return QDate::fromString(stamp.left(8), u"yyyyMMdd"_s).isValid();
}

QByteArray ReleaseManifest::compose() const
{
    QJsonArray keyList;
    for (const KeyHandOver& k : keys) {
        keyList.append(QJsonObject {{u"from"_s, QString::fromLatin1(k.from.toBase64())},
                                    {u"to"_s, QString::fromLatin1(k.to.toBase64())},
                                    {u"signature"_s, QString::fromLatin1(k.signature.toBase64())}});
    }
    QJsonArray fileList;
    for (const File& f : files) {
        fileList.append(QJsonObject {{u"name"_s, f.name},
                                     {u"target"_s, f.target},
                                     {u"date"_s, f.date},
                                     {u"size"_s, double(f.size)},
                                     {u"sha256"_s, QString::fromLatin1(f.sha256.toHex())}});
    }
    const QJsonObject root {{u"format"_s, kFormat}, {u"stamp"_s, stamp}, {u"keys"_s, keyList}, {u"files"_s, fileList}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<ReleaseManifest> ReleaseManifest::parse(const QByteArray& bytes, QString* why)
{
    auto refuse = [why](const QString& reason) -> std::optional<ReleaseManifest> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (bytes.size() > kMaxBytes)
        return refuse(u"릴리스 설명이 너무 깁니다."_s);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return refuse(u"릴리스 설명을 읽을 수 없습니다."_s);
    const QJsonObject root = document.object();
    if (root.value(u"format"_s).toString() != kFormat)
        return refuse(u"릴리스 설명의 형식을 알 수 없습니다."_s);

    ReleaseManifest manifest;
    manifest.stamp = root.value(u"stamp"_s).toString();
    if (!ValidStamp(manifest.stamp))
        return refuse(u"릴리스의 변경날짜가 올바르지 않습니다: "_s + manifest.stamp);

    if (!root.value(u"keys"_s).isArray() || !root.value(u"files"_s).isArray())
        return refuse(u"릴리스 설명에 열쇠나 화일 목록이 없습니다."_s);
    for (const QJsonValue& value : root.value(u"keys"_s).toArray()) {
        const QJsonObject k = value.toObject();
        const auto from = base64(k.value(u"from"_s), UpdateSignature::kPublicKeyBytes);
        const auto to = base64(k.value(u"to"_s), UpdateSignature::kPublicKeyBytes);
        const auto signature = base64(k.value(u"signature"_s), UpdateSignature::kSignatureBytes);
        if (!from || !to || !signature)
            return refuse(u"릴리스 설명의 열쇠 바꿈이 올바르지 않습니다."_s);
        manifest.keys.append({*from, *to, *signature});
    }

    QSet<QString> names;
    for (const QJsonValue& value : root.value(u"files"_s).toArray()) {
        const QJsonObject f = value.toObject();
        File file;
        file.name = f.value(u"name"_s).toString();
        file.target = f.value(u"target"_s).toString();
        file.date = f.value(u"date"_s).toString();
        const QJsonValue size = f.value(u"size"_s);
        const QByteArray hex = f.value(u"sha256"_s).toString().toLatin1();
        const QString label = u"릴리스의 화일 ["_s + file.name + u"]: "_s;
        if (!UpdateTargets::NameAcceptable(file.name))
            return refuse(label + u"이름이 올바르지 않습니다."_s);
        if (names.contains(file.name.toLower()))
            return refuse(label + u"두 번 있습니다."_s);
        names.insert(file.name.toLower());
        if (file.target.isEmpty())
            return refuse(label + u"대상이 없습니다."_s);
        if (!ValidStamp(file.date) || file.date > manifest.stamp)
            return refuse(label + u"변경날짜가 올바르지 않습니다: "_s + file.date);
        if (!size.isDouble() || size.toDouble() < 1 || size.toDouble() > kLargestSize
            || size.toDouble() != double(qint64(size.toDouble())))
            return refuse(label + u"크기가 올바르지 않습니다."_s);
        file.size = qint64(size.toDouble());
        file.sha256 = QByteArray::fromHex(hex);
        if (hex.size() != 64 || file.sha256.size() != 32 || file.sha256.toHex() != hex.toLower())
            return refuse(label + u"SHA-256 값이 올바르지 않습니다."_s);
        manifest.files.append(file);
    }
    return manifest;
}

QByteArray ReleaseManifest::Signer(const QByteArray& bytes, const QByteArray& signature, const QByteArray& trusted)
{
    if (UpdateSignature::VerifyRelease(bytes, signature, trusted))
        return trusted;
    // The hand-overs are read before the description is known to be the service's; each one counts only
    // when the key trusted so far signed it.
    const std::optional<ReleaseManifest> unverified = parse(bytes, nullptr);
    if (!unverified)
        return QByteArray();
    QByteArray key = trusted;
    for (const KeyHandOver& k : unverified->keys) {
        if (k.from == key && UpdateSignature::VerifyKeyHandOver(k.to, k.signature, key))
            key = k.to;
    }
    if (key != trusted && UpdateSignature::VerifyRelease(bytes, signature, key))
        return key;
    return QByteArray();
}
