// Playlists.xml as start-up reads it: whatever was read saves to a file that reads back
// and saves again to the same bytes.

#include "FuzzFolder.h"
#include "PlaylistsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<Playlist> read;
    if (LoadPlaylists(WriteFuzzInput(QStringLiteral("Playlists.xml"), data, size), read) != PlaylistsFileState::Read)
        return 0;
    RequireInvariant(SavePlaylists(FuzzFilePath(QStringLiteral("First.xml")), read), "the playlists read save");
    std::vector<Playlist> again;
    RequireInvariant(LoadPlaylists(FuzzFilePath(QStringLiteral("First.xml")), again) == PlaylistsFileState::Read,
                     "a saved file reads");
    RequireInvariant(SavePlaylists(FuzzFilePath(QStringLiteral("Second.xml")), again), "the playlists save again");
    RequireInvariant(ReadFuzzFile(QStringLiteral("First.xml")) == ReadFuzzFile(QStringLiteral("Second.xml")),
                     "a saved file reads back as it was written");
    return 0;
}
