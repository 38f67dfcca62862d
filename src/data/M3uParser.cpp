#include "M3uParser.h"

#include "StreamRules.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace {

constexpr qsizetype kSniffBytes = 64 * 1024; // where a NUL byte marks a binary file
constexpr qsizetype kWebPageSniffBytes = 1024;
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

bool StartsWithNoCase(QStringView text, QLatin1StringView prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

bool IsAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// UTF-8 where the line is valid UTF-8, else Latin-1, so that no byte is lost.
QString DecodeLine(QByteArrayView line)
{
    if (IsAscii(line))
        return QString::fromLatin1(line);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(line);
    return utf8.hasError() ? QString::fromLatin1(line) : text;
}

bool LooksLikeWebPage(QByteArrayView bytes)
{
    const QByteArray start = bytes.first(std::min(bytes.size(), kWebPageSniffBytes)).trimmed().toByteArray().toLower();
    return start.startsWith('<') && (start.contains("<html") || start.contains("<!doctype html"));
}

QString LastPathPart(const QString& address)
{
    const QUrl url(address);
    QString part = url.fileName();
    if (part.isEmpty())
        part = url.host();
    return part.isEmpty() ? address : part;
}

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

constexpr qsizetype kUnterminated = -1;

// Hands every key="value" from pos on to take(key, value). Returns where the title's comma
// is (info.size() without one), or kUnterminated for a quote that never closes.
template <class Take>
qsizetype ForEachAttribute(QStringView info, qsizetype pos, Take take)
{
    while (pos < info.size()) {
        if (IsBlank(info[pos])) {
            ++pos;
            continue;
        }
        if (info[pos] == QLatin1Char(','))
            return pos;
        const qsizetype keyStart = pos;
        while (pos < info.size() && !IsBlank(info[pos]) && info[pos] != QLatin1Char('=') && info[pos] != QLatin1Char(','))
            ++pos;
        const QStringView key = info.mid(keyStart, pos - keyStart);
        if (pos >= info.size() || info[pos] != QLatin1Char('='))
            continue; // a stray word
        ++pos;
        QStringView value;
        if (pos < info.size() && (info[pos] == QLatin1Char('"') || info[pos] == QLatin1Char('\''))) {
            const qsizetype close = info.indexOf(info[pos], pos + 1);
            if (close < 0)
                return kUnterminated;
            value = info.mid(pos + 1, close - pos - 1);
            pos = close + 1;
        } else {
            const qsizetype valueStart = pos;
            while (pos < info.size() && !IsBlank(info[pos]) && info[pos] != QLatin1Char(','))
                ++pos;
            value = info.mid(valueStart, pos - valueStart);
        }
        take(key, value);
    }
    return info.size();
}

bool IsKey(QStringView key, QLatin1StringView name)
{
    return key.compare(name, Qt::CaseInsensitive) == 0;
}

CatchupMode CatchupModeNamed(QStringView name)
{
    struct Named {
        QLatin1StringView name;
        CatchupMode mode;
    };
    static constexpr Named kModes[] = {
        {QLatin1StringView("default"), CatchupMode::Default},
        {QLatin1StringView("append"), CatchupMode::Append},
        {QLatin1StringView("shift"), CatchupMode::Shift},
        {QLatin1StringView("timeshift"), CatchupMode::Shift},
        {QLatin1StringView("flussonic"), CatchupMode::Flussonic},
        {QLatin1StringView("flussonic-hls"), CatchupMode::Flussonic},
        {QLatin1StringView("flussonic-ts"), CatchupMode::Flussonic},
        {QLatin1StringView("fs"), CatchupMode::Flussonic},
        {QLatin1StringView("xc"), CatchupMode::Xc},
    };
    for (const Named& known : kModes) {
        if (IsKey(name, known.name))
            return known.mode;
    }
    return CatchupMode::None;
}

// tvg-shift is in hours, possibly with a fraction; kept within a day either way.
std::optional<int> ShiftMinutes(QStringView hours)
{
    constexpr double kMinutesPerHour = 60;
    constexpr double kMaxHours = 24;
    bool ok = false;
    const double value = hours.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return static_cast<int>(std::lround(std::clamp(value, -kMaxHours, kMaxHours) * kMinutesPerHour));
}

QString Unquoted(QStringView value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value.toString();
}

// A path on a drive, as a downloaded playlist made on another system may name one.
bool NamesLocalFile(QStringView address)
{
    const QStringView scheme = SchemeOf(address);
    return IsFileScheme(scheme) || (scheme.isEmpty() && address.size() > 1 && address[1] == QLatin1Char(':'));
}

// Text no address holds: white space, and the characters a URL reference never does
// (brackets only around a host, which a relative one has none of).
bool HoldsNoAddress(QStringView text)
{
    static constexpr QLatin1StringView kNever("[]<>\"{}^`\\");
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace() || kNever.contains(c); });
}

// A path by its look: from the root, or from the playlist's folder or the one above it.
bool LooksLikePath(QStringView text)
{
    return text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1StringView("./"))
           || text.startsWith(QLatin1StringView("../"));
}

} // namespace

M3uParser::M3uParser(const QUrl& location) : location(location), remote(!location.isLocalFile())
{
}

M3uResult M3uParser::Parse(const QByteArray& bytes)
{
    result = {};
    headerShiftMinutes = 0;
    pending = {};
    lineNumber = 0;
    QByteArrayView view(bytes);
    if (view.size() > kMaxBytes) {
        result.problem = M3uProblem::TooLarge;
        return std::move(result);
    }
    if (view.startsWith(kUtf8Bom))
        view = view.sliced(kUtf8Bom.size());
    if (view.trimmed().isEmpty())
        result.problem = M3uProblem::Empty;
    else if (view.first(std::min(view.size(), kSniffBytes)).contains('\0'))
        result.problem = M3uProblem::NotText;
    else if (LooksLikeWebPage(view))
        result.problem = M3uProblem::WebPage;

    const char* const end = view.end();
    for (const char* line = view.begin(); line < end && result.problem == M3uProblem::None;) {
        const char* lineEnd = std::find_if(line, end, [](char c) { return c == '\n' || c == '\r'; });
        ++lineNumber;
        if (lineEnd - line > kMaxLineBytes) {
            result.problem = M3uProblem::LineTooLong;
            result.problemLine = lineNumber;
            break;
        }
        const QByteArrayView lineBytes(line, lineEnd);
        if (lineBytes.contains('\0'))
            RefuseLine(); // whatever read it later would end the name or address at the NUL
        else
            ReadLine(DecodeLine(lineBytes));
        line = lineEnd + (lineEnd + 1 < end && lineEnd[0] == '\r' && lineEnd[1] == '\n' ? 2 : 1);
    }
    if (pending.described)
        Skip(pending.line, M3uRefusal::NoAddress);
    if (result.problem == M3uProblem::None && result.channels.empty())
        result.problem = M3uProblem::NoChannels;
    if (result.problem != M3uProblem::None)
        result.channels.clear();
    return std::move(result);
}

void M3uParser::ReadLine(QStringView line)
{
    line = line.trimmed();
    if (line.isEmpty())
        return;
    if (line.front() == QLatin1Char('#')) {
        if (StartsWithNoCase(line, QLatin1StringView("#EXTINF:")))
            ReadExtInf(line.mid(8));
        else if (StartsWithNoCase(line, QLatin1StringView("#EXTM3U")))
            ReadHeader(line.mid(7));
        else if (StartsWithNoCase(line, QLatin1StringView("#EXTGRP:")))
            pending.extGroup = Intern(line.mid(8).trimmed().toString());
        else if (StartsWithNoCase(line, QLatin1StringView("#EXTVLCOPT:")))
            ReadOption(line.mid(11).trimmed());
        return; // the header and every other directive or comment
    }
    if (line.front() == QLatin1Char('<'))
        Skip(lineNumber, M3uRefusal::Markup);
    else
        ReadAddress(line);
}

void M3uParser::ReadHeader(QStringView info)
{
    ForEachAttribute(info, 0, [this](QStringView key, QStringView value) {
        if (IsKey(key, QLatin1StringView("x-tvg-url")) || IsKey(key, QLatin1StringView("url-tvg"))
            || IsKey(key, QLatin1StringView("tvg-url")))
            AddGuideAddresses(value);
        else if (IsKey(key, QLatin1StringView("tvg-shift")))
            headerShiftMinutes = ShiftMinutes(value).value_or(0);
        else
            ReadCatchupAttribute(key, value, headerCatchup);
    });
}

void M3uParser::AddGuideAddresses(QStringView list)
{
    for (QStringView address : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString trimmed = address.trimmed().toString();
        if (!trimmed.isEmpty() && !result.guideAddresses.contains(trimmed))
            result.guideAddresses.append(trimmed);
    }
}

// The entry the line belongs to goes with it: an address read later plays without the
// description or options that came before.
void M3uParser::RefuseLine()
{
    pending = {};
    Skip(lineNumber, M3uRefusal::NulCharacter);
}

void M3uParser::Skip(int line, M3uRefusal refusal)
{
    ++result.skippedLines;
    result.refusedLines += IsNotAllowed(refusal) ? 1 : 0;
    if (result.firstRefused.size() < kReportedRefusals)
        result.firstRefused.push_back({line, refusal});
}

void M3uParser::ReadExtInf(QStringView info)
{
    if (pending.described)
        Skip(pending.line, M3uRefusal::NoAddress);
    pending.name.clear();
    pending.tvgName.clear();
    pending.group.clear();
    pending.tvgId.clear();
    pending.logo.clear();
    pending.catchup = {};
    pending.shiftMinutes.reset();
    pending.number.clear();
    pending.described = false;

    qsizetype pos = 0;
    while (pos < info.size() && !IsBlank(info[pos]) && info[pos] != QLatin1Char(','))
        ++pos; // the duration
    const qsizetype title = ForEachAttribute(info, pos, [this](QStringView key, QStringView value) {
        if (IsKey(key, QLatin1StringView("tvg-id")))
            pending.tvgId = value.trimmed().toString();
        else if (IsKey(key, QLatin1StringView("tvg-name")))
            pending.tvgName = value.trimmed().toString();
        else if (IsKey(key, QLatin1StringView("tvg-logo")))
            pending.logo = value.trimmed().toString();
        else if (IsKey(key, QLatin1StringView("tvg-chno")))
            pending.number = value.trimmed().toString();
        else if (IsKey(key, QLatin1StringView("group-title")))
            pending.group = Intern(value.trimmed().toString());
        else if (IsKey(key, QLatin1StringView("tvg-shift")))
            pending.shiftMinutes = ShiftMinutes(value);
        else
            ReadCatchupAttribute(key, value, pending.catchup);
    });
    if (title == kUnterminated) {
        Skip(lineNumber, M3uRefusal::UnclosedQuote);
        return;
    }
    if (title < info.size())
        pending.name = info.mid(title + 1).trimmed().toString();
    pending.described = true;
    pending.line = lineNumber;
}

void M3uParser::ReadOption(QStringView option)
{
    if (StartsWithNoCase(option, QLatin1StringView("http-user-agent=")))
        pending.userAgent = Intern(Unquoted(option.mid(16)));
    else if (StartsWithNoCase(option, QLatin1StringView("http-referrer=")))
        pending.referrer = Intern(Unquoted(option.mid(14)));
}

void M3uParser::ReadAddress(QStringView line)
{
    QStringView headers;
    const qsizetype bar = line.indexOf(QLatin1Char('|'));
    if (bar >= 0) {
        headers = line.mid(bar + 1);
        line = line.left(bar).trimmed();
    }
    Pending entry = std::move(pending);
    pending = {};
    QString address = AbsoluteAddress(line);
    if (address.isEmpty()) {
        Skip(lineNumber, remote && NamesLocalFile(line) ? M3uRefusal::LocalFile : M3uRefusal::AddressNotAllowed);
        return;
    }
    if (NamesNothing(line, address)) {
        Skip(lineNumber, M3uRefusal::NotAnAddress);
        return;
    }
    if (result.channels.size() >= static_cast<size_t>(kMaxEntries)) {
        result.problem = M3uProblem::TooManyEntries;
        result.problemLine = lineNumber;
        return;
    }
    for (QStringView field : headers.split(QLatin1Char('&'))) {
        const qsizetype equals = field.indexOf(QLatin1Char('='));
        const QStringView key = field.left(equals).trimmed();
        const QString value = QUrl::fromPercentEncoding(Unquoted(field.mid(equals + 1)).toUtf8());
        if (equals < 0)
            continue;
        if (key.compare(QLatin1StringView("User-Agent"), Qt::CaseInsensitive) == 0)
            entry.userAgent = Intern(value);
        else if (key.compare(QLatin1StringView("Referer"), Qt::CaseInsensitive) == 0
                 || key.compare(QLatin1StringView("Referrer"), Qt::CaseInsensitive) == 0)
            entry.referrer = Intern(value);
    }

    if (RefusalOf(address, entry.userAgent, entry.referrer) != UnavailableReason::None) {
        // A header value would end its header, or a decoded NUL the path.
        const bool safeHeaders = IsSafeHeaderValue(entry.userAgent) && IsSafeHeaderValue(entry.referrer);
        Skip(lineNumber, safeHeaders ? M3uRefusal::AddressNotAllowed : M3uRefusal::UnsafeHeader);
        return;
    }

    PlaylistChannel& channel = result.channels.emplace_back();
    channel.name = !entry.name.isEmpty() ? std::move(entry.name)
                   : !entry.tvgName.isEmpty() ? std::move(entry.tvgName)
                                               : LastPathPart(address);
    channel.address = std::move(address);
    channel.group = entry.group.isEmpty() ? entry.extGroup : entry.group;
    channel.tvgId = std::move(entry.tvgId);
    channel.logo = std::move(entry.logo);
    channel.number = std::move(entry.number);
    channel.userAgent = entry.userAgent;
    channel.referrer = entry.referrer;
    channel.catchup = CatchupOf(entry.catchup);
    if (entry.tvgName != channel.name)
        channel.tvgName = std::move(entry.tvgName);
    channel.guideShiftMinutes = entry.shiftMinutes.value_or(headerShiftMinutes);
}

// The address as the player gets it, or empty when it is refused.
QString M3uParser::AbsoluteAddress(QStringView address) const
{
    const QStringView scheme = SchemeOf(address);
    if (IsStreamScheme(scheme))
        return WithLowerCaseScheme(address);
    if (!scheme.isEmpty()) {
        if (remote || !IsFileScheme(scheme))
            return {};
        // A file address names its whole path; a relative one would be read from
        // wherever the program was started.
        const QString path = QUrl(address.toString()).toLocalFile();
        return QDir::isAbsolutePath(path) ? QDir::cleanPath(path) : QString();
    }
    if (remote) {
        const QUrl resolved = location.resolved(QUrl(address.toString()));
        return resolved.isValid() && IsStreamScheme(resolved.scheme()) ? resolved.toString(QUrl::FullyEncoded) : QString();
    }
    const QString path = address.toString();
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path
                                                      : QFileInfo(location.toLocalFile()).dir().filePath(path));
}

// A line without a scheme that cannot be an address (a list's "[NO PUBLIC STREAM]") and, in
// a local playlist, names no file there either. Only such lines ask the disk.
bool M3uParser::NamesNothing(QStringView line, const QString& address) const
{
    if (!SchemeOf(line).isEmpty() || !HoldsNoAddress(line))
        return false;
    return remote || (!LooksLikePath(line) && !QFileInfo::exists(address));
}

const QString& M3uParser::Intern(const QString& text)
{
    const auto found = interned.constFind(text);
    return found != interned.constEnd() ? *found : *interned.insert(text, text);
}

void M3uParser::ReadCatchupAttribute(QStringView key, QStringView value, CatchupText& catchup)
{
    value = value.trimmed();
    if (IsKey(key, QLatin1StringView("catchup")) || IsKey(key, QLatin1StringView("catchup-type")))
        catchup.mode = Intern(value.toString());
    else if (IsKey(key, QLatin1StringView("catchup-days")) || IsKey(key, QLatin1StringView("tvg-rec"))
             || IsKey(key, QLatin1StringView("timeshift")))
        catchup.days = Intern(value.toString());
    else if (IsKey(key, QLatin1StringView("catchup-source")))
        catchup.source = Intern(value.toString());
}

// The entry's own attributes, each falling back to the header's. Days alone mean the
// archive is asked for by shifting the channel's address; a template alone is a whole
// archive address.
CatchupOffer M3uParser::CatchupOf(const CatchupText& entry)
{
    const auto pick = [](const QString& own, const QString& header) -> const QString& {
        return own.isEmpty() ? header : own;
    };
    const QString& mode = pick(entry.mode, headerCatchup.mode);
    CatchupOffer offer;
    offer.source = pick(entry.source, headerCatchup.source);
    offer.days = std::max(0, pick(entry.days, headerCatchup.days).toInt());
    if (!mode.isEmpty())
        offer.mode = CatchupModeNamed(mode);
    else if (!offer.source.isEmpty())
        offer.mode = CatchupMode::Default;
    else if (offer.days > 0)
        offer.mode = CatchupMode::Shift;
    if (offer.mode == CatchupMode::None)
        offer = {};
    return offer;
}
