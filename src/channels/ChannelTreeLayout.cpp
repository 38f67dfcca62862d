#include "ChannelTreeLayout.h"

#include <numeric>

namespace {
constexpr int kSections = 22;

// Items shown per section; "Music" shows positions 2 to 50 only.
constexpr std::array<int, kSections> kItemCounts = {
    51, 8, 8, 31, 21, 14, 16, 6, 26, 7,
    34, 14, 57, 26, 21, 34, 42, 38, 23, 18, 47, 19,
};

constexpr std::array<int, kSections> kFurtherFrom = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    24, 0, 33, 19, 0, 19, 26, 22, 0, 0, 32, 0,
};

constexpr int kMusic = 1;
constexpr int kFirstShownMusic = 2;
} // namespace

const std::array<int, 10> kGenreOrder = {4, 5, 6, 1, 3, 2, 9, 8, 7, 10};
const std::array<int, 12> kCountryOrder = {22, 18, 14, 13, 20, 16, 19, 21, 12, 17, 15, 11};

std::vector<int> TreePositions(int sectionNumber)
{
    switch (sectionNumber) {
    case 2:
        return {0, 1, 2, 3, 6, 7, 4, 5};
    case 5:
        return {0, 1, 2, 3, 4, 20, 5, 6, 7, 8, 9, 10, 11, 17, 18, 19, 12, 13, 14, 15, 16};
    case 8:
        return {4, 0, 1, 2, 3, 5};
    default:
        break;
    }
    if (sectionNumber < 1 || sectionNumber > kSections)
        return {};
    const int first = sectionNumber == kMusic ? kFirstShownMusic : 0;
    std::vector<int> positions(kItemCounts[sectionNumber - 1] - first);
    std::iota(positions.begin(), positions.end(), first);
    return positions;
}

int FurtherChannelsFrom(int sectionNumber)
{
    if (sectionNumber < 1 || sectionNumber > kSections)
        return 0;
    return kFurtherFrom[sectionNumber - 1];
}

int GroupImageOf(int sectionNumber, int position)
{
    if (sectionNumber < kFirstCountrySection)
        return sectionNumber;
    const int furtherFrom = FurtherChannelsFrom(sectionNumber);
    if (furtherFrom > 0 && position >= furtherFrom)
        return kFurtherChannelsImage;
    return sectionNumber + kCountryImageOffset;
}
