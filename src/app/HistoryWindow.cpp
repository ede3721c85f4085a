// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryWindow.h"

#include "ErrorReport.h"
#include "artwork/Artwork.h"
#include "history/HistoryImport.h"
#include "record/RecordFile.h"
#include "record/RecordLayout.h"
#include "record/TextGrid.h"
#include "report/ReportPage.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The graph widget only paints what the history holds.
class HistoryGraphView : public QWidget
{
public:
    HistoryGraphView(const HistoryRows &rows, const HistoryView &view, QWidget *parent)
        : QWidget(parent)
        , m_rows(rows)
        , m_view(view)
    {
        setMinimumSize(480, 260);
        setFocusPolicy(Qt::StrongFocus);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setFont(font());
        paintHistoryGraph(painter, QRectF(rect()).adjusted(4, 4, -4, -4), m_rows, m_view);
        if (hasFocus()) {
            painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

private:
    const HistoryRows &m_rows;
    const HistoryView &m_view;
};

QString latestText(const HistoryRows &rows)
{
    if (rows.empty())
        return u"まだ計測の履歴がありません"_s;
    const HistoryEntry &e = rows.rbegin()->second;
    return u"最新 %1 %2：体重 %3kg"_s.arg(e.day.toString(Qt::ISODate),
        e.eveningSlot ? u"夜"_s : u"朝"_s, QString::number(double(e.weightKg), 'f', 1));
}

void readRecordIfAny(const QString &recordFile, TextGrid *table)
{
    const std::optional<TextGrid> read = recordTable(readRecordOnDisk(recordFile));
    if (read)
        *table = *read;
}

} // namespace

HistoryWindow::HistoryWindow(Options options, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_options(std::move(options))
    , m_history(m_options.recordFile)
    , m_output(this, m_options.ask, m_options.chooseSaveFile, m_options.sendPage)
{
    setObjectName(u"HistoryWindow"_s);
    setWindowTitle(u"計測の履歴 — ペミラ"_s);
    setAttribute(Qt::WA_DeleteOnClose, false);
    for (int code = 1; code <= 4; ++code)
        m_view.faces[std::size_t(code - 1)] = moodFace(code, MoodFaceSet::OnWhite);

    auto *layout = new QVBoxLayout(this);
    auto *controls = new QHBoxLayout;
    auto *rangeLabel = new QLabel(u"期間(&R)："_s, this);
    m_range = new QComboBox(this);
    m_range->setObjectName(u"HistoryRange"_s);
    m_range->addItems({u"3か月"_s, u"1年"_s, u"すべて"_s});
    m_range->setCurrentIndex(2);
    m_range->setAccessibleName(u"表示する期間"_s);
    rangeLabel->setBuddy(m_range);
    auto *goalLabel = new QLabel(u"目標体重(&G)："_s, this);
    m_goal = new QDoubleSpinBox(this);
    m_goal->setObjectName(u"HistoryGoal"_s);
    m_goal->setRange(0, 300);
    m_goal->setDecimals(1);
    m_goal->setSingleStep(0.5);
    m_goal->setSuffix(u" kg"_s);
    m_goal->setSpecialValueText(u"なし"_s);
    m_goal->setAccessibleName(u"目標体重"_s);
    m_goal->setToolTip(u"グラフに目標の線を引きます。0 で線を消します。"_s);
    goalLabel->setBuddy(m_goal);
    controls->addWidget(rangeLabel);
    controls->addWidget(m_range);
    controls->addSpacing(16);
    controls->addWidget(goalLabel);
    controls->addWidget(m_goal);
    controls->addStretch();
    layout->addLayout(controls);

    m_graph = new HistoryGraphView(m_rows, m_view, this);
    m_graph->setObjectName(u"HistoryGraph"_s);
    m_graph->setAccessibleName(u"体重と脂肪重量の履歴グラフ"_s);
    layout->addWidget(m_graph, 3);
    auto *method = new QLabel(HistoryTrend::methodText(), this);
    method->setObjectName(u"HistoryMethod"_s);
    method->setWordWrap(true);
    layout->addWidget(method);

    m_months = new QTableWidget(0, int(monthTableHeader().size()), this);
    m_months->setObjectName(u"HistoryMonths"_s);
    m_months->setHorizontalHeaderLabels(monthTableHeader());
    m_months->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_months->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_months->verticalHeader()->hide();
    m_months->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_months->setAccessibleName(u"月ごとの平均"_s);
    layout->addWidget(m_months, 2);

    m_status = new QLabel(this);
    m_status->setObjectName(u"HistoryStatus"_s);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto *buttons = new QHBoxLayout;
    const auto addButton = [&](const char16_t *name, const QString &text, const QString &hint,
                               void (HistoryWindow::*handler)()) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(QString::fromUtf16(name));
        button->setToolTip(hint);
        button->setAccessibleDescription(hint);
        connect(button, &QPushButton::clicked, this,
            [this, handler] { ErrorReport::guard([this, handler] { (this->*handler)(); }); });
        buttons->addWidget(button);
        return button;
    };
    m_print = addButton(u"HistoryPrint", u"印刷(&P)…"_s,
        u"履歴のグラフと月ごとの表をA4横1枚に印刷します。プリンターがなければPDFに保存できます。"_s,
        &HistoryWindow::printSheet);
    addButton(u"HistoryExport", u"CSVに書き出す(&E)…"_s,
        u"すべての計測をCSVファイルに書き出します。"_s, &HistoryWindow::exportCsv);
    m_spreadsheet = new QCheckBox(u"表計算ソフト用(&X)"_s, this);
    m_spreadsheet->setObjectName(u"HistorySpreadsheetForm"_s);
    m_spreadsheet->setToolTip(
        u"BOM付きUTF-8・CR LF で書き出します。日本語版の表計算ソフトで文字化けせずに開けます。"_s);
    buttons->addWidget(m_spreadsheet);
    addButton(u"HistoryImport", u"CSVを読み込む(&I)…"_s,
        u"ペミラや他の記録アプリが書き出したCSVファイルの計測を履歴に加えます。"_s,
        &HistoryWindow::importCsv);
    buttons->addStretch();
    addButton(u"HistoryForget", u"すべて忘れる…"_s,
        u"計測の履歴をすべて消去します（確認があります）。今月の記録はそのままです。"_s,
        &HistoryWindow::forgetEverything);
    auto *close = new QPushButton(u"閉じる"_s, this);
    close->setObjectName(u"HistoryClose"_s);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    for (const QKeySequence &key : {QKeySequence(Qt::Key_Escape), QKeySequence(u"Ctrl+W"_s)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);

    connect(m_range, &QComboBox::currentIndexChanged, this, &HistoryWindow::rangeChosen);
    QSettings settings;
    const double goal = settings.value(settingsKey(), 0.0).toDouble();
    m_goal->setValue(goal);
    if (goal > 0)
        m_view.goalKg = goal;
    connect(m_goal, &QDoubleSpinBox::valueChanged, this, &HistoryWindow::goalChanged);
    if (!restoreGeometry(settings.value(u"history/geometry"_s).toByteArray()))
        resize(900, 640);
    reload();
}

HistoryWindow::~HistoryWindow() = default;

QString HistoryWindow::settingsKey() const
{
    const QByteArray path
        = QDir::cleanPath(QFileInfo(m_options.recordFile).absoluteFilePath()).toUtf8();
    return u"history/goal-"_s
        + QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex());
}

QDateTime HistoryWindow::now() const
{
    return m_options.clock ? m_options.clock() : QDateTime::currentDateTime();
}

void HistoryWindow::closeEvent(QCloseEvent *event)
{
    QSettings().setValue(u"history/geometry"_s, saveGeometry());
    QWidget::closeEvent(event);
}

void HistoryWindow::reload()
{
    QString notice;
    m_rows = m_history.rows(m_options.table, now(), &notice, true);
    refresh();
    if (!notice.isEmpty())
        ErrorReport::show(notice);
}

void HistoryWindow::refresh()
{
    const QList<HistoryTrend::Month> months = HistoryTrend::months(m_rows);
    m_months->setRowCount(int(months.size()));
    // Newest first: the month a person looks for.
    for (qsizetype i = 0; i < months.size(); ++i) {
        const QStringList cells = monthTableRow(months[months.size() - 1 - i]);
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment((c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            m_months->setItem(int(i), c, item);
        }
    }
    m_graph->setAccessibleDescription(latestText(m_rows));
    m_status->setText(u"計測 %1 件"_s.arg(m_rows.size()));
    m_graph->update();
}

void HistoryWindow::rangeChosen()
{
    static const HistoryView::Range ranges[]
        = {HistoryView::Range::ThreeMonths, HistoryView::Range::OneYear, HistoryView::Range::All};
    m_view.range = ranges[std::clamp(m_range->currentIndex(), 0, 2)];
    m_graph->update();
}

void HistoryWindow::goalChanged()
{
    const double goal = m_goal->value();
    m_view.goalKg = goal > 0 ? std::optional<double>(goal) : std::nullopt;
    QSettings().setValue(settingsKey(), goal);
    m_graph->update();
}

bool HistoryWindow::ask(const QString &question)
{
    if (m_options.ask)
        return m_options.ask(question);
    return QMessageBox::question(this, u"ペミラ"_s, question) == QMessageBox::Yes;
}

void HistoryWindow::printSheet()
{
    if (m_rows.empty())
        throw std::runtime_error("まだ計測の履歴がないため、印刷するものがありません。");
    std::shared_ptr<const ReportPage> sheet = historySheet(m_rows, m_view, now().date());
    if (const ReportOutput::PageSender printer = m_output.printer()) {
        // Handed over on a worker; the button waits for it.
        m_print->setEnabled(false);
        m_status->setText(u"印刷中…"_s);
        try {
            m_output.printInBackground(
                printer,
                [sheet](
                    const ReportOutput::PageSender &send) { send(*sheet, u"ペミラ 計測の履歴"_s); },
                [this](const QString &failure) {
                    m_print->setEnabled(true);
                    m_status->setText(failure.isEmpty() ? u"印刷しました。"_s : QString());
                    if (!failure.isEmpty())
                        ErrorReport::show(failure);
                });
        } catch (...) {
            m_print->setEnabled(true);
            m_status->clear();
            throw;
        }
        return;
    }
    const QString proposed
        = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
              .filePath(u"ペミラ-履歴-%1.pdf"_s.arg(now().date().toString(Qt::ISODate)));
    if (m_output.offerPdf(
            u"プリンターが見つかりません。\n履歴のグラフをPDFファイルに保存しますか？"_s, proposed,
            [&](const QString &path) { writeHistoryPdf(*sheet, path); }))
        m_status->setText(u"PDFファイルに保存しました。"_s);
}

void HistoryWindow::exportCsv()
{
    const QString proposed
        = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
              .filePath(u"ペミラ-履歴.csv"_s);
    const QString path = m_options.chooseSaveFile
        ? m_options.chooseSaveFile(proposed)
        : QFileDialog::getSaveFileName(
            this, u"CSVファイルに書き出す"_s, proposed, u"CSVファイル (*.csv)"_s);
    if (path.isEmpty())
        return;
    const QByteArray bytes = HistoryCsv::encode(
        m_rows, m_spreadsheet->isChecked() ? CsvCodec::Form::Spreadsheet : CsvCodec::Form::Plain);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(u"CSVファイル %1 を書き込めませんでした。%2"_s
                                     .arg(QDir::toNativeSeparators(path), file.errorString())
                                     .toStdString());
    m_status->setText(u"%1 件を書き出しました。"_s.arg(m_rows.size()));
}

void HistoryWindow::importCsv()
{
    const QString path = m_options.chooseOpenFile
        ? m_options.chooseOpenFile()
        : QFileDialog::getOpenFileName(this, u"CSVファイルを読み込む"_s, QString(),
            u"CSVファイル (*.csv *.txt);;すべて (*)"_s);
    if (path.isEmpty())
        return;
    HistoryImport::Outcome outcome;
    try {
        outcome = HistoryImport::mergeFile(path, m_rows, now());
    } catch (const HistoryImport::Refused &refused) {
        throw std::runtime_error(refused.japanese.toStdString());
    }
    if (outcome.added > 0)
        m_history.replace(outcome.rows);
    m_rows = std::move(outcome.rows);
    refresh();
    m_status->setText(HistoryImport::summaryJapanese(outcome));
}

void HistoryWindow::forgetEverything()
{
    if (!ask(u"計測の履歴をすべて消去します。元に戻すことはできません。\n"
             u"（今月の記録はそのまま残ります。）よろしいですか？"_s))
        return;
    m_history.replace({});
    m_rows.clear();
    refresh();
    m_status->setText(u"計測の履歴を消去しました。"_s);
}

namespace {

HistoryRows historyForCommandLine(const QString &recordFile, const QDateTime &now, bool write)
{
    TextGrid table(RecordLayout::Columns, RecordLayout::Rows);
    readRecordIfAny(recordFile, &table);
    RecordHistory history(recordFile);
    QString notice;
    try {
        return history.rows(&table, now, &notice, write);
    } catch (const std::exception &e) {
        throw std::runtime_error(
            u"cannot read the history %1"_s.arg(QDir::toNativeSeparators(history.path()))
                .toStdString());
    }
}

} // namespace

void exportHistoryCsv(
    const QString &recordFile, const QString &csvFile, bool spreadsheet, const QDateTime &now)
{
    const HistoryRows rows = historyForCommandLine(recordFile, now, false);
    const QByteArray bytes = HistoryCsv::encode(
        rows, spreadsheet ? CsvCodec::Form::Spreadsheet : CsvCodec::Form::Plain);
    QSaveFile file(csvFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(
            u"cannot write %1: %2"_s.arg(QDir::toNativeSeparators(csvFile), file.errorString())
                .toStdString());
}

QString importHistoryCsv(const QString &recordFile, const QString &csvFile, const QDateTime &now)
{
    const HistoryRows rows = historyForCommandLine(recordFile, now, false);
    HistoryImport::Outcome outcome;
    try {
        outcome = HistoryImport::mergeFile(csvFile, rows, now);
    } catch (const HistoryImport::Refused &refused) {
        throw std::runtime_error(
            u"cannot import %1: %2"_s
                .arg(QDir::toNativeSeparators(csvFile), QString::fromUtf8(refused.what()))
                .toStdString());
    }
    if (outcome.added > 0) {
        RecordHistory history(recordFile);
        try {
            history.replace(outcome.rows);
        } catch (const std::exception &) {
            throw std::runtime_error(
                u"cannot write the history %1"_s.arg(QDir::toNativeSeparators(history.path()))
                    .toStdString());
        }
    }
    return HistoryImport::summaryEnglish(outcome);
}
