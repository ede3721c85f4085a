// SPDX-License-Identifier: GPL-3.0-or-later
#include "assessment/InputRules.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace InputRules;

namespace {

// What the window does after each keypad key: the field's change handling drops the last
// character of a decimal text it cannot read.
QString pressKeys(int field, const QString &keys)
{
    QString text;
    for (QChar key : keys) {
        text = keypadAppend(field, text, key);
        if (field != 1 && !text.isEmpty() && !readDecimalField(text))
            text.chop(1);
    }
    return text;
}

} // namespace

class TestInputRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keyFilterTakesOnlyItsCharacters_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("age-digit-0") << 1 << int('0') << true;
        QTest::newRow("age-digit-9") << 1 << int('9') << true;
        QTest::newRow("age-backspace") << 1 << 8 << true;
        QTest::newRow("age-enter") << 1 << 13 << true;
        QTest::newRow("age-127") << 1 << 127 << true;
        QTest::newRow("age-point") << 1 << int('.') << false;
        QTest::newRow("age-letter") << 1 << int('a') << false;
        QTest::newRow("age-minus") << 1 << int('-') << false;
        QTest::newRow("age-tab") << 1 << 9 << false;
        QTest::newRow("height-point") << 2 << int('.') << true;
        QTest::newRow("weight-point") << 3 << int('.') << true;
        QTest::newRow("fat-point") << 4 << int('.') << true;
        QTest::newRow("fat-digit") << 4 << int('5') << true;
        QTest::newRow("height-comma") << 2 << int(',') << false;
        QTest::newRow("weight-space") << 3 << int(' ') << false;
        QTest::newRow("fat-fullwidth-digit") << 4 << 0xFF11 << false;
        QTest::newRow("fat-katakana-dot") << 4 << 0x30FB << false;
        QTest::newRow("no-field-digit") << 0 << int('1') << false;
    }
    void keyFilterTakesOnlyItsCharacters()
    {
        QFETCH(int, field);
        QFETCH(int, code);
        QTEST(acceptsTypedChar(field, QChar(code)), "accepted");
    }

    void decimalFieldKeepsOneDecimal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<float>("value");
        QTest::newRow("65.26") << u"65.26"_s << true << 65.3f;
        QTest::newRow("65.25") << u"65.25"_s << true << 65.3f;
        QTest::newRow("119.96") << u"119.96"_s << true << 120.0f;
        QTest::newRow("119.94") << u"119.94"_s << true << 119.9f;
        QTest::newRow("trailing-point") << u"1."_s << true << 1.0f;
        QTest::newRow("whole") << u"170"_s << true << 170.0f;
        QTest::newRow("tiny") << u"0.04"_s << true << 0.0f;
        QTest::newRow("many-digits") << u"123456789012"_s << true << 123456791552.0f;
        QTest::newRow("two-points") << u"1.2."_s << false << 0.0f;
        QTest::newRow("double-point") << u"1.."_s << false << 0.0f;
        QTest::newRow("point-only") << u"."_s << false << 0.0f;
        QTest::newRow("empty") << QString() << false << 0.0f;
        QTest::newRow("beyond-float") << (u"1"_s + QString(39, u'0')) << false << 0.0f;
        QTest::newRow("beyond-double") << QString(400, u'9') << false << 0.0f;
    }
    void decimalFieldKeepsOneDecimal()
    {
        QFETCH(QString, text);
        QFETCH(bool, readable);
        QFETCH(float, value);
        const auto read = readDecimalField(text);
        QCOMPARE(read.has_value(), readable);
        if (readable)
            QCOMPARE(*read, value);
    }

    void ageFieldReadsWholeNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<int>("value");
        QTest::newRow("45") << u"45"_s << true << 45;
        QTest::newRow("overlong-but-fits") << u"2147483647"_s << true << 2147483647;
        QTest::newRow("past-32-bit") << u"2147483648"_s << false << 0;
        QTest::newRow("keypad-run-on") << u"99999999999"_s << false << 0;
        QTest::newRow("empty") << QString() << false << 0;
    }
    void ageFieldReadsWholeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, readable);
        QFETCH(int, value);
        const auto read = readAgeField(text);
        QCOMPARE(read.has_value(), readable);
        if (readable)
            QCOMPARE(*read, value);
    }

    void calculateNeedsSexAndFourTexts_data()
    {
        QTest::addColumn<int>("sex");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("enabled");
        const QStringList full = {u"40"_s, u"170"_s, u"65"_s, u"20"_s};
        QTest::newRow("all-filled") << 1 << full << true;
        QTest::newRow("female") << 2 << full << true;
        QTest::newRow("no-sex") << 0 << full << false;
        QTest::newRow("three-fields")
            << 1 << QStringList {u"40"_s, u"170"_s, u"65"_s, QString()} << false;
        QTest::newRow("no-age") << 2 << QStringList {QString(), u"170"_s, u"65"_s, u"20"_s}
                                << false;
        QTest::newRow("values-not-judged")
            << 1 << QStringList {u"1"_s, u"1"_s, u"1"_s, u"1"_s} << true;
    }
    void calculateNeedsSexAndFourTexts()
    {
        QFETCH(int, sex);
        QFETCH(QStringList, texts);
        QTEST(canCalculate(sex, texts), "enabled");
    }

    void keypadBuildsTexts_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("age-1-0") << 1 << u"10"_s << u"10"_s;
        QTest::newRow("age-zero-on-empty") << 1 << u"0"_s << QString();
        QTest::newRow("age-point-ignored") << 1 << u"1.5"_s << u"15"_s;
        QTest::newRow("age-no-length-limit") << 1 << u"12345"_s << u"12345"_s;
        QTest::newRow("height-point-on-empty") << 2 << u".1"_s << u"1"_s;
        QTest::newRow("height-1-point-point") << 2 << u"1.."_s << u"1."_s;
        QTest::newRow("height-second-point-later") << 2 << u"1.2."_s << u"1.2"_s;
        QTest::newRow("weight-decimal") << 3 << u"65.26"_s << u"65.26"_s;
        QTest::newRow("fat-zero-after-point") << 4 << u"20.0"_s << u"20.0"_s;
        QTest::newRow("no-field") << 0 << u"123"_s << QString();
        QTest::newRow("unknown-field") << 5 << u"123"_s << QString();
    }
    void keypadBuildsTexts()
    {
        QFETCH(int, field);
        QFETCH(QString, keys);
        QTEST(pressKeys(field, keys), "text");
    }

    void keypadIgnoresOtherKeys()
    {
        QCOMPARE(keypadAppend(2, u"1"_s, u'a'), u"1"_s);
        QCOMPARE(keypadAppend(2, u"1"_s, QChar(0x30FB)), u"1"_s);
    }

    void keypadShowsTheFieldsUnit_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("unit");
        QTest::newRow("age") << 1 << u"歳"_s;
        QTest::newRow("height") << 2 << u"cm"_s;
        QTest::newRow("weight") << 3 << u"kg"_s;
        QTest::newRow("fat-fullwidth-percent") << 4 << u"\uFF05"_s;
        QTest::newRow("none") << 0 << QString();
    }
    void keypadShowsTheFieldsUnit()
    {
        QFETCH(int, field);
        QTEST(keypadUnit(field), "unit");
    }

    void rangeCheck_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<RangeVerdict>("verdict");
        QTest::addColumn<QString>("message");
        const auto ok = RangeVerdict::Accepted;
        const auto ask = RangeVerdict::Question;
        QTest::newRow("age-empty") << 1 << QString() << RangeVerdict::Empty << QString();
        QTest::newRow("height-empty") << 2 << QString() << RangeVerdict::Empty << QString();
        QTest::newRow("no-field") << 0 << u"50"_s << RangeVerdict::Empty << QString();
        QTest::newRow("age-14") << 1 << u"14"_s << RangeVerdict::Under15
                                << u"\uFF11\uFF15歳未満には対応してません"_s;
        QTest::newRow("age-15") << 1 << u"15"_s << ok << QString();
        QTest::newRow("age-110") << 1 << u"110"_s << ok << QString();
        QTest::newRow("age-111") << 1 << u"111"_s << ask << u"111歳って、ほんと？"_s;
        QTest::newRow("height-119.96-rounds-in") << 2 << u"119.96"_s << ok << QString();
        QTest::newRow("height-119.94") << 2 << u"119.94"_s << ask << u"119.94cmって、ほんと？"_s;
        QTest::newRow("height-120") << 2 << u"120"_s << ok << QString();
        QTest::newRow("height-200.0") << 2 << u"200.0"_s << ok << QString();
        QTest::newRow("height-200.04-rounds-in") << 2 << u"200.04"_s << ok << QString();
        QTest::newRow("height-200.1") << 2 << u"200.1"_s << ask << u"200.1cmって、ほんと？"_s;
        QTest::newRow("height-250") << 2 << u"250"_s << ask << u"250cmって、ほんと？"_s;
        QTest::newRow("height-trailing-point") << 2 << u"1."_s << ask << u"1.cmって、ほんと？"_s;
        QTest::newRow("weight-20") << 3 << u"20"_s << ok << QString();
        QTest::newRow("weight-19.9") << 3 << u"19.9"_s << ask << u"19.9kgって、ほんと？"_s;
        QTest::newRow("weight-120.0") << 3 << u"120.0"_s << ok << QString();
        QTest::newRow("weight-120.1") << 3 << u"120.1"_s << ask << u"120.1kgって、ほんと？"_s;
        QTest::newRow("fat-5") << 4 << u"5"_s << ok << QString();
        QTest::newRow("fat-4.9") << 4 << u"4.9"_s << ask << u"4.9%って、ほんと？"_s;
        QTest::newRow("fat-50.0") << 4 << u"50.0"_s << ok << QString();
        QTest::newRow("fat-50.1") << 4 << u"50.1"_s << ask << u"50.1%って、ほんと？"_s;
    }
    void rangeCheck()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        // The window passes its kept values, which the change handling derived from the text.
        const qint32 age = field == 1 ? readAgeField(text).value_or(0) : 40;
        const float kept = field == 1 ? 0.0f : readDecimalField(text).value_or(0.0f);
        const RangeCheck check = checkRange(field, text, age, kept);
        QTEST(check.verdict, "verdict");
        QTEST(check.message, "message");
    }

    void rangeCheckComparesTheAgeNotTheText()
    {
        // The age field may be empty while Age still holds an older value; an empty text is never
        // checked, but a non-empty one is judged by Age.
        QCOMPARE(checkRange(1, u"20"_s, 12, 0).verdict, RangeVerdict::Under15);
        QCOMPARE(checkRange(3, u"65"_s, 40, 300.0f).verdict, RangeVerdict::Question);
    }
};

QTEST_GUILESS_MAIN(TestInputRules)
#include "tst_inputrules.moc"
