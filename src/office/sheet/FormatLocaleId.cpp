#include "office/sheet/FormatLocaleId.h"

namespace office::sheet {

namespace {

struct LocaleId {
    int lcid;
    const char *name;
};

// The languages a workbook for translation is most often written in.
constexpr LocaleId kLocales[] = {
    {0x0405, "cs_CZ"}, {0x0406, "da_DK"}, {0x0407, "de_DE"}, {0x0807, "de_CH"}, {0x0C07, "de_AT"},
    {0x0408, "el_GR"}, {0x0409, "en_US"}, {0x0809, "en_GB"}, {0x0C09, "en_AU"}, {0x1009, "en_CA"},
    {0x040A, "es_ES"}, {0x0C0A, "es_ES"}, {0x080A, "es_MX"}, {0x040B, "fi_FI"}, {0x040C, "fr_FR"},
    {0x080C, "fr_BE"}, {0x0C0C, "fr_CA"}, {0x100C, "fr_CH"}, {0x040E, "hu_HU"}, {0x0410, "it_IT"},
    {0x0810, "it_CH"}, {0x0411, "ja_JP"}, {0x0412, "ko_KR"}, {0x0413, "nl_NL"}, {0x0813, "nl_BE"},
    {0x0414, "nb_NO"}, {0x0415, "pl_PL"}, {0x0416, "pt_BR"}, {0x0816, "pt_PT"}, {0x0418, "ro_RO"},
    {0x0419, "ru_RU"}, {0x041B, "sk_SK"}, {0x041D, "sv_SE"}, {0x041F, "tr_TR"}, {0x0422, "uk_UA"},
    {0x0424, "sl_SI"}, {0x0804, "zh_CN"}, {0x0404, "zh_TW"},
};

}  // namespace

std::optional<QLocale> localeForFormatId(int lcid) {
    for (const LocaleId &l : kLocales)
        if (l.lcid == lcid) return QLocale(QString::fromLatin1(l.name));
    return std::nullopt;
}

}  // namespace office::sheet
