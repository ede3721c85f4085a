// SPDX-License-Identifier: GPL-3.0-or-later
// Which input field the on-screen keypad fills and what the field held before, so that cancelling
// gives it back; the field being filled shows in its own colour until the keypad closes.
#pragma once

#include <QString>

#include <array>

class QChar;
class TRightEdit;

class KeypadSession
{
public:
    // The age, height, weight and body-fat fields, numbered 1 to 4.
    explicit KeypadSession(std::array<TRightEdit *, 4> fields);

    // Empties the field, keeping its text.
    void open(int field);
    // Every field back in its own colour.
    void close();
    int field() const { return m_field; }
    // The field being filled; nullptr before the keypad was first opened.
    TRightEdit *edit() const;
    void append(QChar key);
    void clear();
    void restore();

private:
    std::array<TRightEdit *, 4> m_fields;
    int m_field = 0;
    QString m_savedText;
};
