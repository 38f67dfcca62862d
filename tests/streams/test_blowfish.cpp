#include "CBlowfish.h"
#include "EcbEncrypt.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct Vector
{
    const char* key;
    const char* plaintext;
    const char* ciphertext;
};

// Eric Young's ECB set (34 vectors), then three keys of other lengths from his
// variable-key set, among them a 6-byte key like the program's own.
const Vector kVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
    {"F0E1D2C3B4A5", "FEDCBA9876543210", "9457AA83B1928C0D"},
    {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
};

std::uint32_t High(const QByteArray& block) { return block.left(4).toHex().toUInt(nullptr, 16); }
std::uint32_t Low(const QByteArray& block) { return block.mid(4, 4).toHex().toUInt(nullptr, 16); }

QByteArray Decrypt(const CBlowfish& cipher, const QByteArray& input, QByteArray output)
{
    cipher.DecryptBuffer(reinterpret_cast<const unsigned char*>(input.constData()),
                         reinterpret_cast<unsigned char*>(output.data()),
                         static_cast<std::size_t>(input.size()));
    return output;
}

} // namespace

TEST(Blowfish, BlocksMatchThePublishedVectorsBothWays)
{
    for (const Vector& v : kVectors) {
        SCOPED_TRACE(std::string(v.key) + " " + v.plaintext);
        const CBlowfish cipher = KeyedCipher(QByteArray::fromHex(v.key));
        const QByteArray plain = QByteArray::fromHex(v.plaintext);
        const QByteArray expected = QByteArray::fromHex(v.ciphertext);

        std::uint32_t left = High(plain);
        std::uint32_t right = Low(plain);
        cipher.EncryptBlock(left, right);
        EXPECT_EQ(left, High(expected));
        EXPECT_EQ(right, Low(expected));

        cipher.DecryptBlock(left, right);
        EXPECT_EQ(left, High(plain));
        EXPECT_EQ(right, Low(plain));

        // The buffer form reads and writes each half most significant byte first.
        EXPECT_EQ(Decrypt(cipher, expected, QByteArray(8, '\0')).toHex(), plain.toHex());
    }
}

TEST(Blowfish, BufferRoundTripsEveryBlockOnItsOwn)
{
    const CBlowfish cipher = KeyedCipher("w4kp9z");
    QByteArray plain;
    for (int i = 0; i < 64; ++i)
        plain.append(static_cast<char>(i * 37 + 11));
    plain.append(QByteArray(16, 'A')); // two equal blocks: ECB has no chaining

    const QByteArray encrypted = EncryptEcb(cipher, plain);
    EXPECT_NE(encrypted, plain);
    EXPECT_EQ(encrypted.mid(64, 8), encrypted.mid(72, 8));
    EXPECT_EQ(Decrypt(cipher, encrypted, QByteArray(80, '\0')), plain);
    // Any block decrypts without its predecessors.
    EXPECT_EQ(Decrypt(cipher, encrypted.mid(40, 8), QByteArray(8, '\0')), plain.mid(40, 8));
}

TEST(Blowfish, BufferLeavesPartialBlocksAlone)
{
    const CBlowfish cipher = KeyedCipher("w4kp9z");
    const QByteArray untouched(16, '\x5a');
    for (int length = 0; length < 8; ++length) {
        SCOPED_TRACE(length);
        EXPECT_EQ(Decrypt(cipher, QByteArray(length, '\x01'), untouched), untouched);
    }

    const QByteArray plain = "0123456789abc";
    const QByteArray encrypted = EncryptEcb(cipher, plain);
    ASSERT_EQ(encrypted.mid(8), plain.mid(8));
    const QByteArray out = Decrypt(cipher, encrypted, untouched);
    EXPECT_EQ(out.left(8), plain.left(8));
    EXPECT_EQ(out.mid(8), untouched.mid(8));
}
