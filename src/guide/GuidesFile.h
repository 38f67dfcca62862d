#pragma once
// Guides.xml in the config folder: the guides the viewer added (name and source). Guides
// named by playlists are not kept here: they come with their playlists. Without such
// guides the file is not written, and Playlists.xml stays as it was.

#include <QString>

#include <utility>
#include <vector>

// name, source; empty when the file is missing or damaged.
std::vector<std::pair<QString, QString>> LoadGuides(const QString& path);

// Writes atomically; false, leaving any old file as it was, on failure.
bool SaveGuides(const QString& path, const std::vector<std::pair<QString, QString>>& guides,
                QString* reason = nullptr);
