#pragma once

#include <QJsonObject>
#include <QString>

#include <vector>

namespace belmo::console {
class Program;
}

namespace belmo::proof {

// One problem found before a carry-forward: the file it lies in, what is wrong, what to do
// about it and the steps it concerns. A blocking problem stops the run (the login refuses, a
// step stops with nothing written); a warning lets it run with a result the user should know.
struct Finding {
    enum class Severity { Blocking, Warning };
    Severity severity;
    QString file;
    QString cause;
    QString action;
    QString step;  // the steps' captions, comma-separated; empty when none in particular

    bool blocking() const { return severity == Severity::Blocking; }
    QJsonObject toJson() const;
};

// What the login is given: the program folder, the user and the two company codes.
struct CheckRequest {
    QString folder, user, password, source, target;
};

struct CheckResult {
    std::vector<Finding> findings;
    // A finding of the login's own rules (user, password, rights, the companies' files): the
    // login would not let the user in.
    bool loginRefused = false;

    int blocking() const;
    int warnings() const;
    // {"blocking": N, "warnings": N, "login_refused": bool,
    //  "findings": [{"severity", "file", "cause", "action", "step"}]}
    QJsonObject toJson() const;
    // Every finding for a person, in Turkish, one paragraph each; empty when clean.
    QString text() const;
};

// Looks at everything a run would meet, writing nothing: the login's rules for the user, the
// rights and the files; companies held by another program (without waiting); the tables and
// columns the steps read and write; the two periods; the questions the steps will ask; the
// source values the steps will leave out; the space for the backup; a target that cannot be
// written. The companies are opened read-only; the target's write lock is taken and given
// back at once, so that a lock another program holds shows here and not half-way.
CheckResult checkBeforeRun(const CheckRequest& request);

// The windows' check: when the login has opened the console, the check of the two companies
// runs, and when it finds anything one message lists every finding.
void checkWhenConsoleOpens(console::Program& program);

}  // namespace belmo::proof
