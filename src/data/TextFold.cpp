#include "TextFold.h"

#include <array>
#include <bitset>
#include <memory>

namespace {
constexpr char16_t kFirstNonAscii = 0x80;
constexpr std::size_t kBmpSize = 0x10000;
constexpr std::size_t kBlockSize = 256;

bool IsMark(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

QString FoldSlowly(const QString& text)
{
    QString decomposed = text.normalized(QString::NormalizationForm_KD);
    decomposed.removeIf(IsMark);
    return decomposed.toCaseFolded();
}

// Decomposition and case folding work character by character, and the marks whose order
// the whole-text form would settle are dropped anyway, so each character of the basic
// plane is folded once and remembered, per thread (the search folds on the window's
// thread, the guide's import on its own). Remembered in blocks of 256 made as a text
// first needs one: a table of the whole plane would cost each start its making.
const QString& FoldedCharacter(char16_t c)
{
    struct Block {
        std::array<QString, kBlockSize> folded;
        std::bitset<kBlockSize> known;
    };
    thread_local std::array<std::unique_ptr<Block>, kBmpSize / kBlockSize> blocks;
    std::unique_ptr<Block>& block = blocks[c / kBlockSize];
    if (!block)
        block = std::make_unique<Block>();
    const std::size_t at = c % kBlockSize;
    if (!block->known[at]) {
        block->folded[at] = FoldSlowly(QString(QChar(c)));
        block->known[at] = true;
    }
    return block->folded[at];
}
} // namespace

QString FoldText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.isSurrogate())
            return FoldSlowly(text); // beyond the remembered plane: rare
        if (c.unicode() < kFirstNonAscii)
            out += QChar(c.unicode() >= u'A' && c.unicode() <= u'Z' ? c.unicode() + (u'a' - u'A') : c.unicode());
        else
            out += FoldedCharacter(c.unicode());
    }
    return out;
}
