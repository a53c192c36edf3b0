#pragma once

#include "db/JetDialect.h"

#include <QList>
#include <QString>
#include <QStringList>

// One declaration of every table the program reads or writes, company and configuration
// store alike, with the Jet types of their columns. init-company, the demo and the tests
// build their files from it.
namespace belmo::db::schema {

// Jet column types and how SQLite declares them:
//   AutoNumber INTEGER PRIMARY KEY AUTOINCREMENT   (numbers are never reused, as in Jet)
//   Long       INTEGER DEFAULT 0
//   Short      SMALLINT DEFAULT 0                   (Jet Integer)
//   Double     DOUBLE DEFAULT 0
//   Text       TEXT COLLATE JETTEXT                 (case-insensitive comparison)
//   Date       DATETIME COLLATE JETDATE             (ISO text, compared as dates)
enum class Kind { AutoNumber, Long, Short, Double, Text, Date };

struct Column {
    QString name;
    Kind kind;
};

struct Index {
    QStringList columns;
    bool unique = false;
};

struct Table {
    QString name;
    QList<Column> columns;
    QList<Index> indexes;

    const Column* column(const QString& name) const;  // case-insensitive
};

// The tables of a company database (MUHASEBE/<code>.mdb).
const QList<Table>& companyTables();
// The tables of the configuration store (config.mdb).
const QList<Table>& configTables();
const Table* findTable(const QList<Table>& tables, const QString& name);

// The database password every file of the package carries.
QString databasePassword();

// CREATE TABLE and CREATE INDEX statements of one table, for a file or for a company server
// (pg::declaration's types; names as the server folds them, lower case).
QStringList createStatements(const Table& table, jet::Target target = jet::Target::File);

// The mode the program makes its files and folders with, less what the umask takes: no right
// for other users (an office may share the program folder through a group).
inline constexpr unsigned kPrivateFileMode = 0660;
inline constexpr unsigned kPrivateFolderMode = 0770;

// What a file made here says it is, for any tool that opens it: SQLite's application_id
// (the letters "BLMO") and, as its user_version, the version of the tables declared here,
// raised whenever a table or column changes. Company files and config.mdb carry both; a file
// made before they were set reads 0 for each.
inline constexpr int kApplicationId = 0x424C4D4F;
inline constexpr int kSchemaVersion = 1;

// Creates a new database file with these tables and the verifier of the password, with no
// right for other users. Refuses (DbError Unspecified, naming the file) when the file exists.
void createDatabaseFile(const QString& path, const QList<Table>& tables, const QString& password);

// A database file written under a working name and put in place only when complete, so a
// failure (full disk, an error while filling it) never leaves a file that looks finished.
class PendingFile {
public:
    explicit PendingFile(QString finalPath);
    ~PendingFile();  // removes the working file unless committed
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    const QString& workPath() const { return workPath_; }
    const QString& finalPath() const { return finalPath_; }
    // Moves the working file to its final name. An existing file is replaced only when told
    // to, and then kept beside it as "<name>.bak-<date>-<time>" (with its companion files):
    // that name is returned, empty when nothing was replaced. The replacement takes the mode
    // and owner of the file it replaces. Every connection to the working file must be closed
    // first.
    QString commit(bool replace = false);

private:
    QString finalPath_;
    QString workPath_;
    bool committed_ = false;
};

}  // namespace belmo::db::schema
