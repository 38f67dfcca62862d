#include "GuideWriter.h"

#include <sqlite3.h>

namespace {

constexpr const char* kHeldTable =
    "CREATE TEMP TABLE IF NOT EXISTS held(channel TEXT NOT NULL, start INTEGER NOT NULL, stop INTEGER, "
    "title TEXT, sub_title TEXT, description TEXT, category TEXT, episode TEXT, icon TEXT)";

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names) {
        if (!joined.empty())
            joined += '\n';
        joined += name;
    }
    return joined;
}

// Binds the programme's columns from index first on: start, stop, then the texts.
void BindProgramme(GuideDatabase::Statement& statement, int first, const XmltvProgramme& p)
{
    statement.Bind(first, p.start);
    if (p.hasStop)
        statement.Bind(first + 1, p.stop);
    else
        statement.BindNull(first + 1);
    int column = first + 2;
    for (const std::string* text : {&p.title, &p.subTitle, &p.description, &p.category, &p.episode, &p.icon})
        statement.Bind(column++, *text);
}

const GuideDatabase& WithHeldTable(const GuideDatabase& database)
{
    database.Exec(kHeldTable);
    return database;
}

} // namespace

GuideWriter::GuideWriter(const GuideDatabase& database)
    : database(WithHeldTable(database)),
      addGuide(database, "INSERT INTO guides(source, imported, problem) VALUES(?1, 0, 0) ON CONFLICT(source) DO NOTHING"),
      findGuide(database, "SELECT id FROM guides WHERE source = ?1"),
      dropProgrammes(database, "DELETE FROM programmes WHERE channel IN (SELECT cid FROM channels WHERE guide = ?1)"),
      dropChannels(database, "DELETE FROM channels WHERE guide = ?1"),
      dropGuide(database, "DELETE FROM guides WHERE id = ?1"),
      addChannel(database, "INSERT INTO channels(guide, id, names, icon) VALUES(?1, ?2, ?3, ?4)"),
      addProgramme(database, "INSERT INTO programmes(channel, start, stop, title, sub_title, description, category, "
                             "episode, icon) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"),
      hold(database, "INSERT INTO held(channel, start, stop, title, sub_title, description, category, episode, icon) "
                     "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"),
      held(database, "SELECT channel, start, stop, title, sub_title, description, category, episode, icon FROM held "
                     "ORDER BY channel"),
      endOpenProgrammes(database, "UPDATE programmes SET stop = (SELECT MIN(n.start) FROM programmes n "
                                  "WHERE n.channel = programmes.channel AND n.start > programmes.start) "
                                  "WHERE stop IS NULL AND channel IN (SELECT cid FROM channels WHERE guide = ?1)"),
      markImported(database, "UPDATE guides SET imported = ?2, problem = ?3 WHERE id = ?1")
{
}

GuideWriter::~GuideWriter()
{
    if (open)
        Rollback();
}

bool GuideWriter::Begin(const QString& source)
{
    if (!Exec("BEGIN IMMEDIATE"))
        return false;
    open = true;
    bool ok = addGuide.Bind(1, source).Run();
    findGuide.Bind(1, source);
    ok = ok && findGuide.Step();
    guide = findGuide.Integer(0);
    findGuide.Reset();
    ok = ok && dropProgrammes.Bind(1, guide).Run() && dropChannels.Bind(1, guide).Run() && Exec("DELETE FROM held");
    if (!ok)
        Rollback();
    return ok;
}

qint64 GuideWriter::AddChannel(const XmltvChannel& channel)
{
    addChannel.Bind(1, guide).Bind(2, channel.id).Bind(3, JoinNames(channel.names)).Bind(4, channel.icon).Run();
    return sqlite3_last_insert_rowid(database.Handle());
}

void GuideWriter::AddProgramme(qint64 channel, const XmltvProgramme& programme)
{
    addProgramme.Bind(1, channel);
    BindProgramme(addProgramme, 2, programme);
    addProgramme.Run();
}

void GuideWriter::Hold(const XmltvProgramme& programme)
{
    hold.Bind(1, programme.channel);
    BindProgramme(hold, 2, programme);
    hold.Run();
}

void GuideWriter::ForEachHeld(const std::function<void(XmltvProgramme&)>& take)
{
    XmltvProgramme programme;
    while (held.Step()) {
        programme.channel = held.Text(0).toStdString();
        programme.start = held.Integer(1);
        programme.hasStop = !held.IsNull(2);
        programme.stop = held.Integer(2);
        int column = 3;
        for (std::string* text : {&programme.title, &programme.subTitle, &programme.description, &programme.category,
                                  &programme.episode, &programme.icon})
            *text = held.Text(column++).toStdString();
        take(programme);
    }
    held.Reset();
}

bool GuideWriter::Commit(int problem, qint64 importedAt)
{
    const bool ok = endOpenProgrammes.Bind(1, guide).Run() && markImported.Bind(1, guide).Bind(2, importedAt).Bind(3, problem).Run()
                    && Exec("DELETE FROM held");
    return Finish(ok);
}

void GuideWriter::Rollback()
{
    Exec("ROLLBACK");
    open = false;
}

bool GuideWriter::Finish(bool ok)
{
    if (ok && Exec("COMMIT")) {
        open = false;
        return true;
    }
    Rollback();
    return false;
}

bool GuideWriter::Remove(const QString& source)
{
    if (!Begin(source))
        return false;
    return Finish(dropGuide.Bind(1, guide).Run());
}
