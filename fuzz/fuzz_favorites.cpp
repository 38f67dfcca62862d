// Favorites.xml as start-up reads it: the lists stay parallel, and whatever was read saves
// to a file that reads back and saves again to the same bytes. (The first save may shorten
// a name: the file keeps fewer bytes than a read name may hold.)

#include "FavoritesFile.h"
#include "FuzzFolder.h"

namespace {
struct Favorites
{
    QStringList names;
    QList<quint32> ids;
    QList<quint32> icons;
    QList<OwnStream> streams;

    bool Load(const QString& path) { return LoadFavorites(path, names, ids, icons, &streams); }
    bool Save(const QString& path) const { return SaveFavorites(path, names, ids, icons, streams); }
    bool Parallel() const
    {
        return names.size() == ids.size() && names.size() == icons.size() && names.size() == streams.size();
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Favorites read;
    if (!read.Load(WriteFuzzInput(QStringLiteral("Favorites.xml"), data, size)))
        return 0;
    RequireInvariant(read.Parallel(), "the favourite lists are parallel");
    RequireInvariant(read.Save(FuzzFilePath(QStringLiteral("First.xml"))), "the favourites read save");
    Favorites again;
    RequireInvariant(again.Load(FuzzFilePath(QStringLiteral("First.xml"))), "a saved file reads");
    RequireInvariant(again.Save(FuzzFilePath(QStringLiteral("Second.xml"))), "the favourites save again");
    RequireInvariant(ReadFuzzFile(QStringLiteral("First.xml")) == ReadFuzzFile(QStringLiteral("Second.xml")),
                     "a saved file reads back as it was written");
    return 0;
}
