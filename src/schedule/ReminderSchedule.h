#pragma once
// The reminders' clock: the book kept on disk and a timer set to the next one due. A
// reminder the viewer asks for is set, or cancelled where one is set already.

#include "ReminderBook.h"

#include <QObject>
#include <QTimer>

#include <functional>

class ReminderSchedule : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<ScheduleTime()>;

    explicit ReminderSchedule(Clock clock = SystemNow);

    static ScheduleTime SystemNow();

    // Reads the book at path; those due meanwhile are told at once.
    void Load(const QString& path);
    bool Has(const Reminder& reminder) const { return book.Has(reminder); }
    // How long before its programme a reminder is told; one now due is told at once.
    void SetLead(std::chrono::seconds lead);

public slots:
    void Toggle(const Reminder& reminder);

signals:
    void Set(const Reminder& reminder);
    void Cancelled(const Reminder& reminder);
    void Due(const Reminder& reminder);

private:
    void Arm();
    void TellDue();

    std::chrono::seconds lead = ReminderBook::kDefaultLead;
    ReminderBook book{QString()};
    Clock clock;
    QTimer timer;
};
