#pragma once

#include "app/ProgramFolder.h"
#include "widgets/Controls.h"
#include "widgets/Panel.h"

#include <QString>

#include <functional>
#include <optional>

namespace belmo::app {

class Session;

// The theme of config row 999 as session.TemaNo: 1 for the default theme text, else the ID
// of the first config row. False when the row is missing or its text is Null: the login
// window then closes and the program ends. Database errors go to the caller.
bool TEMAAYARLA(Session& session);

// The login window "Giriş": start-up, the login frame "Kullanıcı Girişi" and "Onayla".
//
// The window opens the console through onOpenConsole and tells whoever shows it that it
// was hidden, shown again or closed through onVisibility. Every value typed into it that
// reaches a statement is put between quotes with its apostrophes doubled, so a typed
// apostrophe or condition is looked up as it stands and never changes the statement.
class GIRIS {
public:
    explicit GIRIS(Session& session);

    static inline const QString kCaption = QStringLiteral("Giriş");

    widgets::Panel frame{QStringLiteral("Kullanıcı Girişi")};
    widgets::TextBox kullaniciAdi;  // "Kullanıcı Adı"
    widgets::TextBox sifre;         // "Şifre"
    widgets::ComboBox kaynakSirket; // "Kaynak Şirket"
    widgets::ComboBox hedefSirket;  // "Hedef Şirket"
    widgets::Button onayla{QStringLiteral("Onayla")};
    widgets::Button cikis{QStringLiteral("Çıkış")};
    widgets::Button kapat;  // the close control without caption

    // Start-up with the process's current folder. False when the window closed at once:
    // config.mdb could not be opened (the user has been told which file) or the theme row
    // is missing (silently, as the package does).
    bool startUp(const QString& currentFolder);

    // Leaving the fields.
    void kullaniciAdiLostFocus();
    void sifreLostFocus();

    void Onayla();
    void close();

    // "DOGRU" for a valid user (and KullaniciKodu set), "YANLIS" for a wrong password or a
    // barred user, empty when there is no such user or the lookup failed.
    QString KULLANICIKONTROL(const QString& userName, const QString& password);
    // "DOGRU" or "YANLIS" (empty when the lookup failed).
    QString SIRKETYETKI(const QString& userName, const QString& companyCode);
    // The typed user's right to a company: SIRKETYETKI, or the user is an administrator.
    bool mayEnter(const QString& companyCode);

    bool visible() const { return visible_; }
    bool closed() const { return closed_; }
    std::function<void()> onVisibility;
    std::function<void()> onOpenConsole;

private:
    void setVisible(bool on);
    void enableInputs(bool on);
    void fillCompanyLists();
    void refuse(const QString& message, const QString& details = {});
    QStringList rightsNaming(const QString& code);
    // The company a typed code stands for. A right names its company's file exactly: a code
    // typed in another case stands for the code as the right spells it; a code no right names
    // stands for itself. Refuses (and gives nothing) when rights in several spellings name it.
    std::optional<QString> companyCode(const QString& typed);
    // Refuses a code whose file MUHASEBE cannot tell, or does not hold when missingToo says
    // so; true when refused.
    bool refusedFile(const ProgramFolder::CompanyFile& file, const QString& code, bool missingToo);
    void touchSource();

    Session& session_;
    bool visible_ = false;
    bool closed_ = false;
};

}  // namespace belmo::app
