// The stream-table decoder: the input as decrypted bytes (what the fuzzer can shape) and,
// through the cipher, as an encrypted entry. An address is never longer than the reader
// takes and never ends in white space.

#include "FuzzFolder.h"
#include "StreamTable.h"

namespace {
void CheckAddress(const std::optional<QString>& address)
{
    if (!address)
        return;
    RequireInvariant(address->size() <= kMaxStreamAddressUnits, "an address fits the reader");
    RequireInvariant(address->isEmpty() || !address->back().isSpace(), "an address ends in no white space");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CheckAddress(StreamAddressFromPlaintext(data, size));
    CheckAddress(DecryptStreamEntry(StreamEntry{static_cast<std::uint32_t>(size), data}));
    return 0;
}
