#include "office/doc/DocStyleSheet.h"

#include "office/doc/Style.h"

namespace office::doc::DocStyleSheet {

namespace {

constexpr int kStiNormal = 0;
constexpr int kStiDefaultParagraphFont = 65;
constexpr int kStiUser = 0x0FFE;
constexpr int kIstdNil = 0x0FFF;
constexpr int kStkParagraph = 1;
constexpr int kStkCharacter = 2;
constexpr quint16 kGrfstdSemiHidden = 0x0100;
constexpr int kStdBaseSize = 10;
constexpr int kDefaultHalfPoints = 24;
constexpr int kDefaultLanguage = 1031;
constexpr int kMaxNameLength = 253;

// Appends a UPX: its length, the bytes and a pad byte to an even length.
void appendUpx(DocBytesOut &out, const QByteArray &bytes) {
    out.u16(quint32(bytes.size()));
    out.bytes(bytes);
    if (bytes.size() % 2) out.u8(0);
}

// The STD of one style: StdfBase, the name, then its UPXs.
QByteArray styleDefinition(int sti, int stk, int istdBase, int istdNext, quint16 grfstd, const QString &name,
                           const QByteArray *papx, const QByteArray &chpx) {
    DocBytesOut std;
    std.u16(quint32(sti));
    std.u16(quint32(stk | istdBase << 4));
    std.u16(quint32((papx ? 2 : 1) | istdNext << 4));
    std.u16(0);  // bchUpe, set below
    std.u16(grfstd);
    const QString shortName = name.left(kMaxNameLength);
    std.u16(quint32(shortName.size()));
    for (QChar c : shortName) std.u16(c.unicode());
    std.u16(0);
    if (papx) appendUpx(std, *papx);
    appendUpx(std, chpx);
    std.patch16(6, quint32(std.size()));
    return std.take();
}

DocCharProps lookOf(const Style &s, const std::function<int(const QString &)> &fontIndex) {
    DocCharProps look;
    const StyleFont &f = s.font();
    if (!f.name().isEmpty()) look.font = fontIndex(f.name());
    look.halfPoints = f.halfPoints();
    look.bold = f.bold();
    look.italic = f.italic();
    look.color = f.color();
    look.language = s.languageId();
    return look;
}

QByteArray chpxOf(const DocCharProps &look) {
    DocBytesOut out;
    look.write(out);
    return out.take();
}

QByteArray papxOf(int istd) {
    DocBytesOut out;
    out.u16(quint32(istd));
    return out.take();
}

}  // namespace

int istdOfStyle(int index) {
    if (index == Styles::kNormal) return kIstdNormal;
    if (index == Styles::kDefaultParagraphFont) return kIstdDefaultParagraphFont;
    return kFixedStyles - 2 + index;
}

int styleOfIstd(int istd) {
    if (istd == kIstdNormal) return Styles::kNormal;
    if (istd == kIstdDefaultParagraphFont) return Styles::kDefaultParagraphFont;
    return istd >= kFixedStyles ? istd - kFixedStyles + 2 : -1;
}

QByteArray write(const Styles &styles, const std::function<int(const QString &)> &fontIndex) {
    const int cstd = std::max(kFixedStyles, istdOfStyle(styles.count() - 1) + 1);
    std::vector<QByteArray> definitions(static_cast<size_t>(cstd));
    for (int i = 0; i < styles.count(); ++i) {
        const Style &s = *styles.at(i);
        const int istd = istdOfStyle(i);
        DocCharProps look = lookOf(s, fontIndex);
        if (i == Styles::kNormal) {
            if (look.halfPoints <= 0) look.halfPoints = kDefaultHalfPoints;
            if (look.language < 0) look.language = kDefaultLanguage;
            const QByteArray papx = papxOf(istd);
            definitions[size_t(istd)] = styleDefinition(kStiNormal, kStkParagraph, kIstdNil, istd, 0,
                                                        QStringLiteral("Normal"), &papx, chpxOf(look));
        } else if (i == Styles::kDefaultParagraphFont) {
            definitions[size_t(istd)] =
                styleDefinition(kStiDefaultParagraphFont, kStkCharacter, kIstdNil, istd, kGrfstdSemiHidden,
                                QStringLiteral("Default Paragraph Font"), nullptr, QByteArray());
        } else if (s.type() == StyleType::Character) {
            definitions[size_t(istd)] = styleDefinition(kStiUser, kStkCharacter, kIstdDefaultParagraphFont, istd, 0,
                                                        s.nameLocal(), nullptr, chpxOf(look));
        } else if (s.type() == StyleType::Paragraph) {
            const QByteArray papx = papxOf(istd);
            definitions[size_t(istd)] =
                styleDefinition(kStiUser, kStkParagraph, kIstdNormal, istd, 0, s.nameLocal(), &papx, chpxOf(look));
        }
        // Table and list styles are not written: their slots stay empty.
    }
    DocBytesOut out;
    out.u16(18);  // cbStshi
    out.u16(quint32(cstd));
    out.u16(kStdBaseSize);
    out.u16(0x0001);  // fStdStylenamesWritten
    out.u16(0x005B);  // stiMaxWhenSaved
    out.u16(kFixedStyles);
    out.u16(0);  // nVerBuiltInNamesWhenSaved
    out.u16(0);  // default fonts: the first of the font table
    out.u16(0);
    out.u16(0);
    for (const QByteArray &d : definitions) {
        out.u16(quint32(d.size()));
        out.bytes(d);
    }
    return out.take();
}

Status read(const QByteArray &table, quint32 offset, quint32 length, std::vector<Entry> &entries) {
    entries.clear();
    const DocBytesIn in(table);
    if (!in.has(offset, length) || length < 6)
        return Status::failure(QStringLiteral("The style sheet lies outside the table stream."), offset);
    const qint64 end = qint64(offset) + length;
    const qint64 cbStshi = in.u16(offset);
    if (cbStshi < 4 || cbStshi > end - offset - 2)
        return Status::failure(QStringLiteral("The style sheet header has a wrong length."), offset);
    const int cstd = int(in.u16(offset + 2));
    const int cbBase = int(in.u16(offset + 4));
    if (cbBase < kStdBaseSize)
        return Status::failure(QStringLiteral("The style sheet's style definitions are too short."), offset + 4);
    qint64 at = offset + 2 + cbStshi;
    for (int istd = 0; istd < cstd; ++istd) {
        if (at + 2 > end) return Status::failure(QStringLiteral("The style sheet is cut short."), at);
        const qint64 cbStd = in.u16(at);
        at += 2;
        if (cbStd > end - at)
            return Status::failure(QStringLiteral("A style definition runs past the style sheet."), at);
        const qint64 stdStart = at;
        const qint64 stdEnd = at + cbStd;
        at = stdEnd;
        if (cbStd < cbBase + 2) continue;  // an empty slot
        Entry e;
        e.istd = istd;
        e.sti = int(in.u16(stdStart) & 0x0FFF);
        e.kind = int(in.u16(stdStart + 2) & 0x000F);
        const int cupx = int(in.u16(stdStart + 4) & 0x000F);
        qint64 p = stdStart + cbBase;
        const qint64 cch = in.u16(p);
        p += 2;
        if (2 * cch + 2 > stdEnd - p) continue;  // a name that does not fit: the style is skipped
        e.name.reserve(int(cch));
        for (qint64 i = 0; i < cch; ++i) e.name.append(QChar(char16_t(in.u16(p + 2 * i))));
        p += 2 * cch + 2;
        // The UPXs: paragraph styles have a PAPX before their CHPX.
        const int chpxAt = e.kind == kStkParagraph ? 1 : e.kind == kStkCharacter ? 0 : -1;
        for (int u = 0; u < cupx && p + 2 <= stdEnd; ++u) {
            const qint64 cb = in.u16(p);
            p += 2;
            if (cb > stdEnd - p) break;
            if (u == chpxAt) e.look = DocCharProps::read(in.at(p), int(cb));
            p += cb + (cb % 2);
        }
        entries.push_back(std::move(e));
    }
    return Status::success();
}

}  // namespace office::doc::DocStyleSheet
