#include "XmltvReader.h"
#include "XmltvTime.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

constexpr int kSniffBytes = 512; // where a web page shows itself

enum class Field { None, Name, Title, SubTitle, Description, Category, Episode };

const char* Attribute(const XML_Char** attributes, const char* name)
{
    for (; *attributes; attributes += 2) {
        if (std::strcmp(attributes[0], name) == 0)
            return attributes[1];
    }
    return nullptr;
}

bool LanguageMatches(const char* lang, const std::string& preferred)
{
    if (lang == nullptr || preferred.empty())
        return false;
    const std::size_t n = preferred.size();
    return strncasecmp(lang, preferred.c_str(), n) == 0 && (lang[n] == '\0' || lang[n] == '-' || lang[n] == '_');
}

void Trim(std::string& text)
{
    const auto space = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && space(static_cast<unsigned char>(text.back())))
        text.pop_back();
    const auto first = std::find_if_not(text.begin(), text.end(), [&](char c) { return space(c); });
    text.erase(text.begin(), first);
}

// Appends within limit bytes, never ending inside a UTF-8 character.
void AppendBounded(std::string& text, const char* data, int size, std::size_t limit)
{
    if (text.size() >= limit)
        return;
    const std::size_t take = std::min(static_cast<std::size_t>(size), limit - text.size());
    text.append(data, take);
    if (take < static_cast<std::size_t>(size)) {
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back();
        if (!text.empty() && static_cast<unsigned char>(text.back()) >= 0xC0)
            text.pop_back();
    }
}

// xmltv_ns counts from zero: "0.4.0/1" is the first season's fifth episode.
std::string EpisodeFromXmltvNs(const std::string& value)
{
    const auto dot = value.find('.');
    if (dot == std::string::npos)
        return {};
    const auto number = [](const std::string& part) {
        const std::string digits = part.substr(0, part.find('/'));
        return digits.find_first_not_of(" 0123456789") == std::string::npos && !digits.empty()
                   && digits.find_first_not_of(' ') != std::string::npos
                   ? std::stoi(digits) + 1
                   : 0;
    };
    const int season = number(value.substr(0, dot));
    const auto second = value.find('.', dot + 1);
    const int episode = number(value.substr(dot + 1, second == std::string::npos ? std::string::npos : second - dot - 1));
    std::string out;
    if (season > 0)
        out = "S" + std::to_string(season);
    if (episode > 0)
        out += (out.empty() ? "E" : " E") + std::to_string(episode);
    return out;
}

// The line feeds of text, eight bytes at a time: what is cut is most of a large guide, and
// counting it byte by byte cost a fifth of the import. Each byte of lanes counts the feeds
// at its place in up to kRounds words; then they are summed.
std::size_t CountLineFeeds(std::string_view text)
{
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    constexpr int kRounds = 255; // before a byte of lanes could overflow
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL, kFeeds = 0x0A0A0A0A0A0A0A0AULL;
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FFULL, kShorts = 0x0001000100010001ULL;
    constexpr int kByteBits = 8, kHighBit = 7, kTopShort = 48;
    std::size_t count = 0, at = 0;
    while (at + kWord <= text.size()) {
        std::uint64_t lanes = 0;
        for (int round = 0; round < kRounds && at + kWord <= text.size(); ++round, at += kWord) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + at, kWord);
            const std::uint64_t bytes = word ^ kFeeds; // a zero byte where a feed was
            lanes += ~(((bytes & kLow7) + kLow7) | bytes | kLow7) >> kHighBit; // one where zero
        }
        count += (((lanes & kEvenBytes) + ((lanes >> kByteBits) & kEvenBytes)) * kShorts) >> kTopShort;
    }
    return count + static_cast<std::size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(at), text.end(), '\n'));
}

bool LooksLikeWebPage(const char* data, qsizetype size)
{
    std::string start(data, static_cast<std::size_t>(std::min<qsizetype>(size, kSniffBytes)));
    std::transform(start.begin(), start.end(), start.begin(), [](unsigned char c) { return std::tolower(c); });
    const auto first = start.find_first_not_of(" \t\r\n\xef\xbb\xbf");
    return first != std::string::npos
           && (start.compare(first, 14, "<!doctype html") == 0 || start.compare(first, 5, "<html") == 0);
}

// Cuts the programmes of channels nobody watches out of the bytes before the XML parser
// sees them: most of a large guide is such programmes, and finding their ends costs a
// fraction of parsing them. A programme is cut only when its start tag reads plainly
// (a quoted channel without references); everything else is left to the parser. The line
// feeds of what is cut stay, so the parser counts the lines of the file as written.
class ProgrammeFilter
{
public:
    explicit ProgrammeFilter(XmltvSink& sink) : sink(sink) {}

    // The bytes of data to parse, in out; the end of data that may begin a tag is kept
    // for the next call.
    void Filter(const char* data, qsizetype size, std::string& out)
    {
        out.clear();
        if (!carry.empty()) {
            carry.append(data, static_cast<std::size_t>(size));
            held.swap(carry);
            carry.clear();
            data = held.data();
            size = static_cast<qsizetype>(held.size());
        }
        std::string_view rest(data, static_cast<std::size_t>(size));
        while (!rest.empty()) {
            if (skipping) {
                const auto end = rest.find(kEndTag);
                if (end == std::string_view::npos) {
                    KeepTail(rest, kEndTag.size() - 1, false, out);
                    return;
                }
                KeepLineFeeds(rest.substr(0, end + kEndTag.size()), out);
                rest.remove_prefix(end + kEndTag.size());
                skipping = false;
                continue;
            }
            const auto start = rest.find(kStartTag);
            if (start == std::string_view::npos) {
                KeepTail(rest, kStartTag.size() - 1, true, out);
                return;
            }
            out.append(rest.substr(0, start));
            rest.remove_prefix(start);
            const auto close = rest.find('>');
            if (close == std::string_view::npos) {
                if (rest.size() > kMaxTagBytes)
                    out.append(rest); // no tag is that long: the parser will say what it is
                else
                    carry.assign(rest);
                return;
            }
            const std::string_view tag = rest.substr(0, close + 1);
            if (Unwanted(tag)) {
                skipping = true;
                KeepLineFeeds(tag, out);
            } else {
                out.append(tag);
            }
            rest.remove_prefix(close + 1);
        }
    }

    // The bytes kept back at the end, unless they belong to a programme cut out.
    void Finish(std::string& out)
    {
        out.clear();
        if (!skipping)
            out.swap(carry);
        carry.clear();
    }

private:
    static constexpr std::string_view kStartTag = "<programme";
    static constexpr std::string_view kEndTag = "</programme>";
    static constexpr std::size_t kMaxTagBytes = 64 * 1024;

    // Keeps the last bytes of rest that could start the tag looked for; the others go to
    // out when they are to be parsed.
    void KeepTail(std::string_view rest, std::size_t tail, bool parse, std::string& out)
    {
        const std::size_t kept = std::min(tail, rest.size());
        if (parse)
            out.append(rest.substr(0, rest.size() - kept));
        else
            KeepLineFeeds(rest.substr(0, rest.size() - kept), out);
        carry.assign(rest.substr(rest.size() - kept));
    }

    // What is cut becomes its line feeds: white space between elements, which the parser
    // skips. A carriage return before a feed adds no line, so it can go; a file whose lines
    // end in carriage returns alone is counted short by what is cut.
    static void KeepLineFeeds(std::string_view cut, std::string& out)
    {
        out.append(CountLineFeeds(cut), '\n');
    }

    bool Unwanted(std::string_view tag)
    {
        if (tag.size() <= kStartTag.size() || !std::isspace(static_cast<unsigned char>(tag[kStartTag.size()]))
            || tag.ends_with("/>"))
            return false;
        for (auto at = tag.find("channel="); at != std::string_view::npos; at = tag.find("channel=", at + 1)) {
            const auto quote = at + 8;
            if (!std::isspace(static_cast<unsigned char>(tag[at - 1])) || quote >= tag.size()
                || (tag[quote] != '"' && tag[quote] != '\''))
                continue;
            const auto end = tag.find(tag[quote], quote + 1);
            if (end == std::string_view::npos)
                return false;
            const std::string_view id = tag.substr(quote + 1, end - quote - 1);
            if (id.find('&') != std::string_view::npos || id.find('<') != std::string_view::npos)
                return false;
            channel.assign(id);
            return !sink.WantsProgrammesOf(channel);
        }
        return false;
    }

    XmltvSink& sink;
    bool skipping = false;
    std::string carry, held, channel;
};

} // namespace


struct XmltvReader::State {
    XmltvReader& reader;
    XmltvSink& sink;
    std::string preferred;
    XML_Parser parser;
    int depth = 0;
    bool sawGuide = false;
    int skipBelow = 0; // inside an element whose content is ignored, when not 0
    bool inChannel = false, inProgramme = false;
    Field field = Field::None;
    bool fieldPreferred = false; // the text being read is in the preferred language
    std::string text;
    // Whether the kept value of a field is in the preferred language.
    bool titlePreferred = false, subTitlePreferred = false, descriptionPreferred = false,
         categoryPreferred = false, episodeOnScreen = false;
    XmltvChannel channel;
    XmltvProgramme programme;

    ProgrammeFilter filter;
    std::string filtered;

    State(XmltvReader& reader, XmltvSink& sink, std::string preferred)
        : reader(reader), sink(sink), preferred(std::move(preferred)), parser(XML_ParserCreate("UTF-8")),
          filter(sink)
    {
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &State::OnStart, &State::OnEnd);
        XML_SetCharacterDataHandler(parser, &State::OnText);
        XML_SetEntityDeclHandler(parser, &State::OnEntity);
    }
    ~State() { XML_ParserFree(parser); }

    static void OnEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
                         const XML_Char*, const XML_Char*)
    {
        static_cast<State*>(data)->reader.Stop(XmltvProblem::Entities);
    }

    static void OnStart(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        static_cast<State*>(data)->Start(name, attributes);
    }
    static void OnEnd(void* data, const XML_Char*) { static_cast<State*>(data)->End(); }
    static void OnText(void* data, const XML_Char* text, int size)
    {
        auto* state = static_cast<State*>(data);
        if (state->field != Field::None)
            AppendBounded(state->text, text, size,
                          state->field == Field::Description ? kMaxDescriptionBytes : kMaxTextBytes);
    }

    void Start(const char* name, const XML_Char** attributes)
    {
        ++depth;
        if (skipBelow != 0)
            return;
        if (depth == 1) {
            sawGuide = std::strcmp(name, "tv") == 0;
            if (!sawGuide)
                reader.Stop(XmltvProblem::NotGuide, "<" + std::string(name) + ">");
            return;
        }
        if (depth == 2)
            StartTopLevel(name, attributes);
        else if (depth == 3 && inChannel)
            StartChannelField(name, attributes);
        else if (depth == 3 && inProgramme)
            StartProgrammeField(name, attributes);
        else
            skipBelow = depth; // credits, ratings and the like
    }

    void StartTopLevel(const char* name, const XML_Char** attributes)
    {
        if (std::strcmp(name, "channel") == 0) {
            channel = {};
            const char* id = Attribute(attributes, "id");
            channel.id = id ? id : "";
            inChannel = true;
            return;
        }
        if (std::strcmp(name, "programme") != 0) {
            skipBelow = depth;
            return;
        }
        const char* id = Attribute(attributes, "channel");
        if (id == nullptr || !sink.WantsProgrammesOf(id)) {
            skipBelow = depth;
            return;
        }
        programme = {};
        programme.channel = id;
        bool unknownZone = false;
        const char* stop = Attribute(attributes, "stop");
        programme.hasStop = stop != nullptr && ParseXmltvTime(stop, programme.stop, &unknownZone);
        if (!ParseXmltvTime(Attribute(attributes, "start"), programme.start, &unknownZone)) {
            ++reader.skipped;
            skipBelow = depth;
            return;
        }
        reader.unknownZones += unknownZone ? 1 : 0;
        titlePreferred = subTitlePreferred = descriptionPreferred = categoryPreferred = episodeOnScreen = false;
        inProgramme = true;
    }

    void StartChannelField(const char* name, const XML_Char** attributes)
    {
        if (std::strcmp(name, "display-name") == 0) {
            Collect(Field::Name, false);
        } else if (std::strcmp(name, "icon") == 0) {
            if (const char* src = Attribute(attributes, "src"); src && channel.icon.empty())
                AppendBounded(channel.icon, src, static_cast<int>(std::strlen(src)), kMaxTextBytes);
        }
    }

    void StartProgrammeField(const char* name, const XML_Char** attributes)
    {
        const bool preferredLanguage = LanguageMatches(Attribute(attributes, "lang"), preferred);
        if (std::strcmp(name, "title") == 0) {
            Collect(Field::Title, preferredLanguage);
        } else if (std::strcmp(name, "sub-title") == 0) {
            Collect(Field::SubTitle, preferredLanguage);
        } else if (std::strcmp(name, "desc") == 0) {
            Collect(Field::Description, preferredLanguage);
        } else if (std::strcmp(name, "category") == 0) {
            Collect(Field::Category, preferredLanguage);
        } else if (std::strcmp(name, "episode-num") == 0) {
            const char* system = Attribute(attributes, "system");
            Collect(Field::Episode, system != nullptr && std::strcmp(system, "onscreen") == 0);
            if (system != nullptr && std::strcmp(system, "onscreen") != 0 && std::strcmp(system, "xmltv_ns") != 0)
                field = Field::None;
        } else if (std::strcmp(name, "icon") == 0) {
            if (const char* src = Attribute(attributes, "src"); src && programme.icon.empty())
                AppendBounded(programme.icon, src, static_cast<int>(std::strlen(src)), kMaxTextBytes);
        }
    }

    void Collect(Field which, bool preferredLanguage)
    {
        field = which;
        fieldPreferred = preferredLanguage;
        text.clear();
    }

    // Keeps text in value unless a value in the preferred language is already there.
    void Keep(std::string& value, bool& valuePreferred)
    {
        if (!text.empty() && (value.empty() || (fieldPreferred && !valuePreferred))) {
            value = std::move(text);
            valuePreferred = fieldPreferred;
        }
    }

    void EndField()
    {
        Trim(text);
        switch (field) {
        case Field::Name:
            if (!text.empty() && channel.names.size() < kMaxNames)
                channel.names.push_back(std::move(text));
            break;
        case Field::Title: Keep(programme.title, titlePreferred); break;
        case Field::SubTitle: Keep(programme.subTitle, subTitlePreferred); break;
        case Field::Description: Keep(programme.description, descriptionPreferred); break;
        case Field::Category: Keep(programme.category, categoryPreferred); break;
        case Field::Episode:
            if (!fieldPreferred)
                text = EpisodeFromXmltvNs(text);
            Keep(programme.episode, episodeOnScreen);
            break;
        case Field::None: break;
        }
        field = Field::None;
    }

    void End()
    {
        if (skipBelow != 0) {
            if (depth-- == skipBelow)
                skipBelow = 0;
            return;
        }
        if (depth == 3)
            EndField();
        else if (depth == 2 && inChannel)
            sink.Channel(channel);
        else if (depth == 2 && inProgramme)
            sink.Programme(programme);
        if (depth == 2)
            inChannel = inProgramme = false;
        --depth;
    }
};

XmltvReader::XmltvReader(XmltvSink& sink, std::string preferredLanguage)
    : state(std::make_unique<State>(*this, sink, std::move(preferredLanguage)))
{
}

XmltvReader::~XmltvReader() = default;

void XmltvReader::Stop(XmltvProblem why, std::string detail)
{
    if (problem != XmltvProblem::None)
        return;
    problem = why;
    problemDetail = std::move(detail);
    problemLine = static_cast<int>(XML_GetCurrentLineNumber(state->parser));
    XML_StopParser(state->parser, XML_FALSE);
}

bool XmltvReader::Feed(const char* data, qsizetype size)
{
    if (problem != XmltvProblem::None)
        return false;
    if (!started) {
        const auto blank = std::all_of(data, data + size, [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
        if (blank)
            return true;
        started = true;
        if (LooksLikeWebPage(data, size)) {
            problem = XmltvProblem::WebPage;
            return false;
        }
    }
    state->filter.Filter(data, size, state->filtered);
    return Parse(state->filtered.data(), static_cast<qsizetype>(state->filtered.size()), false);
}

void XmltvReader::Finish()
{
    if (problem != XmltvProblem::None)
        return;
    if (!started) {
        problem = XmltvProblem::Empty;
        return;
    }
    state->filter.Finish(state->filtered);
    Parse(state->filtered.data(), static_cast<qsizetype>(state->filtered.size()), true);
}

bool XmltvReader::Parse(const char* data, qsizetype size, bool last)
{
    // Expat takes an int length: feed larger blocks in parts.
    constexpr qsizetype kMaxPart = 1 << 30;
    do {
        const qsizetype part = std::min(size, kMaxPart);
        const bool final = last && part == size;
        if (XML_Parse(state->parser, data, static_cast<int>(part), final) == XML_STATUS_ERROR) {
            if (problem != XmltvProblem::None)
                return false; // stopped by a handler
            const XML_Error error = XML_GetErrorCode(state->parser);
            const bool endedEarly = last && (error == XML_ERROR_NO_ELEMENTS || error == XML_ERROR_UNCLOSED_TOKEN
                                             || error == XML_ERROR_PARTIAL_CHAR
                                             || error == XML_ERROR_UNCLOSED_CDATA_SECTION);
            const XmltvProblem why = !state->sawGuide ? XmltvProblem::NotGuide
                                     : endedEarly     ? XmltvProblem::Truncated
                                                      : XmltvProblem::Damaged;
            Stop(why, XML_ErrorString(error));
            return false;
        }
        data += part;
        size -= part;
    } while (size > 0);
    return true;
}
