#pragma once
// A span of seconds as a clock shows it: "2:15", "1:02:15".

#include <QString>

QString ClockText(double seconds);
