#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include <optional>

namespace belmo::widgets {
class Activity;
}

namespace belmo::cli {

// What the steps of a run are doing, told on standard error as they work. On a terminal one
// line is rewritten in place (the step, its rows done, of how many when that is known, and
// the seconds so far), a few times a second at most; the list a panel loads is shown there
// too. Elsewhere, and on a terminal when the step ends, one line per step: its rows, its
// seconds and whether it finished. Quiet: nothing at all.
//
// The rows are those the windows' activity counts as the transfers carry them; the runner
// says when a step's work begins and ends.
class Progress {
public:
    // Live when `err` writes to a terminal, else one line per step; nothing when quiet.
    Progress(QTextStream& err, bool quiet);
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // The window whose work is shown from now on: its pulses redraw the line, its rows count.
    void follow(widgets::Activity& activity);

    // A step's transfer begins; `rows` the rows it is to carry, when known. A transfer still
    // open ends as not finished.
    void transfer(const QString& step, std::optional<qsizetype> rows);
    // A step's panel loads its list (shown on a terminal only).
    void listing(const QString& step);
    // The work in hand has ended; a transfer's line says whether it finished. Nothing happens
    // when no work is open.
    void end(bool finished);
    // Before other output reaches the terminal: the live line is wiped and comes back at the
    // next pulse.
    void clear();

private:
    enum class Mode { Quiet, Lines, Live };
    enum class Work { None, Transfer, Listing };
    void pulse();
    QString line(bool whole) const;
    qint64 rowsDone() const;

    QTextStream& err_;
    Mode mode_ = Mode::Lines;
    int columns_ = 80;  // of the terminal
    widgets::Activity* activity_ = nullptr;
    Work work_ = Work::None;
    QString step_;
    std::optional<qsizetype> rows_;
    qint64 rowsBefore_ = 0;  // the activity's count when the step began
    QElapsedTimer started_;
    QElapsedTimer drawn_;  // since the live line was last drawn; invalid when it is not shown
};

}  // namespace belmo::cli
