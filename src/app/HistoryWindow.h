// SPDX-License-Identifier: GPL-3.0-or-later
// The history window: every measurement the record ever received as a graph with its trend, the
// months as a table, and the history's way out (print or PDF, CSV) and in (CSV), with a confirmed
// way to forget it. A normal top-level window that remembers its size; Escape or Ctrl+W closes it.
#pragma once

#include "ReportOutput.h"
#include "history/HistoryGraph.h"
#include "history/RecordHistory.h"

#include <QDateTime>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TextGrid;

class HistoryWindow : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryWindow)
public:
    struct Options
    {
        QString recordFile;
        // The record as the main window holds it (its measurements start a history); may be null.
        const TextGrid *table = nullptr;
        std::function<QDateTime()> clock; // empty: the local clock
        // Empty: the platform's question box and file dialogs.
        std::function<bool(const QString &question)> ask;
        std::function<QString(const QString &proposedPath)> chooseSaveFile;
        std::function<QString()> chooseOpenFile;
        ReportOutput::PageSender sendPage; // empty: the default printer
    };
    explicit HistoryWindow(Options options, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    // Reads the history again (after a measurement, an import).
    void reload();
    const HistoryRows &rows() const { return m_rows; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void rangeChosen();
    void goalChanged();
    void printSheet();
    void exportCsv();
    void importCsv();
    void forgetEverything();
    void refresh();
    bool ask(const QString &question);
    QString settingsKey() const;
    QDateTime now() const;

    Options m_options;
    RecordHistory m_history;
    ReportOutput m_output;
    HistoryRows m_rows;
    HistoryView m_view;
    QWidget *m_graph = nullptr;
    QComboBox *m_range = nullptr;
    QDoubleSpinBox *m_goal = nullptr;
    QCheckBox *m_spreadsheet = nullptr;
    QTableWidget *m_months = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_print = nullptr;
};

// The history exported without a window: FILE in the plain or the spreadsheet form. Throws
// std::runtime_error with one English line; nothing is written then.
void exportHistoryCsv(
    const QString &recordFile, const QString &csvFile, bool spreadsheet, const QDateTime &now);
// A CSV file merged into the record's history; the summary line. Throws std::runtime_error with
// one English line; nothing changes then.
QString importHistoryCsv(const QString &recordFile, const QString &csvFile, const QDateTime &now);
