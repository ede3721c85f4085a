// SPDX-License-Identifier: GPL-3.0-or-later
// Where a start keeps its record (beside a portable copy, in the user's data folder when
// installed, or where --record says), which command lines end before the window, and where the
// plugins are found in either layout.
#include <QTest>

#include <QDir>
#include <QFile>
#include <QPluginLoader>
#include <QTemporaryDir>

#include <unistd.h>

#include "FolderSnapshot.h"
#include "app/CommandLine.h"
#include "app/RecordLocation.h"
#include "plugins/PluginFile.h"

using namespace Qt::StringLiterals;

class tst_RecordLocation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recordFolderFollowsLayout_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("recordOption");
        QTest::addColumn<QString>("expectedFolder"); // "bin", "user" or "other"
        QTest::newRow("portable-writable") << false << true << QString() << u"bin"_s;
        QTest::newRow("portable-read-only") << false << false << QString() << u"user"_s;
        // Whoever may write beside an installed program (root), its folder is not theirs.
        QTest::newRow("installed-writable") << true << true << QString() << u"user"_s;
        QTest::newRow("record-option-portable") << false << true << u"other"_s << u"other"_s;
        QTest::newRow("record-option-installed") << true << true << u"other"_s << u"other"_s;
    }
    void recordFolderFollowsLayout()
    {
        QFETCH(bool, installed);
        QFETCH(bool, writable);
        QFETCH(QString, recordOption);
        QFETCH(QString, expectedFolder);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString bin = root.filePath(u"bin"_s);
        QVERIFY(QDir().mkpath(bin));
        if (installed)
            QVERIFY(QDir().mkpath(PluginFile::installedFolder(bin)));
        ImmutableGuard guard;
        if (!writable && geteuid() == 0) {
            // Root writes through permissions, not into an immutable folder.
            if (!guard.set(bin))
                QSKIP("no immutable folders here for root; the install test covers this");
        } else if (!writable) {
            QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner));
        }
        CommandLine commandLine;
        if (!recordOption.isEmpty())
            commandLine.recordFile = root.filePath(u"other/mine.dat"_s);

        const QString record = recordFileFor(commandLine, bin, root.filePath(u"user"_s));
        guard.lift();
        QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        const QString expected = recordOption.isEmpty()
            ? root.filePath(expectedFolder + u"/settemp.dat"_s)
            : commandLine.recordFile;
        QCOMPARE(QDir::cleanPath(record), QDir::cleanPath(expected));
        // Deciding touches nothing: the data folder is made by the first save.
        QVERIFY(!QFileInfo::exists(root.filePath(u"user"_s)));
    }

    void commandLineOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode"); // -1: the window starts
        QTest::addColumn<QString>("record");
        QTest::newRow("help") << QStringList {u"--help"_s} << 0 << QString();
        QTest::newRow("help-all") << QStringList {u"--help-all"_s} << 0 << QString();
        QTest::newRow("version") << QStringList {u"--version"_s} << 0 << QString();
        QTest::newRow("unknown-option") << QStringList {u"--bogus"_s} << 2 << QString();
        QTest::newRow("record-missing-path") << QStringList {u"--record"_s} << 2 << QString();
        // A relative PATH is the caller's, not the executable's folder's.
        QTest::newRow("record-relative")
            << QStringList {u"--record"_s, u"a/b.dat"_s} << -1 << u"a/b.dat"_s;
    }
    void commandLineOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, record);
        const CommandLine commandLine = parseCommandLine(QStringList {u"pemira"_s} + arguments);
        if (exitCode >= 0) {
            QCOMPARE(commandLine.action, CommandLine::Action::Exit);
            QCOMPARE(commandLine.exitCode, exitCode);
            return;
        }
        QCOMPARE(commandLine.action, CommandLine::Action::Window);
        QCOMPARE(recordFileFor(commandLine, u"/usr/bin"_s, u"/nowhere"_s),
            QDir::current().absoluteFilePath(record));
    }

    void userFolderIsNamedInAscii()
    {
        qputenv("XDG_DATA_HOME", "/home/someone/data");
        QCOMPARE(userRecordFolder(), u"/home/someone/data/pemira"_s);
        qunsetenv("XDG_DATA_HOME");
    }

    void pluginFoundBesideOrInstalled_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("foundIn"); // "bin", "lib" or empty for none
        QTest::newRow("portable") << true << false << u"bin"_s;
        QTest::newRow("installed") << false << true << u"lib"_s;
        QTest::newRow("both-portable-first") << true << true << u"bin"_s;
        QTest::newRow("neither") << false << false << QString();
    }
    void pluginFoundBesideOrInstalled()
    {
        QFETCH(bool, beside);
        QFETCH(bool, installed);
        QFETCH(QString, foundIn);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QString bin = root.filePath(u"bin"_s);
        const QString lib = PluginFile::installedFolder(bin);
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(lib));
        // Not a library: the loader finds the file, then refuses it; which file it found is the
        // point here.
        for (const auto &[wanted, folder] : {std::pair {beside, bin}, std::pair {installed, lib}}) {
            QFile file(QDir(folder).filePath(u"libpemira_output.so"_s));
            QVERIFY(!wanted || (file.open(QIODevice::WriteOnly) && file.write("junk") == 4));
        }

        QPluginLoader loader;
        QString why;
        QCOMPARE(
            PluginFile::load<QObject>(loader, bin, u"pemira_output"_s, u"部品"_s, &why), nullptr);
        if (foundIn.isEmpty()) {
            QCOMPARE(why, u"部品（pemira_output）が見つかりません"_s);
        } else {
            QVERIFY2(why.startsWith(u"部品（pemira_output）を読み込めません"_s), qPrintable(why));
            QCOMPARE(QFileInfo(loader.fileName()).canonicalPath(),
                QFileInfo(foundIn == u"bin"_s ? bin : lib).canonicalFilePath());
        }
    }
};

QTEST_GUILESS_MAIN(tst_RecordLocation)
#include "tst_recordlocation.moc"
