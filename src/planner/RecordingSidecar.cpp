#include "RecordingSidecar.h"

#include "XmlFile.h"
#include "XmlValues.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTimeZone>

#include <tinyxml.h>

namespace {

constexpr int kMaxTextLength = 16000;

void AddText(TiXmlElement* root, const char* name, const QString& text)
{
    auto* element = new TiXmlElement(name);
    element->LinkEndChild(new TiXmlText(AttributeUtf8(text, kMaxTextLength).constData()));
    root->LinkEndChild(element);
}

// As a guide writes its times: UTC with its offset.
QString GuideTime(PlanTime time)
{
    return QDateTime::fromSecsSinceEpoch(time.time_since_epoch().count(), QTimeZone::utc())
               .toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral(" +0000");
}

} // namespace

QString RecordingSidecar::PathOf(const QString& recording)
{
    const QFileInfo info(recording);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".xml"));
}

bool RecordingSidecar::Write(const QString& recording, const QString& channelName, const ProgrammeFacts& programme,
                             QString* problem)
{
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    auto* root = new TiXmlElement("Recording");
    document.LinkEndChild(root);
    AddText(root, "Title", programme.title);
    AddText(root, "SubTitle", programme.subTitle);
    AddText(root, "Description", programme.description);
    AddText(root, "Episode", programme.episode);
    AddText(root, "Channel", channelName);
    AddText(root, "Start", GuideTime(programme.start));
    AddText(root, "Stop", GuideTime(programme.stop));
    return WriteXmlFile(PathOf(recording), document, XmlFileReaders::AsBefore, problem);
}
