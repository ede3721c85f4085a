// SPDX-License-Identifier: GPL-3.0-or-later
#include "assessment/Assessment.h"

#include <cmath>
#include <stdexcept>

#include "numbers/NumberFormat.h"

using namespace Qt::StringLiterals;

namespace {

enum class FatBand { Low, Normal, Raised, High };

struct BmrRow
{
    qint32 sexCode;
    qint32 fromAge;
    double factor;
    double constant;
};

// Rows in ascending age per sex; the last row of a sex whose age has been reached applies.
constexpr BmrRow BmrRows[] = {
    {1, 15, 20.9, 363},
    {1, 18, 18.3, 347},
    {1, 30, 17.3, 336},
    {1, 50, 16.7, 301},
    {1, 70, 16.3, 268},
    {2, 15, 19.7, 289},
    {2, 18, 18.3, 272},
    {2, 30, 16.8, 263},
    {2, 50, 16.0, 247},
    {2, 70, 16.1, 224},
};

struct BodyTypeInfo
{
    const char16_t *caption;
    int figure;
    char adviceGroup;
};

const BodyTypeInfo BodyTypes[] = {
    {u"やせ型肥満", 5, 'A'},
    {u"やせ型肥満傾向", 4, 'A'},
    {u"やせ型スリム", 3, 'B'},
    {u"やせすぎ", 5, 'C'},
    {u"隠れ肥満", 5, 'A'},
    {u"隠れ肥満傾向", 4, 'A'},
    {u"健康標準", 2, 'B'},
    {u"健康スポーツマン", 2, 'D'},
    {u"肥\u3000満", 5, 'A'},
    {u"肥満傾向", 4, 'A'},
    {u"がっちり", 3, 'B'},
    {u"筋肉質スポーツマン", 2, 'D'},
};

FatBand fatBand(qint32 sexCode, qint32 age, double percent)
{
    // Lower bounds of the normal, raised and high bands.
    double normal = 15, raised = 20, high = 25;
    if (sexCode == 2) {
        normal = 20;
        raised = age < 30 ? 25 : 30;
        high = age < 30 ? 30 : 35;
    }
    if (percent >= high)
        return FatBand::High;
    if (percent >= raised)
        return FatBand::Raised;
    if (percent >= normal)
        return FatBand::Normal;
    return FatBand::Low;
}

int bodyTypeOf(qint32 sexCode, qint32 age, float bmi, float percent)
{
    if (sexCode != 1 && sexCode != 2)
        return 0;
    const int bmiBand = bmi < 18.5f ? 0 : bmi < 25.0f ? 1 : 2;
    int fatColumn = 0;
    switch (fatBand(sexCode, age, percent)) {
    case FatBand::High:
        fatColumn = 1;
        break;
    case FatBand::Raised:
        fatColumn = 2;
        break;
    case FatBand::Normal:
        fatColumn = 3;
        break;
    case FatBand::Low:
        fatColumn = 4;
        break;
    }
    return bmiBand * 4 + fatColumn;
}

float basalMetabolicRate(qint32 sexCode, qint32 age, double weight)
{
    const BmrRow *match = nullptr;
    for (const BmrRow &row : BmrRows) {
        if (row.sexCode == sexCode && age >= row.fromAge)
            match = &row;
    }
    return match ? float(match->factor * weight + match->constant) : 0.0f;
}

// Kilograms of fat to lose, lean mass kept, to reach `targetPercent`; 0 when that is no reduction
// or cannot be reached at all (a target of 100 % or more has no lean mass left to keep).
double weightReduction(double weight, double fatWeight, double targetPercent)
{
    if (!(targetPercent > 0) || !(targetPercent < 100))
        return 0;
    const double reduction = weight - (weight - fatWeight) / (1 - targetPercent / 100);
    return reduction > 0 ? reduction : 0;
}

[[noreturn]] void refuse(const char16_t *text)
{
    throw std::runtime_error(QString::fromUtf16(text).toStdString());
}

} // namespace

Assessment assess(const Measurements &m)
{
    const double h = m.heightCm;
    const double w = m.weightKg;
    const double p = m.bodyFatPercent;
    if (!std::isfinite(h) || !(h > 0))
        refuse(u"身長を入力してください");

    Assessment a;
    const double metres = h / 100;
    a.bmi = float(w / (metres * metres));
    a.bmiText = formatNumber(a.bmi, 1);

    a.bmr = basalMetabolicRate(m.sexCode, m.age, w);
    a.bmrText = formatNumber(a.bmr, 0);

    a.bodyType = bodyTypeOf(m.sexCode, m.age, a.bmi, m.bodyFatPercent);
    const BodyTypeInfo *info = a.bodyType > 0 ? &BodyTypes[a.bodyType - 1] : nullptr;
    if (info) {
        a.bodyTypeCaption = QString::fromUtf16(info->caption);
        a.figure = info->figure;
    }

    a.fatWeight = float(w * p / 100);
    a.fatWeightText = formatNumber(a.fatWeight, 1);

    a.excessShown = m.sexCode == 1 || m.sexCode == 2;
    if (a.excessShown) {
        const double leanShare = m.sexCode == 1 ? 0.82 : 0.77;
        const double excess = w - (w - a.fatWeight) / leanShare;
        a.excessLabel = formatNumber(excess, 1);
        a.excessCell = a.excessLabel;
        // Judged on the shown text, so an excess that displays as 0.0 counts as none.
        if (!(parseDecimal(a.excessLabel).value_or(0) > 0)) {
            a.excessLabel = u"なし!"_s;
            a.excessCell = u"0"_s;
            a.excessUnitShown = false;
        }
    } else {
        a.excessCell = u"0"_s;
    }

    a.targetPercent = float(p - 3);
    a.targetText = formatNumber(a.targetPercent, 1);

    a.reduction = float(weightReduction(w, a.fatWeight, a.targetPercent));
    a.reductionText = formatNumber(a.reduction, 1);

    if (!std::isfinite(a.bmi) || !std::isfinite(a.bmr) || !std::isfinite(a.fatWeight)
        || !std::isfinite(a.targetPercent) || !std::isfinite(a.reduction)
        || (a.excessShown && !parseDecimal(a.excessCell)))
        refuse(u"測定値が大きすぎるか正しくありません。入力を確かめてください");

    switch (info ? info->adviceGroup : 0) {
    case 'A':
        a.advice1 = u"まずは、体脂肪率 "_s + a.targetText + u"%を目標に"_s;
        a.advice2 = a.reductionText + u"kgの減量（体脂肪）を目指しましょう！"_s;
        break;
    case 'B':
        a.advice1 = u"さらにシェイプアップした体型を目指すなら、"_s;
        a.advice2 = u"体脂肪率 "_s + a.targetText + u"%を目標に "_s + a.reductionText
            + u"kgの減量（体脂肪）を！"_s;
        break;
    case 'C':
        a.advice1 = u"やせすぎのあなたにはダイエットは無用です"_s;
        a.advice2 = u"スタミナアップのためにも、"_s + formatNumber(metres * metres * 18.5, 1)
            + u"kg程度の健康体重に！"_s;
        break;
    case 'D':
        a.advice1 = u"今後も、現状のスポーツマン体型を維持しましょう"_s;
        a.advice2 = u"現状の体脂肪率がキープできれば、現状体重で！"_s;
        break;
    }
    return a;
}
