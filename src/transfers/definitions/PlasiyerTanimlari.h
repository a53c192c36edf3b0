#pragma once

#include "console/PreviewStep.h"
#include "db/VbConvert.h"

namespace belmo::db {
class Connection;
class Recordset;
}

namespace belmo::transfers {

// The salespeople the panel lists: live salespeople whose account exists in Diger_Hs and
// whose stock group is under main account 153. Six columns: tick, ID, account name, stock
// group as "code name", commission rate with one decimal, USERCODE; then the stock group's
// code and name apart (HamGrup, HamGrupadi).
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
    void readRows(console::RowReader& reader) override;
    QString rowKey(int row) const override { return vb::joined(rows_[row].id); }
    QString rowLabel(int row) const override { return rows_[row].name; }
    console::GridLayout layout() const override;
    void Basla() override;

private:
    // A salesperson as the list shows it; what is carried is read from the source by its ID.
    struct Row {
        db::Value id;
        QString name;       // its account's Hesap_Adi
        QString group;      // Gruplar.Grup
        QString groupName;  // Gruplar.Grupadi
    };
    void carry(int row, db::Connection& source, db::Connection& target, QString& remembered);
    bool overwriteWanted(int row, db::Recordset& existing, QString& remembered);

    console::RowList<Row> rows_;
};

}  // namespace belmo::transfers
