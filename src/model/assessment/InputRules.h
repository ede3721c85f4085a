// SPDX-License-Identifier: GPL-3.0-or-later
// The rules behind the measurement fields and the on-screen keypad: which typed characters a field
// takes, how a field's text becomes its value, what a keypad key appends and the range check.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

// Fields are numbered as the keypad names them: 1 age, 2 height, 3 weight, 4 body fat.
namespace InputRules {

// Key filter: Backspace (8), Enter (13), "0" to "9" and 127 everywhere, "." also in fields 2 to 4.
// Anything else, or a field outside 1 to 4, is refused.
bool acceptsTypedChar(int field, QChar c);

// Value of a non-empty height, weight or body-fat text: read as a 32-bit float, formatted "0.0"
// and read back, so it is kept rounded to one decimal. std::nullopt when the text is not a number
// (or empty, or beyond the float range): the field then drops its last character.
std::optional<float> readDecimalField(const QString &text);
// Value of a non-empty age text; std::nullopt when it is not a whole number in the 32-bit range
// (only an overlong keypad entry gets there): the field then drops its last digit, so the age
// always equals the field's value.
std::optional<qint32> readAgeField(const QString &text);

// The calculate button is usable with a sex chosen and every field holding text (values unread).
bool canCalculate(qint32 sexCode, const QStringList &fieldTexts);

// Text after a keypad key ("0" to "9" or ".") pressed for `keypadField`: digits are appended,
// "0" and "." only to a non-empty text and "." only in fields 2 to 4; no length limit. Field 0
// (keypad never opened) and any other key leave the text as it is.
QString keypadAppend(int keypadField, const QString &text, QChar key);
// Unit shown on the keypad for the field: "歳", "cm", "kg", "％"; empty for other numbers.
QString keypadUnit(int keypadField);

enum class RangeVerdict {
    Empty,    // nothing to check: the keypad stays open, no message
    Under15,  // refused: the only answer clears every input
    Question, // outside the usual range: asked, the user may insist
    Accepted,
};
struct RangeCheck
{
    RangeVerdict verdict = RangeVerdict::Empty;
    QString message; // Label18 text for Under15 and Question
};
// Checks the field's kept value (`age` for field 1, `keptValue` otherwise); bounds are inside the
// range and the lower one is tested first. The question shows the text as entered.
RangeCheck checkRange(int keypadField, const QString &fieldText, qint32 age, float keptValue);

// Label18 text of the under-15 notice.
QString under15Message();

} // namespace InputRules
