#pragma once

#include <QString>

#include <exception>
#include <string>

namespace belmo::db {

// Error numbers as a program of the package sees them in Err.Number: the signed 32-bit
// HRESULTs of the data provider and the run-time error numbers of the language. Callers
// branch on these (the carnet loader falls back on MissingParameter, the login reads
// Unspecified as "database not found"), so each failure keeps its own number.
namespace err {
inline constexpr qint32 Unspecified = -2147467259;       // 80004005: file missing, not openable, I/O
inline constexpr qint32 MissingParameter = -2147217904;  // a column name the tables lack
inline constexpr qint32 Syntax = -2147217900;            // syntax error, object already exists
inline constexpr qint32 NoSuchTable = -2147217865;       // table, query or view does not exist
inline constexpr qint32 CriteriaMismatch = -2147217913;  // type mismatch inside a statement
inline constexpr qint32 MultipleStep = -2147217887;      // value does not fit the field
inline constexpr qint32 InvalidPassword = -2147217843;   // not a valid database password
inline constexpr qint32 ItemNotFound = 3265;             // field not in the recordset
inline constexpr qint32 NoCurrentRow = 3021;             // BOF or EOF, or the row was deleted
inline constexpr qint32 NotUpdatable = 3251;             // the recordset does not support this
inline constexpr qint32 NotAllowed = 3219;               // not allowed in this context
inline constexpr qint32 ObjectClosed = 3704;             // operation on a closed object
inline constexpr qint32 ObjectOpen = 3705;               // operation on an object that is open
inline constexpr qint32 ProviderNotFound = 3706;         // unknown provider in the connection string
inline constexpr qint32 SubscriptOutOfRange = 9;         // a grid cell outside the grid
inline constexpr qint32 InvalidCall = 5;                 // invalid procedure call or argument
inline constexpr qint32 Overflow = 6;
inline constexpr qint32 TypeMismatch = 13;
inline constexpr qint32 InvalidUseOfNull = 94;
}  // namespace err

// A failure of the database client or of a conversion, with the number a program of the
// package would see and the kind of failure, which decides what a transfer step does with it:
//
// - Field: one statement of one row failed (a value that does not fit a column, a row that
//   cannot be read, a lookup that finds nothing). The regions that skip a failing statement
//   skip it and the step goes on.
// - Database: the database cannot be used as the step needs it (locked by another program
//   after waiting, read-only, disk full, I/O error, corrupt file, a table or column the step
//   writes that does not exist). Nothing skips it: the step stops and everything it wrote is
//   rolled back.
//
// The kind comes from the database's own result codes, never from the text of a message.
class DbError : public std::exception {
public:
    enum class Kind { Field, Database };

    DbError(qint32 number, QString description, Kind kind = Kind::Field, QString file = {}, QString cause = {});

    qint32 number() const { return number_; }
    const QString& description() const { return description_; }
    // The number as decimal text, as the error lookup receives it.
    QString numberText() const { return QString::number(number_); }

    Kind kind() const { return kind_; }
    bool databaseLevel() const { return kind_ == Kind::Database; }
    // The database file the failure concerns (empty when none) and what went wrong, in a
    // few words ("database is locked by another program", "no such table: Cari_H").
    const QString& file() const { return file_; }
    QString cause() const { return cause_.isEmpty() ? description_ : cause_; }
    // Where in the file it happened, as the caller that knew it said ("Cari_H, Kayit_No 17").
    const QString& where() const { return where_; }
    // "<file>: <where>: <cause>", each part when known: the line a message adds to the
    // error's text.
    QString detail() const;

    // The same failure as one that stops the step.
    DbError asDatabaseLevel() const;
    // The same failure, said of the place the caller knows: the file (an error that names
    // one already keeps it) and where in it, before any place said earlier. A conversion
    // knows only the value; the code that read it knows the file, the table and the row.
    DbError in(const QString& file, const QString& where) const;

    // The database engine's own result code behind the failure (SQLite's extended code), 0
    // for failures of the program's own checks.
    int resultCode() const { return resultCode_; }
    DbError& withResultCode(int code)
    {
        resultCode_ = code;
        return *this;
    }
    // The file refused to be written (read-only, no permission, cannot be opened for writing,
    // a write that failed): what a read-only file answers to a write.
    bool refusedWrite() const;

    const char* what() const noexcept override { return what_.c_str(); }

private:
    qint32 number_;
    QString description_;
    Kind kind_;
    QString file_;
    QString cause_;
    QString where_;
    int resultCode_ = 0;
    std::string what_;
};

// Runs work; a DbError it throws is thrown again as said of `file` and of the place that
// describe() gives, which is called only on a failure (a row's key is built only for the row
// that failed).
template <typename Describe, typename Work>
decltype(auto) inContext(const QString& file, Describe&& describe, Work&& work)
{
    try {
        return work();
    } catch (const DbError& e) {
        throw e.in(file, describe());
    }
}

// The user's cancel of long work: a statement interrupted, a lock no longer waited for, the
// step's pulse. It is no failure of the database and so no DbError: no region that skips
// failing statements and no error report catches it. The frame that runs the work (a step's
// transfer, a menu button's action) rolls back and says the work was cancelled.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled by the user"; }
};

// A file refused for a cause: "<what> '<file>': <cause>", naming the file and the cause.
DbError fileRefusal(const QString& file, const QString& what, const QString& cause);

// What the system said of a file when SQLite failed on it (errno), for the causes a user can
// act on; empty for the others.
QString systemCause(int systemErrno);

}  // namespace belmo::db
