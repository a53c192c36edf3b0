// The entry point of belmo_sqlite, the loadable extension that gives another program's SQLite
// (the sqlite3 shell, a database browser, a script) the program's functions and collations,
// so the company files and the views the steps leave in them read there as in the program.
#include "db/JetFunctions.h"
#include "db/SqliteApi.h"

// The routine table of the host; SQLite's extension interface keeps it in this one pointer.
SQLITE_EXTENSION_INIT1

// SQLite derives the name from the file's: "belmo_sqlite.so" loads sqlite3_belmosqlite_init.
// Registering touches no file: loaded on any database it only adds functions and collations.
extern "C" __attribute__((visibility("default"))) int sqlite3_belmosqlite_init(sqlite3* db, char** errorMessage,
                                                                               const sqlite3_api_routines* api)
{
    SQLITE_EXTENSION_INIT2(api);
    const int rc = belmo::db::jet::registerFunctions(db);
    if (rc != SQLITE_OK && errorMessage)
        *errorMessage = sqlite3_mprintf("belmo_sqlite: cannot register the functions: %s", sqlite3_errstr(rc));
    return rc;
}
