#pragma once

#include "console/PreviewStep.h"

namespace belmo::db {
class Connection;
class Recordset;
}

namespace belmo::transfers {

// The salespeople the panel lists: live salespeople whose account exists in Diger_Hs and
// whose stock group is under main account 153. Six columns: tick, ID, account name, stock
// group as "code name", commission rate with one decimal, USERCODE.
QString salespeopleLoader();

// "Plasiyer Tanımları": the salespeople (Plasiyer), kept by record ID. A new ID is added; for
// an ID the target holds already the user is asked whether to overwrite it, and "Tümüne
// Evet" / "Tümüne Hayır" answer for the rest of the run. In the wizard it is the last step.
class PlasiyerTanimlari : public console::PreviewStep {
public:
    explicit PlasiyerTanimlari(console::StepHost& host);

protected:
    db::Query query() override;
    QList<services::StraySearch> straySearches() override { return {{QStringLiteral("Plasiyer"), QStringList{QStringLiteral("ID")}}}; }
    console::GridLayout layout() const override;
    void Basla() override;

private:
    void carry(int row, db::Connection& source, db::Connection& target, QString& remembered);
    bool overwriteWanted(int row, db::Recordset& existing, QString& remembered);
};

}  // namespace belmo::transfers
