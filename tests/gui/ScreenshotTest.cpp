// Every window drawn offscreen and saved as a picture, to look at after a change of the
// views: the login window, the console's menu, a step panel with its grid and the
// overwrite question. The pictures go to $BELMO_SCREENSHOTS, else to a folder under the
// temporary directory that the test prints.
#include "DemoProgram.h"

#include "console/PreviewStep.h"
#include "gui/ConsoleView.h"
#include "gui/LoginView.h"
#include "gui/PanelView.h"
#include "gui/QuestionDialog.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <iostream>

using namespace belmo;
using widgets::Grid;

namespace {

// A step panel over the demo's warehouses: tick column, code, name, an amount column and
// a hidden key.
class WarehousePreview : public console::PreviewStep {
public:
    explicit WarehousePreview(console::StepHost& host)
        : PreviewStep(host, console::StepId::Depolar, {.caption = QStringLiteral("Depo Belmoleri")})
    {
    }

protected:
    QString query() override
    {
        return QStringLiteral("SELECT '', Depo_Kodu, Depo_Adi, Ana_Hs, ID FROM Depo ORDER BY Depo_Kodu");
    }
    console::GridLayout layout() const override
    {
        return {{},
                {{QString(), 300},
                 {QStringLiteral("Depo Kodu"), 1200},
                 {QStringLiteral("Depo Adı"), 3600},
                 {QStringLiteral("Ana Hesap"), 1500, Grid::Alignment::Amount, Grid::Alignment::CenterCenter},
                 {QStringLiteral("ID"), 0}}};
    }
    void Basla() override {}
};

console::StepRegistry warehouseStep()
{
    console::StepRegistry steps;
    steps.add(console::StepId::Depolar, [](console::StepHost& host) { return std::make_unique<WarehousePreview>(host); });
    return steps;
}

QString screenshotFolder()
{
    QString folder = qEnvironmentVariable("BELMO_SCREENSHOTS");
    if (folder.isEmpty()) folder = QDir::temp().filePath(QStringLiteral("belmo-screenshots"));
    QDir().mkpath(folder);
    return folder;
}

bool moreThanOneColour(const QImage& image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first) return true;
    return false;
}

// Lays the window out, saves its picture and checks what was written.
void saveScreenshot(QWidget& window, const QString& name)
{
    window.show();
    QCoreApplication::processEvents();
    const QString path = QDir(screenshotFolder()).filePath(name + QStringLiteral(".png"));
    ASSERT_TRUE(window.grab().save(path)) << path.toStdString();
    std::cout << "screenshot: " << path.toStdString() << std::endl;
    const QImage saved(path);
    ASSERT_FALSE(saved.isNull()) << path.toStdString();
    EXPECT_TRUE(moreThanOneColour(saved)) << path.toStdString() << " is blank";
}

TEST(Screenshots, LoginWindowWithTheUserNameTypedAndTheListsFilled)
{
    test::DemoProgram demo;
    demo.fillLogin();
    demo.program.login().sifre.setText(QStringLiteral("admin"));
    gui::LoginView view(demo.program.login());
    ASSERT_EQ(view.findChild<QLineEdit*>(QStringLiteral("kullaniciAdi"))->text(), QStringLiteral("ADMIN"));
    saveScreenshot(view, QStringLiteral("login"));
}

class ConsoleScreens : public ::testing::Test {
protected:
    test::DemoProgram demo{warehouseStep()};
    console::BELMO& console = demo.logIn();
    gui::ConsoleView view{console};
};

TEST_F(ConsoleScreens, MenuWithADoneMark)
{
    console.stepFinished(console::StepId::Depolar);
    view.resize(760, 520);
    saveScreenshot(view, QStringLiteral("console-menu"));
}

TEST_F(ConsoleScreens, StepPanelWithItsGrid)
{
    console.entry(console::StepId::Depolar).button.click();
    auto* step = static_cast<WarehousePreview*>(console.step(console::StepId::Depolar));
    ASSERT_EQ(console.panels.front(), &step->frame);
    ASSERT_GT(step->loadedRows(), 3);
    step->grid.click(2, 0);
    step->grid.click(4, 0);
    step->grid.setColour(3, 2, Grid::kRed);
    view.resize(760, 420);
    saveScreenshot(view, QStringLiteral("console-step-panel"));
    EXPECT_TRUE(view.panelView(step->frame)->isVisible());
}

TEST(Screenshots, OverwriteQuestion)
{
    gui::QuestionDialog dialog(QStringLiteral("Kaynak = 001 Ayşe Çınar"),
                               QStringLiteral("Hedef = 001 Şükrü Öğüt 01 İç Satış üzerine kaydedilsin mi?"));
    saveScreenshot(dialog, QStringLiteral("question"));
}

}  // namespace
