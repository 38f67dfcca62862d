#pragma once
// The command-line player's start of a stream, the yardstick of the start and switch
// benchmarks, and the median they report.

#include <QString>
#include <QStringList>

#include <vector>

// Milliseconds from opening url to the first frame shown, from the command-line player's
// own log, so that its process start-up and script loading are left out; -1 when it
// showed none. options come before the address (e.g. --vo=null, --geometry=...).
double CommandLineStartMs(const QString& url, const QStringList& options);

double Median(std::vector<double> values);
