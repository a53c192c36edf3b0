// Number formats, query fragments, temporary views, the error lookup and the small routines
// of the shared module, on real company and configuration files.
#include "support/TestSession.h"

#include "app/GIRIS.h"
#include "db/ConnectionString.h"
#include "db/JetDialect.h"
#include "db/Schema.h"
#include "db/VbConvert.h"
#include "services/Errors.h"
#include "services/Fragments.h"
#include "services/NumberFormats.h"
#include "services/SmallRoutines.h"
#include "services/TemporaryViews.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace belmo::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using namespace services;

class SharedRoutinesTest : public ::testing::Test {
protected:
    TestSession t;
    app::Session& s = t.session;

    void setDecimals(const QString& assignments)
    {
        t.company.connection().execute(u"UPDATE PARATANIM SET "_s + assignments);
    }
    QString missingFile() const
    {
        return db::ConnectionString::forJetFile(t.company.folder() + u"/MUHASEBE/YOK.mdb"_s, db::schema::databasePassword());
    }
};

// ---- FORMATAYARLA ---------------------------------------------------------------------------

TEST_F(SharedRoutinesTest, EachFormatComesFromItsOwnColumn)
{
    setDecimals(u"TUTARKURUS=2, DVZ1TUTARKURUS=1, DVZ2TUTARKURUS=0, FIYATKURUS=4, DVZ1FIYATKURUS=3, "
                u"DVZ2FIYATKURUS=5, MIKTARKSR=6"_s);
    FORMATAYARLA(t.company.connection(), s.formats);
    const NumberFormats& f = s.formats;
    EXPECT_EQ(QStringList({f.TutarFormat, f.Dvz1TutarFormat, f.Dvz2TutarFormat, f.FiyatFormat, f.Dvz1FiyatFormat,
                           f.Dvz2FiyatFormat, f.MiktarFormat}),
              QStringList({u"##,###0.00"_s, u"##,###0.0"_s, u"##,###"_s, u"##,###0.0000"_s, u"##,###0.000"_s,
                           u"##,###0.00000"_s, u"##,###0.000000"_s}));
    EXPECT_EQ(QStringList({f.TutarKurus, f.Dvz1TutarKurus, f.Dvz2TutarKurus, f.FiyatKurus, f.Dvz1FiyatKurus,
                           f.Dvz2FiyatKurus, f.MiktarKurus}),
              QStringList({u"2"_s, u"1"_s, u"0"_s, u"4"_s, u"3"_s, u"5"_s, u"6"_s}));
}

TEST_F(SharedRoutinesTest, AFailingColumnKeepsWhatWasFilledBeforeIt)
{
    // After the login of the fixture: 2, 2, 2, 4, 4, 4, 3.
    setDecimals(u"TUTARKURUS=0, DVZ1TUTARKURUS=1, DVZ1FIYATKURUS=Null, MIKTARKSR=5"_s);
    FORMATAYARLA(t.company.connection(), s.formats);
    const NumberFormats& f = s.formats;
    // The columns before the Null one got their new pattern, without the zero rule that
    // comes after it; the rest and every decimals text are as the first login left them.
    EXPECT_EQ(f.TutarFormat, u"##,###0."_s);
    EXPECT_EQ(f.Dvz1TutarFormat, u"##,###0.0"_s);
    EXPECT_EQ(f.FiyatFormat, u"##,###0.0000"_s);
    EXPECT_EQ(f.Dvz1FiyatFormat, u"##,###0.0000"_s);
    EXPECT_EQ(f.MiktarFormat, u"##,###0.000"_s);
    EXPECT_EQ(f.TutarKurus, u"2"_s);

    t.company.connection().execute(u"DELETE FROM PARATANIM"_s);
    FORMATAYARLA(t.company.connection(), s.formats);  // no row: nothing changes, nothing is shown
    EXPECT_EQ(f.MiktarFormat, u"##,###0.000"_s);
}

TEST_F(SharedRoutinesTest, TotalsFormattedByTheProgramEqualTheFormattedColumns)
{
    for (double amount : {0.0, 5555.5, 1234567.891, -2.345, 0.005, -0.004})
        t.company.insert(u"Cari_H"_s, {{"Tutar_Ytl", amount}});
    db::Recordset rs;
    rs.open(u"select Tutar_Ytl, "_s + s.sql.TutarBas + u"Tutar_Ytl"_s + s.sql.TutarSon + u" as T from Cari_H order by rowid"_s,
            t.company.connection(), db::CursorType::Static, db::LockType::ReadOnly);
    QStringList fromSql, fromCode;
    for (; !rs.eof(); rs.moveNext()) {
        fromSql << vb::CStr(rs.value(u"T"_s));
        fromCode << vb::formatNumber(vb::CDbl(rs.value(0)), s.formats.TutarFormat);
    }
    EXPECT_EQ(fromSql, QStringList({u"0,00"_s, u"5.555,50"_s, u"1.234.567,89"_s, u"-2,35"_s, u"0,01"_s, u"0,00"_s}));
    EXPECT_EQ(fromCode, fromSql);
}

// ---- SQLCEVIR -------------------------------------------------------------------------------

TEST_F(SharedRoutinesTest, AmountFragmentsFollowTheDecimalsOfTheLogin)
{
    EXPECT_EQ(s.sql.TutarBas, u"FORMAT("_s);
    EXPECT_EQ(s.sql.TutarSon, u",'##,###0.00')"_s);
    EXPECT_EQ(s.sql.MiktarSon, u",'##,###0.000')"_s);
    EXPECT_EQ(s.sql.FiyatSon, u",'##,###0.0000')"_s);

    setDecimals(u"TUTARKURUS=0"_s);
    FORMATAYARLA(t.company.connection(), s.formats);
    EXPECT_EQ(s.sql.TutarSon, u",'##,###0.00')"_s);  // fragments copy the formats of their moment
    SQLCEVIR(s.SqlSunucu, s.formats, s.sql);
    EXPECT_EQ(s.sql.TutarSon, u",'##,###')"_s);
    t.company.insert(u"Cari_H"_s, {{"Tutar_Ytl", 0.0}});
    t.company.insert(u"Cari_H"_s, {{"Tutar_Ytl", 1234.5}});
    EXPECT_EQ(t.company.rows(u"select "_s + s.sql.TutarBas + u"Tutar_Ytl"_s + s.sql.TutarSon + u" from Cari_H order by rowid"_s),
              (QList<QStringList>{{u""_s}, {u"1.235"_s}}));
}

TEST_F(SharedRoutinesTest, ServerTypeChoosesTheDialect)
{
    const Fragments access = s.sql;
    EXPECT_EQ(access.conditional(u"a=1"_s, u"'x'"_s, u"a=2"_s, u"'y'"_s), u"SWITCH(  a=1 , 'x' , a=2 , 'y' )"_s);

    s.SqlSunucu = 1;
    SQLCEVIR(s.SqlSunucu, s.formats, s.sql);
    EXPECT_EQ(s.sql.KirpBas + u"Ad"_s + s.sql.KirpSon, u"LTRIM(RTRIM(Ad))"_s);
    EXPECT_EQ(s.sql.TutarBas + u"T"_s + s.sql.TutarSon, u"belmo.format(T,'##,###0.00')"_s);
    EXPECT_EQ(s.sql.TarihMetinBas + u"D"_s + s.sql.TarihMetinSon, u"to_char(D::timestamp,'DD.MM.YYYY')"_s);
    EXPECT_EQ(s.sql.conditional(u"a=1"_s, u"'x'"_s, u"a=2"_s, u"'y'"_s), u"CASE WHEN a=1 THEN 'x' WHEN a=2 THEN 'y' END"_s);
    EXPECT_EQ(s.sql.SayiFonk, u"belmo.cdbl"_s);

    s.SqlSunucu = 7;  // no known server type: the fragments stay as they are
    SQLCEVIR(s.SqlSunucu, s.formats, s.sql);
    EXPECT_EQ(s.sql.SayiFonk, u"belmo.cdbl"_s);
    s.SqlSunucu = -1;
    SQLCEVIR(s.SqlSunucu, s.formats, s.sql);
    EXPECT_EQ(s.sql.SayiFonk, u"CDBL"_s);
    EXPECT_EQ(s.sql.TutarSon, access.TutarSon);
}

// ---- GORUNUMOLUSTUR and GORUNUMSIL ----------------------------------------------------------

// A panel reads only the views it has just made: dropping a missing view passes, every other
// failure is thrown.
TEST_F(SharedRoutinesTest, ViewsAreRebuiltPerUserAndNeverReadStale)
{
    db::Connection& source = t.company.connection();
    const ViewSet mine(u"CMZN"_s, u"05"_s);
    GORUNUMSIL(source, mine, 1);  // nothing to drop in a fresh database
    GORUNUMOLUSTUR(source, mine, 1, u"select 'ilk' as A"_s);
    EXPECT_THROW(GORUNUMOLUSTUR(source, mine, 1, u"select 'ikinci' as A"_s), db::DbError);  // exists
    EXPECT_EQ(mine.name(1), u"CMZN051"_s);
    EXPECT_EQ(t.company.rows(u"select A from CMZN051"_s), (QList<QStringList>{{u"ilk"_s}}));

    const ViewSet other(u"CMZN"_s, u"07"_s);  // another user on the same source
    GORUNUMOLUSTUR(source, other, 1, u"select 'başka' as A"_s);
    EXPECT_EQ(t.company.rows(u"select A from CMZN071"_s), (QList<QStringList>{{u"başka"_s}}));
    EXPECT_EQ(t.company.rows(u"select A from CMZN051"_s), (QList<QStringList>{{u"ilk"_s}}));

    GORUNUMSIL(source, other, 1);
    GORUNUMOLUSTUR(source, other, 1, u"select 'yeni' as A"_s);
    EXPECT_EQ(t.company.rows(u"select A from CMZN071"_s), (QList<QStringList>{{u"yeni"_s}}));

    EXPECT_THROW(GORUNUMOLUSTUR(source, other, 2, u"select Yok from Olmayan"_s), db::DbError);  // does not compile
    EXPECT_EQ(t.company.rows(u"select count(*) from sqlite_master where name='CMZN072'"_s),
              (QList<QStringList>{{u"0"_s}}));
}

// A user code is spelled as one plain name, whatever it holds, and no two codes share one.
TEST_F(SharedRoutinesTest, ViewNamesOfAnyUserCodeAreOnePlainName)
{
    const QStringList codes = {u"Q1 AS SELECT 1; --"_s, u"O'Ş_"_s, u"O_0027_015E_"_s, u"05"_s};
    QStringList names;
    for (const QString& code : codes) {
        const ViewSet views(u"CMZN"_s, code);
        names << views.name(1);
        EXPECT_TRUE(QRegularExpression(u"^[A-Za-z0-9_]+$"_s).match(names.last()).hasMatch()) << names.last().toStdString();
        GORUNUMOLUSTUR(t.company.connection(), views, 1, u"select "_s + db::jet::quoted(code) + u" as A"_s);
        EXPECT_EQ(t.company.rows(u"select A from "_s + views.name(1)), (QList<QStringList>{{code}}));
    }
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), codes.size());
    EXPECT_EQ(names.last(), u"CMZN051"_s);
}

// ---- HATAMESAJI -----------------------------------------------------------------------------

TEST_F(SharedRoutinesTest, ErrorTextsComeFromTheConfigurationStore)
{
    t.addErrorText(u"3021"_s, u"Geçerli bir kayıt yok."_s);
    t.dialogs.expectMessage(u"Belirtilen Hata Algılandı : Geçerli bir kayıt yok."_s);
    HATAMESAJI(s.errors(), u" 3021 "_s);
    t.dialogs.expectMessage(u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s);
    HATAMESAJI(s.errors(), u"3022"_s);
    t.dialogs.expectMessage(u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s);
    HATAMESAJI(s.errors(), u"' OR '1'='1"_s);  // a number is looked up as text, never as a condition
}

TEST_F(SharedRoutinesTest, AnUnreadableErrorTableGivesOnePlainMessage)
{
    t.config().execute(u"DROP TABLE Hata_Kod"_s);
    t.dialogs.expectError(u"Belirtilen Hata Algılandı : Geçerli bir kayıt yok (dosya başı veya sonu)."_s, {u"error 3021"_s});
    HATAMESAJI(s.errors(), u"3021"_s);

    // Never a bare number: the program's own text, the number beside the file and the cause.
    s.AyarBag = missingFile();
    t.dialogs.expectError(u"Belirtilen Hata Algılandı : Girilen değer alanın veri türüne uymuyor."_s,
                          {u"K.mdb: Stok_H, Kayit_No 7: does not fit (error -2147217887)"_s});
    reportError(s.errors(), db::DbError(db::err::MultipleStep, u"does not fit"_s).in(u"K.mdb"_s, u"Stok_H, Kayit_No 7"_s));
    t.dialogs.expectError(u"Hatalı Veri Girişi Algılandı. Lütfen Verilerinizi Kontrol Ediniz."_s, {u"error 77"_s});
    HATAMESAJI(s.errors(), u"77"_s);
}

// ---- small routines -------------------------------------------------------------------------

TEST_F(SharedRoutinesTest, SmallRoutines)
{
    EXPECT_EQ(TIRNAKSIL(u"O'NEİL'S"_s), u"O NEİL S"_s);
    EXPECT_EQ(TIRNAKSIL(u"''"_s), u"  "_s);

    EXPECT_EQ(BOSSIFIR(u""_s), Value(0));
    EXPECT_EQ(BOSSIFIR(Value::null()), Value(0));
    EXPECT_EQ(BOSSIFIR(Value()), Value(0));
    EXPECT_EQ(BOSSIFIR(0), Value(0));
    EXPECT_EQ(BOSSIFIR(u"abc"_s), Value(u"abc"_s));
    EXPECT_EQ(BOSSIFIR(u" "_s), Value(u" "_s));

    t.dialogs.expectOverwrite(u"PLS01 zaten var"_s, u"Üzerine yazılsın mı?"_s, answer::kNoToAll);
    EXPECT_EQ(SORUSOR(s.dialogs(), u"PLS01 zaten var"_s, u"Üzerine yazılsın mı?"_s), answer::kNoToAll);
}

TEST_F(SharedRoutinesTest, ThemeFromConfigRow999)
{
    db::Connection& config = t.config();
    EXPECT_FALSE(app::TEMAAYARLA(s));  // no row: the program ends at start-up

    config.execute(u"INSERT INTO config (ID, Tema_Adi) VALUES (999, Null)"_s);
    EXPECT_FALSE(app::TEMAAYARLA(s));

    config.execute(u"UPDATE config SET Tema_Adi='&H0EFEFF70&'"_s);
    EXPECT_TRUE(app::TEMAAYARLA(s));
    EXPECT_EQ(s.TemaNo, 1);

    config.execute(u"UPDATE config SET Tema_Adi='&H00FF0000&'"_s);
    EXPECT_TRUE(app::TEMAAYARLA(s));
    EXPECT_EQ(s.TemaNo, 999);  // the ID of the first config row
}

}  // namespace
}  // namespace belmo::test
