// SPDX-License-Identifier: GPL-3.0-or-later
#include "SheetPdf.h"

#include "SheetAdvice.h"

#include "record/MonthTable.h"
#include "record/StrGrdIO.h"
#include "record/TextGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;
using namespace RecordLayout;

namespace {

// Printer resolution: positions in the file are exact to a fraction of a unit.
constexpr int pdfResolution = 1200;

[[noreturn]] void failWrite(const QString &what, const QString &path, const QString &reason)
{
    throw SheetPdf::WriteError(
        u"%1：%2（%3）"_s.arg(what, QDir::toNativeSeparators(path), reason), reason);
}

// Two names of one file: links, "..", another mount of the folder all end at one device and inode.
bool sameFile(const QString &a, const QString &b)
{
#if defined(Q_OS_UNIX)
    struct stat first
    {
    };
    struct stat second
    {
    };
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
        && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
        && first.st_ino == second.st_ino;
#else
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty()
        && canonical.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#endif
}

} // namespace

QString SheetPdf::offerQuestion()
{
    return u"プリンターが見つかりません。\n２枚のグラフをPDFファイルに保存しますか？"_s;
}

QString SheetPdf::proposedPath(const QString &folder, const TextGrid &table, const QDate &today)
{
    bool ok = false;
    int month = table.cell(0, MonthRow).toInt(&ok);
    if (!ok || month < 1 || month > 12)
        month = today.month();
    // A table starts at most 30 days back, so a month after today's began last year.
    const int year = month > today.month() ? today.year() - 1 : today.year();
    const QString name = u"ペミラ-%1-%2.pdf"_s.arg(year, 4, 10, QLatin1Char('0'))
                             .arg(month, 2, 10, QLatin1Char('0'));
    return QDir(folder).filePath(name);
}

void SheetPdf::write(TPrint01 &form, const TextGrid &table, const TPrint01::SheetInput &input,
    const QString &label20, const QString &label21, const QString &path)
{
    TPrint01::checkPrintable(table);
    // The new file is renamed over the name, which would replace a device or a pipe.
    if (!TStringGridIO::isReplaceable(path))
        failWrite(u"PDFファイルを作成できません"_s, path, u"通常のファイルではありません"_s);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        failWrite(u"PDFファイルを作成できません"_s, path, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(pdfResolution);
        writer.setPageLayout(form.page().pageLayout());
        writer.setTitle(u"ペミラ"_s);
        writer.setCreator(u"ペミラ"_s);
        QPainter painter;
        bool first = true;
        form.printBothSheets(
            table, input, label20, label21, [&](const ReportPage &page, const QString &) {
                if (first) {
                    if (!painter.begin(&writer))
                        failWrite(u"PDFを描画できません"_s, path, file.errorString());
                    first = false;
                } else if (!writer.newPage()) {
                    failWrite(u"PDFを描画できません"_s, path, file.errorString());
                }
                page.render(painter, writer.logicalDpiX(), writer.logicalDpiY());
            });
        if (!painter.end())
            failWrite(u"PDFを描画できません"_s, path, file.errorString());
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        failWrite(u"PDFファイルを書き込めません"_s, path, file.errorString());
}

void SheetPdf::exportRecord(const QString &recordPath, const QString &pdfPath)
{
    const auto fail = [](const QString &line) { throw std::runtime_error(line.toStdString()); };
    const QString record = QDir::toNativeSeparators(recordPath);
    const QFileInfo file(recordPath);
    if (!file.exists())
        fail(u"no record file at %1"_s.arg(record));
    if (!file.isFile())
        fail(u"cannot read the record %1: not a file"_s.arg(record));
    if (sameFile(recordPath, pdfPath))
        fail(u"will not write the report over the record %1"_s.arg(record));

    TextGrid table(RecordLayout::Columns, RecordLayout::Rows);
    TPrint01::SheetInput input;
    try {
        TStringGridIO io(&table);
        io.LoadFromFile(recordPath, u","_s, false);
        const Profile profile = restoreProfile(table);
        input.secondMonthColumn = profile.secondMonthColumn;
        input.secondMonth = profile.secondMonth;
    } catch (const std::exception &error) {
        fail(u"cannot read the record %1: %2"_s.arg(record, QString::fromUtf8(error.what())));
    }
    if (!TPrint01::isPrintable(table))
        fail(u"the record %1 holds no measurement to print"_s.arg(record));

    const SheetAdvice advice = sheetAdvice(table);
    TPrint01 form;
    try {
        write(form, table, input, advice.label20, advice.label21, pdfPath);
    } catch (const WriteError &error) {
        fail(u"cannot write %1: %2"_s.arg(QDir::toNativeSeparators(pdfPath), error.reason));
    }
}
