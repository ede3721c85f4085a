#include "WebBrowserPlugin.h"

#include "WebBrowserView.h"

InfoBrowserView *WebBrowserPlugin::createView(QWidget *parent)
{
    return new WebBrowserView(parent);
}
