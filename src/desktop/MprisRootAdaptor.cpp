#include "MprisRootAdaptor.h"

#include "MprisService.h"

#include <QMetaObject>

MprisRootAdaptor::MprisRootAdaptor(MprisService* owner) : QDBusAbstractAdaptor(owner), service(*owner) {}

QString MprisRootAdaptor::Identity() const
{
    return QStringLiteral("Korvanta");
}

QString MprisRootAdaptor::DesktopEntry() const
{
    return QStringLiteral("org.korvanta.Korvanta");
}

void MprisRootAdaptor::Raise()
{
    service.Target().RaiseFromDesktop();
}

void MprisRootAdaptor::Quit()
{
    // The reply goes out first; closing may end the event loop that would send it.
    QMetaObject::invokeMethod(&service, [this] { service.Target().QuitFromDesktop(); }, Qt::QueuedConnection);
}
