#include "office/doc/Formats.h"

namespace office::doc {

size_t qHash(const CharFormat &f, size_t seed) {
    return qHashMulti(seed, f.style, f.fontName, f.halfPoints, f.bold, f.italic, f.underline, f.color, f.language);
}

size_t qHash(const ParaFormat &f, size_t seed) { return qHashMulti(seed, f.style, f.inTable, f.rowEnd, f.autoFit); }

}  // namespace office::doc
