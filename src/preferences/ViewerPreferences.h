#pragma once
// The viewer's preferences: read from Preferences.xml beside Settings.xml (which keeps its
// bytes), written atomically there only once the viewer changes one. Whoever a value steers
// follows Changed, also at the start, so that a change takes effect at once.
//
//   <Preferences>
//       <Playback hardwareDecoding="auto" numberDelayMs="1500" audioLanguages="deu,eng"
//                 subtitleLanguages="" startWithLastChannel="no" />
//       <Timeshift on="yes" minutes="120" diskCapMiB="4096" />
//       <Recording folder="/home/me/Videos/Korvanta" />
//       <Guide refreshHours="12" correctionMinutes="0" daysBack="7" reminderMinutes="1" />
//       <Logos cacheMB="200" />
//       <Network userAgent="" timeoutSeconds="30" />
//   </Preferences>

#include "PreferenceValues.h"

#include <QObject>
#include <QString>

class ViewerPreferences : public QObject
{
    Q_OBJECT
public:
    // Reads path; what it lacks, or holds out of bounds, keeps its value in defaults. Then
    // Changed.
    void Load(const QString& path, const PreferenceValues& defaults);
    // The viewer's new values: written, then Changed. False, with reason, when the file
    // could not be written (the values still apply for this run).
    bool Set(const PreferenceValues& values, QString* reason = nullptr);

    const PreferenceValues& Values() const { return values; }

signals:
    void Changed(const PreferenceValues& values);

private:
    QString path;
    PreferenceValues values;
};
