#include "console/BELMO.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "services/Errors.h"

#include <QFileInfo>

namespace belmo::console {

using namespace Qt::Literals::StringLiterals;

namespace {

// A company as the status line names it: the code (its file's name) and the period of its
// SIRKET row, "DEMO2025 (2025)"; the code alone when the period cannot be read. Read-only:
// the status line never keeps a file from being written.
QString companyText(app::Session& session, const QString& connection)
{
    QString code;
    try {
        code = QFileInfo(db::ConnectionString::parse(connection).dataSource).completeBaseName();
        db::Connection con(session.pool());
        con.open(db::ConnectionString::readOnlyForm(connection));
        db::Recordset rs;
        rs.open(u"Select DONEM from SIRKET"_s, con, db::CursorType::Static, db::LockType::ReadOnly);
        const QString period = rs.eof() ? QString() : vb::joined(rs.value(0)).trimmed();
        return period.isEmpty() ? code : u"%1 (%2)"_s.arg(code, period);
    } catch (const db::DbError&) {
        return code;
    }
}

}  // namespace

BELMO::BELMO(app::Session& session, const StepRegistry& registry) : session_(session)
{
    panels.add(menu);
    for (const MenuItem& slot : menuLayout()) {
        const MenuItem item = slot.kind == MenuItem::Kind::Step ? registry.item(slot.step) : slot;
        auto entry = std::make_unique<MenuButton>(MenuButton{item, widgets::Button(item.caption), {}, nullptr});
        MenuButton& e = *entry;
        switch (item.kind) {
        case MenuItem::Kind::Step:
            e.step = registry.create(item.step, *this);
            if (e.step) {
                if (widgets::Panel* panel = e.step->panel()) panels.add(*panel);
                e.button.onClick = [this, id = item.step] { performMenuAction(id); };
            } else {
                e.button.setEnabled(false);
            }
            break;
        case MenuItem::Kind::Exit: e.button.onClick = [this] { close(); }; break;
        case MenuItem::Kind::Wizard: e.button.onClick = [this] { Sihirbaz(); }; break;
        case MenuItem::Kind::Report: e.button.onClick = [this] { MutabakatRaporu(); }; break;
        case MenuItem::Kind::Transport:
            e.button.setEnabled(registry.hasTransportWindow());
            e.button.onClick = [this] { NakliyatBelmoleri(); };
            break;
        }
        buttons_.push_back(std::move(entry));
    }

    yedegiGeriYukle.onClick = [this] { YedegiGeriYukle(); };
    backupMade(session_.backup());
    ChH2.setValue(session_.HModu == 3 ? 0 : 1);
    ChH3.setValue(session_.HModu == 3 ? 1 : 0);
    ChK2.setValue(session_.KModu == 3 ? 0 : 1);
    ChK3.setValue(session_.KModu == 3 ? 1 : 0);
    ChH2.onMouseUp = [this] { setMode(ChH2, ChH3, session_.HModu, 2); };
    ChH3.onMouseUp = [this] { setMode(ChH3, ChH2, session_.HModu, 3); };
    ChK2.onMouseUp = [this] { setMode(ChK2, ChK3, session_.KModu, 2); };
    ChK3.onMouseUp = [this] { setMode(ChK3, ChK2, session_.KModu, 3); };
}

BELMO::~BELMO() = default;

BELMO::MenuButton& BELMO::entry(StepId id)
{
    for (auto& e : buttons_)
        if (e->item.kind == MenuItem::Kind::Step && e->item.step == id) return *e;
    Q_UNREACHABLE();
}

BELMO::MenuButton& BELMO::entry(MenuItem::Kind kind)
{
    for (auto& e : buttons_)
        if (e->item.kind == kind) return *e;
    Q_UNREACHABLE();
}

void BELMO::load()
{
    for (widgets::Panel* panel : panels.panels()) panel->setColourScheme(session_.TemaNo);
    panels.bringToFront(menu);
    durumSatiri.setText(u"%1 · %2 → %3"_s.arg(session_.KullaniciAdi, companyText(session_, session_.KaynakBag),
                                              companyText(session_, session_.HedefBag)));
}

void BELMO::setMode(widgets::CheckBox& on, widgets::CheckBox& off, int& mode, int value)
{
    on.setValue(1);
    off.setValue(0);
    mode = value;
}

void BELMO::Sihirbaz()
{
    session_.dialogs().message(
        u"Belmo İşlemi Adımları Sırasıyla Karşınıza Otomatik Olarak Gelecek.\nLütfen Gerekli İşlemleri Atlamayınız."_s);
    SihirbazModu = 1;
    if (const StepId* first = nextBuilt(0))
        performMenuAction(*first);
    else
        showMenu();
}

void BELMO::backupMade(const QString& backup)
{
    yedegiGeriYukle.setVisible(!backup.isEmpty());
    if (!backup.isEmpty()) mesajSatiri.setText(u"Hedef veritabanının yedeği: "_s + backup);
}

// After the question naming the file, the target goes back to the state before the login's
// first write; the steps' done marks go, as nothing of them is left in the target.
void BELMO::YedegiGeriYukle()
{
    services::Dialogs& dialogs = session_.dialogs();
    const QString backup = session_.backup();
    if (!dialogs.ask(u"Hedef veritabanı bu yedekteki haline döndürülecek:\r%1\rDevam edilsin mi?"_s.arg(backup))) return;
    try {
        const QString before = session_.restoreBackup();
        for (auto& e : buttons_) e->done.setVisible(false);
        mesajSatiri.setText(u"Yedek geri yüklendi: %1 (önceki halin yedeği: %2)"_s.arg(backup, before));
        dialogs.message(u"Hedef veritabanı yedekten geri yüklendi."_s);
    } catch (const db::DbError& e) {
        services::reportError(session_.errors(), e);
    }
}

void BELMO::NakliyatBelmoleri()
{
    if (onTransport) onTransport();
    close();
}

void BELMO::stepFinished(StepId id)
{
    entry(id).done.setVisible(true);
    if (onStepFinished) onStepFinished(id);
    if (SihirbazModu != 1) return;
    if (const StepId* next = nextBuilt(wizardChain().indexOf(id) + 1)) {
        performMenuAction(*next);
    } else {
        showMenu();
        MutabakatRaporu();  // the wizard has carried everything: the report follows
    }
}

void BELMO::MutabakatRaporu()
{
    if (onReport) onReport();
}

const StepId* BELMO::nextBuilt(qsizetype from)
{
    const QList<StepId>& chain = wizardChain();
    for (qsizetype i = from; i < chain.size(); ++i)
        if (step(chain[i])) return &chain[i];
    return nullptr;
}

void BELMO::performMenuAction(StepId id)
{
    Step* s = step(id);
    if (!s) return;
    if (onMenuAction) onMenuAction(id);
    runMenuAction(*this, *s);
}

// Step panels come forward one at a time: the panel of the step before goes behind the
// menu, so that a panel sent back (its "Çıkış") always uncovers the menu, also when the
// wizard has opened one panel after another.
void BELMO::showPanel(widgets::Panel& panel)
{
    widgets::Panel* previous = panels.front();
    if (previous && previous != &menu && previous != &panel) panels.sendToBack(*previous);
    panels.bringToFront(panel);
}
void BELMO::hidePanel(widgets::Panel& panel) { panels.sendToBack(panel); }
void BELMO::showMenu() { panels.bringToFront(menu); }

void BELMO::close()
{
    if (closed_) return;
    closed_ = true;
    if (onClosed) onClosed();
}

}  // namespace belmo::console
