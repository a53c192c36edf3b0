#pragma once

#include <QString>

namespace belmo::db {

struct PoolSettings;

// Where a copy of a database goes.
enum class CopyInto {
    // A new file, made with no right for other users; an existing file is never replaced.
    NewFile,
    // An existing database whose content is replaced (putting a backup back). Nobody may hold
    // it: a file another program writes is refused at once, not waited for.
    ExistingFile,
};

// Copies the database file `from` into `to` with SQLite's online backup: the copy is the file
// as one moment saw it, while other programs go on reading it. Reading `from` waits for a
// lock another program holds as `settings` say. Throws DbError naming the file and the cause
// (the disk is full, no permission, locked by another program); a new file that could not be
// completed is removed.
void copyDatabase(const QString& from, const QString& to, CopyInto into, const PoolSettings& settings);

// Throws DbError (locked by another program) unless the file's write lock can be taken at
// once; it is let go again.
void requireUnheld(const QString& path);

}  // namespace belmo::db
