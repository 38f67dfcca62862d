#pragma once
// The six lists a panel's catalogue comes in: the actions that ask for them (also the names
// of their cached copies), and each answer read into its part of the catalogue.

#include "AccountReader.h"

#include <array>

namespace AccountLists {

inline constexpr std::array<const char*, 6> kActions = {"get_live_categories", "get_live_streams",
                                                         "get_vod_categories",  "get_vod_streams",
                                                         "get_series_categories", "get_series"};

// One list's answer (list: its place in kActions) read into its part of the catalogue.
AccountRefusal Read(std::size_t list, const QByteArray& answer, AccountCatalogue& catalogue);
// The six answers as a catalogue; the first refusal among them, if any.
AccountRefusal ReadAll(const std::array<QByteArray, kActions.size()>& answers, AccountCatalogue& catalogue);
// A part read alone holds one list; what it holds joins the whole.
void Join(AccountCatalogue& whole, AccountCatalogue& part);

} // namespace AccountLists
