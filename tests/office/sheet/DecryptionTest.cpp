// Encrypted workbooks: files with known passwords show that both RC4 schemes decrypt
// to the workbook xlrd-like readers would see; a wrong password is refused.

#include "office/sheet/Workbook.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace office::sheet;

TEST(Decryption, KnownPasswordsOpenBothRc4Schemes) {
    REQUIRE_CORPUS();
    const struct {
        const char *file;
        const char *password;
    } cases[] = {
        {"pe_encrypted.xls", "password"},                              // RC4
        {"pe_pers-encrypted-def-pass-QwErTyUiOp.xls", "QwErTyUiOp"},  // RC4
        {"pe_pers-encrypted-RC4-pass-11.xls", "11"},                  // CryptoAPI, 40-bit key
        {"edr_Test_git_issue_477_crypto_keylength40.xls", "password"},
        {"edr_Test_git_issue_242_std_rc4_pwd_password.xls", "password"},  // CryptoAPI, 128-bit
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray bytes = testsupport::readFile(testsupport::corpusFile(QStringLiteral("xls/") + QLatin1String(c.file)));
        std::unique_ptr<Workbook> book;
        const office::Status wrong = Workbook::openBytes(bytes, book, QStringLiteral("falsch"));
        EXPECT_FALSE(wrong.ok);
        EXPECT_TRUE(wrong.message.contains(QLatin1String("Kennwort")));
        const office::Status st = Workbook::openBytes(bytes, book, QString::fromLatin1(c.password));
        ASSERT_TRUE(st.ok) << st.message.toStdString();
        ASSERT_GE(book->worksheetCount(), 1);
        // Decrypted sheets hold readable cells: at least one non-empty value somewhere.
        int values = 0;
        for (int n = 1; n <= book->worksheetCount(); ++n)
            for (const Cell &cell : book->worksheet(n)->cells()) values += !book->worksheet(n)->valueOf(cell).isEmpty();
        EXPECT_GT(values, 0);
    }
}
