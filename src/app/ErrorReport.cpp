// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {
std::function<void(const QString &)> &hook()
{
    static std::function<void(const QString &)> instance;
    return instance;
}
} // namespace

namespace ErrorReport {

void show(const QString &text)
{
    if (hook()) {
        hook()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
        QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

QString currentText()
{
    try {
        throw;
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return u"予期しないエラーが発生しました"_s;
    }
}

void guard(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (...) {
        show(currentText());
    }
}

void setHook(std::function<void(const QString &)> newHook)
{
    hook() = std::move(newHook);
}

} // namespace ErrorReport
