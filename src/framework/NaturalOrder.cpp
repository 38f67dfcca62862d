#include "NaturalOrder.h"

namespace {
constexpr QChar kRightToLeftEmbedding(0x202B);
constexpr QChar kPopDirectionalFormatting(0x202C);
} // namespace

QString NaturalOrder(const QString& text)
{
    if (!text.isRightToLeft())
        return text;
    return kRightToLeftEmbedding + text + kPopDirectionalFormatting;
}
