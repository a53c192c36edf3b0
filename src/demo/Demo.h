#pragma once

#include "demo/SourceCompany.h"

#include <QString>

#include <functional>

namespace belmo::demo {

// The companies of the demo program folder.
inline const char* const kSourceCode = "DEMO2025";  // the closing period, full of data
inline const char* const kTargetCode = "DEMO2026";  // the new period, prepared and empty

// The users the demo's config.mdb holds (user name, password).
inline const char* const kAdminUser = "ADMIN";
inline const char* const kAdminPassword = "admin";
inline const char* const kClerkUser = "MUHASEBE";
inline const char* const kClerkPassword = "1234";

// Creates a program folder to try the carry-forward on: config.mdb with users, company
// rights, the theme and the error texts; a source company full of a year's data; and an
// empty target company prepared for the next period. Every file is written under a working
// name and put in place only when all of them are complete. Existing demo files are
// replaced only when `replace` is set. Throws DbError naming the file on any failure.
void createDemoFolder(const QString& folder, Size size, bool replace,
                      const std::function<void(const QString&)>& progress = {});

}  // namespace belmo::demo
