#pragma once
// The fixed shape of the channel tree: which group nodes exist, in which order and with
// which image, and which positions of which section sit under which node. Only the texts
// come from the language pack and the catalogue.

#include "ChannelCatalogue.h"

#include <Qt>

#include <array>
#include <vector>

// Tree and list items carry their ChannelId in Qt::UserRole and the index of their image in
// the channel image list in this role.
constexpr int ImageIndexRole = Qt::UserRole + 1;
// The built-in section a group node stands for (the countries' node has its own value);
// after the roles of the tree's other parts.
constexpr int FixedSectionRole = Qt::UserRole + 12;

// Image indexes in the channel image list.
constexpr int kChannelImage = 0;
constexpr int kCountriesImage = 11;
constexpr int kFurtherChannelsImage = 12;
constexpr int kCountryImageOffset = 10; // a country node's image = section number + 10

// "Groups" entry labelling the countries node and the further-channels nodes.
constexpr int kCountriesLabel = 0;
constexpr int kFurtherChannelsLabel = 11;

// Genre sections in their order at the top level, after the countries node.
extern const std::array<int, 10> kGenreOrder;

// Country sections in their order under the countries node (by English name).
extern const std::array<int, 12> kCountryOrder;

// The positions of a section (1..22) in insertion order.
std::vector<int> TreePositions(int sectionNumber);

// First position that goes under the section's further-channels node; 0 when the section
// has no such node.
int FurtherChannelsFrom(int sectionNumber);

// The image of the group node a built-in channel sits under: its genre, its country or
// its country's further-channels node.
int GroupImageOf(int sectionNumber, int position);
