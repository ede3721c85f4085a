#include "RecordLocation.h"

#include "CommandLine.h"
#include "record/MonthTable.h"

#include <QDir>

QString recordFileFor(const CommandLine &commandLine, const QString &executableFolder)
{
    if (!commandLine.recordFile.isEmpty())
        return commandLine.recordFile;
    return recordFilePath(QDir(executableFolder).absolutePath() + u'/');
}
