#pragma once

// Figures of the document writers: opening entries posted one by one through
// CARIHAREKETEKLE and STOKHAREKETEKLE into a prepared company, each with its document
// number from EVRAKNOAL, as the balance steps post them: entries per second and whether the
// cost of an entry grows with the tables. Returns the number of entries that failed.
// With a server, the company is a working database of that server, dropped afterwards;
// without one, a file in a temporary folder.
namespace belmo::app {
struct ServerSettings;
}

namespace belmo::bench {

int postingFigures(int accounts, int stock, bool transaction, const app::ServerSettings* server = nullptr);

}  // namespace belmo::bench
