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
    // The same of a company database on a server (its connection string): the backup is a
    // company file of this folder's Yedek, written through the client from one snapshot.
    QString makeOfServer(const QString& companyConnection);
    // The company's backups, newest first.
    std::vector<BackupFile> list(const QString& code) const;
    // Removes the company's backups beyond the newest `keep_`.
    void prune(const QString& code);

    // Puts `backup` back in place of the company file, after a backup of the company as it is
    // now (returned). Refused, with nothing changed, when the backup is not a company database
    // of this program or when another program holds the company file.
    QString restore(const QString& companyFile, const QString& backup);
    // The same into a company database on a server: its tables emptied and filled from the
    // backup in one transaction, so a failure leaves the database as it was.
    QString restoreOnServer(const QString& companyConnection, const QString& backup);

private:
    QString newBackupPath(const QString& code) const;
    QString copyNow(const QString& companyFile);
    QString copyNowOfServer(const QString& companyConnection);

    QString companies_;
    const db::PoolSettings& settings_;
    int keep_;
};

// The session's keeper of the target: a backup before the first write into the target's
// Yedek folder (MUHASEBE/Yedek of the program folder for a company on a server), and the way
// back.
class SessionBackups : public app::TargetKeeper {
public:
    SessionBackups(const db::PoolSettings& settings, int keep) : settings_(settings), keep_(keep) {}
    QString backUp(const app::Session& session) override;
    QString restore(const app::Session& session, const QString& backup) override;

private:
    const db::PoolSettings& settings_;
    int keep_;
};

// The company code a company file stands for (its name without ".mdb").
QString companyCode(const QString& companyFile);

}  // namespace belmo::proof
