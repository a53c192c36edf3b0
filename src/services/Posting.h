#pragma once

#include "db/Value.h"

#include <QString>

namespace belmo::app {
class Session;
}

// The writers of documents: a header in Kayit, lines in Cari_H and Stok_H linked to it by
// Kayit_No, numbers from the series in Evr. They take their values from
// session.kayitDegerleri and write into the database KaynakBag names; a step that posts
// into the target points KaynakBag at HedefBag for the time of its postings.
namespace belmo::services {

// One document header. Errors are reported and the routine ends.
void KAYITEKLE(app::Session& session);

// A header and its current-account line. On an error every header of the document number
// (Evrak_No) is marked deleted, the error is reported and the routine ends: a line is never
// written without the header it belongs to.
void CARIHAREKETEKLE(app::Session& session);

// A header, its current-account line and its stock line (three rows, in this order), with
// the lot rule: a Null Lot_No becomes 0; an empty one on a document of type 2, 3 or 6 with
// both sides set takes the next lot number; an empty one otherwise becomes 0. Errors as in
// CARIHAREKETEKLE.
void STOKHAREKETEKLE(app::Session& session);

// The next number of the series with this prefix (created at 1 when missing), advancing the
// series when told to. Every error is skipped; an unreadable table gives Empty.
db::Value EVRAKNOAL(app::Session& session, const QString& prefix, bool advance);

// The number of a new document, as the steps build it: "K" and the next number of the "K"
// series ("K" alone when the series cannot be read).
QString nextDocumentNumber(app::Session& session);

// Marks every live header with this document number deleted; an empty or Null number
// changes nothing. Errors are reported.
void EVRAKSIL(app::Session& session, const db::Value& number);

}  // namespace belmo::services
