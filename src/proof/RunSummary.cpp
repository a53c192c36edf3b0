#include "proof/RunSummary.h"

#include <QFile>
#include <QJsonArray>

#include <openssl/evp.h>

#include <future>
#include <memory>
#include <vector>

namespace belmo::proof {

using namespace Qt::Literals::StringLiterals;

namespace {

QJsonValue timeStamp(const QDateTime& t)
{
    return t.isValid() ? QJsonValue(t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate)) : QJsonValue();
}

}  // namespace

QJsonObject CompanyFacts::toJson() const
{
    QJsonObject json{{u"code"_s, code},
            {u"file"_s, file},
            {u"period"_s, period},
            {u"sha256_before"_s, sha256Before},
            {u"sha256_after"_s, sha256After}};
    if (!name.isEmpty()) json.insert(u"name"_s, name);
    return json;
}

QJsonObject StepOutcome::toJson() const
{
    return {{u"key"_s, key},
            {u"caption"_s, caption},
            {u"listed"_s, listed},
            {u"ticked"_s, qint64(ticked)},
            {u"finished"_s, finished},
            {u"warnings"_s, QJsonArray::fromStringList(warnings)},
            {u"left_out"_s, QJsonArray::fromStringList(leftOut)}};
}

QJsonObject RunSummary::toJson() const
{
    QJsonArray outcomes;
    for (const StepOutcome& s : steps) outcomes.append(s.toJson());
    return {{u"report_version"_s, 1},
            {u"source"_s, source.toJson()},
            {u"target"_s, target.toJson()},
            {u"user"_s, user},
            {u"machine"_s, machine},
            {u"started"_s, timeStamp(started)},
            {u"finished"_s, timeStamp(finished)},
            {u"dry_run"_s, dryRun},
            {u"backup"_s, backup.isEmpty() ? QJsonValue() : QJsonValue(backup)},
            {u"steps"_s, outcomes}};
}

// OpenSSL's digest: it uses the processor's SHA instructions where there are any, several
// times faster than a portable implementation on a company file of some hundred megabytes.
void RunSummary::hashAfter()
{
    const QStringList hashes = sha256OfFiles({source.file, target.file});
    source.sha256After = hashes[0];
    target.sha256After = hashes[1];
}

QString sha256OfFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) return {};
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 n; (n = file.read(block.data(), block.size())) != 0;) {
        if (n < 0 || EVP_DigestUpdate(context.get(), block.constData(), std::size_t(n)) != 1) return {};
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1) return {};
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex());
}

QStringList sha256OfFiles(const QStringList& paths)
{
    std::vector<std::future<QString>> hashes;
    for (const QString& path : paths) hashes.push_back(std::async(std::launch::async, sha256OfFile, path));
    QStringList out;
    for (auto& h : hashes) out << h.get();
    return out;
}

}  // namespace belmo::proof
