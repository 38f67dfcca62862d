#include "EcbEncrypt.h"

#include <QtEndian>

CBlowfish KeyedCipher(const QByteArray& key)
{
    CBlowfish cipher;
    cipher.Initialize(reinterpret_cast<const unsigned char*>(key.constData()),
                      static_cast<std::size_t>(key.size()));
    return cipher;
}

QByteArray EncryptEcb(const CBlowfish& cipher, const QByteArray& plain)
{
    QByteArray out = plain;
    for (qsizetype offset = 0; offset + 8 <= out.size(); offset += 8) {
        char* block = out.data() + offset;
        std::uint32_t left = qFromBigEndian<std::uint32_t>(block);
        std::uint32_t right = qFromBigEndian<std::uint32_t>(block + 4);
        cipher.EncryptBlock(left, right);
        qToBigEndian(left, block);
        qToBigEndian(right, block + 4);
    }
    return out;
}
