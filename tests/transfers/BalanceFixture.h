#pragma once

// Ground shared by the current-account and stock tests: documents written into the source
// as the package writes them, and the target's opening entries read back.
#include "TransferFixture.h"

#include "app/Session.h"
#include "transfers/balances/OpeningBalanceStep.h"

namespace belmo::test {

class BalanceTest : public TransferTest {
protected:
    using Columns = std::initializer_list<std::pair<const char*, Value>>;

    // The target's period is 2010; the source's does not matter to the entries.
    BalanceTest();

    app::Session& session() { return c->session(); }
    transfers::OpeningBalanceStep& step(console::StepId id);

    // A document header in a company; returns the number the database gave it.
    qint64 header(db::Connection& con, Columns columns);

    // The target's live opening entries, one line per header in the order written: the
    // header's date, sides, document type, transaction and user, then its current-account
    // line's currency and three amounts.
    QList<QStringList> openingEntries();
    // Opening entries to expect: the account or card side, the counter side and amounts.
    static QStringList entry(const QStringList& debit, const QStringList& credit, const QString& currency,
                             const QString& ytl, const QString& dvz1, const QString& dvz2);
    static inline const QStringList kCounter = {QStringLiteral("500"), QStringLiteral("01"), QStringLiteral("001")};

    // The error text shown for error 5, the step's answer to "Başla" with nothing ticked.
    static inline const QString kError5 = QStringLiteral("Belirtilen Hata Algılandı : Geçersiz yordam çağrısı");

    // The two questions before writing into a target that holds cards.
    void expectQuestions(bool goOn, bool deleteTargetData);
};

}  // namespace belmo::test
