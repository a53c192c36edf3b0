#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace belmo::app {
class Session;
}
namespace belmo::db {
class PendingDatabase;
}

namespace belmo::proof {

// A rehearsal of a run: the steps write a scratch copy of the target, made with the online
// copy into a private temporary folder and kept as long as the rehearsal; the real target is
// only read, so it stays byte for byte as it was. A target on a server is copied into a
// working database of the same server (a name no company has), dropped with the rehearsal.
class Rehearsal {
public:
    // Copies the logged-in session's target and points its HedefBag at the copy. Throws
    // DbError naming the file and the cause when the copy cannot be made.
    explicit Rehearsal(app::Session& session);
    ~Rehearsal();
    Rehearsal(const Rehearsal&) = delete;
    Rehearsal& operator=(const Rehearsal&) = delete;

    const QString& targetFile() const { return target_; }    // the real target
    const QString& scratchFile() const { return scratch_; }  // the copy the steps write

private:
    void copyOnServer(app::Session& session);

    QTemporaryDir dir_;
    std::unique_ptr<db::PendingDatabase> scratchDatabase_;
    QString target_;
    QString scratch_;
};

}  // namespace belmo::proof
