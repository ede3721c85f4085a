// SPDX-License-Identifier: GPL-3.0-or-later
#include "assessment/InputRules.h"

#include <cmath>
#include <limits>

#include "numbers/NumberFormat.h"

using namespace Qt::StringLiterals;

namespace InputRules {

namespace {

bool isDecimalField(int field)
{
    return field >= 2 && field <= 4;
}

std::optional<float> toFiniteFloat(std::optional<double> value)
{
    // Beyond the float range the stored value would be infinite: treated as unreadable.
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max())
        return std::nullopt;
    const float f = float(*value);
    if (!std::isfinite(f))
        return std::nullopt;
    return f;
}

} // namespace

bool acceptsTypedChar(int field, QChar c)
{
    if (field < 1 || field > 4)
        return false;
    const char16_t u = c.unicode();
    if (u == 8 || u == 13 || u == 127 || (u >= u'0' && u <= u'9'))
        return true;
    return u == u'.' && isDecimalField(field);
}

std::optional<float> readDecimalField(const QString &text)
{
    const auto entered = toFiniteFloat(parseDecimal(text));
    if (!entered)
        return std::nullopt;
    return toFiniteFloat(parseDecimal(formatNumber(*entered, 1)));
}

std::optional<qint32> readAgeField(const QString &text)
{
    return parseWholeNumber(text);
}

bool canCalculate(qint32 sexCode, const QStringList &fieldTexts)
{
    if (sexCode == 0 || fieldTexts.size() != 4)
        return false;
    for (const QString &text : fieldTexts) {
        if (text.isEmpty())
            return false;
    }
    return true;
}

QString keypadAppend(int keypadField, const QString &text, QChar key)
{
    if (keypadField < 1 || keypadField > 4)
        return text;
    const char16_t u = key.unicode();
    if (u >= u'1' && u <= u'9')
        return text + key;
    if ((u == u'0' || (u == u'.' && isDecimalField(keypadField))) && !text.isEmpty())
        return text + key;
    return text;
}

QString keypadUnit(int keypadField)
{
    switch (keypadField) {
    case 1:
        return u"歳"_s;
    case 2:
        return u"cm"_s;
    case 3:
        return u"kg"_s;
    case 4:
        return u"％"_s;
    }
    return {};
}

QString under15Message()
{
    return u"１５歳未満には対応してません"_s;
}

RangeCheck checkRange(int keypadField, const QString &fieldText, qint32 age, float keptValue)
{
    struct Range
    {
        double low;
        double high;
        const char16_t *suffix;
    };
    static const Range ranges[] = {
        {15, 110, u"歳って、ほんと？"},
        {120, 200, u"cmって、ほんと？"},
        {20, 120, u"kgって、ほんと？"},
        {5, 50, u"%って、ほんと？"},
    };
    if (keypadField < 1 || keypadField > 4 || fieldText.isEmpty())
        return {};
    if (keypadField == 1 && age < 15)
        return {RangeVerdict::Under15, under15Message()};
    const Range &range = ranges[keypadField - 1];
    const double value = keypadField == 1 ? double(age) : double(keptValue);
    if (value < range.low || value > range.high)
        return {RangeVerdict::Question, fieldText + QString::fromUtf16(range.suffix)};
    return {RangeVerdict::Accepted, {}};
}

} // namespace InputRules
