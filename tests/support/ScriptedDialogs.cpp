#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace belmo::test {

namespace {

const char* kindName(ScriptedDialogs::Kind kind)
{
    switch (kind) {
    case ScriptedDialogs::Kind::Message: return "message";
    case ScriptedDialogs::Kind::Question: return "question";
    case ScriptedDialogs::Kind::Overwrite: return "overwrite question";
    }
    return "?";
}

std::string describe(ScriptedDialogs::Kind kind, const QString& text, const QString& title)
{
    return std::string(kindName(kind)) + " \"" + text.toStdString() + "\" titled \"" + title.toStdString() + "\"";
}

}  // namespace

ScriptedDialogs::~ScriptedDialogs() { verify(); }

void ScriptedDialogs::expectMessage(const QString& text, const QString& title, Icon icon, const QString& details)
{
    script_.append({Kind::Message, text, title, {}, icon, details});
}

void ScriptedDialogs::expectError(const QString& text, const QStringList& detailParts)
{
    script_.append({Kind::Message, text, {}, {}, Icon::None, detailParts.join(u'\n')});
}

void ScriptedDialogs::expectQuestion(const QString& text, const QString& title, bool yes)
{
    script_.append({Kind::Question, text, title, yes ? QStringLiteral("yes") : QStringLiteral("no")});
}

void ScriptedDialogs::expectOverwrite(const QString& description, const QString& question, const QString& answerCode)
{
    script_.append({Kind::Overwrite, description, question, answerCode});
}

void ScriptedDialogs::verify()
{
    for (const Exchange& e : script_) ADD_FAILURE() << "expected " << describe(e.kind, e.text, e.title) << " was never shown";
    script_.clear();
}

QString ScriptedDialogs::play(Kind kind, const QString& text, const QString& title, Icon icon, const QString& details)
{
    shown_.append({kind, text, title, {}, icon, details});
    if (script_.isEmpty()) {
        ADD_FAILURE() << "unexpected " << describe(kind, text, title) << " with details \"" << details.toStdString() << '"';
        return {};
    }
    const Exchange next = script_.takeFirst();
    if (next.kind != kind || next.text != text || next.title != title)
        ADD_FAILURE() << "expected " << describe(next.kind, next.text, next.title) << "\n     but got "
                      << describe(kind, text, title) << " with details \"" << details.toStdString() << '"';
    else if (next.icon != icon)
        ADD_FAILURE() << describe(kind, text, title) << " shown with icon " << int(icon) << " instead of "
                      << int(next.icon);
    for (const QString& part : next.details.split(u'\n', Qt::SkipEmptyParts))
        if (!details.contains(part))
            ADD_FAILURE() << describe(kind, text, title) << " with details \"" << details.toStdString()
                          << "\" that lack \"" << part.toStdString() << "\"";
    shown_.last().answer = next.answer;
    return next.answer;
}

void ScriptedDialogs::message(const QString& text, const QString& title, Icon icon, const QString& details)
{
    play(Kind::Message, text, title, icon, details);
}

bool ScriptedDialogs::ask(const QString& text, const QString& title)
{
    return play(Kind::Question, text, title) == QStringLiteral("yes");
}

QString ScriptedDialogs::askOverwrite(const QString& description, const QString& question)
{
    return play(Kind::Overwrite, description, question);
}

}  // namespace belmo::test
