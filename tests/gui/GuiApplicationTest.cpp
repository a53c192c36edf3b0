// The whole program with its windows: log in on the login view, get the console view, go
// to the transport window and back, leave, and the event loop ends with exit code 0.
#include "DemoProgram.h"

#include "demo/Demo.h"
#include "gui/ConsoleView.h"
#include "gui/GuiApplication.h"
#include "gui/LoginView.h"
#include "gui/TransportView.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
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

// Logs in as ADMIN on the login view shown, and closes the message of the check that the
// console's opening brings (the demo's source holds a negative stock), keeping its text.
bool logInOnTheLoginView(QString* checkMessage = nullptr)
{
    auto* login = shownWindow<gui::LoginView>();
    if (!login || !QTest::qWaitForWindowActive(login)) return false;
    auto* userName = login->findChild<QLineEdit*>(QStringLiteral("kullaniciAdi"));
    auto* password = login->findChild<QLineEdit*>(QStringLiteral("sifre"));
    QTest::keyClicks(userName, QStringLiteral("ADMIN"));
    QTest::keyClick(userName, Qt::Key_Return);
    QTest::keyClicks(password, QStringLiteral("admin"));
    QTest::keyClick(password, Qt::Key_Return);
    login->findChild<QComboBox*>(QStringLiteral("kaynakSirket"))->setCurrentIndex(0);
    login->findChild<QComboBox*>(QStringLiteral("hedefSirket"))->setCurrentIndex(1);
    QTimer::singleShot(0, [checkMessage] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && checkMessage) *checkMessage = box->text();
        if (box) box->accept();
    });
    test::buttonCalled(login, QStringLiteral("Onayla"))->click();
    return true;
}

TEST(GuiApplication, LoginOpensTheConsoleAndLeavingItEndsTheProgram)
{
    QTemporaryDir dir;
    demo::createDemoFolder(dir.path(), demo::Size::Small, false);
    bool consoleShown = false;
    bool loginHidden = false;
    QString checkMessage;

    QTimer::singleShot(0, [&] {
        auto* login = shownWindow<gui::LoginView>();
        if (!logInOnTheLoginView(&checkMessage)) return QApplication::exit(2);
        QTimer::singleShot(0, [&, login] {
            loginHidden = !login->isVisible();
            auto* console = shownWindow<gui::ConsoleView>();
            consoleShown = console != nullptr;
            if (!console) return QApplication::exit(2);
            test::buttonCalled(console, QStringLiteral("Çıkış"))->click();
        });
    });

    EXPECT_EQ(gui::runGui(dir.path()), 0);
    EXPECT_TRUE(loginHidden);
    EXPECT_TRUE(consoleShown);
    EXPECT_TRUE(checkMessage.startsWith(QStringLiteral("Belmo öncesi denetim: 0 engel, 1 uyarı."))) << checkMessage.toStdString();
}

// "Nakliyat Belmoleri" shows the transport window where the console was and closes the
// console; its "Çıkış" brings a console back.
TEST(GuiApplication, TheTransportWindowTakesTheConsolesPlaceAndGivesItBack)
{
    QTemporaryDir dir;
    demo::createDemoFolder(dir.path(), demo::Size::Small, false);
    bool samePlace = false;
    bool consoleBack = false;

    QTimer::singleShot(0, [&] {
        if (!logInOnTheLoginView()) return QApplication::exit(2);
        QTimer::singleShot(0, [&] {
            auto* console = shownWindow<gui::ConsoleView>();
            if (!console) return QApplication::exit(2);
            console->move(40, 60);
            const QPoint place = console->pos();
            test::buttonCalled(console, QStringLiteral("Nakliyat Belmoleri"))->click();
            QTimer::singleShot(0, [&, place] {
                auto* transport = shownWindow<gui::TransportView>();
                if (!transport || shownWindow<gui::ConsoleView>()) return QApplication::exit(2);
                samePlace = transport->pos() == place;
                test::buttonCalled(transport, QStringLiteral("Çıkış"))->click();
                QTimer::singleShot(0, [&] {
                    auto* again = shownWindow<gui::ConsoleView>();
                    consoleBack = again && !shownWindow<gui::TransportView>();
                    if (!again) return QApplication::exit(2);
                    test::buttonCalled(again, QStringLiteral("Çıkış"))->click();
                });
            });
        });
    });

    EXPECT_EQ(gui::runGui(dir.path()), 0);
    EXPECT_TRUE(samePlace);
    EXPECT_TRUE(consoleBack);
}

}  // namespace
