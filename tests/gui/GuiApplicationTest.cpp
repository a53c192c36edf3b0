// The whole program with its windows: log in on the login view, get the console view,
// leave it, and the event loop ends with exit code 0.
#include "DemoProgram.h"

#include "demo/Demo.h"
#include "gui/ConsoleView.h"
#include "gui/GuiApplication.h"
#include "gui/LoginView.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace belmo;

namespace {

template <class Window>
Window* shownWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) return window;
    return nullptr;
}

TEST(GuiApplication, LoginOpensTheConsoleAndLeavingItEndsTheProgram)
{
    QTemporaryDir dir;
    demo::createDemoFolder(dir.path(), demo::Size::Small, false);
    bool loginShown = false;
    bool consoleShown = false;
    bool loginHidden = false;

    QTimer::singleShot(0, [&] {
        auto* login = shownWindow<gui::LoginView>();
        loginShown = login != nullptr;
        if (!login || !QTest::qWaitForWindowActive(login)) return QApplication::exit(2);
        auto* userName = login->findChild<QLineEdit*>(QStringLiteral("kullaniciAdi"));
        auto* password = login->findChild<QLineEdit*>(QStringLiteral("sifre"));
        QTest::keyClicks(userName, QStringLiteral("ADMIN"));
        QTest::keyClick(userName, Qt::Key_Return);
        QTest::keyClicks(password, QStringLiteral("admin"));
        QTest::keyClick(password, Qt::Key_Return);
        login->findChild<QComboBox*>(QStringLiteral("kaynakSirket"))->setCurrentIndex(0);
        login->findChild<QComboBox*>(QStringLiteral("hedefSirket"))->setCurrentIndex(1);
        test::buttonCalled(login, QStringLiteral("Onayla"))->click();

        QTimer::singleShot(0, [&, login] {
            loginHidden = !login->isVisible();
            auto* console = shownWindow<gui::ConsoleView>();
            consoleShown = console != nullptr;
            if (!console) return QApplication::exit(2);
            test::buttonCalled(console, QStringLiteral("Çıkış"))->click();
        });
    });

    EXPECT_EQ(gui::runGui(dir.path()), 0);
    EXPECT_TRUE(loginShown);
    EXPECT_TRUE(loginHidden);
    EXPECT_TRUE(consoleShown);
}

}  // namespace
