// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebBrowserView.h"

#include "BundledPages.h"

#include <QChildEvent>
#include <QUrl>
#include <QWebEngineSettings>

using namespace Qt::StringLiterals;

namespace {

void keepOutOfTabChain(QWidget *widget)
{
    widget->setFocusPolicy(Qt::FocusPolicy(widget->focusPolicy() & ~Qt::TabFocus));
}

// Why a page could not be fetched, for the person; null when the site answered (an HTTP error
// page is the site's own) or the load was merely cut short by the next one.
QString failureReason(const QWebEngineLoadingInfo &info)
{
    const QString code = u"（%1 %2）"_s.arg(info.errorCode()).arg(info.errorString());
    switch (info.errorDomain()) {
    case QWebEngineLoadingInfo::DnsErrorDomain:
        return u"サイト「%1」が見つかりませんでした。"_s.arg(info.url().host()) + code;
    case QWebEngineLoadingInfo::ConnectionErrorDomain:
    case QWebEngineLoadingInfo::HttpErrorDomain:
        return u"サイトに接続できませんでした。"_s + code;
    case QWebEngineLoadingInfo::CertificateErrorDomain:
        return u"サイトの証明書を確かめられませんでした。"_s + code;
    case QWebEngineLoadingInfo::FtpErrorDomain:
        return u"ページを読み込めませんでした。"_s + code;
    default:
        return QString();
    }
}

} // namespace

WebBrowserView::WebBrowserView(QWidget *parent)
    : QWebEngineView(parent)
{
    keepOutOfTabChain(this);
    // The engine's own error page is English; the program shows its own instead.
    settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    connect(page(), &QWebEnginePage::loadingChanged, this, &WebBrowserView::loadingChanged);
}

void WebBrowserView::navigate(const QString &address)
{
    const QUrl url(address);
    if (BundledPages::isBundled(url))
        showOwnPage(BundledPages::page(url), url);
    else {
        m_ownPageAddress.clear();
        load(url);
    }
}

void WebBrowserView::showOwnPage(const QString &html, const QUrl &address)
{
    m_ownPageAddress = address;
    // The page takes the address as its own, so the title, the address reached and relative
    // links are those of the page asked for; nothing is fetched for it.
    setHtml(html, address);
}

void WebBrowserView::loadingChanged(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
        return;
    if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && m_ownPageAddress.isEmpty()) {
        const QString reason = failureReason(info);
        if (!reason.isNull()) {
            // Completion is reported once, when the page that replaces the failure is shown.
            showOwnPage(BundledPages::unreachablePage(info.url(), reason), info.url());
            return;
        }
    }
    const QString reached
        = m_ownPageAddress.isEmpty() ? info.url().toString() : m_ownPageAddress.toString();
    if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
        m_ownPageAddress.clear();
    if (m_navigateComplete)
        m_navigateComplete(reached);
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
