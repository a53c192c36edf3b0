// VB conversions with Turkish conventions: what the SQL FORMAT and the step code share.
#include "support/TestCompany.h"

#include "db/DbError.h"
#include "db/VbConvert.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace belmo;
using db::Value;

namespace {

QString fmt(const Value& v, const char* pattern) { return vb::Format(v, QString::fromUtf8(pattern)).textValue(); }

qint32 errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const db::DbError& e) {
        return e.number();
    }
    return 0;
}

QDateTime day(int y, int m, int d) { return QDateTime(QDate(y, m, d), QTime(0, 0), Qt::UTC); }

}  // namespace

TEST(NumberFormat, PatternsTheStepsUse)
{
    EXPECT_EQ(fmt(5555.5, "###,###.00"), "5.555,50");
    EXPECT_EQ(fmt(1234567.891, "##,###0.00"), "1.234.567,89");
    EXPECT_EQ(fmt(150.0, "##,###0.00"), "150,00");
    EXPECT_EQ(fmt(-150.0, "##,###0.00"), "-150,00");
    EXPECT_EQ(fmt(0.5, "##,###0.00"), "0,50");
    EXPECT_EQ(fmt(1234.0, "##,###"), "1.234");
    EXPECT_EQ(fmt(12.25, "####0.0"), "12,3");
    EXPECT_EQ(fmt(2.5, "##,###0.0000"), "2,5000");
    EXPECT_EQ(fmt(qint64(1000000), "##,###0.00"), "1.000.000,00");
}

TEST(NumberFormat, ZeroUnderTheDifferentPatterns)
{
    EXPECT_EQ(fmt(0.0, "##,###"), "");  // an all-# pattern shows zero as nothing
    EXPECT_EQ(fmt(0.4, "##,###"), "");
    EXPECT_EQ(fmt(0.0, "####0.0"), "0,0");
    EXPECT_EQ(fmt(0.0, "###,##0.0000"), "0,0000");
    EXPECT_EQ(fmt(0.0, "##,###0.00"), "0,00");
    EXPECT_EQ(fmt(-0.001, "0.00"), "0,00");  // rounds to zero: no sign
}

TEST(NumberFormat, RoundsHalfAwayFromZeroOnTheDecimalValue)
{
    EXPECT_EQ(fmt(2.345, "##,###0.00"), "2,35");
    EXPECT_EQ(fmt(1.005, "0.00"), "1,01");
    EXPECT_EQ(fmt(-2.345, "0.00"), "-2,35");
    EXPECT_EQ(fmt(0.125, "0.00"), "0,13");
    EXPECT_EQ(fmt(9.995, "0.00"), "10,00");
    EXPECT_EQ(fmt(999999.995, "##,###0.00"), "1.000.000,00");
}

TEST(NumberFormat, OptionalDigitsSectionsAndLiterals)
{
    EXPECT_EQ(fmt(0.5, "#.##"), ",5");
    EXPECT_EQ(fmt(5.0, "0.##"), "5,");
    EXPECT_EQ(fmt(7.0, "000"), "007");
    EXPECT_EQ(fmt(0.256, "0.0%"), "25,6%");
    EXPECT_EQ(fmt(-5.0, "0.00;(0.00)"), "(5,00)");
    EXPECT_EQ(fmt(0.0, "0.00;(0.00);\"sıfır\""), "sıfır");
    EXPECT_EQ(fmt(12.5, "0.00 \"TL\""), "12,50 TL");
    EXPECT_EQ(fmt(1.5, "Standard"), "1,50");
}

TEST(NumberFormat, EmptyNegativeSectionsExponentsAndABarePoint)
{
    const struct {
        double value;
        const char *pattern, *shown;
    } cases[] = {
        {-5, "#,##0.00;", "-5,00"},  // an empty section formats as the first, sign included
        {1234.5, "0.00E+00", "1,23E+03"}, {-0.000123456, "0.00E+00", "-1,23E-04"},
        {1125, "0.00E+00", "1,13E+03"},   // the mantissa rounds half away from zero too
        {9.996, "0.00E+00", "1,00E+01"}, {1234.5, "00.0e-0", "12,3e2"}, {1234, "#,0.", "1.234"},
    };
    for (const auto& c : cases) EXPECT_EQ(fmt(c.value, c.pattern), QString::fromUtf8(c.shown)) << c.pattern;
}

TEST(NumberFormat, TextAndNullArguments)
{
    EXPECT_EQ(fmt(Value("12,5"), "0.00"), "12,50");
    EXPECT_EQ(fmt(Value("1.234,5"), "##,###0.00"), "1.234,50");
    EXPECT_TRUE(vb::Format(Value::null(), "0.00").isNull());
    EXPECT_EQ(fmt(Value("abc"), "0.00"), "abc");
}

TEST(NumberFormat, IgnoresTheHostLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(fmt(1234.5, "##,###0.00"), "1.234,50");
    EXPECT_EQ(vb::CDbl(Value("1.234,5")), 1234.5);
    EXPECT_EQ(vb::CStr(Value(2.5)), "2,5");
    QLocale::setDefault(saved);
}

TEST(DateFormat, PatternsAndTexts)
{
    EXPECT_EQ(fmt(day(2011, 1, 1), "DD.MM.YYYY"), "01.01.2011");
    EXPECT_EQ(fmt(day(2011, 1, 1), "dd.mm.yyyy"), "01.01.2011");
    EXPECT_EQ(fmt(Value("01.01.2011"), "DD.MM.YYYY"), "01.01.2011");
    EXPECT_EQ(fmt(Value("2010-12-31"), "dd.mm.yyyy"), "31.12.2010");
    EXPECT_EQ(fmt(day(2026, 12, 9), "d mmmm yyyy dddd"), "9 Aralık 2026 Çarşamba");
    EXPECT_EQ(fmt(day(2026, 2, 3), "dd/mm/yy"), "03.02.26");
    EXPECT_EQ(fmt(Value(QDateTime(QDate(2026, 5, 4), QTime(7, 8, 9), Qt::UTC)), "hh:mm:ss"), "07:08:09");
    EXPECT_EQ(fmt(Value(QDateTime(QDate(2026, 5, 4), QTime(7, 8, 9), Qt::UTC)), "Short Date"), "04.05.2026");
    EXPECT_TRUE(vb::Format(Value::null(), "dd.mm.yyyy").isNull());
}

TEST(Conversions, CDblReadsTurkishNumbers)
{
    EXPECT_EQ(vb::CDbl(Value("1.234,56")), 1234.56);
    EXPECT_EQ(vb::CDbl(Value(" 12,5 ")), 12.5);
    EXPECT_EQ(vb::CDbl(Value("-5")), -5);
    EXPECT_EQ(vb::CDbl(Value("(5)")), -5);
    EXPECT_EQ(vb::CDbl(Value("1E3")), 1000);
    EXPECT_EQ(vb::CDbl(Value()), 0);  // Empty
    EXPECT_EQ(errorOf([] { vb::CDbl(Value("abc")); }), db::err::TypeMismatch);
    EXPECT_EQ(errorOf([] { vb::CDbl(Value("")); }), db::err::TypeMismatch);
    EXPECT_EQ(errorOf([] { vb::CDbl(Value::null()); }), db::err::InvalidUseOfNull);
}

TEST(Conversions, CStrAndStr)
{
    EXPECT_EQ(vb::CStr(Value(2.5)), "2,5");
    EXPECT_EQ(vb::CStr(Value(0.1 + 0.2)), "0,3");
    EXPECT_EQ(vb::CStr(Value(1e15)), "1E+15");
    EXPECT_EQ(vb::CStr(Value(0.00001)), "1E-05");
    EXPECT_EQ(vb::CStr(Value(qint64(120))), "120");
    EXPECT_EQ(vb::CStr(Value(day(2026, 12, 9))), "09.12.2026");
    EXPECT_EQ(vb::CStr(Value(QDateTime(QDate(2026, 12, 9), QTime(14, 5), Qt::UTC))), "09.12.2026 14:05:00");
    EXPECT_EQ(errorOf([] { vb::CStr(Value::null()); }), db::err::InvalidUseOfNull);
    EXPECT_EQ(vb::Str(459), " 459");
    EXPECT_EQ(vb::Str(-5), "-5");
    EXPECT_EQ(vb::Str(2.5), " 2.5");
    EXPECT_EQ(vb::Str(0.5), " .5");
}

TEST(Conversions, CDateReadsTheShortDateFormAndIso)
{
    EXPECT_EQ(vb::CDate(Value("01.01.2011")), day(2011, 1, 1));
    EXPECT_EQ(vb::CDate(Value("1.2.11")), day(2011, 2, 1));
    EXPECT_EQ(vb::CDate(Value("15/03/1999")), day(1999, 3, 15));
    EXPECT_EQ(vb::CDate(Value("2011-01-01")), day(2011, 1, 1));
    EXPECT_EQ(vb::CDate(Value("2011-01-01 10:30:00")), QDateTime(QDate(2011, 1, 1), QTime(10, 30), Qt::UTC));
    EXPECT_EQ(vb::CDate(Value(40544.0)), day(2011, 1, 1));
    EXPECT_EQ(vb::toSerial(day(2011, 1, 1)), 40544.0);
    EXPECT_EQ(errorOf([] { vb::CDate(Value("31.02.2011")); }), db::err::TypeMismatch);
    EXPECT_EQ(errorOf([] { vb::CDate(Value("01.01.")); }), db::err::TypeMismatch);
    EXPECT_EQ(vb::toStorageDate(day(2011, 1, 1)), "2011-01-01");
}
