#include "TestSession.h"

#include "db/ConnectionString.h"
#include "db/Schema.h"
#include "services/Fragments.h"
#include "services/NumberFormats.h"

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;

TestSession::TestSession()
{
    const QString configPath = company.folder() + u"/config.mdb"_s;
    db::schema::createDatabaseFile(configPath, db::schema::configTables(), db::schema::databasePassword());
    session.ProgramKlasoru = company.folder();
    session.AyarBag = db::ConnectionString::forJetFile(configPath, db::schema::databasePassword());
    config_.open(session.AyarBag);

    company.insert(u"PARATANIM"_s, {{"TUTARKURUS", 2}, {"DVZ1TUTARKURUS", 2}, {"DVZ2TUTARKURUS", 2}, {"FIYATKURUS", 4},
                                    {"DVZ1FIYATKURUS", 4}, {"DVZ2FIYATKURUS", 4}, {"MIKTARKSR", 3}});
    session.KaynakBag = company.connectionString();
    session.KullaniciKodu = u"05"_s;
    session.HModu = session.KModu = 2;
    services::FORMATAYARLA(company.connection(), session.formats);
    services::SQLCEVIR(session.SqlSunucu, session.formats, session.sql);
}

void TestSession::addErrorText(const QString& number, const QString& text)
{
    company.insert(config_, u"Hata_Kod"_s, {{"Kod", number}, {"Hata", text}});
}

}  // namespace belmo::test
