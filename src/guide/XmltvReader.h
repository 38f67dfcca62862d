#pragma once
// Reads an XMLTV guide as it streams in, with expat: channels and programmes are handed to
// a sink one at a time, so the document is never held. Documents that declare entities
// are refused (no expansion bombs, no external entities); nothing is ever fetched.

#include <QtGlobal>

#include <memory>
#include <string>
#include <vector>

struct XmltvChannel {
    std::string id;
    std::vector<std::string> names; // display-name, in the guide's order
    std::string icon;
};

struct XmltvProgramme {
    std::string channel;
    qint64 start = 0; // seconds since 1970, UTC
    qint64 stop = 0;
    bool hasStop = false;
    std::string title, subTitle, description, category, episode, icon;
};

class XmltvSink
{
public:
    virtual ~XmltvSink() = default;
    virtual void Channel(XmltvChannel& channel) = 0;
    // Asked when a programme starts; false skips it without collecting its texts.
    virtual bool WantsProgrammesOf(const std::string& channel) = 0;
    virtual void Programme(XmltvProgramme& programme) = 0;
};

enum class XmltvProblem {
    None,
    Empty,
    WebPage,
    NotGuide,  // not XML, or a root other than <tv>
    Entities,  // declares entities
    Damaged,   // broken from ProblemLine() on; what came before was read
    Truncated, // ends before the guide does; what came before was read
};

class XmltvReader
{
public:
    static constexpr std::size_t kMaxTextBytes = 1024;
    static constexpr std::size_t kMaxDescriptionBytes = 16 * 1024;
    static constexpr std::size_t kMaxNames = 16;

    // preferredLanguage: e.g. "en"; texts in it win over the others.
    XmltvReader(XmltvSink& sink, std::string preferredLanguage);
    ~XmltvReader();
    XmltvReader(const XmltvReader&) = delete;
    XmltvReader& operator=(const XmltvReader&) = delete;

    // False once reading has stopped for a problem: feed no more.
    bool Feed(const char* data, qsizetype size);
    // The bytes have ended.
    void Finish();

    XmltvProblem Problem() const { return problem; }
    int ProblemLine() const { return problemLine; }
    const std::string& ProblemDetail() const { return problemDetail; }
    // Programmes left out because their times could not be read.
    int SkippedProgrammes() const { return skipped; }
    // Programmes read whose times name a zone not known, read as UTC.
    int UnknownZones() const { return unknownZones; }

    struct State;

private:
    bool Parse(const char* data, qsizetype size, bool last);
    void Stop(XmltvProblem why, std::string detail = {});

    std::unique_ptr<State> state;
    XmltvProblem problem = XmltvProblem::None;
    int problemLine = 0;
    std::string problemDetail;
    int skipped = 0;
    int unknownZones = 0;
    bool started = false;
};

