#pragma once

// The SQLite API as the db sources call it. In the program they call the library they link;
// in the loadable extension (built with BELMO_SQLITE_EXTENSION) the same calls go through the
// table of routines the host program hands the extension when it loads it, so the extension
// runs on the host's SQLite and carries none of its own.
#ifdef BELMO_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif
