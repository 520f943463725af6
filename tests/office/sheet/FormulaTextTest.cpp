// Formula tokens decompiled into the text of a cell's Formula property.
#include "office/sheet/FormulaText.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cstring>
#include <initializer_list>
#include <map>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace office::sheet;

namespace {

/// Builds token bytes the way BIFF8 stores them.
class Rgce {
public:
    Rgce &u8(int v) { m_bytes.append(char(v & 0xFF)); return *this; }
    Rgce &u16(int v) { return u8(v).u8(v >> 8); }
    Rgce &f64(double v) {
        char b[8];
        std::memcpy(b, &v, 8);
        m_bytes.append(b, 8);
        return *this;
    }
    Rgce &integer(int v) { return u8(0x1E).u16(v); }
    Rgce &number(double v) { return u8(0x1F).f64(v); }
    Rgce &str(const QString &s, bool wide = false) {
        u8(0x17).u8(int(s.size())).u8(wide ? 1 : 0);
        for (QChar c : s) wide ? u16(c.unicode()) : u8(c.unicode());
        return *this;
    }
    /// ptgRef (class reference) with row/column 0-based and relative flags.
    Rgce &ref(int row, int col, bool rowRel = true, bool colRel = true, int ptg = 0x24) {
        return u8(ptg).u16(row).u16(col | (rowRel ? 0x8000 : 0) | (colRel ? 0x4000 : 0));
    }
    Rgce &area(int r1, int c1, int r2, int c2, bool rel = true, int ptg = 0x25) {
        const int f = rel ? 0xC000 : 0;
        return u8(ptg).u16(r1).u16(r2).u16(c1 | f).u16(c2 | f);
    }
    Rgce &op(int ptg) { return u8(ptg); }
    Rgce &func(int index) { return u8(0x41).u16(index); }
    Rgce &funcVar(int index, int args) { return u8(0x42).u8(args).u16(index); }
    Rgce &attr(int flags, int data) { return u8(0x19).u8(flags).u16(data); }
    Rgce &space(int kind, int count) { return attr(0x40, kind | (count << 8)); }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

class TableContext : public FormulaContext {
public:
    std::map<int, SheetSpan> spans;
    std::map<int, QString> names;
    std::map<std::pair<int, int>, QString> externals;

    std::optional<SheetSpan> sheetSpan(int xti) const override {
        const auto it = spans.find(xti);
        return it == spans.end() ? std::nullopt : std::optional<SheetSpan>(it->second);
    }
    std::optional<QString> definedName(int index) const override {
        const auto it = names.find(index);
        return it == names.end() ? std::nullopt : std::optional<QString>(it->second);
    }
    std::optional<QString> externalName(int xti, int index) const override {
        const auto it = externals.find({xti, index});
        return it == externals.end() ? std::nullopt : std::optional<QString>(it->second);
    }
};

TableContext sampleContext() {
    TableContext c;
    c.spans[0] = {QString(), QStringLiteral("Sheet2"), QStringLiteral("Sheet2"), false};
    c.spans[1] = {QString(), QStringLiteral("My Sheet"), QStringLiteral("My Sheet"), false};
    c.spans[2] = {QString(), QStringLiteral("Jan"), QStringLiteral("Mar"), false};
    c.spans[3] = {QString(), QString(), QString(), true};
    c.spans[4] = {QStringLiteral("Book2.xls"), QStringLiteral("Data"), QStringLiteral("Data"), false};
    c.spans[5] = {QString(), QStringLiteral("O'Brien"), QStringLiteral("O'Brien"), false};
    c.spans[6] = {QString(), QStringLiteral("A1"), QStringLiteral("A1"), false};
    c.names[1] = QStringLiteral("Rate");
    c.names[2] = QStringLiteral("_xlfn.IFERROR");
    c.externals[{7, 1}] = QStringLiteral("EDATE");
    return c;
}

struct FormulaCase {
    const char *what;
    QByteArray tokens;
    QByteArray extra;
    const char *expected;
    int row0 = 0;
    int column0 = 0;
    bool shared = false;
};

QString decompile(const FormulaCase &c, const FormulaContext &context, office::Status *status = nullptr) {
    QString text;
    const office::Status st = formulaText({c.tokens, c.extra, c.shared}, c.row0, c.column0, context, text);
    if (status) *status = st;
    return st ? text : QStringLiteral("<failed: ") + st.message + QLatin1Char('>');
}

QByteArray arrayExtra() {
    Rgce x;
    x.u8(1).u16(1);                            // 2 columns, 2 rows
    x.u8(0x01).f64(1).u8(0x01).f64(2.5);       // 1, 2.5
    x.u8(0x02).u16(2).u8(0).u8('h').u8('i');   // "hi"
    x.u8(0x04).u8(1).u16(0).u16(0).u16(0).u8(0);  // TRUE
    return x.bytes();
}

}  // namespace

TEST(FormulaText, EachTokenKind) {
    const TableContext ctx = sampleContext();
    const std::vector<FormulaCase> cases = {
        {"integers and addition", Rgce().integer(1).integer(2).op(0x03).bytes(), {}, "=1+2"},
        {"stored parentheses", Rgce().integer(1).integer(2).op(0x03).op(0x15).integer(3).op(0x05).bytes(), {}, "=(1+2)*3"},
        {"parentheses the tokens need", Rgce().integer(1).integer(2).op(0x03).integer(3).op(0x05).bytes(), {}, "=(1+2)*3"},
        {"right-hand subtraction", Rgce().integer(1).integer(2).integer(3).op(0x04).op(0x04).bytes(), {}, "=1-(2-3)"},
        {"no needless parentheses", Rgce().integer(1).integer(2).integer(3).op(0x05).op(0x03).bytes(), {}, "=1+2*3"},
        {"unary minus and power", Rgce().integer(2).op(0x13).integer(2).op(0x07).bytes(), {}, "=-2^2"},
        {"unary plus", Rgce().integer(2).op(0x12).bytes(), {}, "=+2"},
        {"percent", Rgce().integer(50).op(0x14).bytes(), {}, "=50%"},
        {"concatenation", Rgce().str(QStringLiteral("a")).ref(0, 1).op(0x08).bytes(), {}, "=\"a\"&B1"},
        {"comparisons", Rgce().ref(0, 0).ref(0, 1).op(0x0E).bytes(), {}, "=A1<>B1"},
        {"less or equal", Rgce().ref(0, 0).integer(3).op(0x0A).bytes(), {}, "=A1<=3"},
        {"quotes in strings", Rgce().str(QStringLiteral("say \"hi\"")).bytes(), {}, "=\"say \"\"hi\"\"\""},
        {"wide string", Rgce().str(QStringLiteral("Größe €"), true).bytes(), {}, "=\"Größe €\""},
        {"booleans", Rgce().u8(0x1D).u8(1).u8(0x1D).u8(0).op(0x0B).bytes(), {}, "=TRUE=FALSE"},
        {"error constant", Rgce().u8(0x1C).u8(0x07).bytes(), {}, "=#DIV/0!"},
        {"fraction", Rgce().number(0.5).bytes(), {}, "=0.5"},
        {"large number", Rgce().number(1e20).bytes(), {}, "=1E+20"},
        {"small number", Rgce().number(1.5e-7).bytes(), {}, "=1.5E-07"},
        {"fifteen digits", Rgce().number(0.1 + 0.2).bytes(), {}, "=0.3"},
        {"negative number", Rgce().number(-1234.5).bytes(), {}, "=-1234.5"},
        {"relative reference", Rgce().ref(4, 2).bytes(), {}, "=C5"},
        {"absolute reference", Rgce().ref(4, 2, false, false).bytes(), {}, "=$C$5"},
        {"mixed references", Rgce().ref(0, 0, false, true).ref(0, 0, true, false).op(0x03).bytes(), {}, "=A$1+$A1"},
        {"value-class reference", Rgce().ref(0, 255, true, true, 0x44).bytes(), {}, "=IV1"},
        {"area", Rgce().area(1, 1, 2, 2).bytes(), {}, "=B2:C3"},
        {"absolute area", Rgce().area(0, 0, 9, 1, false).bytes(), {}, "=$A$1:$B$10"},
        {"whole columns", Rgce().area(0, 0, 65535, 1).bytes(), {}, "=A:B"},
        {"whole rows", Rgce().area(1, 0, 2, 255, false).bytes(), {}, "=$2:$3"},
        {"reference error", Rgce().u8(0x2A).u16(0).u16(0).bytes(), {}, "=#REF!"},
        {"area error", Rgce().u8(0x2B).u16(0).u16(0).u16(0).u16(0).bytes(), {}, "=#REF!"},
        {"range operator", Rgce().ref(0, 0).ref(1, 1).op(0x11).bytes(), {}, "=A1:B2"},
        {"intersection", Rgce().area(0, 0, 1, 1).area(1, 1, 2, 2).op(0x0F).bytes(), {}, "=A1:B2 B2:C3"},
        {"union in a function", Rgce().ref(0, 0).ref(0, 1).op(0x10).op(0x15).funcVar(4, 1).bytes(), {}, "=SUM((A1,B1))"},
        {"union the tokens leave bare", Rgce().ref(0, 0).ref(0, 1).op(0x10).funcVar(4, 1).bytes(), {}, "=SUM((A1,B1))"},
        {"3-D reference", Rgce().u8(0x3A).u16(0).u16(0).u16(0xC000).bytes(), {}, "=Sheet2!A1"},
        {"quoted sheet name", Rgce().u8(0x3B).u16(1).u16(0).u16(1).u16(0x8000).u16(0x4001).bytes(), {}, "='My Sheet'!$A1:B$2"},
        {"sheet span", Rgce().u8(0x3A).u16(2).u16(0).u16(0xC000).funcVar(4, 1).bytes(), {}, "=SUM(Jan:Mar!A1)"},
        {"deleted sheet", Rgce().u8(0x3A).u16(3).u16(0).u16(0xC000).bytes(), {}, "=#REF!A1"},
        {"external workbook", Rgce().u8(0x3A).u16(4).u16(0).u16(0).bytes(), {}, "=[Book2.xls]Data!$A$1"},
        {"apostrophe in name", Rgce().u8(0x3A).u16(5).u16(0).u16(0xC000).bytes(), {}, "='O''Brien'!A1"},
        {"name like a cell", Rgce().u8(0x3A).u16(6).u16(0).u16(0xC000).bytes(), {}, "='A1'!A1"},
        {"3-D reference error", Rgce().u8(0x3C).u16(0).u16(0).u16(0).bytes(), {}, "=Sheet2!#REF!"},
        {"defined name", Rgce().u8(0x23).u16(1).u16(0).integer(2).op(0x05).bytes(), {}, "=Rate*2"},
        {"fixed-argument function", Rgce().ref(0, 0).integer(2).func(27).bytes(), {}, "=ROUND(A1,2)"},
        {"no-argument function", Rgce().func(74).bytes(), {}, "=NOW()"},
        {"variable arguments", Rgce().ref(0, 0).area(1, 0, 2, 0).integer(3).funcVar(4, 3).bytes(), {}, "=SUM(A1,A2:A3,3)"},
        {"IF with its jumps",
         Rgce().ref(0, 0).integer(0).op(0x0D).attr(0x02, 7).str(QStringLiteral("y")).attr(0x08, 9)
             .str(QStringLiteral("n")).attr(0x08, 3).funcVar(1, 3).bytes(), {}, "=IF(A1>0,\"y\",\"n\")"},
        {"missing argument", Rgce().ref(0, 0).u8(0x16).integer(1).funcVar(1, 3).bytes(), {}, "=IF(A1,,1)"},
        {"CHOOSE jump table",
         Rgce().integer(2).attr(0x04, 2).u16(6).u16(10).u16(14).integer(10).attr(0x08, 7).integer(20).attr(0x08, 3)
             .funcVar(100, 3).bytes(), {}, "=CHOOSE(2,10,20)"},
        {"SUM of one argument", Rgce().area(0, 0, 9, 0).attr(0x10, 0).bytes(), {}, "=SUM(A1:A10)"},
        {"volatile marker", Rgce().attr(0x01, 0).func(74).bytes(), {}, "=NOW()"},
        {"add-in function", Rgce().u8(0x39).u16(7).u16(1).u16(0).ref(0, 0).integer(1).funcVar(255, 3).bytes(), {},
         "=EDATE(A1,1)"},
        {"newer function through a name", Rgce().u8(0x23).u16(2).u16(0).ref(0, 0).integer(0).funcVar(255, 3).bytes(), {},
         "=IFERROR(A1,0)"},
        {"blanks before an operand and an operator",
         Rgce().ref(0, 0).space(0, 1).ref(0, 1).space(0, 2).op(0x03).bytes(), {}, "=A1  + B1"},
        {"blanks inside parentheses",
         Rgce().ref(0, 0).space(2, 1).space(4, 1).op(0x15).bytes(), {}, "= (A1 )"},
        {"line break", Rgce().integer(1).space(1, 1).integer(2).op(0x03).bytes(), {}, "=1+\n2"},
        {"array constant", Rgce().u8(0x60).u16(0).u16(0).u16(0).u8(0).funcVar(4, 1).bytes(), arrayExtra(),
         "=SUM({1,2.5;\"hi\",TRUE})"},
        {"memory area then its tokens",
         Rgce().u8(0x26).u16(0).u16(0).u16(9).area(0, 0, 1, 1).funcVar(4, 1).bytes(), Rgce().u16(1).u16(0).u16(1).u16(0).u16(1).bytes(),
         "=SUM(A1:B2)"},
        {"memory function", Rgce().u8(0x29).u16(9).area(0, 0, 1, 1).bytes(), {}, "=A1:B2"},
    };
    for (const FormulaCase &c : cases) EXPECT_EQ(decompile(c, ctx), QString::fromUtf8(c.expected)) << c.what;
}

TEST(FormulaText, SharedFormulaOffsetsCountFromTheCell) {
    const TableContext ctx = sampleContext();
    // PtgRefN: row offset -1, column offset +1 (relative), evaluated at C5 (row0 4, col0 2).
    const QByteArray refN = Rgce().u8(0x2C).u16(0xFFFF).u16(0xC001).bytes();
    const QByteArray areaN = Rgce().u8(0x2D).u16(0).u16(2).u16(0xC0FF).u16(0x8000).funcVar(4, 1).bytes();
    const std::vector<FormulaCase> cases = {
        {"refN at C5", refN, {}, "=D4", 4, 2},
        {"refN at A1 wraps", refN, {}, "=B65536", 0, 0},
        {"areaN mixed", areaN, {}, "=SUM(B10:$A12)", 9, 2},
        {"absolute in refN", Rgce().u8(0x2C).u16(7).u16(3).bytes(), {}, "=$D$8", 4, 2},
        {"3-D in a shared formula", Rgce().u8(0x3A).u16(0).u16(1).u16(0xC000).bytes(), {}, "=Sheet2!C6", 4, 2, true},
    };
    for (const FormulaCase &c : cases) EXPECT_EQ(decompile(c, ctx), QString::fromUtf8(c.expected)) << c.what;
}

TEST(FormulaText, MalformedTokensFailWithTheirOffset) {
    const TableContext ctx = sampleContext();
    const struct {
        const char *what;
        QByteArray tokens;
        QByteArray extra;
        qint64 offset;
    } cases[] = {
        {"empty", {}, {}, 0},
        {"operator without operands", Rgce().integer(1).op(0x03).bytes(), {}, 3},
        {"two values left", Rgce().integer(1).integer(2).bytes(), {}, 6},
        {"unknown token", Rgce().integer(1).u8(0x1A).bytes(), {}, 3},
        {"unknown function", Rgce().func(999).bytes(), {}, 0},
        {"function short of arguments", Rgce().integer(1).func(27).bytes(), {}, 3},
        {"macro command", Rgce().u8(0x42).u8(0).u16(0x8001).bytes(), {}, 0},
        {"external call without a count", Rgce().u8(0x23).u16(1).u16(0).func(255).bytes(), {}, 5},
        {"unknown name", Rgce().u8(0x23).u16(9).u16(0).bytes(), {}, 0},
        {"unknown sheet", Rgce().u8(0x3A).u16(42).u16(0).u16(0).bytes(), {}, 0},
        {"unknown external name", Rgce().u8(0x39).u16(7).u16(5).u16(0).bytes(), {}, 0},
        {"shared formula pointer", Rgce().u8(0x01).u16(0).u16(0).bytes(), {}, 0},
        {"array without its values", Rgce().u8(0x60).u16(0).u16(0).u16(0).u8(0).bytes(), {}, 0},
        {"array with too few values", Rgce().u8(0x60).u16(0).u16(0).u16(0).u8(0).bytes(), Rgce().u8(1).u16(0).u8(1).f64(1).bytes(), 0},
    };
    for (const auto &c : cases) {
        QString text = QStringLiteral("stale");
        const office::Status st = formulaText({c.tokens, c.extra, false}, 0, 0, ctx, text);
        EXPECT_FALSE(st.ok) << c.what;
        EXPECT_FALSE(st.message.isEmpty()) << c.what;
        EXPECT_EQ(st.offset, c.offset) << c.what;
        EXPECT_TRUE(text.isEmpty()) << c.what;
    }
}

TEST(FormulaText, EveryTruncationOfAValidFormulaFails) {
    const TableContext ctx = sampleContext();
    const QByteArray full = Rgce().ref(0, 0).integer(0).op(0x0D).attr(0x02, 7).str(QStringLiteral("yes")).attr(0x08, 11)
                                .number(2.5).u8(0x3B).u16(1).u16(0).u16(1).u16(0).u16(1).funcVar(4, 2).attr(0x08, 3)
                                .funcVar(1, 3).bytes();
    QString text;
    ASSERT_TRUE(formulaText({full, {}, false}, 0, 0, ctx, text).ok);
    EXPECT_EQ(text, QStringLiteral("=IF(A1>0,\"yes\",SUM(2.5,'My Sheet'!$A$1:$B$2))"));
    for (qsizetype n = 0; n < full.size(); ++n) {
        const office::Status st = formulaText({full.left(n), {}, false}, 0, 0, ctx, text);
        // A prefix can happen to be a complete formula only where a token ends with one value left.
        if (st.ok) EXPECT_TRUE(text.startsWith(QLatin1Char('='))) << n;
        else EXPECT_TRUE(text.isEmpty()) << n;
    }
}

TEST(FormulaText, Excel95Tokens) {
    const TableContext ctx = sampleContext();
    const auto text = [&](const QByteArray &tokens, int row0 = 0, int column0 = 0) {
        QString out;
        const office::Status st = formulaText({tokens, {}, false, true}, row0, column0, ctx, out);
        return st ? out : QStringLiteral("<failed: ") + st.message + QLatin1Char('>');
    };
    // References keep their flags in the row and the column in one byte.
    EXPECT_EQ(text(Rgce().u8(0x44).u16(6 | 0xC000).u8(1).u8(0x44).u16(6).u8(2).op(0x05).bytes()), QStringLiteral("=B7*$C$7"));
    EXPECT_EQ(text(Rgce().u8(0x25).u16(6 | 0xC000).u16(9 | 0x8000).u8(3).u8(4).funcVar(4, 1).bytes()),
              QStringLiteral("=SUM(D7:$E10)"));
    EXPECT_EQ(text(Rgce().u8(0x25).u16(0xC000).u16(16383 | 0xC000).u8(0).u8(0).bytes()), QStringLiteral("=A:A"));
    // Strings are 8-bit without an option byte; names carry 12 reserved bytes.
    EXPECT_EQ(text(Rgce().u8(0x17).u8(2).u8('h').u8('i').bytes()), QStringLiteral("=\"hi\""));
    EXPECT_EQ(text(Rgce().u8(0x23).u16(1).u16(0).u16(0).u16(0).u16(0).u16(0).u16(0).bytes()), QStringLiteral("=Rate"));
    // A shared formula's row offset is 14 bits wide: 0x3FFF is one row up.
    EXPECT_EQ(text(Rgce().u8(0x2C).u16(0x3FFF | 0xC000).u8(0).bytes(), 4, 2), QStringLiteral("=C4"));
    EXPECT_TRUE(text(Rgce().u8(0x3A).u16(0).bytes()).startsWith(QLatin1String("<failed")));
}
