// Every window drawn offscreen and saved as a picture, to look at after a change of the
// views: the login window, the console's menu, a step panel with its grid, the overwrite
// question, and the transport window's menu and two of its panels. The pictures go to
// $BELMO_SCREENSHOTS, else to a folder under the temporary directory that the test prints.
// And a walk through every panel, looking for the toolkit's English words.
#include "DemoProgram.h"

#include "console/PreviewStep.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "gui/BusyBar.h"
#include "gui/ConsoleView.h"
#include "gui/LoginView.h"
#include "gui/PanelView.h"
#include "gui/QtDialogs.h"
#include "gui/QuestionDialog.h"
#include "gui/ReportWindow.h"
#include "gui/TransportView.h"
#include "transfers/TransferSteps.h"
#include "transfers/openitems/CekBelmoleri.h"
#include "transfers/transport/NAKLIYAT.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QTabWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <iostream>

using namespace belmo;
using namespace Qt::Literals::StringLiterals;

namespace {

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
    demo.program.login().serverBilgileri.click();
    saveScreenshot(view, QStringLiteral("login-server"));
}

class ConsoleScreens : public ::testing::Test {
protected:
    test::DemoProgram demo{transfers::transferSteps()};
    console::BELMO& console = demo.logIn();
    gui::ConsoleView view{console};
};

TEST_F(ConsoleScreens, MenuWithADoneMark)
{
    console.stepFinished(console::StepId::Depolar);
    view.resize(760, 520);
    saveScreenshot(view, QStringLiteral("console-menu"));
}

// The warehouses panel on the demo's warehouses, one of them unticked.
TEST_F(ConsoleScreens, WarehousesPanelWithTheDemoData)
{
    console.entry(console::StepId::Depolar).button.click();
    auto* step = dynamic_cast<console::PreviewStep*>(console.step(console::StepId::Depolar));
    ASSERT_TRUE(step);
    ASSERT_EQ(console.panels.front(), &step->frame);
    ASSERT_EQ(step->loadedRows(), 4);
    step->grid.click(4, 0);
    view.resize(760, 420);
    saveScreenshot(view, QStringLiteral("console-warehouses-panel"));
    EXPECT_TRUE(view.panelView(step->frame)->isVisible());
}

// The reconciliation from the menu after the current accounts were carried with one account
// left out: a tab per part, differences counted on the tabs, and its PDF saved where the save
// button is told.
TEST_F(ConsoleScreens, ReportWindowFromTheMenuSavesThePdf)
{
    console.entry(console::StepId::CariHesaplar).button.click();
    auto* step = dynamic_cast<console::PreviewStep*>(console.step(console::StepId::CariHesaplar));
    ASSERT_TRUE(step);
    step->grid.click(2, 0);
    demo.dialogs.expectMessage(QStringLiteral("Cari Hesap Belmo İşlemleri Tamamlandı."), QStringLiteral("Belmo"));
    step->basla.click();
    step->cikis.click();
    view.show();
    QPushButton* open = test::buttonCalled(&view, QStringLiteral("Mutabakat Raporu"));
    ASSERT_TRUE(open);
    open->click();
    gui::ReportWindow* report = view.reportWindow();
    ASSERT_TRUE(report);
    // Current accounts carried: no difference, the account left out is none. The other
    // balances are not carried yet: their tabs count differences.
    const QStringList parts{u"Cari Hesaplar"_s, u"Stoklar"_s, u"Çekler"_s, u"Siparişler"_s,
                            u"Taksitler"_s, u"Tanımlar"_s, u"Çalışma Özeti"_s};
    ASSERT_EQ(report->tabs()->count(), parts.size());
    for (int i = 0; i < parts.size(); ++i) EXPECT_TRUE(report->tabs()->tabText(i).startsWith(parts[i])) << i;
    EXPECT_EQ(report->tabs()->tabText(0), u"Cari Hesaplar"_s);
    EXPECT_TRUE(report->tabs()->tabText(1).startsWith(u"Stoklar ("_s));
    EXPECT_EQ(std::count_if(report->report().accounts.begin(), report->report().accounts.end(),
                            [](const proof::AccountItem& a) { return !a.ticked; }),
              1);
    saveScreenshot(*report, QStringLiteral("report-window"));

    QTemporaryDir dir;
    report->askFileName = [&dir] { return dir.filePath(u"rapor"_s); };
    demo.dialogs.expectMessage(u"Rapor kaydedildi: "_s + dir.filePath(u"rapor.pdf"_s), {},
                               services::Dialogs::Icon::Information);
    report->saveButton()->click();
    demo.dialogs.verify();
    QFile pdf(dir.filePath(u"rapor.pdf"_s));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
}

// The salespeople panel: names, stock groups and rates with one decimal.
TEST_F(ConsoleScreens, SalespeoplePanelWithTheDemoData)
{
    console.entry(console::StepId::Plasiyerler).button.click();
    auto* step = dynamic_cast<console::PreviewStep*>(console.step(console::StepId::Plasiyerler));
    ASSERT_TRUE(step);
    ASSERT_EQ(step->loadedRows(), 4);
    view.resize(760, 420);
    saveScreenshot(view, QStringLiteral("console-salespeople-panel"));
}

// The current-account panel: balances per currency right-aligned, the totals table, the
// progress bar full after the load. Its "Başla" moves the bar as the entries are posted.
TEST_F(ConsoleScreens, CurrentAccountPanelWithTheDemoBalances)
{
    console.entry(console::StepId::CariHesaplar).button.click();
    auto* step = dynamic_cast<console::PreviewStep*>(console.step(console::StepId::CariHesaplar));
    ASSERT_TRUE(step);
    ASSERT_GT(step->loadedRows(), 30);
    step->grid.click(2, 0);
    view.resize(1000, 520);
    saveScreenshot(view, QStringLiteral("console-current-accounts-panel"));
    auto* bar = view.panelView(step->frame)->findChild<QProgressBar*>();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->value(), bar->maximum());

    QList<int> seen;
    QObject::connect(bar, &QProgressBar::valueChanged, [&seen](int v) { seen << v; });
    demo.dialogs.expectMessage(QStringLiteral("Cari Hesap Belmo İşlemleri Tamamlandı."), QStringLiteral("Belmo"));
    step->basla.click();
    demo.dialogs.verify();
    ASSERT_GT(seen.size(), 30);
    EXPECT_EQ(seen.first(), 0);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.last(), step->loadedRows());
}

// The window stays alive during "Başla": the progress bar is painted while the entries are
// posted, a click on another control is held, and "İptal" rolls the whole step back.
TEST_F(ConsoleScreens, StartRepaintsTheBarHoldsOtherInputAndCancelRollsBack)
{
    console.entry(console::StepId::CariHesaplar).button.click();
    auto* step = dynamic_cast<console::PreviewStep*>(console.step(console::StepId::CariHesaplar));
    ASSERT_TRUE(step);
    view.resize(1000, 520);
    view.show();
    QCoreApplication::processEvents();
    auto* bar = view.panelView(step->frame)->findChild<QProgressBar*>();
    ASSERT_TRUE(bar);
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override
        {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    bar->installEventFilter(&counter);
    QPushButton* cancel = view.busyBar()->cancelButton();
    QPushButton* exit = nullptr;
    for (QPushButton* b : view.panelView(step->frame)->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Çıkış")) exit = b;
    ASSERT_TRUE(exit);

    // At the first repaint during the work: "Çıkış" is clicked (and held), then "İptal".
    bool busySeen = false;
    QTimer::singleShot(0, [&] {
        busySeen = console.busy.busy() && cancel->isVisible();
        QTest::mouseClick(exit, Qt::LeftButton);
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    demo.dialogs.expectMessage(QStringLiteral("İşlem iptal edildi; hedef veri tabanına hiçbir şey yazılmadı."),
                               QStringLiteral("Belmo"));
    step->basla.click();
    demo.dialogs.verify();
    EXPECT_TRUE(busySeen);
    EXPECT_GE(counter.paints, 1);
    EXPECT_EQ(console.panels.front(), &step->frame);  // "Çıkış" was held
    EXPECT_FALSE(console.entry(console::StepId::CariHesaplar).done.visible());
    EXPECT_FALSE(view.busyBar()->isVisible());

    db::Connection target(demo.program.session().pool());
    target.open(demo.program.session().HedefBag);
    db::Recordset rs;
    rs.open(QStringLiteral("Select count(*) from Hesaplar"), target, db::CursorType::Static, db::LockType::ReadOnly);
    EXPECT_EQ(rs.value(0).intValue(), 0);

    // Without a cancel the work goes to its end, the bar painted as it moves.
    counter.paints = 0;
    demo.dialogs.expectMessage(QStringLiteral("Cari Hesap Belmo İşlemleri Tamamlandı."), QStringLiteral("Belmo"));
    step->basla.click();
    demo.dialogs.verify();
    EXPECT_GE(counter.paints, 1);
    EXPECT_TRUE(console.entry(console::StepId::CariHesaplar).done.visible());
}

TEST_F(ConsoleScreens, StockPanelWithTheDemoStock)
{
    console.entry(console::StepId::Stok).button.click();
    auto* step = dynamic_cast<console::PreviewStep*>(console.step(console::StepId::Stok));
    ASSERT_TRUE(step);
    ASSERT_GT(step->loadedRows(), 30);
    view.resize(1000, 520);
    saveScreenshot(view, QStringLiteral("console-stock-panel"));
}

// The cheque panel with the portfolio, one cheque unticked, then with the cheques in
// clearing after the option and the search button.
TEST_F(ConsoleScreens, ChequePanelWithBothListsOfTheDemo)
{
    console.entry(console::StepId::Cekler).button.click();
    auto* step = dynamic_cast<transfers::CekBelmoleri*>(console.step(console::StepId::Cekler));
    ASSERT_TRUE(step);
    ASSERT_GT(step->loadedRows(), 5);
    step->grid.click(2, 0);
    view.resize(1200, 560);
    saveScreenshot(view, QStringLiteral("console-cheques-portfolio-panel"));
    step->Optks.press();
    step->BtnAra.click();
    ASSERT_GT(step->loadedRows(), 0);
    EXPECT_EQ(step->grid.text(0, 1), QStringLiteral("Çık.Bordro"));
    saveScreenshot(view, QStringLiteral("console-cheques-clearing-panel"));
}

// The orders panel: customers' orders with their BA and quantity in red, the amount and
// quantity totals.
TEST_F(ConsoleScreens, OrdersPanelWithTheDemoOrders)
{
    console.entry(console::StepId::Siparisler).button.click();
    auto* step = dynamic_cast<console::PreviewStep*>(console.step(console::StepId::Siparisler));
    ASSERT_TRUE(step);
    ASSERT_GT(step->loadedRows(), 5);
    view.resize(1200, 520);
    saveScreenshot(view, QStringLiteral("console-orders-panel"));
}

TEST_F(ConsoleScreens, InstalmentsPanelWithTheDemoInstalments)
{
    console.entry(console::StepId::Taksitler).button.click();
    auto* step = dynamic_cast<console::PreviewStep*>(console.step(console::StepId::Taksitler));
    ASSERT_TRUE(step);
    ASSERT_GT(step->loadedRows(), 3);
    view.resize(1100, 460);
    saveScreenshot(view, QStringLiteral("console-instalments-panel"));
}

// The transport window on the demo, the domestic drivers carried: their done mark, the
// domestic vehicles open, the international vehicles still waiting for their drivers.
class TransportScreens : public ::testing::Test {
protected:
    TransportScreens()
    {
        demo.logIn().entry(console::MenuItem::Kind::Transport).button.click();
        window = dynamic_cast<transfers::NAKLIYAT*>(demo.program.transport());
        if (!window) throw std::runtime_error("the transport window did not open");
        view = std::make_unique<gui::TransportView>(*window);
        window->entry(console::StepId::SoforYi).button.click();
        demo.dialogs.expectQuestion(QStringLiteral("Hedef veritabanındaki Şoför Tanımları silinecek\rDevam edilsin mi?"), {},
                                    true);
        demo.dialogs.expectMessage(QStringLiteral("Yurtiçi Nakliyat Şoför Tanımları Belmoi Tamamlandı."));
        step(console::StepId::SoforYi).basla.click();
        demo.dialogs.verify();
    }
    console::PreviewStep& step(console::StepId id)
    {
        auto* s = dynamic_cast<console::PreviewStep*>(window->step(id));
        if (!s) throw std::runtime_error("not a step with a panel");
        return *s;
    }

    test::DemoProgram demo{transfers::transferSteps()};
    transfers::NAKLIYAT* window = nullptr;
    std::unique_ptr<gui::TransportView> view;
};

TEST_F(TransportScreens, MenuWithTwoColumnsADoneMarkAndAWaitingVehicleButton)
{
    step(console::StepId::SoforYi).cikis.click();
    view->resize(760, 420);
    saveScreenshot(*view, QStringLiteral("transport-menu"));
    EXPECT_EQ(view->menuButton(console::StepId::AracYd)->toolTip(),
              QStringLiteral("Bu işlemden önce Şoför Tanımlarının aktarılması gerekmekte."));
    EXPECT_TRUE(view->menuButton(console::StepId::AracYi)->toolTip().isEmpty());
}

TEST_F(TransportScreens, DomesticVehiclesAndInternationalRoutesPanels)
{
    window->entry(console::StepId::AracYi).button.click();
    ASSERT_EQ(window->panels.front(), step(console::StepId::AracYi).panel());
    view->resize(760, 420);
    saveScreenshot(*view, QStringLiteral("transport-vehicles-panel"));

    window->entry(console::StepId::GuzergahYd).button.click();
    ASSERT_GT(step(console::StepId::GuzergahYd).loadedRows(), 2);
    view->resize(900, 420);
    saveScreenshot(*view, QStringLiteral("transport-international-routes-panel"));
}

TEST(Screenshots, OverwriteQuestion)
{
    gui::QuestionDialog dialog(QStringLiteral("Kaynak = 001 Ayşe Çınar"),
                               QStringLiteral("Hedef = 001 Şükrü Öğüt 01 İç Satış üzerine kaydedilsin mi?"));
    saveScreenshot(dialog, QStringLiteral("question"));
}

const QStringList kEnglish = u"OK|Cancel|Yes|No|Save|Open|Close|Apply|Discard|Show Details|Hide Details"_s.split(u'|');

// The English words among the texts the user can see on the window.
void collectEnglish(const QWidget& top, const QString& where, QStringList& found)
{
    QList<const QWidget*> widgets{&top};
    for (const QWidget* w : top.findChildren<QWidget*>())
        if (w->isVisibleTo(&top)) widgets << w;
    for (const QWidget* w : widgets) {
        QStringList texts{w->windowTitle(), w->toolTip()};
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) texts << b->text();
        if (auto* l = qobject_cast<const QLabel*>(w)) texts << l->text();
        for (QString text : texts)
            if (kEnglish.contains(text.remove(u'&').remove(u"..."_s).trimmed())) found << where + u": "_s + text;
    }
}

// With the toolkit's Turkish texts, no window of a walk through every panel of the console
// and of the transport window, nor a message box with its details shown, shows one of the
// toolkit's English words.
TEST_F(ConsoleScreens, NoPanelNorMessageBoxShowsAnEnglishWordOfTheToolkit)
{
    QStringList found;
    int panels = 0;
    const auto walk = [&](QWidget& view, auto& window, const auto& ids) {
        view.show();
        for (const console::StepId id : ids) {
            window.entry(id).button.click();
            collectEnglish(view, window.entry(id).button.caption(), found);
            ++panels;
            if (auto* step = dynamic_cast<console::PreviewStep*>(window.step(id))) step->cikis.click();
        }
    };
    QList<console::StepId> ids;
    for (const auto& entry : console.menuButtons())
        if (dynamic_cast<console::PreviewStep*>(entry->step.get())) ids << entry->item.step;
    walk(view, console, ids);
    console.entry(console::MenuItem::Kind::Transport).button.click();
    auto* transport = dynamic_cast<transfers::NAKLIYAT*>(demo.program.transport());
    ASSERT_TRUE(transport);
    transport->stepFinished(console::StepId::SoforYi);  // the vehicle panels open after their drivers
    transport->stepFinished(console::StepId::SoforYd);
    ids.clear();
    for (const transfers::TransportItem& item : transfers::transportItems()) ids << item.id;
    gui::TransportView transportView(*transport);
    walk(transportView, *transport, ids);

    QTimer::singleShot(0, [&found] {  // a box with a list, before and after its details are shown
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        for (int shown = 0; box && shown < 2; ++shown) {
            collectEnglish(*box, u"message"_s, found);
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == QMessageBox::ActionRole) b->click();
        }
        if (box) box->accept();
    });
    gui::QtDialogs().message(u"4 araç şoförsüz yazıldı."_s, {}, services::Dialogs::Icon::Exclamation, u"a\nb\nc\nd"_s);
    EXPECT_EQ(panels, 22);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

}  // namespace
