#pragma once
// The built-in stream addresses of the channels: one table per section, each slot
// referring to a Blowfish-encrypted entry. Addresses are decrypted on every request and
// never kept.

#include "ChannelCatalogue.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

// Longest address the reader takes, in UTF-16 units (260 with the terminator).
constexpr qsizetype kMaxStreamAddressUnits = 259;

// One encrypted address: its UTF-8 text, a zero byte and padding, in whole 8-byte blocks.
struct StreamEntry
{
    std::uint32_t length; // ciphertext bytes
    const unsigned char* ciphertext;
};

// The stream address of a channel; nothing when the id names no slot of the table or the
// entry does not decrypt to an address.
std::optional<QString> ResolveStreamAddress(ChannelId id);

// Number of slots in the table of a section (1..22); 0 for any other number.
int StreamTableCount(int sectionNumber);

// The entry a channel's slot refers to; nullptr when the id names no slot. Slots that
// share an address share the entry.
const StreamEntry* FindStreamEntry(ChannelId id);

// Decrypts one entry with the program's key: the UTF-8 text up to the first zero byte,
// trailing white space removed, leading kept. Nothing when the decrypted bytes hold no
// zero byte or the text is longer than 259 UTF-16 units.
std::optional<QString> DecryptStreamEntry(const StreamEntry& entry);

// The address in decrypted bytes, by the rules above.
std::optional<QString> StreamAddressFromPlaintext(const unsigned char* plaintext, std::size_t length);
