#pragma once
// Writes one guide's import into the store in a single transaction with prepared
// statements: the guide's old contents go and the new ones arrive only at Commit, so a
// reader never sees half a guide and a killed import leaves the previous one whole.

#include "GuideDatabase.h"
#include "XmltvReader.h"

#include <QString>

#include <functional>

class GuideWriter
{
public:
    explicit GuideWriter(const GuideDatabase& database);
    ~GuideWriter();

    bool Begin(const QString& source);
    // The channel's number in the store.
    qint64 AddChannel(const XmltvChannel& channel);
    void AddProgramme(qint64 channel, const XmltvProgramme& programme);
    // A programme whose channel the guide has not declared yet, kept aside.
    void Hold(const XmltvProgramme& programme);
    // Every programme held, grouped by channel.
    void ForEachHeld(const std::function<void(XmltvProgramme&)>& take);
    // A programme without a stop ends where the next one on its channel starts.
    bool Commit(int problem, qint64 importedAt);
    void Rollback();

    // Drops a guide and everything of it.
    bool Remove(const QString& source);

private:
    bool Exec(const char* sql) const { return database.Exec(sql); }
    bool Finish(bool ok);

    const GuideDatabase& database;
    GuideDatabase::Statement addGuide, findGuide, dropProgrammes, dropChannels, dropGuide, addChannel, addProgramme,
        hold, held, endOpenProgrammes, markImported;
    qint64 guide = 0;
    bool open = false;
};
