#pragma once

#include "services/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace belmo::test {

// Dialogs that play a script: every message, question and overwrite question the program
// shows must be the next one expected, with the same text and title, and gets the answer
// the script gives. Anything unexpected, different or left over fails the test.
class ScriptedDialogs : public services::Dialogs {
public:
    enum class Kind { Message, Question, Overwrite };
    struct Exchange {
        Kind kind;
        QString text;   // the description of an overwrite question
        QString title;  // the question of an overwrite question
        QString answer = {};
        Icon icon = Icon::None;  // of a message
        QString details = {};    // of a message: shown, or expected to be contained
    };

    ~ScriptedDialogs() override;

    // Details, when given, are lines each of which the shown details must contain.
    void expectMessage(const QString& text, const QString& title = {}, Icon icon = Icon::None,
                       const QString& details = {});
    // An error report: the error's text, with details that contain each of the parts given
    // (the file, the cause).
    void expectError(const QString& text, const QStringList& detailParts);
    void expectQuestion(const QString& text, const QString& title, bool yes);
    void expectOverwrite(const QString& description, const QString& question, const QString& answerCode);

    // Fails the test for every expected exchange that has not happened, and forgets them.
    void verify();
    // Everything shown so far, in order.
    const QList<Exchange>& shown() const { return shown_; }

    void message(const QString& text, const QString& title, Icon icon, const QString& details) override;
    bool ask(const QString& text, const QString& title) override;
    QString askOverwrite(const QString& description, const QString& question) override;

private:
    QString play(Kind kind, const QString& text, const QString& title, Icon icon = Icon::None,
                 const QString& details = {});

    QList<Exchange> script_;
    QList<Exchange> shown_;
};

}  // namespace belmo::test
