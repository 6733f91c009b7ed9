#include "text/SystemLanguage.h"

#include "text/AsciiCase.h"

#include <array>
#include <cstdlib>
#include <string>

namespace ombrel {

namespace {

struct LocaleId {
    std::string_view language; // ISO 639 code, lower case
    std::string_view country;  // ISO 3166 code, upper case
    std::uint32_t id;
};

// The first row of each language is its main identifier, used when the country is unknown or missing.
constexpr std::array kLocaleIds{
    LocaleId{"en", "US", 0x0409}, LocaleId{"en", "GB", 0x0809}, LocaleId{"en", "AU", 0x0C09},
    LocaleId{"en", "CA", 0x1009}, LocaleId{"en", "NZ", 0x1409}, LocaleId{"en", "IE", 0x1809},
    LocaleId{"en", "ZA", 0x1C09}, LocaleId{"en", "JM", 0x2009}, LocaleId{"en", "BZ", 0x2809},
    LocaleId{"en", "TT", 0x2C09}, LocaleId{"en", "ZW", 0x3009}, LocaleId{"en", "PH", 0x3409},
    LocaleId{"en", "IN", 0x4009}, LocaleId{"en", "MY", 0x4409}, LocaleId{"en", "SG", 0x4809},
    LocaleId{"de", "DE", 0x0407}, LocaleId{"de", "CH", 0x0807}, LocaleId{"de", "AT", 0x0C07},
    LocaleId{"de", "LU", 0x1007}, LocaleId{"de", "LI", 0x1407}, LocaleId{"fr", "FR", 0x040C},
    LocaleId{"fr", "BE", 0x080C}, LocaleId{"fr", "CA", 0x0C0C}, LocaleId{"fr", "CH", 0x100C},
    LocaleId{"fr", "LU", 0x140C}, LocaleId{"es", "ES", 0x0C0A}, LocaleId{"es", "MX", 0x080A},
    LocaleId{"es", "CO", 0x240A}, LocaleId{"es", "AR", 0x2C0A}, LocaleId{"es", "CL", 0x340A},
    LocaleId{"es", "US", 0x540A}, LocaleId{"it", "IT", 0x0410}, LocaleId{"it", "CH", 0x0810},
    LocaleId{"pt", "BR", 0x0416}, LocaleId{"pt", "PT", 0x0816}, LocaleId{"nl", "NL", 0x0413},
    LocaleId{"nl", "BE", 0x0813}, LocaleId{"zh", "CN", 0x0804}, LocaleId{"zh", "TW", 0x0404},
    LocaleId{"zh", "HK", 0x0C04}, LocaleId{"zh", "SG", 0x1004}, LocaleId{"zh", "MO", 0x1404},
    LocaleId{"ja", "JP", 0x0411}, LocaleId{"ko", "KR", 0x0412}, LocaleId{"ru", "RU", 0x0419},
    LocaleId{"uk", "UA", 0x0422}, LocaleId{"be", "BY", 0x0423}, LocaleId{"pl", "PL", 0x0415},
    LocaleId{"cs", "CZ", 0x0405}, LocaleId{"sk", "SK", 0x041B}, LocaleId{"hu", "HU", 0x040E},
    LocaleId{"ro", "RO", 0x0418}, LocaleId{"bg", "BG", 0x0402}, LocaleId{"el", "GR", 0x0408},
    LocaleId{"tr", "TR", 0x041F}, LocaleId{"he", "IL", 0x040D}, LocaleId{"ar", "SA", 0x0401},
    LocaleId{"ar", "EG", 0x0C01}, LocaleId{"ar", "AE", 0x3801}, LocaleId{"fa", "IR", 0x0429},
    LocaleId{"th", "TH", 0x041E}, LocaleId{"vi", "VN", 0x042A}, LocaleId{"id", "ID", 0x0421},
    LocaleId{"ms", "MY", 0x043E}, LocaleId{"hi", "IN", 0x0439}, LocaleId{"sv", "SE", 0x041D},
    LocaleId{"sv", "FI", 0x081D}, LocaleId{"da", "DK", 0x0406}, LocaleId{"nb", "NO", 0x0414},
    LocaleId{"no", "NO", 0x0414}, LocaleId{"nn", "NO", 0x0814}, LocaleId{"fi", "FI", 0x040B},
    LocaleId{"is", "IS", 0x040F}, LocaleId{"et", "EE", 0x0425}, LocaleId{"lv", "LV", 0x0426},
    LocaleId{"lt", "LT", 0x0427}, LocaleId{"hr", "HR", 0x041A}, LocaleId{"sr", "RS", 0x241A},
    LocaleId{"sl", "SI", 0x0424}, LocaleId{"ca", "ES", 0x0403}, LocaleId{"eu", "ES", 0x042D},
    LocaleId{"gl", "ES", 0x0456},
};

} // namespace

std::uint32_t LanguageIdFromLocale(std::string_view locale) {
    locale = locale.substr(0, locale.find_first_of(".@")); // codeset and modifier say nothing about the language
    const auto separator = locale.find_first_of("_-");
    const std::string language = AsciiLower(locale.substr(0, separator));
    const std::string country =
        separator == std::string_view::npos ? std::string() : AsciiUpper(locale.substr(separator + 1));
    std::uint32_t languageMain = 0;
    for (const LocaleId& row : kLocaleIds) {
        if (row.language != language) continue;
        if (row.country == country) return row.id;
        if (languageMain == 0) languageMain = row.id;
    }
    return languageMain != 0 ? languageMain : kEnglishUs;
}

std::uint32_t SystemLanguageId() {
    constexpr const char* kLocaleVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (const char* name : kLocaleVariables) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return LanguageIdFromLocale(value);
    }
    return kEnglishUs;
}

} // namespace ombrel
