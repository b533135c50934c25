// Simple case folding, surrogate pairs included.
#include "common/CaseFolding.h"

namespace CaseFolding {

void fold(QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, text.at(i + 1)));
            if (QChar::requiresSurrogates(folded)) {
                text[i] = QChar(QChar::highSurrogate(folded));
                text[i + 1] = QChar(QChar::lowSurrogate(folded));
            }
            ++i;
        } else {
            text[i] = c.toCaseFolded();
        }
    }
}

} // namespace CaseFolding
