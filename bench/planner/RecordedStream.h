#pragma once
// What the planner's benchmarks are told: a number option (taken out of the arguments) and
// the stream to record, the zoo's when none is named.

#include "ZooServer.h"

#include <QStringList>
#include <QTextStream>

inline int TakeNumberOption(QStringList& args, const QString& name, int fallback)
{
    const qsizetype option = args.indexOf(name);
    if (option < 0 || option + 1 >= args.size())
        return fallback;
    const int value = args[option + 1].toInt();
    args.remove(option, 2);
    return value;
}

// The stream named first in args, else the zoo's (started here); empty, said on out, when
// the zoo does not start.
inline QString RecordedStream(const QStringList& args, ZooServer& zoo, QTextStream& out)
{
    if (!args.value(0).isEmpty())
        return args.value(0);
    if (!zoo.Start()) {
        out << "the stream zoo did not start: " << zoo.Error() << "\n";
        return {};
    }
    return zoo.Url(QStringLiteral("/zoo/stream.ts"));
}
