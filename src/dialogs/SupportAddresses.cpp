#include "SupportAddresses.h"

const QString& SupportEmailAddress()
{
    static const QString address = QStringLiteral(KORVANTA_SUPPORT_EMAIL);
    return address;
}

const std::array<QString, 3>& DonatePageAddresses()
{
    static const std::array<QString, 3> pages{
        QStringLiteral(KORVANTA_DONATE_URL_10),
        QStringLiteral(KORVANTA_DONATE_URL_20),
        QStringLiteral(KORVANTA_DONATE_URL_30),
    };
    return pages;
}
