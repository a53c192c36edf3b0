#pragma once

// Small steps made for the console's tests: a warehouse list with a formatted amount column
// that records what its "Başla" read, and a step that runs at once.
#include "app/Session.h"
#include "console/PreviewStep.h"
#include "db/DbError.h"
#include "services/Dialogs.h"
#include "services/Errors.h"
#include "support/TestCompany.h"

#include <QList>

namespace belmo::test {

struct ReadRow {
    QString code;
    double amount;
    bool operator==(const ReadRow&) const = default;
};

class WarehouseStep : public console::PreviewStep {
public:
    WarehouseStep(console::StepHost& host, console::StepId id, QString table = QStringLiteral("Depo"),
                  bool failStart = false)
        : PreviewStep(host, id, {QStringLiteral("Depo Belmoleri")}), failStart(failStart), table_(std::move(table))
    {
    }

    QList<ReadRow> read;  // what each "Başla" read from the ticked rows
    bool failStart;  // "Başla" ends in an error
    bool cancelStart = false;  // the user cancels "Başla" while a row's statement runs

protected:
    db::Query query() override
    {
        const auto& sql = session().sql;
        return QStringLiteral("SELECT '', Depo_Kodu, Depo_Adi, ") + sql.TutarBas + QStringLiteral("Ana_Hs/100") +
               sql.TutarSon + QStringLiteral(", ID, Ana_Hs/100 AS Tutar FROM ") + table_ +
               QStringLiteral(" where Sil=0 order by Depo_Kodu");
    }
    void readRows(console::RowReader& reader) override
    {
        rows_.read(reader, [](console::RowReader& r) { return ReadRow{r.text(u"Depo_Kodu"), r.number(u"Tutar")}; });
    }
    console::GridLayout layout() const override
    {
        using A = widgets::Grid::Alignment;
        return {5,
                {{QString(), 280, A::LeftCenter},
                 {QStringLiteral("Depo Kodu"), 1200, A::LeftCenter, A::CenterTop},
                 {QStringLiteral("Depo Adı"), 3000, A::LeftCenter},
                 {QStringLiteral("Tutar"), 1500, A::Amount},
                 {QStringLiteral("ID"), 0}}};
    }
    void Basla() override
    {
        transfer({.completion = {{QStringLiteral("Depolar aktarıldı."), QStringLiteral("Belmo")}}}, [this](console::Transfer& t) {
            if (failStart) throw db::DbError(db::err::NoSuchTable, QStringLiteral("no table"));
            for (const int r : tickedRows())
                t.row(rows_[r].code, [&] {
                    if (cancelStart) {  // a row written, then a long statement in a skip region
                        t.target().execute(QStringLiteral("INSERT INTO Depo (Depo_Kodu) VALUES ('D9')"));
                        host().activity().cancel();
                        services::skip([&] { t.target().execute(QString::fromLatin1(kLongStatement)); });
                    }
                    read.append(rows_[r]);
                });
        });
    }

private:
    QString table_;
    console::RowList<ReadRow> rows_;
};

class ImmediateStep : public console::Step {
public:
    using Step::Step;
    int runs = 0;
    void menuAction() override
    {
        ++runs;
        transfer({.completion = {{QStringLiteral("Şirket bilgileri aktarıldı."), QStringLiteral("Belmo")}}},
                 [](console::Transfer&) {});
    }
};

// A registry entry that builds a step and lets the test reach it.
template <typename S, typename... Args>
console::StepRegistry::Factory keep(S*& made, Args... args)
{
    return [&made, args...](console::StepHost& host) {
        auto step = std::make_unique<S>(host, args...);
        made = step.get();
        return step;
    };
}

}  // namespace belmo::test
