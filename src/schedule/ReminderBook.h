#pragma once
// The viewer's reminders, kept in a file of their own (Reminders.xml) and written again,
// atomically, at every change. A reminder falls due a lead before its programme starts;
// one whose programme is over by then (Korvanta was not running) goes without a word.

#include "Reminder.h"

#include <optional>
#include <vector>

class ReminderBook
{
public:
    static constexpr std::chrono::seconds kDefaultLead{60};

    explicit ReminderBook(QString path, std::chrono::seconds lead = kDefaultLead);

    void SetLead(std::chrono::seconds newLead) { lead = newLead; }
    std::chrono::seconds Lead() const { return lead; }

    // $XDG_DATA_HOME/Korvanta/Reminders.xml
    static QString DefaultPath();

    // Reads the file. One that cannot be read is put aside beside it, so that the next
    // save does not replace what the viewer may still want.
    void Load(ScheduleTime now);
    // False when the programme has started, or has a reminder already.
    bool Add(const Reminder& reminder, ScheduleTime now);
    // False when it had none.
    bool Remove(const Reminder& reminder);
    bool Has(const Reminder& reminder) const;
    const std::vector<Reminder>& Reminders() const { return reminders; }

    // The reminders due at now, taken out of the book; those whose programme is over go too.
    std::vector<Reminder> TakeDue(ScheduleTime now);
    // When the next one falls due.
    std::optional<ScheduleTime> NextDue() const;

    // Why the last save failed; empty after one that went well.
    const QString& SaveProblem() const { return saveProblem; }

private:
    void DropOver(ScheduleTime now);
    void Save();

    QString path;
    std::chrono::seconds lead;
    std::vector<Reminder> reminders; // by start, so that Has looks up only those of its start
    QString saveProblem;
};
