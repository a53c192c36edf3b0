#pragma once

#include "db/Value.h"
#include "services/Errors.h"
#include "services/Fragments.h"
#include "services/KayitDegerleri.h"
#include "services/Listing.h"
#include "services/NumberFormats.h"
#include "services/Posting.h"

#include <QString>

#include <functional>

namespace belmo::db {
class ConnectionPool;
}
namespace belmo::services {
class Dialogs;
}

namespace belmo::app {

class Session;

// What keeps the target safe: a backup taken before a login's first write into it, and the
// way back to one. The application gives the session its keeper; without one (a rehearsal on
// a scratch copy) no backup is made.
class TargetKeeper {
public:
    virtual ~TargetKeeper() = default;
    // A backup of the session's target (HedefBag); the backup file's path. Throws db::DbError
    // naming the company and the cause.
    virtual QString backUp(const Session& session) = 0;
    // Puts `backup` back in place of the target after a backup of the target as it is now
    // (returned). Throws db::DbError when refused, with nothing changed.
    virtual QString restore(const Session& session, const QString& backup) = 0;
};

// The values a run keeps from start-up and login until the program ends, under the names
// the system gives them, with the connection pool every routine opens its connections from
// and the dialogs through which it reaches the user. The application owns one Session and
// passes it by reference; there is no other shared state.
class Session {
public:
    Session(db::ConnectionPool& pool, services::Dialogs& dialogs) : pool_(pool), dialogs_(dialogs) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    db::ConnectionPool& pool() const { return pool_; }
    services::Dialogs& dialogs() const { return dialogs_; }

    // Start-up.
    QString ProgramKlasoru;  // program folder; every path is built from it
    QString AyarBag;         // connection string of config.mdb
    int TemaNo = 0;          // colour scheme of the panel frames

    // Login.
    QString KaynakBag;      // source company; also the database of the posting writers and views
    QString HedefBag;       // target company
    QString KullaniciKodu;  // USERCODE of the user; in every header and view name
    QString KullaniciAdi;   // USERAD of the user, as the console's status line shows it
    db::Value SqlSunucu;    // server type: 1 when the companies are on a server, Empty (as 0) for files
    int HModu = 0;          // posting mode of the current-account and stock entries (2 or 3)
    int KModu = 0;          // posting mode read by the open-orders step (2 or 3)

    services::NumberFormats formats;  // FORMATAYARLA
    services::Fragments sql;          // SQLCEVIR

    services::KayitDegerleri kayitDegerleri;  // posting values, kept between calls
    services::Listing listing;                // what the panels listed at their last "Başla"

    // Called by every transfer before it writes the target: the first call in this login backs
    // the target up through the keeper; a backup that cannot be made throws db::DbError, and
    // the transfer stops before its first write (a later one tries again).
    void beforeTargetWrite();
    // A transfer committed its writes into the target.
    void targetCommitted() { targetWritten_ = true; }
    TargetKeeper* keeper = nullptr;
    // Told once, before the first write of the login, with the backup made (empty without
    // keeper).
    std::function<void(const QString& backup)> onFirstWrite;
    // Something was written into the target in this login.
    bool targetWritten() const { return targetWritten_; }
    const QString& backup() const { return backup_; }
    // The file HedefBag names; on a server "server/database", as messages name it.
    QString targetFile() const;
    // The backup of this login put back in place of the target; the backup of the state it
    // replaced. Throws db::DbError when refused or when there is no backup.
    QString restoreBackup();

    // The error texts of config.mdb and the dialogs, for HATAMESAJI.
    services::ErrorLookup errors() const { return {pool_, AyarBag, dialogs_}; }
    // The writers, writing into `company` with this run's posting values and user code.
    services::Ledger ledger(db::Connection& company)
    {
        return {company, kayitDegerleri, HModu, KullaniciKodu, sql};
    }

private:
    db::ConnectionPool& pool_;
    services::Dialogs& dialogs_;
    bool backedUp_ = false;
    bool targetWritten_ = false;
    QString backup_;
};

}  // namespace belmo::app
