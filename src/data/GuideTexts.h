#pragma once
// Entry indexes of the Guide text group, in pack order.

enum GuideText : int {
    GuideCaption = 0,        // the guide window's title, the caption of guide messages
    GuideMenu = 1,
    GuideAddMenu = 2,
    GuideRefreshMenu = 3,
    GuideChooseMenu = 4,
    GuideNodeLabel = 5,      // the tree node holding the guides
    GuideLoadFailed = 6,     // %1 the guide; the reason follows on the next line
    // Reasons, in the order of GuideProblem after None.
    GuideUnreadable = 7,
    GuideEmpty = 8,
    GuideWebPage = 9,
    GuideNotGuide = 10,
    GuideEntities = 11,
    GuideTooLarge = 12,
    GuideTruncated = 13,
    GuideDamaged = 14,       // %1 the line
    GuideCancelled = 15,
    GuideStoreFailed = 16,
    GuideHttpError = 17,     // %1 the status code
    GuideTimedOut = 18,
    GuideNetwork = 19,       // %1 the network's own description
    GuideAddCaption = 20,
    GuideFileLabel = 21,
    GuideAddressLabel = 22,
    GuideFileFilter = 23,
    GuideChooseCaption = 24, // %1 the channel
    GuideChooseFilter = 25,
    GuideAutomatic = 26,
    GuideChannelsLabel = 27,
    GuideCurrentList = 28,
    GuideNowLine = 29,       // %1 title, %2 start, %3 end, %4 percent gone
    GuideNextLine = 30,      // %1 title, %2 start, %3 end
    GuideNoProgrammes = 31,
    GuideCancelMenu = 32,
    GuideSourceLine = 33,    // %1 the file or address
    GuideReadLine = 34,      // %1 when
    GuideProblemLine = 35,   // %1 the reason
    GuideNeverRead = 36,
    GuideNowOn = 37,         // %1 title, %2 channel
    GuideNextOn = 38,        // %1 title, %2 channel
    GuideProgress = 39,      // %1 the guide or playlist, %2 percent read
    GuideRenamePrompt = 40,
};
