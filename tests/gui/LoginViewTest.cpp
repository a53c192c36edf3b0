// The login window's fields on screen: Enter moves on, leaving a field runs its handler
// and the model's rewrites come back into the fields.
#include "DemoProgram.h"

#include "gui/LoginView.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace belmo;

namespace {

QStringList items(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts.append(list->itemText(i));
    return texts;
}

class LoginWindow : public ::testing::Test {
protected:
    LoginWindow()
    {
        view.show();
        view.activateWindow();
        if (!QTest::qWaitForWindowActive(&view)) ADD_FAILURE() << "the login window did not become active";
        userName->setFocus(Qt::MouseFocusReason);
    }

    bool hasFocus(QWidget* w) const { return w == QApplication::focusWidget() || w->isAncestorOf(QApplication::focusWidget()); }

    test::DemoProgram demo;
    app::GIRIS& login = demo.program.login();
    gui::LoginView view{login};
    QLineEdit* userName = view.findChild<QLineEdit*>(QStringLiteral("kullaniciAdi"));
    QLineEdit* password = view.findChild<QLineEdit*>(QStringLiteral("sifre"));
    QComboBox* source = view.findChild<QComboBox*>(QStringLiteral("kaynakSirket"));
    QComboBox* target = view.findChild<QComboBox*>(QStringLiteral("hedefSirket"));
};

TEST_F(LoginWindow, EnterMovesFromUserNameToPasswordToSourceCompanyAndIsSwallowed)
{
    QSignalSpy userReturn(userName, &QLineEdit::returnPressed);
    QSignalSpy passwordReturn(password, &QLineEdit::returnPressed);
    login.sifre.setText(QStringLiteral("admin"));

    QTest::keyClick(userName, Qt::Key_Return);
    EXPECT_TRUE(hasFocus(password));
    QCoreApplication::processEvents();
    EXPECT_EQ(password->selectedText(), QStringLiteral("admin")) << "entering the password selects it";
    QTest::keyClick(password, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(hasFocus(source));
    EXPECT_EQ(userReturn.count() + passwordReturn.count(), 0);
}

TEST_F(LoginWindow, LeavingTheUserNameFillsBothListsAndTakesTheModelsText)
{
    QTest::keyClicks(userName, QStringLiteral("ADMIN'"));
    EXPECT_EQ(login.kullaniciAdi.text(), QStringLiteral("ADMIN'"));
    EXPECT_EQ(source->count(), 0);

    QTest::keyClick(userName, Qt::Key_Tab);
    EXPECT_EQ(userName->text(), QStringLiteral("ADMIN ")) << "the apostrophe becomes a blank";
    EXPECT_EQ(source->count(), 0) << "no user is called \"ADMIN \"";

    userName->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(userName, Qt::Key_End);
    QTest::keyClick(userName, Qt::Key_Backspace);
    QTest::keyClick(userName, Qt::Key_Return);
    const QStringList companies = {QStringLiteral("DEMO2025"), QStringLiteral("DEMO2026")};
    EXPECT_EQ(items(source), companies);
    EXPECT_EQ(items(target), companies);
    EXPECT_TRUE(source->currentText().isEmpty());
}

TEST_F(LoginWindow, OnaylaFirstLeavesTheFieldThatStillHasTheFocus)
{
    QTest::keyClicks(userName, QStringLiteral("ADMIN"));
    ASSERT_TRUE(hasFocus(userName));
    // Leaving the user name clears both lists, so no company is chosen any more.
    demo.dialogs.expectMessage(QStringLiteral("LÜTFEN BELMO YAPILACAK ŞİRKETİ SEÇİNİZ"));
    test::buttonCalled(&view, QStringLiteral("Onayla"))->click();
    EXPECT_EQ(source->count(), 2) << "the user name was left before Onayla ran";
}

}  // namespace
