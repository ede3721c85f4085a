// SPDX-License-Identifier: GPL-3.0-or-later
// The body assessment: from sex, age, height, weight and body fat, the BMI, BMR, body type, fat
// figures and advice lines that the window shows and the record keeps. Pure, no widgets.
#pragma once

#include <QString>

// The five inputs as the window holds them; the floats are already rounded to one decimal.
struct Measurements
{
    qint32 sexCode = 0; // 1 male, 2 female, anything else: none chosen
    qint32 age = 0;
    float heightCm = 0;
    float weightKg = 0;
    float bodyFatPercent = 0;
};

// Every value is stored as the 32-bit float the later steps and texts use.
struct Assessment
{
    float bmi = 0;
    QString bmiText; // "0.0"; Label9 and row 6
    float bmr = 0;
    QString bmrText;         // "0"; Label10 and row 7; "0" when no age band matches
    int bodyType = 0;        // 1..12, 0 when none (row 5 as decimal)
    QString bodyTypeCaption; // Panel2; empty for type 0, when Panel2 keeps its text
    int figure = 0;          // 2..5 for Image2..Image5, 0 for no figure
    float fatWeight = 0;
    QString fatWeightText;       // "0.0" without unit; row 8, Label12 adds "kg"
    bool excessShown = false;    // false for a sex other than 1 or 2: Label14 keeps its text
    QString excessLabel;         // Label14: "0.0" or "なし!"
    QString excessCell;          // row 9: the label's number, or "0" when none
    bool excessUnitShown = true; // Label15 ("kg")
    float targetPercent = 0;
    QString targetText; // "0.0"; row 10
    float reduction = 0;
    QString reductionText; // "0.0"; row 11
    QString advice1;       // Label20
    QString advice2;       // Label21
};

// Throws std::runtime_error with a Japanese text when the height is not a positive number or the
// inputs would give an infinite or undefined result; nothing is computed then.
Assessment assess(const Measurements &m);
// The record writes an assessment's cells: record/MonthTable.h.
