#pragma once

#include <QStringList>

namespace belmo::db {
class Connection;
}

namespace belmo::demo {

// The configuration store of the demo: an administrator and an ordinary user with rights to
// the given companies, a user whose account is locked, the default theme and the error
// texts of the error numbers the program raises.
void writeDemoConfig(db::Connection& con, const QStringList& companies);

}  // namespace belmo::demo
