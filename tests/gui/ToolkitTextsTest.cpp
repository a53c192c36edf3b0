// With the toolkit's Turkish texts loaded, no window of a walk through the program shows one of
// the toolkit's English words: the login, every panel of the console and of the transport
// window, the reconciliation report, the message boxes (with their details button), the
// overwrite question, the file dialog and the context menu of an edit box.
#include "DemoProgram.h"

#include "console/PreviewStep.h"
#include "gui/ConsoleView.h"
#include "gui/GuiApplication.h"
#include "gui/LoginView.h"
#include "gui/QtDialogs.h"
#include "gui/QuestionDialog.h"
#include "gui/ReportWindow.h"
#include "gui/TransportView.h"
#include "transfers/TransferSteps.h"
#include "transfers/transport/NAKLIYAT.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace belmo;
using namespace Qt::Literals::StringLiterals;

namespace {

// A text the toolkit shows in English when its translation is missing, whole (a button, a
// menu entry, a tooltip) once its mnemonic, shortcut and trailing dots or colon are gone.
const QStringList kEnglish{u"OK"_s,        u"Cancel"_s,        u"Yes"_s,          u"No"_s,          u"Yes to All"_s,
                           u"No to All"_s, u"Save"_s,          u"Open"_s,         u"Close"_s,       u"Apply"_s,
                           u"Discard"_s,   u"Show Details"_s,  u"Hide Details"_s, u"Undo"_s,        u"Redo"_s,
                           u"Cut"_s,       u"Copy"_s,          u"Paste"_s,        u"Delete"_s,      u"Select All"_s,
                           u"Look in"_s,   u"File name"_s,     u"Files of type"_s, u"Back"_s,       u"Forward"_s,
                           u"Parent Directory"_s, u"Create New Folder"_s, u"List View"_s, u"Detail View"_s};

QString bare(QString text)
{
    text = text.section(u'\t', 0, 0).remove(u'&').trimmed();
    static const QRegularExpression trailing(u"(\\.\\.\\.|…|:)$"_s);
    return text.remove(trailing).trimmed();
}

// Every text a user can see on the window: captions, labels, group titles, tab titles,
// tooltips, the entries of its menus.
QStringList shownTexts(const QWidget& top)
{
    QStringList texts{top.windowTitle(), top.toolTip()};
    QList<const QWidget*> widgets{&top};
    for (const QWidget* w : top.findChildren<QWidget*>())
        if (w->isVisibleTo(&top)) widgets << w;
    for (const QWidget* w : widgets) {
        texts << w->toolTip();
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) texts << b->text();
        if (auto* l = qobject_cast<const QLabel*>(w)) texts << l->text();
        if (auto* g = qobject_cast<const QGroupBox*>(w)) texts << g->title();
        if (auto* t = qobject_cast<const QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) texts << t->tabText(i);
        for (const QAction* a : w->actions()) texts << a->text() << a->toolTip();
    }
    return texts;
}

// The English words among the texts of the window, each with where it was seen.
QStringList englishOn(const QWidget& window, const QString& where)
{
    QStringList found;
    for (const QString& text : shownTexts(window))
        for (const QString& line : text.split(u'\n'))
            if (kEnglish.contains(bare(line))) found << where + u": "_s + line;
    return found;
}

// The message box that `show` opens, looked at while it is open (its details shown too, when
// it has them), then closed.
QStringList englishOnBox(const QString& where, const std::function<void()>& show)
{
    QStringList found{where + u": no message box"_s};
    QTimer::singleShot(0, [&found, &where] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        found = englishOn(*box, where);
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QMessageBox::ActionRole) {
                b->click();
                found << englishOn(*box, where + u" (details shown)"_s);
            }
        box->accept();
    });
    show();
    return found;
}

class ToolkitTexts : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(gui::useTurkish()); }

    test::DemoProgram demo{transfers::transferSteps()};
};

TEST_F(ToolkitTexts, NoWindowOfAWalkThroughThePanelsShowsAnEnglishWordOfTheToolkit)
{
    QStringList found;
    gui::QtDialogs qt;
    const QString list = u"34 XY 99 — Hasan Kaya\n35 DEF 35 — Ayrılan Şoför\n41 KL 41 — Hasan Kaya\n01 BN 01 — Ali Veli"_s;
    const std::vector<std::pair<QString, std::function<void()>>> walk = {
        {u"login"_s, [&] { found << englishOn(gui::LoginView(demo.program.login()), u"login"_s); }},
        {u"console"_s, [&] {
             console::BELMO& console = demo.logIn();
             {
                 gui::ConsoleView view(console);
                 view.show();
                 found << englishOn(view, u"console menu"_s);
                 for (const auto& entry : console.menuButtons())
                     if (auto* step = dynamic_cast<console::PreviewStep*>(entry->step.get())) {
                         entry->button.click();
                         found << englishOn(view, entry->item.caption);
                         step->cikis.click();
                     }
                 test::buttonCalled(&view, u"Mutabakat Raporu"_s)->click();
                 ASSERT_TRUE(view.reportWindow());
                 found << englishOn(*view.reportWindow(), u"report"_s);
             }
             console.entry(console::MenuItem::Kind::Transport).button.click();
         }},
        {u"transport"_s, [&] {
             auto* window = dynamic_cast<transfers::NAKLIYAT*>(demo.program.transport());
             ASSERT_TRUE(window);
             gui::TransportView view(*window);
             view.show();
             found << englishOn(view, u"transport menu"_s);
             window->stepFinished(console::StepId::SoforYi);  // the vehicle panels open after their drivers
             window->stepFinished(console::StepId::SoforYd);
             for (const transfers::TransportItem& item : transfers::transportItems()) {
                 window->entry(item.id).button.click();
                 found << englishOn(view, item.caption);
                 if (auto* step = dynamic_cast<console::PreviewStep*>(window->step(item.id))) step->cikis.click();
             }
         }},
        {u"message with a list"_s, [&] {
             found << englishOnBox(u"message with a list"_s, [&] {
                 qt.message(u"4 araç şoförsüz yazıldı."_s, {}, services::Dialogs::Icon::Exclamation, list);
             });
         }},
        {u"question"_s, [&] { found << englishOnBox(u"question"_s, [&] { qt.ask(u"Devam edilsin mi?"_s, {}); }); }},
        {u"overwrite question"_s, [&] { found << englishOn(gui::QuestionDialog(u"Kaynak"_s, u"Hedef"_s), u"overwrite"_s); }},
        {u"file dialog"_s, [&] {
             QFileDialog dialog(nullptr, u"PDF Olarak Kaydet"_s, {}, u"PDF (*.pdf)"_s);
             dialog.setOption(QFileDialog::DontUseNativeDialog);
             dialog.setAcceptMode(QFileDialog::AcceptSave);
             found << englishOn(dialog, u"file dialog"_s);
         }},
        {u"edit box menu"_s, [&] {
             QLineEdit edit(u"DEMO2025"_s);
             std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
             found << englishOn(*menu, u"edit box menu"_s);
         }},
    };
    for (const auto& [name, visit] : walk) {
        SCOPED_TRACE(name.toStdString());
        visit();
    }
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

}  // namespace
