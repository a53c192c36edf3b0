// The overwrite question: each answer button leaves its code; any other way out is "no".
// Message boxes: lines, icon and title.
#include "DemoProgram.h"

#include "gui/QtDialogs.h"
#include "gui/QuestionDialog.h"

#include "services/Dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace belmo;
using gui::QuestionDialog;
namespace answer = services::answer;

namespace {

QStringList labelTexts(QuestionDialog& dialog)
{
    QStringList texts;
    for (QLabel* l : dialog.findChildren<QLabel*>()) texts.append(l->text());
    return texts;
}

TEST(QuestionDialog, ShowsTheDescriptionAndTheQuestion)
{
    QuestionDialog dialog(QStringLiteral("Kaynak = 01 Ayşe Çınar"), QStringLiteral("Hedef = 01 üzerine kaydedilsin mi?"));
    const QStringList texts = labelTexts(dialog);
    EXPECT_TRUE(texts.contains(QStringLiteral("Kaynak = 01 Ayşe Çınar")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Hedef = 01 üzerine kaydedilsin mi?")));
}

TEST(QuestionDialog, EachButtonLeavesItsCode)
{
    const std::pair<QString, QString> buttons[] = {{QStringLiteral("Evet"), answer::kYes},
                                                   {QStringLiteral("Hayır"), answer::kNo},
                                                   {QStringLiteral("Tümüne Evet"), answer::kYesToAll},
                                                   {QStringLiteral("Tümüne Hayır"), answer::kNoToAll}};
    for (const auto& [caption, code] : buttons) {
        QuestionDialog dialog(QStringLiteral("a"), QStringLiteral("b"));
        dialog.show();
        QPushButton* b = test::buttonCalled(&dialog, caption);
        ASSERT_NE(b, nullptr) << caption.toStdString();
        b->click();
        EXPECT_EQ(dialog.answer(), code) << caption.toStdString();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(QuestionDialog, ClosingAnswersNo)
{
    QuestionDialog dialog(QStringLiteral("a"), QStringLiteral("b"));
    dialog.show();
    dialog.close();
    EXPECT_EQ(dialog.answer(), answer::kNo);
}

// A message whose lines are separated by carriage returns shows them as lines, with its icon
// and the default title; its short details (the file and the cause) are shown beside the text.
TEST(QtDialogs, AMessageWithCarriageReturnsShowsThreeLines)
{
    QString shownText, shownTitle;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QString shownDetails;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shownText = box->text();
        shownTitle = box->windowTitle();
        shownIcon = box->icon();
        shownDetails = box->informativeText();
        box->accept();
    });
    gui::QtDialogs qt;
    services::Dialogs& dialogs = qt;
    dialogs.message(QStringLiteral("Dikkat\rYeni Şirket\rbakiye"), QString(), services::Dialogs::Icon::Critical,
                    QStringLiteral("/x/HEDEF.mdb: file is read-only"));
    EXPECT_EQ(shownText, QStringLiteral("Dikkat\nYeni Şirket\nbakiye"));
    EXPECT_EQ(shownTitle, QStringLiteral("Belmo"));
    EXPECT_EQ(shownIcon, QMessageBox::Critical);
    EXPECT_EQ(shownDetails, QStringLiteral("/x/HEDEF.mdb: file is read-only"));
}

}  // namespace
