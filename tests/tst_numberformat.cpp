// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/NumberFormat.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

class TestNumberFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundsHalvesAwayFromZero_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("65.25-one") << 65.25 << 1 << u"65.3"_s;
        QTest::newRow("0.5-whole") << 0.5 << 0 << u"1"_s;
        QTest::newRow("1.5-whole") << 1.5 << 0 << u"2"_s;
        QTest::newRow("2.5-whole") << 2.5 << 0 << u"3"_s;
        QTest::newRow("-2.5-whole") << -2.5 << 0 << u"-3"_s;
        QTest::newRow("0.25-one") << 0.25 << 1 << u"0.3"_s;
        QTest::newRow("0.75-one") << 0.75 << 1 << u"0.8"_s;
        QTest::newRow("-0.25-one") << -0.25 << 1 << u"-0.3"_s;
        QTest::newRow("9.95f-one-below-tie") << double(9.95f) << 1 << u"9.9"_s;
        QTest::newRow("99.75-carry") << 99.75 << 1 << u"99.8"_s;
        QTest::newRow("99.5-whole-carry") << 99.5 << 0 << u"100"_s;
        QTest::newRow("999.95f-above-tie-carry") << double(999.95f) << 1 << u"1000.0"_s;
        QTest::newRow("1627.5-whole") << 1627.5 << 0 << u"1628"_s;
        QTest::newRow("0.125-two") << 0.125 << 2 << u"0.13"_s;
    }
    void roundsHalvesAwayFromZero() { check(); }

    void roundsExactBinaryValue_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("65.26f") << double(65.26f) << 1 << u"65.3"_s;
        QTest::newRow("119.96") << 119.96 << 1 << u"120.0"_s;
        QTest::newRow("119.96f") << double(119.96f) << 1 << u"120.0"_s;
        QTest::newRow("119.94") << 119.94 << 1 << u"119.9"_s;
        QTest::newRow("0.15-below-half") << 0.15 << 1 << u"0.1"_s;
        QTest::newRow("0.35-above-half") << 0.35 << 1 << u"0.3"_s;
        QTest::newRow("1.45f-above-half") << double(1.45f) << 1 << u"1.5"_s;
        QTest::newRow("1.45-below-half") << 1.45 << 1 << u"1.4"_s;
        QTest::newRow("2.675-two") << 2.675 << 2 << u"2.67"_s;
        QTest::newRow("0.49999999999999994") << 0.49999999999999994 << 0 << u"0"_s;
        QTest::newRow("zero-one") << 0.0 << 1 << u"0.0"_s;
        QTest::newRow("zero-whole") << 0.0 << 0 << u"0"_s;
        QTest::newRow("small-one") << 0.04 << 1 << u"0.0"_s;
        QTest::newRow("whole-one") << 70.0 << 1 << u"70.0"_s;
        QTest::newRow("whole-no-point") << 1443.2 << 0 << u"1443"_s;
        QTest::newRow("1e20") << 1e20 << 0 << u"100000000000000000000"_s;
        QTest::newRow("denormal") << std::numeric_limits<double>::denorm_min() << 1 << u"0.0"_s;
    }
    void roundsExactBinaryValue() { check(); }

    void signAndSpecialValues_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("negative") << -3.21 << 1 << u"-3.2"_s;
        QTest::newRow("negative-to-zero") << -0.04 << 1 << u"0.0"_s;
        QTest::newRow("negative-zero") << -0.0 << 1 << u"0.0"_s;
        QTest::newRow("negative-whole-to-zero") << -0.4 << 0 << u"0"_s;
        QTest::newRow("negative-tie-to-nonzero") << -0.05 << 1 << u"-0.1"_s;
        QTest::newRow("inf") << std::numeric_limits<double>::infinity() << 1 << u"INF"_s;
        QTest::newRow("-inf") << -std::numeric_limits<double>::infinity() << 0 << u"-INF"_s;
        QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << 1 << u"NAN"_s;
    }
    void signAndSpecialValues() { check(); }

    void largestValueHasAllItsDigits()
    {
        const QString text = formatNumber(std::numeric_limits<double>::max(), 1);
        QCOMPARE(text.size(), 309 + 2);
        QVERIFY(text.startsWith(u"17976931348623157"_s));
        QVERIFY(text.endsWith(u".0"_s));
    }

    void parsesDecimalTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << u"65.26"_s << true << 65.26;
        QTest::newRow("trailing-point") << u"1."_s << true << 1.0;
        QTest::newRow("leading-point") << u".5"_s << true << 0.5;
        QTest::newRow("whole") << u"170"_s << true << 170.0;
        QTest::newRow("negative") << u"-3.0"_s << true << -3.0;
        QTest::newRow("plus") << u"+2.5"_s << true << 2.5;
        QTest::newRow("blanks") << u" 12.5 "_s << true << 12.5;
        QTest::newRow("leading-zeros") << u"007.50"_s << true << 7.5;
        QTest::newRow("empty") << QString() << false << 0.0;
        QTest::newRow("point-only") << u"."_s << false << 0.0;
        QTest::newRow("sign-only") << u"-"_s << false << 0.0;
        QTest::newRow("two-points") << u"1.2."_s << false << 0.0;
        QTest::newRow("comma") << u"1,5"_s << false << 0.0;
        QTest::newRow("exponent") << u"1e3"_s << false << 0.0;
        QTest::newRow("inner-blank") << u"1 2"_s << false << 0.0;
        QTest::newRow("two-signs") << u"--1"_s << false << 0.0;
        QTest::newRow("late-sign") << u"1-"_s << false << 0.0;
        QTest::newRow("inf") << u"inf"_s << false << 0.0;
        QTest::newRow("nan") << u"nan"_s << false << 0.0;
        QTest::newRow("fullwidth-digit") << u"１"_s << false << 0.0;
        QTest::newRow("overflowing") << QString(400, u'9') << false << 0.0;
    }
    void parsesDecimalTexts()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        const auto parsed = parseDecimal(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

    void parsesWholeNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint32>("value");
        QTest::newRow("age") << u"45"_s << true << 45;
        QTest::newRow("zero") << u"0"_s << true << 0;
        QTest::newRow("negative") << u"-7"_s << true << -7;
        QTest::newRow("plus") << u"+7"_s << true << 7;
        QTest::newRow("blanks") << u" 30 "_s << true << 30;
        QTest::newRow("max") << u"2147483647"_s << true << 2147483647;
        QTest::newRow("min") << u"-2147483648"_s << true << qint32(-2147483647 - 1);
        QTest::newRow("past-max") << u"2147483648"_s << false << 0;
        QTest::newRow("past-min") << u"-2147483649"_s << false << 0;
        QTest::newRow("overlong") << u"11111111111111111111"_s << false << 0;
        QTest::newRow("empty") << QString() << false << 0;
        QTest::newRow("point") << u"1.0"_s << false << 0;
        QTest::newRow("letter") << u"4a"_s << false << 0;
        QTest::newRow("sign-only") << u"-"_s << false << 0;
    }
    void parsesWholeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint32, value);
        const auto parsed = parseWholeNumber(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, value);
    }

private:
    void check()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(formatNumber(value, decimals), expected);
    }
};

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_numberformat.moc"
