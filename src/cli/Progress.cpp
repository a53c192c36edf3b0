#include "cli/Progress.h"

#include "widgets/Controls.h"

#include <QFileDevice>

#include <sys/ioctl.h>
#include <unistd.h>

namespace belmo::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qint64 kRedrawMs = 250;  // the live line at most four times a second

// The terminal `stream` writes to, or -1.
int terminalOf(const QTextStream& stream)
{
    const auto* file = qobject_cast<const QFileDevice*>(stream.device());
    const int fd = file ? file->handle() : -1;
    return fd >= 0 && isatty(fd) ? fd : -1;
}

}  // namespace

Progress::Progress(QTextStream& err, bool quiet) : err_(err)
{
    const int terminal = terminalOf(err);
    if (quiet)
        mode_ = Mode::Quiet;
    else if (terminal >= 0)
        mode_ = Mode::Live;
    winsize size{};
    if (terminal >= 0 && ioctl(terminal, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) columns_ = size.ws_col;
}

void Progress::follow(widgets::Activity& activity)
{
    activity_ = &activity;
    activity.onPulse = [this] { pulse(); };
}

void Progress::transfer(const QString& step, std::optional<qsizetype> rows)
{
    end(false);
    work_ = Work::Transfer;
    step_ = step;
    rows_ = rows;
    rowsBefore_ = activity_ ? activity_->rowsDone() : 0;
    started_.start();
    pulse();
}

void Progress::listing(const QString& step)
{
    end(false);
    work_ = Work::Listing;
    step_ = step;
    started_.start();
    pulse();
}

void Progress::end(bool finished)
{
    if (work_ == Work::None) return;
    clear();
    if (work_ == Work::Transfer && mode_ != Mode::Quiet) {
        err_ << line(true) << ", " << (finished ? "finished" : "not finished") << "\n";
        err_.flush();
    }
    work_ = Work::None;
}

void Progress::clear()
{
    if (!drawn_.isValid()) return;
    err_ << "\r\x1b[K";
    err_.flush();
    drawn_.invalidate();
}

void Progress::pulse()
{
    if (mode_ != Mode::Live || work_ == Work::None) return;
    if (drawn_.isValid() && drawn_.elapsed() < kRedrawMs) return;
    err_ << '\r' << line(false).left(columns_ - 1) << "\x1b[K";
    err_.flush();
    drawn_.start();
}

qint64 Progress::rowsDone() const { return activity_ ? activity_->rowsDone() - rowsBefore_ : 0; }

// "depo (Depo Tanımları): 120 rows done (400 ticked), 3 s" while it works; when `whole`, the
// seconds with a tenth. A step may do more rows than were ticked (the current accounts: a
// card, then an entry per currency), so the ticked rows stand beside the count, not under it.
QString Progress::line(bool whole) const
{
    const double seconds = double(started_.elapsed()) / 1000;
    const QString time = whole ? QString::number(seconds, 'f', 1) + u" s"_s : QString::number(qint64(seconds)) + u" s"_s;
    if (work_ == Work::Listing) return step_ + u": listing, "_s + time;
    const QString ticked = rows_ ? u" (%1 ticked)"_s.arg(*rows_) : QString();
    const qint64 done = rowsDone();
    return u"%1: %2 %3 done%4, %5"_s.arg(step_).arg(done).arg(done == 1 ? u"row"_s : u"rows"_s, ticked, time);
}

}  // namespace belmo::cli
