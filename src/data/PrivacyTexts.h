#pragma once
// Entries of the Privacy group, in pack order: hidden and locked groups and channels, the
// PIN, and the preferences' later fields.

enum PrivacyText : int {
    PrivHideMenu = 0,
    PrivUnhideMenu = 1,
    PrivLockMenu = 2,
    PrivUnlockMenu = 3,
    PrivShowHiddenMenu = 4,  // the View menu's item
    PrivCaption = 5,
    PrivNewPinPrompt = 6,
    PrivPinPrompt = 7,
    PrivPinMalformed = 8,
    PrivPinWrong = 9,
    PrivPinWait = 10,        // %1 the seconds left
    PrivAdultOffer = 11,     // %1 the playlist, %2 its groups
    PrefAudioLanguages = 12,
    PrefSubtitleLanguages = 13,
    PrefLanguagesInvalid = 14, // %1 what is not a language code
    PrefStartLast = 15,
    PrefTimeshiftOn = 16,
    PrefTimeCorrection = 17,
    PrefGuideDaysBack = 18,
};
