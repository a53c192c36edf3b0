#pragma once

#include "demo/SourceCompany.h"

#include <QString>

#include <QList>

#include <functional>

namespace belmo::demo {

// The companies of the demo program folder.
inline const char* const kSourceCode = "DEMO2025";  // the closing period, full of data
inline const char* const kTargetCode = "DEMO2026";  // the new period, prepared and empty

// A pair of the demo: the closing period and the new one of one company. The first pair is
// DEMO2025 -> DEMO2026; the further ones put a letter after DEMO (DEMOB2025 -> DEMOB2026,
// DEMOC2025 -> ...), so that every code still ends in its year.
struct DemoPair {
    QString source;
    QString target;
    QString name;  // SIRKETAD of both
};
inline constexpr int kMostPairs = 26;
// The first `count` pairs (1 to kMostPairs).
QList<DemoPair> demoPairs(int count);

// The users the demo's config.mdb holds (user name, password).
inline const char* const kAdminUser = "ADMIN";
inline const char* const kAdminPassword = "admin";
inline const char* const kClerkUser = "MUHASEBE";
inline const char* const kClerkPassword = "1234";

// Creates a program folder to try the carry-forward on: config.mdb with users, their rights
// to every company, the theme and the error texts; and per pair a source company full of a
// year's data and an empty target company prepared for the next period. Every file is
// written under a working name and put in place only when all of them are complete.
// Existing demo files are replaced only when `replace` is set. Throws DbError naming the
// file on any failure.
void createDemoFolder(const QString& folder, Size size, bool replace,
                      const std::function<void(const QString&)>& progress = {}, int pairs = 1);

}  // namespace belmo::demo
