// SPDX-License-Identifier: GPL-3.0-or-later
// A web engine view behind the information page interface; it never takes focus by tabbing.
#pragma once

#include "InfoBrowserView.h"

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
    std::function<void(const QString &url)> m_navigateComplete;
};
