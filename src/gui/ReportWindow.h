#pragma once

#include "proof/Reconciliation.h"

#include <QWidget>

#include <functional>

class QPushButton;
class QTabWidget;

namespace belmo::console {
class BELMO;
}
namespace belmo::services {
class Dialogs;
}

namespace belmo::gui {

// The reconciliation on screen: the companies at the top, a tab per part with its items
// (differences highlighted) and totals, and "PDF Olarak Kaydet", which writes the printable
// report where the user chooses.
class ReportWindow : public QWidget {
    Q_OBJECT

public:
    ReportWindow(proof::Reconciliation report, services::Dialogs& dialogs, QWidget* parent = nullptr);

    static inline const QString kCaption = QStringLiteral("Devir Mutabakat Raporu");
    static inline const QString kSaveCaption = QStringLiteral("PDF Olarak Kaydet");

    // Where the PDF goes: a save dialog unless the caller gives another way (an empty name
    // leaves it unsaved).
    std::function<QString()> askFileName;

    const proof::Reconciliation& report() const { return report_; }
    QTabWidget* tabs() const { return tabs_; }
    QPushButton* saveButton() const { return save_; }

private:
    void savePdf();

    proof::Reconciliation report_;
    services::Dialogs& dialogs_;
    QTabWidget* tabs_;
    QPushButton* save_;
};

// The reconciliation of the console's two companies: the source as its panels listed it (the
// rest read read-only), the target as it stands.
// Throws the database's error when a company cannot be read.
proof::Reconciliation reconcileConsole(console::BELMO& console);

}  // namespace belmo::gui
