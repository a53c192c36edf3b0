#pragma once

#include <QString>

namespace belmo::services {

// The only way the program reaches the user. The Qt views show message boxes, the tests
// script the answers and check every text, the headless runner answers by policy and
// prints each exchange. An empty title means the program's default title.
class Dialogs {
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };

    virtual ~Dialogs() = default;

    // A message box with an OK button. Details, when given, say what happened underneath (the
    // database file and the cause of an error): the box shows them on request.
    virtual void message(const QString& text, const QString& title = {}, Icon icon = Icon::None,
                         const QString& details = {}) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool ask(const QString& text, const QString& title = {}) = 0;
    // The modal question of SORUSOR: shows the description and the question and returns the
    // code of the answer chosen (one of the codes below).
    virtual QString askOverwrite(const QString& description, const QString& question) = 0;
};

// The answer codes of the SORUSOR question. Its callers test the three "no"/"all" codes and
// take anything else as yes.
namespace answer {
inline const QString kYes = QStringLiteral("EVET");
inline const QString kNo = QStringLiteral("HAYIR");
inline const QString kNoToAll = QStringLiteral("THAYIR");
inline const QString kYesToAll = QStringLiteral("TUMU");
}  // namespace answer

}  // namespace belmo::services
