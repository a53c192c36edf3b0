#pragma once

#include "app/ProgramFolder.h"
#include "app/ServerSettings.h"
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

// The login window "Giriş": start-up, the login frame "Kullanıcı Girişi" and "Onayla", and
// behind it the frame "Server Bilgileri" that says where the companies are: files in MUHASEBE,
// or databases on a company server (config.mdb stays a file either way).
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
    widgets::Button serverBilgileri{QStringLiteral("Server Bilgileri")};  // brings the server frame forward

    widgets::Panel serverFrame{QStringLiteral("Server Bilgileri")};
    widgets::TextBox serverAdi;        // "Server Adı"
    widgets::TextBox serverPort;       // "Port"
    widgets::TextBox serverKullanici;  // "Kullanıcı Adı"
    widgets::TextBox serverSifre;      // "Şifre"
    widgets::CheckBox sqlSunucu{QStringLiteral("SQL Server Kullan")};  // companies on the server
    widgets::Button kaydet{QStringLiteral("Kaydet")};
    widgets::Button serverCikis{QStringLiteral("Çıkış")};

    // The login frame in front, the server frame behind it.
    widgets::PanelStack frames;

    // Start-up with the process's current folder. False when the window closed at once:
    // config.mdb could not be opened (the user has been told which file) or the theme row
    // is missing (silently, as the package does).
    bool startUp(const QString& currentFolder);

    // Leaving the fields.
    void kullaniciAdiLostFocus();
    void sifreLostFocus();

    void Onayla();
    void close();
    // Stores the server frame's fields and brings the login frame back.
    void Kaydet();
    void showServerFrame() { frames.bringToFront(serverFrame); }
    // The settings as last loaded or stored.
    const ServerSettings& server() const { return server_; }

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
    QStringList rightsOf(const QString& user);
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
    void showServerSettings();
    // The server's companies; empty, with the server frame brought forward, when no server is
    // named or it cannot be asked (the user told why).
    std::optional<QStringList> serverCompanies();
    // Onayla's checks of the two companies, in files or on the server; true when refused.
    bool refusedFiles(const ProgramFolder& folder, const QString& source, const QString& target);
    bool refusedOnServer(const QString& source, const QString& target, const QStringList& companies);

    Session& session_;
    ServerSettings server_;
    bool visible_ = false;
    bool closed_ = false;
};

}  // namespace belmo::app
