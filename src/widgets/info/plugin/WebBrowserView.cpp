// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebBrowserView.h"

#include <QChildEvent>
#include <QUrl>

namespace {
void keepOutOfTabChain(QWidget *widget)
{
    widget->setFocusPolicy(Qt::FocusPolicy(widget->focusPolicy() & ~Qt::TabFocus));
}
} // namespace

WebBrowserView::WebBrowserView(QWidget *parent)
    : QWebEngineView(parent)
{
    keepOutOfTabChain(this);
    connect(this, &QWebEngineView::loadFinished, this, [this](bool) {
        if (m_navigateComplete)
            m_navigateComplete(url().toString());
    });
}

void WebBrowserView::navigate(const QString &address)
{
    load(QUrl(address));
}

void WebBrowserView::setNavigateCompleteHandler(std::function<void(const QString &url)> handler)
{
    m_navigateComplete = std::move(handler);
}

bool WebBrowserView::event(QEvent *event)
{
    // The engine adds its render widget (the focus proxy) only once a page is shown.
    if (event->type() == QEvent::ChildPolished) {
        if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
            keepOutOfTabChain(child);
    }
    return QWebEngineView::event(event);
}
