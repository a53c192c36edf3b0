#pragma once

#include "app/Session.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace belmo::db {
struct PoolSettings;
}

namespace belmo::proof {

// A backup of a company: MUHASEBE/Yedek/<CODE>-YYYYMMDD-HHMMSS.mdb.
struct BackupFile {
    QString path;
    qint64 size = 0;
    QDateTime time;  // when it was made, as its name says
};

// The backups of the companies of one MUHASEBE folder, in the folder Yedek beside the company
// files: made with the online copy (the company may be read meanwhile), listed newest first,
// the last few kept per company, and put back.
class Backups {
public:
    static constexpr int kDefaultKeep = 10;

    // `companiesFolder` is the folder of the company files (MUHASEBE).
    Backups(const QString& companiesFolder, const db::PoolSettings& settings, int keep = kDefaultKeep);

    QString folder() const;  // MUHASEBE/Yedek

    // A backup of the company file now, under a name no backup has yet; the older ones beyond
    // the number kept go. Throws DbError naming the file and the cause.
    QString make(const QString& companyFile);
    // The company's backups, newest first.
    std::vector<BackupFile> list(const QString& code) const;
    // Removes the company's backups beyond the newest `keep_`.
    void prune(const QString& code);

    // Puts `backup` back in place of the company file, after a backup of the company as it is
    // now (returned). Refused, with nothing changed, when the backup is not a company database
    // of this program or when another program holds the company file.
    QString restore(const QString& companyFile, const QString& backup);

private:
    QString copyNow(const QString& companyFile);

    QString companies_;
    const db::PoolSettings& settings_;
    int keep_;
};

// The session's keeper of the target: a backup before the first write into the target's
// Yedek folder, and the way back.
class SessionBackups : public app::TargetKeeper {
public:
    SessionBackups(const db::PoolSettings& settings, int keep) : settings_(settings), keep_(keep) {}
    QString backUp(const QString& targetFile) override;
    QString restore(const QString& targetFile, const QString& backup) override;

private:
    const db::PoolSettings& settings_;
    int keep_;
};

// The company code a company file stands for (its name without ".mdb").
QString companyCode(const QString& companyFile);

}  // namespace belmo::proof
