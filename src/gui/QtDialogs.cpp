#include "gui/QtDialogs.h"

#include "gui/QuestionDialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace belmo::gui {

namespace {

QMessageBox::Icon boxIcon(services::Dialogs::Icon icon)
{
    using Icon = services::Dialogs::Icon;
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString titleOrDefault(const QString& title) { return title.isEmpty() ? QtDialogs::kDefaultTitle : title; }

// Some messages separate their lines with a bare carriage return; the box breaks lines at "\n".
QString lines(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n'); }

// Details of a few lines (the file and the cause of an error) are shown in the box under the
// text; a list longer than that waits behind the details button.
constexpr int kVisibleDetailLines = 3;

void setDetails(QMessageBox& box, const QString& details)
{
    const QString shown = lines(details);
    if (shown.count(u'\n') < kVisibleDetailLines)
        box.setInformativeText(shown);
    else
        box.setDetailedText(shown);
}

}  // namespace

void QtDialogs::message(const QString& text, const QString& title, Icon icon, const QString& details)
{
    QMessageBox box(boxIcon(icon), titleOrDefault(title), lines(text), QMessageBox::NoButton, QApplication::activeWindow());
    setDetails(box, details);
    box.addButton(QStringLiteral("Tamam"), QMessageBox::AcceptRole);
    box.exec();
}

bool QtDialogs::ask(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Question, titleOrDefault(title), lines(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* yes = box.addButton(QStringLiteral("Evet"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Hayır"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString QtDialogs::askOverwrite(const QString& description, const QString& question)
{
    QuestionDialog dialog(description, question, QApplication::activeWindow());
    dialog.exec();
    return dialog.answer();
}

}  // namespace belmo::gui
