#pragma once

#include "console/StepCatalogue.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "services/Dialogs.h"
#include "services/Posting.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace belmo::widgets {
class Activity;
}

namespace belmo::console {

class Step;
class StepHost;

// A window busy with long work for the time of the scope: the pool's files tell it of the
// locks they wait for and of their long statements, so that it repaints and can be
// cancelled. A scope within another one leaves the outer one in charge.
class BusyScope {
public:
    BusyScope(widgets::Activity& activity, db::PoolSettings& settings);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    void end();  // before the scope ends: the messages that follow hold no input

private:
    widgets::Activity& activity_;
    db::PoolSettings& settings_;
    bool owner_ = false;
};

// A step's menu button: its action (a panel's views and loader, or a step that runs at once)
// with the window busy, an error reported as every handler reports it; the user's cancel of
// a load leaves the panel as it was and says so.
void runMenuAction(StepHost& host, Step& step);

// A message a step shows once its transfer has finished.
struct Message {
    QString text;
    QString title{};  // empty: the program's default title
    services::Dialogs::Icon icon = services::Dialogs::Icon::None;
};

// What a step's transfer writes and says.
struct TransferPlan {
    // The target's tables the step writes. Before the first write the target must have each
    // of them with every column the program's schema gives it; a missing table or column
    // stops the step with nothing written.
    QStringList writes{};
    // Shown after the commit, before the done mark.
    QList<Message> completion{};
};

// A transfer in progress, as the step's body sees it: the two companies, the writers into
// the target, the rows carried one by one, the pulse that keeps the window alive.
class Transfer {
public:
    Transfer(StepHost& host);

    db::Connection& source() { return source_; }
    db::Connection& target() { return target_; }
    // The writers of documents, writing into the target.
    services::Ledger ledger();

    // One row (a card, an entry, a definition). A statement of the row that fails on its own
    // (a value that does not fit, a row that cannot be read, a lookup that finds nothing)
    // leaves the row out: it is listed in a warning after the completion message, and the
    // step goes on. A database that cannot be used stops the step, and so does the user's
    // cancel (db::Cancelled passes through). True when the row was carried. A step whose
    // every row failed is not finished.
    template <typename Work>
    bool row(const QString& label, Work&& work)
    {
        ++rows_;
        bool carried = true;
        try {
            work();
        } catch (const db::DbError& e) {
            if (e.databaseLevel()) throw;
            failures_ << label + QStringLiteral(": ") + e.cause();
            ++failedRows_;
            carried = false;
        }
        countRow();
        pulse();
        return carried;
    }

    // A row the step does not carry because of what the source holds (a value that does not
    // read as its column's type): listed in the warning like a row that failed.
    void refuse(const QString& label, const QString& cause)
    {
        ++rows_;
        ++failedRows_;
        countRow();
        note(label, cause);
    }
    // Something of the source the step did not carry that is no row of its list (a value that
    // may have kept an item off the list): listed in the warning.
    void note(const QString& label, const QString& cause) { failures_ << label + QStringLiteral(": ") + cause; }

    // What a carried row has to tell that many rows may tell alike (a vehicle written without
    // its driver): the lines are gathered under their kind and shown once after the completion
    // messages, one message a kind, its text the kind with %1 the number of lines, the lines
    // in its details. The row is carried all the same.
    void notice(const QString& kind, const QString& line);

    struct Notice {
        QString kind;
        QStringList lines;
    };
    const QList<Notice>& notices() const { return notices_; }

    // The user does not want to go on (a No to a question): the step ends with nothing
    // written, no message and no done mark.
    [[noreturn]] void stop();

    // Lets the window repaint and move its progress bar; stops the step with db::Cancelled
    // (everything rolled back) when the user has cancelled.
    void pulse();

    const QStringList& failures() const { return failures_; }
    bool nothingCarried() const { return rows_ > 0 && failedRows_ == rows_; }

private:
    void countRow();  // on the window's activity, for its progress

    StepHost& host_;
    db::Connection source_;
    db::Connection target_;
    int rows_ = 0;
    int failedRows_ = 0;
    QStringList failures_;
    QList<Notice> notices_;
};

// Runs a step's transfer in the one frame every "Başla" (and every step that runs at once)
// shares. It opens both companies, reads the source as it stands at the start for the whole
// step, takes the target's write lock (waiting for another program that holds it), checks
// the target's tables, and runs the body in one transaction on the target. It ends in exactly one of two ways:
//  - finished: the commit succeeded, then the completion messages, a message a kind of the
//    rows' notices, a warning listing the rows that could not be carried, the done mark and,
//    in the wizard, the next step;
//  - not finished: everything the step wrote is rolled back and the error is shown with its
//    text, the file and the cause (or the user's No, silently, or the user's cancel); no
//    done mark, the wizard stops.
// True when finished.
bool runTransfer(StepHost& host, StepId id, const TransferPlan& plan, const std::function<void(Transfer&)>& body);

// The tables and columns of the schema that `db` lacks, as a failure that stops the step.
void checkTables(db::Connection& db, const QStringList& tables);

}  // namespace belmo::console
