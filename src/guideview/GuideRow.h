#pragma once
// A channel as the guide window lists it, and a list of them the viewer can choose.

#include "CatchupOffer.h"
#include "ChannelKey.h"
#include "GuideTypes.h"

#include <QPixmap>
#include <QString>

#include <functional>

#include <vector>

struct GuideRow {
    ChannelKey key;
    QString name;
    CatchupOffer catchup = {}; // what its provider's archive keeps, for programmes gone by
};

// The guide channel of one of the viewer's, asked only for the rows on screen.
using GuideLinkOf = std::function<GuideLink(const ChannelKey&)>;
// The logo of one of the viewer's channels at a height, null while there is none; asked
// only for the rows on screen.
using GuideLogoOf = std::function<QPixmap(const ChannelKey&, int height)>;

// Whether a programme of one of the viewer's channels is to be recorded; asked only for
// those on screen.
using GuideMarkOf = std::function<bool(const ChannelKey&, const GuideProgramme&)>;

// What records a programme: nothing, a rule for it alone, or a series rule.
enum class GuideRecording { None, Once, Series };
using GuideRecordingOf = std::function<GuideRecording(const ChannelKey&, const GuideProgramme&)>;

struct GuideRowList {
    QString name;
    std::vector<GuideRow> rows;
};

// Every list the window offers, with the one to open and the row to select in it.
struct GuideListing {
    std::vector<GuideRowList> lists;
    int current = 0;
    int row = 0;
};
