#include "ChannelCatalogue.h"

const std::array<const char*, kSectionCount> kSectionElementNames = {
    "Music", "Games", "Movies", "News", "Entertainment", "Lifestyle", "Shopping", "Kids",
    "Sport", "Other", "USA", "Russia", "Germany", "France", "UK", "Italy", "Spain",
    "Canada", "Japan", "India", "Netherlands", "Argentina",
};
