#pragma once

#include "services/Dialogs.h"

namespace belmo::gui {

// The program's messages and questions as modal Qt dialogs over the active window.
class QtDialogs : public services::Dialogs {
public:
    static inline const QString kDefaultTitle = QStringLiteral("Belmo");

    void message(const QString& text, const QString& title, Icon icon, const QString& details) override;
    bool ask(const QString& text, const QString& title) override;
    QString askOverwrite(const QString& description, const QString& question) override;
};

}  // namespace belmo::gui
