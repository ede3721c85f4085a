// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvCodec.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace CsvCodec {

QByteArray byteOrderMark()
{
    return QByteArray("\xEF\xBB\xBF", 3);
}

QByteArray encodeLine(const QStringList &fields, Form form)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const QString &field = fields[i];
        const bool quoted = field.contains(u',') || field.contains(u'"') || field.contains(u'\n')
            || field.contains(u'\r') || field.contains(u';') || field.contains(u'\t')
            || (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
        if (quoted) {
            QString doubled = field;
            doubled.replace(u"\""_s, u"\"\""_s);
            line += '"' + doubled.toUtf8() + '"';
        } else {
            line += field.toUtf8();
        }
    }
    line += form == Form::Spreadsheet ? "\r\n" : "\n";
    return line;
}

namespace {

QChar delimiterOf(QStringView text)
{
    bool inQuotes = false;
    for (QChar c : text) {
        if (c == u'"')
            inQuotes = !inQuotes;
        else if (!inQuotes && (c == u',' || c == u';' || c == u'\t'))
            return c;
        else if (!inQuotes && c == u'\n')
            break;
    }
    return u',';
}

} // namespace

QList<Record> decode(const QByteArray &bytes)
{
    if (bytes.contains('\0'))
        throw Error(0, u"The file is not text (it holds NUL bytes)."_s);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes.startsWith(byteOrderMark()) ? bytes.mid(3) : bytes);
    if (utf8.hasError())
        throw Error(0, u"The file is not UTF-8 text."_s);

    const QChar delimiter = delimiterOf(text);
    QList<Record> records;
    Record record;
    QString field;
    bool inQuotes = false;
    bool fieldWasQuoted = false;
    int line = 1;
    record.line = 1;
    const auto endField = [&] {
        record.fields << field;
        field.clear();
        fieldWasQuoted = false;
    };
    const auto endRecord = [&] {
        endField();
        const bool blank = record.fields.size() == 1 && record.fields.first().trimmed().isEmpty();
        if (!blank)
            records << record;
        record = Record {};
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        // An unquoted run up to the next delimiter or line end is taken whole.
        if (c != u'"' && c != delimiter && c != u'\r' && c != u'\n') {
            qsizetype end = i + 1;
            while (end < text.size()) {
                const QChar d = text[end];
                if (d == delimiter || d == u'\r' || d == u'\n' || d == u'"')
                    break;
                ++end;
            }
            field += QStringView(text).mid(i, end - i);
            i = end - 1;
            continue;
        }
        if (c == u'"' && field.trimmed().isEmpty() && !fieldWasQuoted) {
            field.clear();
            inQuotes = true;
            fieldWasQuoted = true;
        } else if (c == delimiter) {
            endField();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            continue;
        } else if (c == u'\n') {
            endRecord();
            record.line = ++line;
        } else {
            field += c;
        }
    }
    if (inQuotes)
        throw Error(record.line, u"A quoted field is not closed."_s);
    if (!field.isEmpty() || !record.fields.isEmpty())
        endRecord();
    return records;
}

} // namespace CsvCodec
