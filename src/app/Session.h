#pragma once

#include "db/Value.h"
#include "services/Errors.h"
#include "services/Fragments.h"
#include "services/KayitDegerleri.h"
#include "services/Listing.h"
#include "services/NumberFormats.h"
#include "services/Posting.h"

#include <QString>

namespace belmo::db {
class ConnectionPool;
}
namespace belmo::services {
class Dialogs;
}

namespace belmo::app {

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
    db::Value SqlSunucu;    // server type; never assigned (Empty counts as 0: Access files)
    int HModu = 0;          // posting mode of the current-account and stock entries (2 or 3)
    int KModu = 0;          // posting mode read by the open-orders step (2 or 3)

    services::NumberFormats formats;  // FORMATAYARLA
    services::Fragments sql;          // SQLCEVIR

    services::KayitDegerleri kayitDegerleri;  // posting values, kept between calls
    services::Listing listing;                // what the panels listed at their last "Başla"

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
};

}  // namespace belmo::app
