#pragma once

#include <QDialog>
#include <QString>

class QBoxLayout;

namespace belmo::gui {

// The overwrite question: the description of what is about to be replaced, the question,
// and four answers. answer() is the code of the button pressed ("EVET", "HAYIR", "TUMU",
// "THAYIR"); closing the dialog any other way answers "HAYIR".
class QuestionDialog : public QDialog {
    Q_OBJECT

public:
    QuestionDialog(const QString& description, const QString& question, QWidget* parent = nullptr);

    const QString& answer() const { return answer_; }

private:
    void addAnswer(QBoxLayout* row, const QString& caption, const QString& code);

    QString answer_;
};

}  // namespace belmo::gui
