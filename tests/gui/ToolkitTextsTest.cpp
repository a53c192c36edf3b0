// With the toolkit's Turkish texts loaded, no window of a walk through every panel of the
// console and of the transport window, nor a message box with its details, the file dialog or
// an edit box's context menu, shows one of the toolkit's English words.
#include "DemoProgram.h"

#include "console/PreviewStep.h"
#include "gui/ConsoleView.h"
#include "gui/GuiApplication.h"
#include "gui/QtDialogs.h"
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
#include <QTimer>

#include <gtest/gtest.h>

using namespace belmo;
using namespace Qt::Literals::StringLiterals;

namespace {

// Texts seen whole once their mnemonic, shortcut and trailing dots or colon are gone.
const QStringList kEnglish = u"OK|Cancel|Yes|No|Save|Open|Close|Apply|Discard|Show Details|Hide Details|Undo|Redo|Cut|"
                             "Copy|Paste|Delete|Select All|Look in|File name|Files of type|Back|Parent Directory"_s.split(u'|');

// The English words among the texts of the widget and of everything on it the user can see.
QStringList english(const QWidget& top, const QString& where)
{
    QList<const QWidget*> widgets{&top};
    for (const QWidget* w : top.findChildren<QWidget*>())
        if (w->isVisibleTo(&top)) widgets << w;
    QStringList found;
    for (const QWidget* w : widgets) {
        QStringList texts{w->windowTitle(), w->toolTip()};
        if (auto* b = qobject_cast<const QAbstractButton*>(w)) texts << b->text();
        if (auto* l = qobject_cast<const QLabel*>(w)) texts << l->text();
        if (auto* g = qobject_cast<const QGroupBox*>(w)) texts << g->title();
        for (const QAction* a : w->actions()) texts << a->text();
        for (const QString& text : texts)
            if (kEnglish.contains(text.section(u'\t', 0, 0).remove(u'&').remove(u"..."_s).remove(u':').trimmed()))
                found << where + u": "_s + text;
    }
    return found;
}

TEST(ToolkitTexts, NoWindowOfAWalkThroughThePanelsShowsAnEnglishWordOfTheToolkit)
{
    ASSERT_TRUE(gui::useTurkish());
    test::DemoProgram demo{transfers::transferSteps()};
    console::BELMO& console = demo.logIn();
    QStringList found;
    int panels = 0;
    const auto walk = [&found, &panels](QWidget& view, auto& window, const auto& steps) {
        view.show();
        for (const auto& [id, caption] : steps) {
            window.entry(id).button.click();
            found << english(view, caption);
            ++panels;
            if (auto* step = dynamic_cast<console::PreviewStep*>(window.step(id))) step->cikis.click();
        }
    };
    QList<std::pair<console::StepId, QString>> steps;
    for (const auto& entry : console.menuButtons())
        if (dynamic_cast<console::PreviewStep*>(entry->step.get())) steps.append({entry->item.step, entry->item.caption});
    walk(*std::make_unique<gui::ConsoleView>(console), console, steps);
    console.entry(console::MenuItem::Kind::Transport).button.click();
    auto* transport = dynamic_cast<transfers::NAKLIYAT*>(demo.program.transport());
    ASSERT_TRUE(transport);
    transport->stepFinished(console::StepId::SoforYi);  // the vehicle panels open after their drivers
    transport->stepFinished(console::StepId::SoforYd);
    steps.clear();
    for (const transfers::TransportItem& item : transfers::transportItems()) steps.append({item.id, item.caption});
    walk(*std::make_unique<gui::TransportView>(*transport), *transport, steps);

    bool detailsShown = false;
    QTimer::singleShot(0, [&found, &detailsShown] {  // the box with a list: its details shown
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QMessageBox::ActionRole) {
                found << english(*box, u"message"_s);
                b->click();
                found << english(*box, u"message, details shown"_s);
                detailsShown = true;
            }
        box->accept();
    });
    gui::QtDialogs().message(u"4 araç şoförsüz yazıldı."_s, {}, services::Dialogs::Icon::Exclamation, u"a\nb\nc\nd"_s);
    QFileDialog files(nullptr, u"PDF Olarak Kaydet"_s);
    files.setOptions(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    found << english(files, u"file dialog"_s);
    QLineEdit edit;
    found << english(*std::unique_ptr<QMenu>(edit.createStandardContextMenu()), u"edit box menu"_s);
    EXPECT_TRUE(detailsShown);
    EXPECT_EQ(panels, 22);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

}  // namespace
