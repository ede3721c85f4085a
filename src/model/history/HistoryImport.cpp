// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryImport.h"

#include "assessment/InputRules.h"
#include "history/HistoryFile.h"
#include "record/MonthTable.h"
#include "record/StrGrdIO.h"

#include <QFileInfo>

#include <optional>

using namespace Qt::StringLiterals;

namespace HistoryImport {

Refused::Refused(int line, const QString &english, QString japanese)
    : std::runtime_error(
        (line > 0 ? u"line %1: %2"_s.arg(line).arg(english) : english).toStdString())
    , line(line)
    , english(english)
    , japanese(std::move(japanese))
{ }

namespace {

[[noreturn]] void refuse(int line, const QString &english, const QString &japanese)
{
    const QString where = line > 0 ? u"%1行目: "_s.arg(line) : QString();
    throw Refused(line, english,
        u"このファイルは読み込めませんでした。何も変更していません。\n"_s + where + japanese);
}

// Header names compared without case, spaces, units or punctuation.
QString simplified(const QString &name)
{
    QString s;
    for (QChar c : name.toLower())
        if (c.isLetterOrNumber())
            s += c;
    return s;
}

int findColumn(const QStringList &header, std::initializer_list<const char16_t *> names)
{
    for (const char16_t *name : names) {
        const qsizetype i = header.indexOf(QString::fromUtf16(name));
        if (i >= 0)
            return int(i);
    }
    return -1;
}

// A date alone (no time known) or a moment in local time.
std::optional<std::pair<QDate, QTime>> readDateTime(const QString &text)
{
    QString t = text.trimmed();
    if (t.size() == 10) {
        const QDate day = QDate::fromString(t, Qt::ISODate);
        if (!day.isValid())
            return std::nullopt;
        return std::pair {day, QTime()};
    }
    t.replace(u' ', u'T');
    QDateTime moment = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (!moment.isValid())
        return std::nullopt;
    // A moment with an offset is taken in the local time the person weighed in.
    if (moment.timeSpec() != Qt::LocalTime)
        moment = moment.toLocalTime();
    return std::pair {moment.date(), moment.time()};
}

// Within what the keypad takes without asking again.
bool accepted(int field, float value)
{
    return InputRules::checkRange(field, QString::number(double(value)), 20, value).verdict
        == InputRules::RangeVerdict::Accepted;
}

float readNumber(const QString &text, int line, const QString &english, const QString &japanese)
{
    bool ok = false;
    const float v = QString(text).trimmed().replace(u',', u'.').toFloat(&ok);
    if (!ok || !std::isfinite(v))
        refuse(line, english, japanese);
    return v;
}

float tenths(float v)
{
    return float(std::round(double(v) * 10) / 10);
}

} // namespace

Outcome merge(const QByteArray &bytes, const HistoryRows &existing, const QDateTime &now)
{
    if (bytes.trimmed().isEmpty())
        refuse(0, u"The file is empty."_s, u"ファイルが空です。"_s);
    if (bytes.size() > MaxFileSize)
        refuse(0, u"The file is too large to be a measurement history."_s,
            u"ファイルが大きすぎます。計測の記録ではないようです。"_s);
    QList<CsvCodec::Record> records;
    try {
        records = CsvCodec::decode(bytes);
    } catch (const CsvCodec::Error &e) {
        refuse(e.line, e.reason, u"テキストのCSVファイルではありません。"_s);
    }
    if (records.isEmpty())
        refuse(0, u"The file is empty."_s, u"ファイルが空です。"_s);

    const QDate lastDay = recordSlot(now).day;
    const QStringList ownHeader = HistoryCsv::header();
    QStringList header;
    for (const QString &name : records.first().fields)
        header << simplified(name);
    const bool own = records.first().fields == ownHeader;
    const int dateColumn = findColumn(header,
        {u"date", u"datetime", u"timestamp", u"time", u"day", u"measuredat", u"日付", u"日時"});
    const int weightColumn = findColumn(
        header, {u"weightkg", u"weight", u"mass", u"masskg", u"bodyweight", u"体重", u"体重kg"});
    const int fatColumn = findColumn(header,
        {u"bodyfatpercent", u"bodyfat", u"fat", u"fatpercent", u"bodyfatratio", u"体脂肪率"});
    const int slotColumn = header.indexOf(u"slot"_s);
    if (dateColumn < 0 || weightColumn < 0)
        refuse(records.first().line, u"The header names no date or no weight column."_s,
            u"見出しの行に日付または体重の列がありません。"_s);

    Outcome outcome;
    outcome.rows = existing;
    HistoryRows fresh;
    for (qsizetype i = 1; i < records.size(); ++i) {
        const CsvCodec::Record &record = records[i];
        const int line = record.line;
        HistoryEntry e;
        if (own) {
            try {
                e = parseHistoryFields(record.fields, line);
            } catch (const CsvCodec::Error &error) {
                refuse(line, error.reason, u"値が正しくありません。"_s);
            }
        } else {
            if (record.fields.size() != header.size())
                refuse(line,
                    u"The row has %1 fields, the header %2."_s.arg(record.fields.size())
                        .arg(header.size()),
                    u"列の数が見出しと合いません。"_s);
            const auto moment = readDateTime(record.fields[dateColumn]);
            if (!moment)
                refuse(line, u"The date is not an ISO date (YYYY-MM-DD)."_s,
                    u"日付が YYYY-MM-DD の形ではありません。"_s);
            if (moment->second.isValid()) {
                const RecordSlot slot = recordSlot(QDateTime(moment->first, moment->second));
                e.day = slot.day;
                e.eveningSlot = slot.eveningSlot;
                e.time = QTime(moment->second.hour(), moment->second.minute());
            } else {
                e.day = moment->first;
            }
            if (slotColumn >= 0) {
                const QString slot = record.fields[slotColumn].trimmed().toLower();
                if (slot != u"morning"_s && slot != u"evening"_s)
                    refuse(line, u"The slot is neither morning nor evening."_s,
                        u"時間帯が morning でも evening でもありません。"_s);
                e.eveningSlot = slot == u"evening"_s;
            }
            e.weightKg = tenths(readNumber(record.fields[weightColumn], line,
                u"The weight is not a number."_s, u"体重が数値ではありません。"_s));
            if (fatColumn >= 0 && !record.fields[fatColumn].trimmed().isEmpty()) {
                e.bodyFatPercent = tenths(readNumber(record.fields[fatColumn], line,
                    u"The body fat is not a number."_s, u"体脂肪率が数値ではありません。"_s));
                e.fatWeightKg = tenths(e.weightKg * e.bodyFatPercent / 100);
            }
        }
        if (e.day > lastDay)
            refuse(line, u"The date %1 lies in the future."_s.arg(e.day.toString(Qt::ISODate)),
                u"日付 %1 は未来の日付です。"_s.arg(e.day.toString(Qt::ISODate)));
        // Rows of the own export were confirmed on the keypad when they were measured.
        if (!own && !accepted(3, e.weightKg))
            refuse(line, u"The weight %1 kg is outside 20 to 120 kg."_s.arg(double(e.weightKg)),
                u"体重 %1kg は 20〜120kg の範囲外です。"_s.arg(double(e.weightKg)));
        if (own && !(e.weightKg > 0))
            refuse(line, u"The row has no weight."_s, u"体重がありません。"_s);
        if (!own && std::isfinite(e.bodyFatPercent) && !accepted(4, e.bodyFatPercent))
            refuse(line, u"The body fat %1 % is outside 5 to 50 %."_s.arg(double(e.bodyFatPercent)),
                u"体脂肪率 %1% は 5〜50% の範囲外です。"_s.arg(double(e.bodyFatPercent)));
        if (existing.count(keyOf(e)) || fresh.count(keyOf(e))) {
            ++outcome.skipped;
            continue;
        }
        fresh[keyOf(e)] = e;
    }
    outcome.added = int(fresh.size());
    outcome.rows.insert(fresh.begin(), fresh.end());
    return outcome;
}

Outcome mergeFile(const QString &path, const HistoryRows &existing, const QDateTime &now)
{
    const QFileInfo info(path);
    if (info.isFile() && info.size() > MaxFileSize)
        refuse(0, u"The file is too large to be a measurement history."_s,
            u"ファイルが大きすぎます。計測の記録ではないようです。"_s);
    QByteArray bytes;
    try {
        bytes = TStringGridIO::readFile(path);
    } catch (const std::exception &e) {
        refuse(0, u"The file cannot be read."_s, QString::fromUtf8(e.what()));
    }
    return merge(bytes, existing, now);
}

QString summaryJapanese(const Outcome &outcome)
{
    return u"%1件を読み込みました（すでにある%2件は飛ばしました）。"_s.arg(outcome.added)
        .arg(outcome.skipped);
}

QString summaryEnglish(const Outcome &outcome)
{
    return u"Added %1 rows, skipped %2 already kept."_s.arg(outcome.added).arg(outcome.skipped);
}

} // namespace HistoryImport
