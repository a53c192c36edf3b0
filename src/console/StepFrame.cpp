#include "console/StepFrame.h"

#include "app/Session.h"
#include "console/Step.h"
#include "db/Schema.h"
#include "db/SqliteFile.h"
#include "services/Errors.h"
#include "widgets/Controls.h"

#include <algorithm>

namespace belmo::console {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kTitle = u"Belmo"_s;
const QString kCancelled = u"İşlem iptal edildi; hedef veri tabanına hiçbir şey yazılmadı."_s;
const QString kLoadCancelled = u"Listenin yüklenmesi iptal edildi; önceki liste duruyor."_s;
const QString kNothingCarried = u"Hiçbir kayıt aktarılamadı; hedef veri tabanına hiçbir şey yazılmadı."_s;
const QString kNotCarried = u"Aşağıdaki kayıtlar aktarılamadı:"_s;
constexpr int kListedFailures = 15;

// Thrown by Transfer::stop(): the user's No.
struct Stopped {};

// The rows that could not be carried, one a line, the first few of a long list.
QString listed(const QStringList& failures)
{
    QStringList lines = failures.mid(0, kListedFailures);
    if (failures.size() > kListedFailures)
        lines << u"… ve %1 kayıt daha"_s.arg(failures.size() - kListedFailures);
    return lines.join(u'\r');
}

}  // namespace

BusyScope::BusyScope(widgets::Activity& activity, db::PoolSettings& settings) : activity_(activity), settings_(settings)
{
    if (activity_.busy()) return;  // within a scope already: that one ends it
    owner_ = true;
    activity_.begin();
    settings_.onLockWait = [this](const QString& path, int waitedMs) {
        activity_.setStatus(u"waiting for %1 (locked by another program) … %2 s"_s.arg(path).arg(waitedMs / 1000));
        activity_.pulse();
        return !activity_.cancelRequested();
    };
    settings_.onLongWork = [this] {
        activity_.pulse();
        return !activity_.cancelRequested();
    };
}

BusyScope::~BusyScope() { end(); }

void BusyScope::end()
{
    if (!owner_) return;
    owner_ = false;
    settings_.onLockWait = nullptr;
    settings_.onLongWork = nullptr;
    activity_.end();
}

void runMenuAction(StepHost& host, Step& step)
{
    BusyScope busy(host.activity(), host.session().pool().settings());
    try {
        services::handle(host.session().errors(), [&step] { step.menuAction(); });
    } catch (const db::Cancelled&) {
        // A step that runs at once says so itself: what is cancelled here is a load, which
        // left its panel as it was and did not bring it forward.
        busy.end();
        host.session().dialogs().message(kLoadCancelled, kTitle);
    }
}

Transfer::Transfer(StepHost& host) : host_(host), source_(host.session().pool()), target_(host.session().pool()) {}

services::Ledger Transfer::ledger() { return host_.session().ledger(target_); }

void Transfer::stop() { throw Stopped{}; }

void Transfer::notice(const QString& kind, const QString& line)
{
    auto same = std::find_if(notices_.begin(), notices_.end(), [&kind](const Notice& n) { return n.kind == kind; });
    if (same == notices_.end()) same = notices_.insert(notices_.end(), Notice{kind, {}});
    same->lines << line;
}

void Transfer::countRow() { host_.activity().countRow(); }

void Transfer::pulse()
{
    widgets::Activity& activity = host_.activity();
    activity.setStatus({});
    activity.pulse();
    if (activity.cancelRequested()) throw db::Cancelled();
}

void checkTables(db::Connection& db, const QStringList& tables)
{
    const QString file = db.file()->path();
    for (const QString& name : tables) {
        const db::schema::Table* table = db::schema::findTable(db::schema::companyTables(), name);
        Q_ASSERT(table);
        const QStringList present = db.columns(table->name);
        if (present.isEmpty())
            throw db::DbError(db::err::NoSuchTable, u"Table or query not found: "_s + table->name,
                              db::DbError::Kind::Database, file, u"no such table: "_s + table->name);
        for (const db::schema::Column& column : table->columns) {
            if (present.contains(column.name, Qt::CaseInsensitive)) continue;
            const QString what = table->name + u'.' + column.name;
            throw db::DbError(db::err::MissingParameter, u"No value given for one or more required parameters: "_s + what,
                              db::DbError::Kind::Database, file, u"no such column: "_s + what);
        }
    }
}

bool runTransfer(StepHost& host, StepId id, const TransferPlan& plan, const std::function<void(Transfer&)>& body)
{
    app::Session& session = host.session();
    services::Dialogs& dialogs = session.dialogs();
    widgets::Activity& activity = host.activity();
    BusyScope busy(activity, session.pool().settings());
    Transfer transfer(host);
    try {
        session.beforeTargetWrite();  // the backup of the login's first write
        transfer.source().open(session.KaynakBag);
        transfer.target().open(session.HedefBag);
        // The source as it stands now for the whole step, and the target's write lock.
        db::TransactionScope snapshot(transfer.source(), db::TransactionScope::Mode::Read);
        db::TransactionScope transaction(transfer.target());
        checkTables(transfer.target(), plan.writes);
        body(transfer);
        if (transfer.nothingCarried())
            throw db::DbError(0, kNothingCarried, db::DbError::Kind::Database, {}, listed(transfer.failures()));
        transfer.pulse();
        transaction.commit();
        session.targetCommitted();
    } catch (const Stopped&) {
        return false;
    } catch (const db::Cancelled&) {
        busy.end();
        dialogs.message(kCancelled, kTitle);
        return false;
    } catch (const db::DbError& e) {
        busy.end();
        if (transfer.nothingCarried())
            dialogs.message(kNothingCarried + u'\r' + listed(transfer.failures()), kTitle, services::Dialogs::Icon::Critical);
        else
            services::reportError(session.errors(), e);
        return false;
    }
    busy.end();
    for (const Message& m : plan.completion) dialogs.message(m.text, m.title, m.icon);
    for (const Transfer::Notice& n : transfer.notices())
        dialogs.message(n.kind.arg(n.lines.size()), kTitle, services::Dialogs::Icon::Exclamation, n.lines.join(u'\n'));
    if (!transfer.failures().isEmpty())
        dialogs.message(kNotCarried + u'\r' + listed(transfer.failures()), kTitle, services::Dialogs::Icon::Exclamation);
    host.stepFinished(id);
    return true;
}

}  // namespace belmo::console
