#pragma once
// The 22 channel sections and the channel identifier used by the tree, the favourites,
// the catalogue and the built-in stream address table.

#include <QStringList>

#include <array>
#include <cstdint>

// Low 16 bits: section number 1..22; high 16 bits: 0-based position; 0 = no channel.
using ChannelId = std::uint32_t;

constexpr int kSectionCount = 22;
// Sections 1..10 are genres, the rest countries.
constexpr int kFirstCountrySection = 11;

// Element names of the sections in Channels.xml, by section index 0..21.
extern const std::array<const char*, kSectionCount> kSectionElementNames;

// One list per section index (0..21): the names, or parallel to them the descriptions.
using ChannelLists = std::array<QStringList, kSectionCount>;

constexpr ChannelId MakeChannelId(int sectionNumber, int position)
{
    return (static_cast<ChannelId>(position) << 16) | (static_cast<ChannelId>(sectionNumber) & 0xFFFFu);
}
constexpr int SectionNumber(ChannelId id) { return static_cast<int>(id & 0xFFFFu); }
constexpr int SectionIndex(ChannelId id) { return SectionNumber(id) - 1; }
constexpr int ChannelPosition(ChannelId id) { return static_cast<int>(id >> 16); }

// Appends the channels of "Languages/<languageName>/Channels.xml" to the 22 name and
// description lists; silently reads the English catalogue when that file cannot be
// opened or does not parse, and returns false only when the English one cannot be read
// either.
bool LoadChannelCatalogue(const QString& languageName, ChannelLists& names, ChannelLists& descriptions);
