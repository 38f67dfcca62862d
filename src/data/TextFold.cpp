#include "TextFold.h"

#include <vector>

namespace {
constexpr char16_t kFirstNonAscii = 0x80;
constexpr int kBmpSize = 0x10000;

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
// thread, the guide's import on its own).
const QString& FoldedCharacter(char16_t c)
{
    thread_local std::vector<QString> folded(kBmpSize);
    thread_local std::vector<bool> known(kBmpSize);
    if (!known[c]) {
        folded[c] = FoldSlowly(QString(QChar(c)));
        known[c] = true;
    }
    return folded[c];
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
