#include "ReminderBook.h"

#include "LogCategories.h"
#include "XmlFile.h"
#include "XmlValues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <tinyxml.h>

#include <algorithm>

namespace {

const char* const kRoot = "Reminders";
const char* const kElement = "Reminder";
constexpr int kMaxTextLength = 1999;
const QString kUnreadableSuffix = QStringLiteral(".unreadable");

// The attribute's digits; empty when missing.
QByteArray Digits(const TiXmlElement* element, const char* name)
{
    const char* text = element->Attribute(name);
    return text != nullptr ? QByteArray(text).trimmed() : QByteArray();
}

ScheduleTime TimeAttribute(const TiXmlElement* element, const char* name)
{
    return ScheduleTime(std::chrono::seconds(Digits(element, name).toLongLong()));
}

void SetTime(TiXmlElement& element, const char* name, ScheduleTime time)
{
    element.SetAttribute(name, QByteArray::number(qint64(time.time_since_epoch().count())).constData());
}

std::optional<Reminder> ReminderOf(const TiXmlElement* element)
{
    Reminder reminder;
    reminder.channel.id = Digits(element, "id").toUInt();
    reminder.channel.playlist = std::max(-1, IntegerAttribute(element, "playlist"));
    reminder.channel.entry = std::max(-1, IntegerAttribute(element, "entry"));
    reminder.channelName = TextAttribute(element, "channel", kMaxTextLength);
    reminder.title = TextAttribute(element, "title", kMaxTextLength);
    reminder.start = TimeAttribute(element, "start");
    reminder.stop = TimeAttribute(element, "stop");
    if (reminder.stop <= reminder.start || (reminder.channel.id == 0 && !reminder.channel.IsOwn()))
        return std::nullopt; // no programme, or no channel to watch it on
    return reminder;
}

TiXmlElement ElementOf(const Reminder& reminder)
{
    TiXmlElement element(kElement);
    element.SetAttribute("id", QByteArray::number(reminder.channel.id).constData());
    element.SetAttribute("playlist", reminder.channel.playlist);
    element.SetAttribute("entry", reminder.channel.entry);
    element.SetAttribute("channel", AttributeUtf8(reminder.channelName, kMaxTextLength).constData());
    element.SetAttribute("title", AttributeUtf8(reminder.title, kMaxTextLength).constData());
    SetTime(element, "start", reminder.start);
    SetTime(element, "stop", reminder.stop);
    return element;
}

} // namespace

ReminderBook::ReminderBook(QString path, std::chrono::seconds lead) : path(std::move(path)), lead(lead)
{
}

QString ReminderBook::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Korvanta/Reminders.xml");
}

void ReminderBook::Load(ScheduleTime now)
{
    reminders.clear();
    TiXmlDocument document;
    const XmlReadResult read = ReadXmlFile(path, document);
    if (read == XmlReadResult::Malformed || (read == XmlReadResult::Parsed && document.RootElement()->ValueStr() != kRoot)) {
        qCWarning(lcSchedule) << "the reminders in" << path << "cannot be read; the file is kept as" << path + kUnreadableSuffix;
        QFile::remove(path + kUnreadableSuffix);
        QFile::rename(path, path + kUnreadableSuffix);
        return;
    }
    if (read != XmlReadResult::Parsed)
        return;
    for (const TiXmlElement* element = document.RootElement()->FirstChildElement(kElement); element != nullptr;
         element = element->NextSiblingElement(kElement)) {
        const std::optional<Reminder> reminder = ReminderOf(element);
        if (reminder && !Has(*reminder))
            reminders.push_back(*reminder);
    }
    std::stable_sort(reminders.begin(), reminders.end(), [](const Reminder& a, const Reminder& b) { return a.start < b.start; });
    const std::size_t before = reminders.size();
    DropOver(now);
    if (reminders.size() != before)
        Save();
}

bool ReminderBook::Add(const Reminder& reminder, ScheduleTime now)
{
    if (reminder.start <= now || reminder.stop <= reminder.start || Has(reminder))
        return false;
    const auto at = std::upper_bound(reminders.begin(), reminders.end(), reminder,
                                     [](const Reminder& a, const Reminder& b) { return a.start < b.start; });
    reminders.insert(at, reminder);
    Save();
    return true;
}

bool ReminderBook::Remove(const Reminder& reminder)
{
    const auto removed = std::erase_if(reminders, [&](const Reminder& r) { return r.SameProgramme(reminder); });
    if (removed > 0)
        Save();
    return removed > 0;
}

bool ReminderBook::Has(const Reminder& reminder) const
{
    // The guide grid asks this of every programme it paints.
    const auto [first, last] = std::equal_range(reminders.begin(), reminders.end(), reminder,
                                                [](const Reminder& a, const Reminder& b) { return a.start < b.start; });
    return std::any_of(first, last, [&](const Reminder& r) { return r.SameProgramme(reminder); });
}

std::vector<Reminder> ReminderBook::TakeDue(ScheduleTime now)
{
    DropOver(now);
    std::vector<Reminder> due;
    const auto first = std::find_if(reminders.begin(), reminders.end(), [&](const Reminder& r) { return r.start - lead > now; });
    due.assign(reminders.begin(), first);
    reminders.erase(reminders.begin(), first);
    if (!due.empty())
        Save();
    return due;
}

std::optional<ScheduleTime> ReminderBook::NextDue() const
{
    if (reminders.empty())
        return std::nullopt;
    return reminders.front().start - lead;
}

void ReminderBook::DropOver(ScheduleTime now)
{
    std::erase_if(reminders, [now](const Reminder& r) { return r.stop <= now; });
}

void ReminderBook::Save()
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement(kRoot);
    document.LinkEndChild(root);
    for (const Reminder& reminder : reminders)
        root->InsertEndChild(ElementOf(reminder));
    QDir().mkpath(QFileInfo(path).absolutePath());
    saveProblem.clear();
    if (!WriteXmlFile(path, document, XmlFileReaders::AsBefore, &saveProblem))
        qCWarning(lcSchedule) << "the reminders could not be saved to" << path << saveProblem;
}
