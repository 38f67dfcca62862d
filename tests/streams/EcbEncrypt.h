#pragma once
// Test-side ECB encryption, the counterpart of CBlowfish::DecryptBuffer: whole 8-byte
// blocks, halves most significant byte first; trailing bytes are copied unchanged.

#include "CBlowfish.h"

#include <QByteArray>

CBlowfish KeyedCipher(const QByteArray& key);
QByteArray EncryptEcb(const CBlowfish& cipher, const QByteArray& plain);
