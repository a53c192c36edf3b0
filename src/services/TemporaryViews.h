#pragma once

#include <QString>

namespace belmo::app {
class Session;
}

// The per-user views the balance steps build in the source database: GorunumOnek +
// KullaniciKodu + slot (1 to 5), so two users on the same source never share a view.
namespace belmo::services {

QString viewName(const app::Session& session, int slot);

// "CREATE VIEW <name> AS <query>" and "DROP VIEW <name>" in KaynakBag's database, issued
// through a recordset open. Every error is ignored: a view that already exists keeps its
// first definition, dropping a missing view passes, and so does a failing connection.
void GORUNUMOLUSTUR(app::Session& session, int slot, const QString& query);
void GORUNUMSIL(app::Session& session, int slot);

}  // namespace belmo::services
