// SPDX-License-Identifier: GPL-3.0-or-later
#include "assessment/Assessment.h"
#include "record/MonthTable.h"
#include "record/TextGrid.h"

#include <QTest>

#include <limits>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

Measurements person(qint32 sex, qint32 age, float height, float weight, float fat)
{
    Measurements m;
    m.sexCode = sex;
    m.age = age;
    m.heightCm = height;
    m.weightKg = weight;
    m.bodyFatPercent = fat;
    return m;
}

} // namespace

class TestAssessment : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void judgesWorkedExamples_data()
    {
        QTest::addColumn<int>("sex");
        QTest::addColumn<int>("age");
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("weight");
        QTest::addColumn<float>("fat");
        QTest::addColumn<QString>("bmi");
        QTest::addColumn<QString>("bmr");
        QTest::addColumn<int>("bodyType");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("figure");
        QTest::addColumn<QString>("fatWeight");
        QTest::addColumn<QString>("excessLabel");
        QTest::addColumn<QString>("excessCell");
        QTest::addColumn<bool>("excessUnit");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reduction");
        QTest::addColumn<QString>("advice1");
        QTest::addColumn<QString>("advice2");

        QTest::newRow("man-20-standard")
            << 1 << 20 << 175.0f << 70.0f << 18.0f << u"22.9"_s << u"1628"_s << 7 << u"健康標準"_s
            << 2 << u"12.6"_s << u"なし!"_s << u"0"_s << false << u"15.0"_s << u"2.5"_s
            << u"さらにシェイプアップした体型を目指すなら、"_s
            << u"体脂肪率 15.0%を目標に 2.5kgの減量（体脂肪）を！"_s;
        QTest::newRow("man-40-bmi-25.0-muscular")
            << 1 << 40 << 160.0f << 64.0f << 12.0f << u"25.0"_s << u"1443"_s << 12
            << u"筋肉質スポーツマン"_s << 2 << u"7.7"_s << u"なし!"_s << u"0"_s << false << u"9.0"_s
            << u"2.1"_s << u"今後も、現状のスポーツマン体型を維持しましょう"_s
            << u"現状の体脂肪率がキープできれば、現状体重で！"_s;
        QTest::newRow("woman-45-bmi-24.97-hidden-obesity")
            << 2 << 45 << 155.0f << 60.0f << 35.0f << u"25.0"_s << u"1271"_s << 5 << u"隠れ肥満"_s
            << 5 << u"21.0"_s << u"9.4"_s << u"9.4"_s << true << u"32.0"_s << u"2.6"_s
            << u"まずは、体脂肪率 32.0%を目標に"_s << u"2.6kgの減量（体脂肪）を目指しましょう！"_s;
        QTest::newRow("woman-29") << 2 << 29 << 158.0f << 52.0f << 32.0f << u"20.8"_s << u"1224"_s
                                  << 5 << u"隠れ肥満"_s << 5 << u"16.6"_s << u"6.1"_s << u"6.1"_s
                                  << true << u"29.0"_s << u"2.2"_s
                                  << u"まずは、体脂肪率 29.0%を目標に"_s
                                  << u"2.2kgの減量（体脂肪）を目指しましょう！"_s;
        QTest::newRow("woman-30") << 2 << 30 << 158.0f << 52.0f << 32.0f << u"20.8"_s << u"1137"_s
                                  << 6 << u"隠れ肥満傾向"_s << 4 << u"16.6"_s << u"6.1"_s
                                  << u"6.1"_s << true << u"29.0"_s << u"2.2"_s
                                  << u"まずは、体脂肪率 29.0%を目標に"_s
                                  << u"2.2kgの減量（体脂肪）を目指しましょう！"_s;
        QTest::newRow("man-25-too-thin")
            << 1 << 25 << 180.0f << 55.0f << 12.0f << u"17.0"_s << u"1354"_s << 4 << u"やせすぎ"_s
            << 5 << u"6.6"_s << u"なし!"_s << u"0"_s << false << u"9.0"_s << u"1.8"_s
            << u"やせすぎのあなたにはダイエットは無用です"_s
            << u"スタミナアップのためにも、59.9kg程度の健康体重に！"_s;
        QTest::newRow("woman-23.0-no-excess")
            << 2 << 25 << 160.0f << 50.0f << 23.0f << u"19.5"_s << u"1187"_s << 7 << u"健康標準"_s
            << 2 << u"11.5"_s << u"なし!"_s << u"0"_s << false << u"20.0"_s << u"1.9"_s
            << u"さらにシェイプアップした体型を目指すなら、"_s
            << u"体脂肪率 20.0%を目標に 1.9kgの減量（体脂肪）を！"_s;
        QTest::newRow("man-25.0-high")
            << 1 << 30 << 170.0f << 65.0f << 25.0f << u"22.5"_s << u"1461"_s << 5 << u"隠れ肥満"_s
            << 5 << u"16.3"_s << u"5.5"_s << u"5.5"_s << true << u"22.0"_s << u"2.5"_s
            << u"まずは、体脂肪率 22.0%を目標に"_s << u"2.5kgの減量（体脂肪）を目指しましょう！"_s;
    }
    void judgesWorkedExamples()
    {
        QFETCH(int, sex);
        QFETCH(int, age);
        QFETCH(float, height);
        QFETCH(float, weight);
        QFETCH(float, fat);
        const Assessment a = assess(person(sex, age, height, weight, fat));
        QTEST(a.bmiText, "bmi");
        QTEST(a.bmrText, "bmr");
        QTEST(a.bodyType, "bodyType");
        QTEST(a.bodyTypeCaption, "caption");
        QTEST(a.figure, "figure");
        QTEST(a.fatWeightText, "fatWeight");
        QVERIFY(a.excessShown);
        QTEST(a.excessLabel, "excessLabel");
        QTEST(a.excessCell, "excessCell");
        QTEST(a.excessUnitShown, "excessUnit");
        QTEST(a.targetText, "target");
        QTEST(a.reductionText, "reduction");
        QTEST(a.advice1, "advice1");
        QTEST(a.advice2, "advice2");
    }

    void bmiIsJudgedOnItsStoredFloat()
    {
        QCOMPARE(assess(person(1, 40, 160.0f, 64.0f, 12.0f)).bmi, 25.0f);
        QVERIFY(assess(person(2, 45, 155.0f, 60.0f, 35.0f)).bmi < 25.0f);
    }

    // Height 200 cm makes the BMI a quarter of the weight, so the BMI bands are hit exactly.
    void bodyTypeAtBoundaries_data()
    {
        QTest::addColumn<int>("sex");
        QTest::addColumn<int>("age");
        QTest::addColumn<float>("weight");
        QTest::addColumn<float>("fat");
        QTest::addColumn<int>("bodyType");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("figure");

        QTest::newRow("male-bmi-18.4-fat-25.0")
            << 1 << 40 << 73.6f << 25.0f << 1 << u"やせ型肥満"_s << 5;
        QTest::newRow("male-bmi-18.4-fat-24.9")
            << 1 << 40 << 73.6f << 24.9f << 2 << u"やせ型肥満傾向"_s << 4;
        QTest::newRow("male-bmi-18.4-fat-20.0")
            << 1 << 40 << 73.6f << 20.0f << 2 << u"やせ型肥満傾向"_s << 4;
        QTest::newRow("male-bmi-18.4-fat-19.9")
            << 1 << 40 << 73.6f << 19.9f << 3 << u"やせ型スリム"_s << 3;
        QTest::newRow("male-bmi-18.4-fat-15.0")
            << 1 << 40 << 73.6f << 15.0f << 3 << u"やせ型スリム"_s << 3;
        QTest::newRow("male-bmi-18.4-fat-14.9")
            << 1 << 40 << 73.6f << 14.9f << 4 << u"やせすぎ"_s << 5;
        QTest::newRow("male-bmi-18.5-fat-25.0")
            << 1 << 40 << 74.0f << 25.0f << 5 << u"隠れ肥満"_s << 5;
        QTest::newRow("male-bmi-18.5-fat-24.9")
            << 1 << 40 << 74.0f << 24.9f << 6 << u"隠れ肥満傾向"_s << 4;
        QTest::newRow("male-bmi-24.9-fat-15.0")
            << 1 << 40 << 99.6f << 15.0f << 7 << u"健康標準"_s << 2;
        QTest::newRow("male-bmi-24.9-fat-14.9")
            << 1 << 40 << 99.6f << 14.9f << 8 << u"健康スポーツマン"_s << 2;
        QTest::newRow("male-bmi-25.0-fat-25.0")
            << 1 << 40 << 100.0f << 25.0f << 9 << u"肥\u3000満"_s << 5;
        QTest::newRow("male-bmi-25.0-fat-20.0")
            << 1 << 40 << 100.0f << 20.0f << 10 << u"肥満傾向"_s << 4;
        QTest::newRow("male-bmi-25.0-fat-19.9")
            << 1 << 40 << 100.0f << 19.9f << 11 << u"がっちり"_s << 3;
        QTest::newRow("male-bmi-25.0-fat-14.9")
            << 1 << 40 << 100.0f << 14.9f << 12 << u"筋肉質スポーツマン"_s << 2;

        QTest::newRow("female-29-fat-30.0") << 2 << 29 << 80.0f << 30.0f << 5 << u"隠れ肥満"_s << 5;
        QTest::newRow("female-29-fat-29.9")
            << 2 << 29 << 80.0f << 29.9f << 6 << u"隠れ肥満傾向"_s << 4;
        QTest::newRow("female-29-fat-25.0")
            << 2 << 29 << 80.0f << 25.0f << 6 << u"隠れ肥満傾向"_s << 4;
        QTest::newRow("female-29-fat-24.9") << 2 << 29 << 80.0f << 24.9f << 7 << u"健康標準"_s << 2;
        QTest::newRow("female-29-fat-20.0") << 2 << 29 << 80.0f << 20.0f << 7 << u"健康標準"_s << 2;
        QTest::newRow("female-29-fat-19.9")
            << 2 << 29 << 80.0f << 19.9f << 8 << u"健康スポーツマン"_s << 2;
        QTest::newRow("female-30-fat-35.0") << 2 << 30 << 80.0f << 35.0f << 5 << u"隠れ肥満"_s << 5;
        QTest::newRow("female-30-fat-34.9")
            << 2 << 30 << 80.0f << 34.9f << 6 << u"隠れ肥満傾向"_s << 4;
        QTest::newRow("female-30-fat-30.0")
            << 2 << 30 << 80.0f << 30.0f << 6 << u"隠れ肥満傾向"_s << 4;
        QTest::newRow("female-30-fat-29.9") << 2 << 30 << 80.0f << 29.9f << 7 << u"健康標準"_s << 2;
        QTest::newRow("female-30-fat-20.0") << 2 << 30 << 80.0f << 20.0f << 7 << u"健康標準"_s << 2;
        QTest::newRow("female-30-fat-19.9")
            << 2 << 30 << 80.0f << 19.9f << 8 << u"健康スポーツマン"_s << 2;
        QTest::newRow("female-bmi-18.4-fat-19.9")
            << 2 << 30 << 73.6f << 19.9f << 4 << u"やせすぎ"_s << 5;
        QTest::newRow("female-bmi-25.0-fat-35.0")
            << 2 << 50 << 100.0f << 35.0f << 9 << u"肥\u3000満"_s << 5;
    }
    void bodyTypeAtBoundaries()
    {
        QFETCH(int, sex);
        QFETCH(int, age);
        QFETCH(float, weight);
        QFETCH(float, fat);
        const Assessment a = assess(person(sex, age, 200.0f, weight, fat));
        QTEST(a.bodyType, "bodyType");
        QTEST(a.bodyTypeCaption, "caption");
        QTEST(a.figure, "figure");
    }

    void noSexGivesNoTypeAndNoAdvice_data()
    {
        QTest::addColumn<int>("sex");
        QTest::newRow("none") << 0;
        QTest::newRow("unknown-3") << 3;
        QTest::newRow("negative") << -1;
    }
    void noSexGivesNoTypeAndNoAdvice()
    {
        QFETCH(int, sex);
        const Assessment a = assess(person(sex, 40, 170.0f, 65.0f, 20.0f));
        QCOMPARE(a.bodyType, 0);
        QCOMPARE(a.bodyTypeCaption, QString());
        QCOMPARE(a.figure, 0);
        QCOMPARE(a.bmrText, u"0"_s);
        QCOMPARE(a.bmiText, u"22.5"_s);
        QVERIFY(!a.excessShown);
        QCOMPARE(a.excessCell, u"0"_s);
        QCOMPARE(a.advice1, QString());
        QCOMPARE(a.advice2, QString());
    }

    void bmrByAgeBand_data()
    {
        QTest::addColumn<int>("sex");
        QTest::addColumn<int>("age");
        QTest::addColumn<QString>("bmr");
        // Weight 60 kg throughout: factor x 60 + constant.
        QTest::newRow("male-14") << 1 << 14 << u"0"_s;
        QTest::newRow("male-0") << 1 << 0 << u"0"_s;
        QTest::newRow("male-15") << 1 << 15 << u"1617"_s;
        QTest::newRow("male-17") << 1 << 17 << u"1617"_s;
        QTest::newRow("male-18") << 1 << 18 << u"1445"_s;
        QTest::newRow("male-29") << 1 << 29 << u"1445"_s;
        QTest::newRow("male-30") << 1 << 30 << u"1374"_s;
        QTest::newRow("male-49") << 1 << 49 << u"1374"_s;
        QTest::newRow("male-50") << 1 << 50 << u"1303"_s;
        QTest::newRow("male-69") << 1 << 69 << u"1303"_s;
        QTest::newRow("male-70") << 1 << 70 << u"1246"_s;
        QTest::newRow("male-110") << 1 << 110 << u"1246"_s;
        QTest::newRow("female-14") << 2 << 14 << u"0"_s;
        QTest::newRow("female-15") << 2 << 15 << u"1471"_s;
        QTest::newRow("female-17") << 2 << 17 << u"1471"_s;
        QTest::newRow("female-18") << 2 << 18 << u"1370"_s;
        QTest::newRow("female-29") << 2 << 29 << u"1370"_s;
        QTest::newRow("female-30") << 2 << 30 << u"1271"_s;
        QTest::newRow("female-49") << 2 << 49 << u"1271"_s;
        QTest::newRow("female-50") << 2 << 50 << u"1207"_s;
        QTest::newRow("female-69") << 2 << 69 << u"1207"_s;
        QTest::newRow("female-70") << 2 << 70 << u"1190"_s;
    }
    void bmrByAgeBand()
    {
        QFETCH(int, sex);
        QFETCH(int, age);
        QTEST(assess(person(sex, age, 170.0f, 60.0f, 20.0f)).bmrText, "bmr");
    }

    void reductionIsZeroWithoutATarget_data()
    {
        QTest::addColumn<float>("fat");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reduction");
        QTest::newRow("fat-3.0-target-0") << 3.0f << u"0.0"_s << u"0.0"_s;
        QTest::newRow("fat-2.0-target-negative") << 2.0f << u"-1.0"_s << u"0.0"_s;
        QTest::newRow("fat-3.1-small-target") << 3.1f << u"0.1"_s << u"2.0"_s;
        QTest::newRow("fat-103-target-100") << 103.0f << u"100.0"_s << u"0.0"_s;
        QTest::newRow("fat-150-unreachable") << 150.0f << u"147.0"_s << u"0.0"_s;
    }
    void reductionIsZeroWithoutATarget()
    {
        QFETCH(float, fat);
        const Assessment a = assess(person(1, 40, 170.0f, 65.0f, fat));
        QTEST(a.targetText, "target");
        QTEST(a.reductionText, "reduction");
    }

    void refusesUndefinedResults_data()
    {
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("weight");
        QTest::newRow("height-0") << 0.0f << 65.0f;
        QTest::newRow("height-negative") << -170.0f << 65.0f;
        QTest::newRow("height-nan") << std::numeric_limits<float>::quiet_NaN() << 65.0f;
        QTest::newRow("height-inf") << std::numeric_limits<float>::infinity() << 65.0f;
        QTest::newRow("weight-inf") << 170.0f << std::numeric_limits<float>::infinity();
        QTest::newRow("bmi-overflows") << 0.1f << std::numeric_limits<float>::max();
    }
    void refusesUndefinedResults()
    {
        QFETCH(float, height);
        QFETCH(float, weight);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, assess(person(1, 40, height, weight, 20.0f)));
    }

    void heightZeroAsksForTheHeight()
    {
        try {
            assess(person(1, 40, 0.0f, 65.0f, 20.0f));
            QFAIL("no exception");
        } catch (const std::runtime_error &e) {
            QVERIFY(QString::fromUtf8(e.what()).contains(u"身長"_s));
        }
    }

    void writesRecordCells()
    {
        TextGrid grid(62, 16);
        const Measurements m = person(1, 20, 175.0f, 70.0f, 18.0f);
        writeMeasurementCells(grid, 5, m);
        writeAssessmentCells(grid, 5, assess(m));

        TextGrid expected(62, 16);
        expected.setCell(0, 0, u"1"_s);
        expected.setCell(1, 0, u"20"_s);
        expected.setCell(2, 0, u"175.0"_s);
        const QStringList column = {u"70.0"_s, u"18.0"_s, u"7"_s, u"22.9"_s, u"1628"_s, u"12.6"_s,
            u"0"_s, u"15.0"_s, u"2.5"_s, u"0"_s};
        const int rows[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        for (int i = 0; i < column.size(); ++i)
            expected.setCell(5, rows[i], column.at(i));
        QCOMPARE(grid, expected);
    }
};

QTEST_GUILESS_MAIN(TestAssessment)
#include "tst_assessment.moc"
