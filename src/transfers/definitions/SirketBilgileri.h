#pragma once

#include "console/Step.h"

namespace belmo::db {
class Connection;
}

namespace belmo::transfers {

// "Şirket Bilgileri": the company record, the money settings, the numbering series and the
// units of measure, copied at once without a panel. The company record and the money
// settings overwrite the target's first row; the series take the source's counters and
// series only the target has stay; the units replace the target's.
//
// A statement that fails (a missing column, a value that does not fit) is left out and the
// step goes on; only an unreadable or empty source company record stops it, and a database
// that does not open is reported.
class SirketBilgileri : public console::Step {
public:
    explicit SirketBilgileri(console::StepHost& host);
    void menuAction() override;

private:
    bool companyRecord(console::Transfer& t);
    void moneySettings(db::Connection& source, db::Connection& target);
    void numberingSeries(db::Connection& source, db::Connection& target);
    void units(db::Connection& source, db::Connection& target);
};

}  // namespace belmo::transfers
