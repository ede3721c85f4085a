// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a text grid as delimited lines and reads such lines back: the record file's codec.
// The byte functions are pure; the file functions add a durable replace-in-one-step save.
#pragma once

#include <QByteArray>
#include <QString>

class TextGrid;

class TStringGridIO
{
public:
    explicit TStringGridIO(TextGrid *targetGrid = nullptr)
        : m_targetGrid(targetGrid)
    { }

    // Without a target grid both file operations do nothing.
    TextGrid *TargetGrid() const { return m_targetGrid; }
    void setTargetGrid(TextGrid *grid) { m_targetGrid = grid; }
    // When set, a load first empties the grid and sizes it to the file.
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch) { m_stretch = stretch; }

    // Replaces the file in one step: either the old or the new complete file survives a crash.
    // Throws std::runtime_error with the platform's message; the old file is then untouched.
    void SaveToFile(const QString &fileName, const QString &delimiter, bool quote) const;
    // The same one-step replace for any bytes (the record's history uses it too).
    static void writeFileDurably(const QString &fileName, const QByteArray &bytes);
    // Throws std::runtime_error with the platform's message before any cell changes.
    void LoadFromFile(const QString &fileName, const QString &delimiter, bool quote) const;

    // The whole file, opened only when it is a regular file and never waiting on a pipe or a
    // device. Throws std::runtime_error with the reason.
    static QByteArray readFile(const QString &fileName);
    // Why writing fileName failed: the common causes (no space, no permission, a read-only file
    // system, a missing folder) in Japanese, otherwise systemText. errorNumber is the errno of
    // the failing call, or 0 when it is not known; the folder is then examined.
    static QString failureReason(
        const QString &fileName, int errorNumber, const QString &systemText);

    // Every row as one line of cells joined by the delimiter, each line ended by CR LF.
    // Cells are written as Latin-1 bytes; with quote, non-numeric cells go between double quotes.
    static QByteArray serialize(const TextGrid &grid, const QString &delimiter, bool quote);
    // Applies the lines of bytes to grid (Latin-1). Rows beyond the last line keep their cells.
    // Throws std::runtime_error, changing nothing, when stretching would need an absurd grid or
    // the bytes hold a zero byte, which no cell can keep: a save would lose what follows it.
    static void parse(const QByteArray &bytes, TextGrid &grid, const QString &delimiter, bool quote,
        bool stretch = false);

    // False when something other than a regular file (a device, pipe, socket or folder) stands
    // at fileName, following links: a save would replace it instead of writing into it.
    static bool isReplaceable(const QString &fileName);
    // Called with the folder's handle once a save's rename is done, to make the rename durable;
    // tests replace it to see that it happens. Returns what fsync would.
    static int (*syncFolder)(int folderHandle);

    // Largest file LoadFromFile reads; the record file is about 1 KB.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    // Largest grid a stretching load builds.
    static constexpr qint64 MaxStretchCells = 4 * 1024 * 1024;

private:
    TextGrid *m_targetGrid = nullptr;
    bool m_stretch = false;
};
