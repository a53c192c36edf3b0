#pragma once

#include "app/ProgramFolder.h"
#include "app/ServerSettings.h"
#include "db/CompanyCopy.h"

#include <QList>
#include <QString>

// Companies moved between the files of MUHASEBE and the databases of a company server, and
// new companies made on the server. Every one is written under a working name and put in place
// only when complete and counted; a failure leaves nothing in place and throws DbError naming
// the server (never the password), the database and the cause.
namespace belmo::app {

struct CompanyCopy {
    QString from;  // how messages name the source and the target
    QString to;
    QList<db::TableCount> tables;
    QString kept;  // the name an earlier file was kept under, when one was replaced
};

// MUHASEBE/CODE.mdb -> the server database CODE. An existing one is replaced only when told to.
CompanyCopy copyToServer(const ProgramFolder& folder, const ServerSettings& server, const QString& code, bool replace,
                         const db::CopyProgress& progress = {});
// The server database CODE -> MUHASEBE/CODE.mdb. An existing file is replaced only when told
// to, and kept beside it.
CompanyCopy copyFromServer(const ProgramFolder& folder, const ServerSettings& server, const QString& code, bool replace,
                           const db::CopyProgress& progress = {});

// The company of `fromConnection` (either engine) written as a new company file at `path`, named
// `from` in messages: put in place only when every table has the source's rows; an existing file
// is replaced only when told to, and kept beside it.
CompanyCopy copyIntoFile(const QString& fromConnection, const QString& from, const QString& path, bool replace,
                         const db::CopyProgress& progress = {});

// The empty company prepareCompany makes, as the server database named by its code.
void prepareServerCompany(const ServerSettings& server, const NewCompany& company, bool replace = false);

// How messages name a company's database on the server: "<server>/<code>".
QString serverPlace(const ServerSettings& server, const QString& code);

}  // namespace belmo::app
