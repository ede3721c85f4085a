// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Room for the integer digits of the largest double plus sign, point and decimals.
constexpr int BufferSize = 400;
constexpr int MaxDecimals = 9;

// Adds one unit in the last place to a text of digits and at most one ".".
QByteArray incrementMagnitude(QByteArray digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] == '.')
            continue;
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    return digits.prepend('1');
}

bool isAllZero(const QByteArray &digits)
{
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0' || c == '.'; });
}

// Strips surrounding ASCII spaces; fields never hold them, record files written by hand might.
QStringView trimmedSpaces(QStringView text)
{
    while (!text.isEmpty() && text.front() == u' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

// Plain ASCII copy of a numeric text; std::nullopt as soon as a character cannot belong to one.
std::optional<QByteArray> numericAscii(QStringView text, bool allowPoint)
{
    QByteArray out;
    out.reserve(text.size());
    bool digitSeen = false;
    bool pointSeen = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digitSeen = true;
        } else if (c == u'.' && allowPoint && !pointSeen) {
            pointSeen = true;
        } else if ((c == u'-' || c == u'+') && i == 0) {
            // from_chars takes no "+", and the sign is handled apart anyway.
        } else {
            return std::nullopt;
        }
        out.append(char(c));
    }
    if (!digitSeen)
        return std::nullopt;
    return out;
}

} // namespace

QString formatNumber(double value, int decimals)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    decimals = std::clamp(decimals, 0, MaxDecimals);

    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    char buffer[BufferSize];

    // to_chars rounds the exact value correctly but takes ties to even. A tie at `decimals` digits
    // is a value whose product with 2^(decimals+1) is an odd integer; only then does the rounding
    // differ, and the exact expansion one digit longer ends in that "5".
    const double scaled = std::ldexp(magnitude, decimals + 1);
    const bool tie = scaled == std::floor(scaled) && std::fmod(scaled, 2.0) == 1.0;

    QByteArray digits;
    if (tie) {
        const auto result = std::to_chars(
            buffer, buffer + BufferSize, magnitude, std::chars_format::fixed, decimals + 1);
        digits = QByteArray(buffer, result.ptr - buffer);
        digits.chop(1);
        if (digits.endsWith('.'))
            digits.chop(1);
        digits = incrementMagnitude(digits);
    } else {
        const auto result = std::to_chars(
            buffer, buffer + BufferSize, magnitude, std::chars_format::fixed, decimals);
        digits = QByteArray(buffer, result.ptr - buffer);
    }
    if (negative && !isAllZero(digits))
        digits.prepend('-');
    return QString::fromLatin1(digits);
}

std::optional<double> parseDecimal(const QString &text)
{
    const auto ascii = numericAscii(trimmedSpaces(text), true);
    if (!ascii)
        return std::nullopt;
    const char *first = ascii->constData();
    const char *last = first + ascii->size();
    const bool negative = *first == '-';
    if (*first == '-' || *first == '+')
        ++first;
    double value = 0;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<qint32> parseWholeNumber(const QString &text)
{
    const auto ascii = numericAscii(trimmedSpaces(text), false);
    if (!ascii)
        return std::nullopt;
    const char *first = ascii->constData();
    const char *last = first + ascii->size();
    if (*first == '+')
        ++first;
    qint32 value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last)
        return std::nullopt;
    return value;
}
