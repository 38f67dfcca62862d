#include "ReminderSchedule.h"

#include "LogCategories.h"

#include <algorithm>

namespace {

// The timer looks again at least this often, so that a clock set forward or a machine
// woken from sleep tells what fell due meanwhile.
constexpr std::chrono::milliseconds kLongestWait = std::chrono::minutes(1);

} // namespace

ReminderSchedule::ReminderSchedule(Clock clock) : clock(std::move(clock))
{
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &ReminderSchedule::TellDue);
}

ScheduleTime ReminderSchedule::SystemNow()
{
    return std::chrono::time_point_cast<std::chrono::seconds>(std::chrono::system_clock::now());
}

void ReminderSchedule::Load(const QString& path)
{
    book = ReminderBook(path, lead);
    book.Load(clock());
    TellDue();
}

void ReminderSchedule::SetLead(std::chrono::seconds lead)
{
    this->lead = lead;
    book.SetLead(lead);
    TellDue(); // with the new lead, one may be due now

}

void ReminderSchedule::Toggle(const Reminder& reminder)
{
    if (book.Remove(reminder)) {
        emit Cancelled(reminder);
    } else if (book.Add(reminder, clock())) {
        qCInfo(lcSchedule) << "reminder set:" << reminder.title << reminder.channelName;
        emit Set(reminder);
    }
    Arm();
}

void ReminderSchedule::Arm()
{
    const std::optional<ScheduleTime> next = book.NextDue();
    if (!next) {
        timer.stop();
        return;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(*next - clock());
    timer.start(std::clamp(wait, std::chrono::milliseconds(0), kLongestWait));
}

void ReminderSchedule::TellDue()
{
    for (const Reminder& reminder : book.TakeDue(clock())) {
        qCInfo(lcSchedule) << "reminder due:" << reminder.title << reminder.channelName;
        emit Due(reminder);
    }
    Arm();
}
