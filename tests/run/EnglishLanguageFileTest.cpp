// The shipped English.lng must translate every text the program looks up. The texts are
// collected from the sources: every string literal inside the parentheses of a lookup
// call (T, LookupText, text, m_text, m_translate, lookup), and the k-constants such a
// call names. A new text in any layer above the office engines is found without
// listing it here.
#include "run/TextLookup.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace {

// The layers whose texts reach the user; the office engines have none of their own.
const char *const kTextLayers[] = {"count", "run", "import", "export", "tool", "shell", "cli", "app"};

// Blanks out comments (keeping line breaks) so that what they quote is not taken for a
// text; string and character literals are kept as they are.
QString withoutComments(const QString &source) {
    QString code = source;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u'"' || c == u'\'') {
            for (++i; i < code.size() && code.at(i) != c; ++i)
                if (code.at(i) == u'\\') ++i;
        } else if (c == u'/' && i + 1 < code.size() && code.at(i + 1) == u'/') {
            for (; i < code.size() && code.at(i) != u'\n'; ++i) code[i] = u' ';
        } else if (c == u'/' && i + 1 < code.size() && code.at(i + 1) == u'*') {
            for (; i < code.size() && !(code.at(i) == u'*' && i + 1 < code.size() && code.at(i + 1) == u'/'); ++i)
                if (code.at(i) != u'\n') code[i] = u' ';
            if (i + 1 < code.size()) code[i] = code[i + 1] = u' ';
            ++i;
        }
    }
    return code;
}

// The text between the parenthesis at `open` and its partner, literals skipped whole.
QString arguments(const QString &code, qsizetype open) {
    int depth = 0;
    for (qsizetype i = open; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u'"') {
            for (++i; i < code.size() && code.at(i) != u'"'; ++i)
                if (code.at(i) == u'\\') ++i;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')' && --depth == 0) {
            return code.mid(open + 1, i - open - 1);
        }
    }
    return {};
}

QString unescape(const QString &literal) {
    QString text;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal.at(i) != u'\\' || i + 1 == literal.size()) {
            text += literal.at(i);
            continue;
        }
        const QChar e = literal.at(++i);
        text += e == u'n' ? QChar(u'\n') : e == u't' ? QChar(u'\t') : e == u'r' ? QChar(u'\r') : e;
    }
    return text;
}

// The strings of an argument list; adjacent literals ("a" "b") are one string.
QStringList literalsIn(const QString &args) {
    static const QRegularExpression literal(QStringLiteral(R"re((?:u8|u|U|L)?"((?:[^"\\]|\\.)*)"(\s*(?:u8|u|U|L)?"(?:[^"\\]|\\.)*")*)re"));
    static const QRegularExpression piece(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
    QStringList texts;
    for (auto m = literal.globalMatch(args); m.hasNext();) {
        QString text;
        for (auto p = piece.globalMatch(m.next().captured(0)); p.hasNext();) text += unescape(p.next().captured(1));
        texts.append(text);
    }
    return texts;
}

/// Every looked-up text, with the files that look it up.
QMap<QString, QSet<QString>> lookedUpTexts() {
    static const QRegularExpression call(QStringLiteral(R"re((?<![\w])(?:T|LookupText|m_text|text|m_translate|lookup)\s*\()re"));
    static const QRegularExpression constant(QStringLiteral(R"re(\b(k[A-Z]\w*)\s*=\s*QStringLiteral\(\s*"((?:[^"\\]|\\.)*)"\s*\))re"));
    static const QRegularExpression constantUse(QStringLiteral(R"re(\bk[A-Z]\w*\b)re"));
    QMap<QString, QSet<QString>> texts;
    for (const char *layer : kTextLayers) {
        const QString folder = testsupport::sourceDir() + QStringLiteral("/src/") + QLatin1String(layer);
        QDirIterator it(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString code = withoutComments(QString::fromUtf8(testsupport::readFile(path)));
            QMap<QString, QString> constants;
            for (auto m = constant.globalMatch(code); m.hasNext();) {
                const auto c = m.next();
                constants.insert(c.captured(1), unescape(c.captured(2)));
            }
            const QString where = path.mid(testsupport::sourceDir().size() + 1);
            for (auto m = call.globalMatch(code); m.hasNext();) {
                const QString args = arguments(code, m.next().capturedEnd() - 1);
                for (const QString &text : literalsIn(args))
                    if (!text.isEmpty()) texts[text].insert(where);
                for (auto u = constantUse.globalMatch(args); u.hasNext();)
                    if (const QString name = u.next().captured(0); constants.contains(name))
                        texts[constants.value(name)].insert(where);
            }
        }
    }
    return texts;
}

}  // namespace

TEST(EnglishLanguageFile, TheCollectorFindsTextsInEveryFormOfLookup) {
    const QString code = withoutComments(QStringLiteral(
        "// T(QStringLiteral(\"in a comment\"))\n"
        "run.T(flag ? QStringLiteral(\"a \") : QStringLiteral(\"b\")) + QStringLiteral(\"not looked up\");\n"
        "/* text(\"neither\") */ text(QStringLiteral(\"x\" \"y\\\"z\"))re"));
    EXPECT_FALSE(code.contains(QStringLiteral("in a comment")));
    EXPECT_FALSE(code.contains(QStringLiteral("neither")));
    const qsizetype first = code.indexOf(QStringLiteral("T(")) + 1;
    EXPECT_EQ(literalsIn(arguments(code, first)), (QStringList{QStringLiteral("a "), QStringLiteral("b")}));
    const qsizetype second = code.indexOf(QStringLiteral("text(")) + 4;
    EXPECT_EQ(literalsIn(arguments(code, second)), QStringList{QStringLiteral("xy\"z")});

    const auto texts = lookedUpTexts();
    // Spot checks from several layers and call forms.
    for (const char *known : {"Celltrove für Excel - Build ", "&Zurück", "Wörter Gesamtanzahl:", " Dateien ausgewählt",
                              "Für den Export nur XLS-Dateien auswählen!"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(known))) << known;
    EXPECT_GT(texts.size(), 80);
}

TEST(EnglishLanguageFile, TranslatesEveryTextTheProgramLooksUp) {
    celltrove::run::TextLookup english;
    ASSERT_TRUE(english.LoadLanguageFile(testsupport::sourceDir() + QStringLiteral("/data/lng"), QStringLiteral("English")));
    QStringList missing;
    const auto texts = lookedUpTexts();
    for (auto it = texts.begin(); it != texts.end(); ++it)
        if (!english.HasText(it.key()))
            missing.append(u'"' + it.key() + QStringLiteral("\" (") + QStringList(it->begin(), it->end()).join(u' ') +
                           u')');
    EXPECT_TRUE(missing.isEmpty()) << "English.lng lacks:\n" << missing.join(u'\n').toStdString();
}
