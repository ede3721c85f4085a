// SPDX-License-Identifier: GPL-3.0-or-later
// A web engine view behind the information page interface; it never takes focus by tabbing.
// The program's own pages and its page for an unreachable site are shown under the address asked
// for, so the person never sees the engine's English error page.
#pragma once

#include "InfoBrowserView.h"

#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

class WebBrowserView : public QWebEngineView, public InfoBrowserView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebBrowserView)

public:
    explicit WebBrowserView(QWidget *parent);

    QWidget *widget() override { return this; }
    void navigate(const QString &address) override;
    void setNavigateCompleteHandler(std::function<void(const QString &url)> handler) override;
    QString title() const override { return QWebEngineView::title(); }

protected:
    bool event(QEvent *event) override;

private:
    void loadingChanged(const QWebEngineLoadingInfo &info);
    void showOwnPage(const QString &html, const QUrl &address);

    std::function<void(const QString &url)> m_navigateComplete;
    // The address of the page the program is showing itself, reported when it has loaded.
    QUrl m_ownPageAddress;
};
