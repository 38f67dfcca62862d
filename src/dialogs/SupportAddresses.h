#pragma once
// The support e-mail address and the payment pages, fixed when the program is built.

#include <QString>

#include <array>

const QString& SupportEmailAddress();

// The payment pages for $10, $20 and $30, in that order.
const std::array<QString, 3>& DonatePageAddresses();
