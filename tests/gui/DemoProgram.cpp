#include "DemoProgram.h"

#include "demo/Demo.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace belmo::test {

QPushButton* buttonCalled(const QWidget* window, const QString& caption)
{
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == caption && b->isVisibleTo(window)) return b;
    return nullptr;
}

DemoProgram::DemoProgram(console::StepRegistry steps) : program(dialogs, std::move(steps))
{
    demo::createDemoFolder(dir_.path(), demo::Size::Small, false);
    if (!program.start(dir_.path())) ADD_FAILURE() << "the login window did not open on the demo folder";
}

void DemoProgram::fillLogin()
{
    app::GIRIS& login = program.login();
    login.kullaniciAdi.setText(QString::fromLatin1(demo::kAdminUser));
    login.kullaniciAdiLostFocus();
    login.kaynakSirket.setText(QString::fromLatin1(demo::kSourceCode));
    login.hedefSirket.setText(QString::fromLatin1(demo::kTargetCode));
}

console::BELMO& DemoProgram::logIn()
{
    fillLogin();
    program.login().sifre.setText(QString::fromLatin1(demo::kAdminPassword));
    program.login().onayla.click();
    if (!program.console()) throw std::runtime_error("the console did not open after the login");
    return *program.console();
}

}  // namespace belmo::test
