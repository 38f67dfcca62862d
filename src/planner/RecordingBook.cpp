#include "RecordingBook.h"

#include "LogCategories.h"
#include "XmlFile.h"
#include "XmlValues.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <tinyxml.h>

#include <algorithm>
#include <optional>

namespace {

const char* const kRoot = "Recordings";
const char* const kRuleElement = "Rule";
const char* const kSkipElement = "Skip";
const char* const kRecordedElement = "Recorded";
constexpr int kMaxTextLength = 1999;
constexpr int kMaxDescriptionLength = 16000;
constexpr int kMaxPathLength = 4096;
const QString kUnreadableSuffix = QStringLiteral(".unreadable");

QByteArray Digits(const TiXmlElement* element, const char* name)
{
    const char* text = element->Attribute(name);
    return text != nullptr ? QByteArray(text).trimmed() : QByteArray();
}

PlanTime TimeAttribute(const TiXmlElement* element, const char* name)
{
    return PlanTime(std::chrono::seconds(Digits(element, name).toLongLong()));
}

void SetNumber(TiXmlElement& element, const char* name, qint64 number)
{
    element.SetAttribute(name, QByteArray::number(number).constData());
}

void SetTime(TiXmlElement& element, const char* name, PlanTime time)
{
    SetNumber(element, name, time.time_since_epoch().count());
}

void SetText(TiXmlElement& element, const char* name, const QString& text, int maxLength = kMaxTextLength)
{
    if (!text.isEmpty())
        element.SetAttribute(name, AttributeUtf8(text, maxLength).constData());
}

ChannelKey ChannelOf(const TiXmlElement* element)
{
    ChannelKey key;
    key.id = Digits(element, "id").toUInt();
    key.playlist = std::max(-1, IntegerAttribute(element, "playlist"));
    key.entry = std::max(-1, IntegerAttribute(element, "entry"));
    return key;
}

void SetChannel(TiXmlElement& element, const ChannelKey& key)
{
    SetNumber(element, "id", key.id);
    element.SetAttribute("playlist", key.playlist);
    element.SetAttribute("entry", key.entry);
}

bool HasChannel(const ChannelKey& key)
{
    return key.id != 0 || key.IsOwn();
}

ProgrammeFacts ProgrammeOf(const TiXmlElement* element)
{
    ProgrammeFacts facts;
    facts.title = TextAttribute(element, "title", kMaxTextLength);
    facts.subTitle = TextAttribute(element, "subTitle", kMaxTextLength);
    facts.description = TextAttribute(element, "description", kMaxDescriptionLength);
    facts.episode = TextAttribute(element, "episode", kMaxTextLength);
    facts.start = TimeAttribute(element, "start");
    facts.stop = TimeAttribute(element, "stop");
    return facts;
}

void SetProgramme(TiXmlElement& element, const ProgrammeFacts& facts)
{
    SetText(element, "title", facts.title);
    SetText(element, "subTitle", facts.subTitle);
    SetText(element, "description", facts.description, kMaxDescriptionLength);
    SetText(element, "episode", facts.episode);
    SetTime(element, "start", facts.start);
    SetTime(element, "stop", facts.stop);
}

template <class Enum>
Enum EnumAttribute(const TiXmlElement* element, const char* name, Enum last)
{
    const int value = IntegerAttribute(element, name);
    return value >= 0 && value <= int(last) ? Enum(value) : Enum(0);
}

std::optional<RecordingRule> RuleOf(const TiXmlElement* element)
{
    RecordingRule rule;
    rule.id = IntegerAttribute(element, "rule");
    rule.kind = EnumAttribute(element, "kind", RuleKind::Series);
    rule.channel = ChannelOf(element);
    rule.channelName = TextAttribute(element, "channel", kMaxTextLength);
    rule.programme = ProgrammeOf(element);
    rule.anyChannel = IntegerAttribute(element, "anyChannel") == 1;
    rule.newOnly = IntegerAttribute(element, "newOnly") == 1;
    if (rule.id <= 0 || !HasChannel(rule.channel) || rule.programme.stop <= rule.programme.start
        || (rule.kind == RuleKind::Series && rule.programme.title.isEmpty()))
        return std::nullopt;
    return rule;
}

TiXmlElement ElementOf(const RecordingRule& rule)
{
    TiXmlElement element(kRuleElement);
    element.SetAttribute("rule", rule.id);
    element.SetAttribute("kind", int(rule.kind));
    SetChannel(element, rule.channel);
    SetText(element, "channel", rule.channelName);
    SetProgramme(element, rule.programme);
    element.SetAttribute("anyChannel", rule.anyChannel ? 1 : 0);
    element.SetAttribute("newOnly", rule.newOnly ? 1 : 0);
    return element;
}

RecordedProgramme RecordedOf(const TiXmlElement* element)
{
    RecordedProgramme done;
    done.rule = IntegerAttribute(element, "rule");
    done.channel = ChannelOf(element);
    done.channelName = TextAttribute(element, "channel", kMaxTextLength);
    done.programme = ProgrammeOf(element);
    done.path = TextAttribute(element, "path", kMaxPathLength);
    done.state = EnumAttribute(element, "state", RecordedState::Failed);
    done.problem = EnumAttribute(element, "problem", RecordedProblem::NotRunning);
    done.began = TimeAttribute(element, "began");
    done.ended = TimeAttribute(element, "ended");
    done.bytes = Digits(element, "bytes").toLongLong();
    // Under way when the program ended: it ended there, its file as far as it got.
    if (done.state == RecordedState::Recording) {
        done.state = RecordedState::Partial;
        done.problem = RecordedProblem::NotRunning;
        done.bytes = QFileInfo(done.path).size();
        done.ended = std::max(done.began, PlanTime(std::chrono::seconds(QFileInfo(done.path).lastModified().toSecsSinceEpoch())));
    }
    return done;
}

TiXmlElement ElementOf(const RecordedProgramme& done)
{
    TiXmlElement element(kRecordedElement);
    element.SetAttribute("rule", done.rule);
    SetChannel(element, done.channel);
    SetText(element, "channel", done.channelName);
    SetProgramme(element, done.programme);
    SetText(element, "path", done.path, kMaxPathLength);
    element.SetAttribute("state", int(done.state));
    element.SetAttribute("problem", int(done.problem));
    SetTime(element, "began", done.began);
    SetTime(element, "ended", done.ended);
    SetNumber(element, "bytes", done.bytes);
    return element;
}

} // namespace

RecordingBook::RecordingBook(QString path) : path(std::move(path))
{
}

QString RecordingBook::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Korvanta/Recordings.xml");
}

void RecordingBook::Load()
{
    rules.clear();
    skipped.clear();
    recorded.clear();
    TiXmlDocument document;
    const XmlReadResult read = ReadXmlFile(path, document);
    if (read == XmlReadResult::Malformed || (read == XmlReadResult::Parsed && document.RootElement()->ValueStr() != kRoot)) {
        qCWarning(lcPlanner) << "the recordings in" << path << "cannot be read; the file is kept as" << path + kUnreadableSuffix;
        QFile::remove(path + kUnreadableSuffix);
        QFile::rename(path, path + kUnreadableSuffix);
        return;
    }
    if (read != XmlReadResult::Parsed)
        return;
    const TiXmlElement* root = document.RootElement();
    for (auto* element = root->FirstChildElement(kRuleElement); element; element = element->NextSiblingElement(kRuleElement)) {
        const std::optional<RecordingRule> rule = RuleOf(element);
        if (rule && Rule(rule->id) == nullptr) {
            rules.push_back(*rule);
            lastId = std::max(lastId, rule->id);
        }
    }
    for (auto* element = root->FirstChildElement(kSkipElement); element; element = element->NextSiblingElement(kSkipElement))
        skipped.push_back({ChannelOf(element), TimeAttribute(element, "start")});
    for (auto* element = root->FirstChildElement(kRecordedElement); element;
         element = element->NextSiblingElement(kRecordedElement))
        recorded.push_back(RecordedOf(element));
}

void RecordingBook::Save()
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement(kRoot);
    document.LinkEndChild(root);
    for (const RecordingRule& rule : rules)
        root->InsertEndChild(ElementOf(rule));
    for (const SkippedProgramme& skip : skipped) {
        TiXmlElement element(kSkipElement);
        SetChannel(element, skip.channel);
        SetTime(element, "start", skip.start);
        root->InsertEndChild(element);
    }
    for (const RecordedProgramme& done : recorded)
        root->InsertEndChild(ElementOf(done));
    QDir().mkpath(QFileInfo(path).absolutePath());
    saveProblem.clear();
    if (!WriteXmlFile(path, document, XmlFileReaders::AsBefore, &saveProblem))
        qCWarning(lcPlanner) << "the recordings could not be saved to" << path << saveProblem;
}

int RecordingBook::AddRule(RecordingRule rule)
{
    rule.id = ++lastId;
    rules.push_back(std::move(rule));
    Save();
    return lastId;
}

bool RecordingBook::RemoveRule(int id)
{
    const auto removed = std::erase_if(rules, [id](const RecordingRule& rule) { return rule.id == id; });
    if (removed > 0)
        Save();
    return removed > 0;
}

const RecordingRule* RecordingBook::Rule(int id) const
{
    const auto found = std::find_if(rules.begin(), rules.end(), [id](const RecordingRule& rule) { return rule.id == id; });
    return found != rules.end() ? &*found : nullptr;
}

void RecordingBook::Skip(const ChannelKey& channel, PlanTime start)
{
    if (Skipped(channel, start))
        return;
    skipped.push_back({channel, start});
    Save();
}

bool RecordingBook::Skipped(const ChannelKey& channel, PlanTime start) const
{
    return std::any_of(skipped.begin(), skipped.end(),
                       [&](const SkippedProgramme& skip) { return skip.channel == channel && skip.start == start; });
}
