#pragma once
// Blowfish with a 16-round Feistel network, used to decrypt the built-in stream address
// table. Blocks are two 32-bit halves; in byte buffers each half is stored most
// significant byte first.

#include <cstddef>
#include <cstdint>

class CBlowfish
{
public:
    // Key schedule: the standard initial values, the key bytes cycled into the P-array,
    // then the chain of 521 encryptions of the all-zero block. A key of length 0 leaves
    // the P-array as the initial values before the chain.
    void Initialize(const unsigned char* key, std::size_t keyLength);

    void EncryptBlock(std::uint32_t& left, std::uint32_t& right) const;
    void DecryptBlock(std::uint32_t& left, std::uint32_t& right) const;

    // ECB: decrypts the whole 8-byte blocks of input into output at the same offsets.
    // Trailing bytes beyond the last whole block are neither decrypted nor copied.
    void DecryptBuffer(const unsigned char* input, unsigned char* output, std::size_t length) const;

private:
    static constexpr int kRounds = 16;

    std::uint32_t F(std::uint32_t x) const;

    std::uint32_t p[kRounds + 2] = {};
    std::uint32_t s[4][256] = {};
};
