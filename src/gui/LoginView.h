#pragma once

#include "app/GIRIS.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLineEdit;

namespace belmo::gui {

// The login window "Giriş": the frame "Kullanıcı Girişi" with the user name, the password,
// the source and target company lists, "Onayla", "Çıkış" and "Server Bilgileri", and behind
// it the frame "Server Bilgileri"; the model's frame in front is the one shown. The window's
// close control is the model's close control; the model decides whether the window goes.
//
// Entering the user name or the password selects its text, Enter moves on to the next
// field, and leaving either field runs the model's leave handler once per visit: a move
// to another window or a pop-up is not a leave.
class LoginView : public QWidget {
    Q_OBJECT

public:
    explicit LoginView(app::GIRIS& login, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Field {
        QLineEdit* edit;
        QWidget* next;          // where Enter sends the focus
        void (app::GIRIS::*leave)();
        bool pending = false;  // entered or edited since its leave handler last ran
    };
    QWidget* buildForm();
    QWidget* buildButtons();
    QWidget* buildServerFrame();
    Field* field(QObject* widget);
    void leave(Field& field);
    // Runs the leave handler of a field entered or edited and not left yet (the one with
    // the focus), so "Onayla" sees what leaving it would have done.
    void leavePendingFields();

    app::GIRIS& login_;
    QLineEdit* userName_;
    QLineEdit* password_;
    QComboBox* source_;
    QComboBox* target_;
    std::array<Field, 2> fields_;
};

}  // namespace belmo::gui
