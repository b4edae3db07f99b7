// The decimal separator of runtime locale names. Data names locales the way the Windows runtime's
// setlocale takes them ("French_Canada.1252"); Linux has no such locales, and switching the
// process-wide locale would change number output under other threads, so a table of languages
// decides instead. The formatter then writes the separator itself.
#include <algorithm>
#include <string>
#include <string_view>

#include "port/crt/crt.h"

namespace msvc {

namespace {

// Languages by English name, ISO 639 codes and the Windows three-letter codes (whose last letter
// names the country), all lower case.
constexpr std::string_view kCommaLanguages[] = {
    "german", "de", "deu", "ger", "dea", "del",
    "french", "fr", "fra", "fre", "frb", "frc", "frl",
    "italian", "it", "ita",
    "spanish", "es", "spa", "esp", "esn",
    "portuguese", "pt", "por", "ptb", "ptg",
    "dutch", "nl", "nld", "dut", "nlb",
    "danish", "da", "dan",
    "swedish", "sv", "swe", "sve",
    "norwegian", "no", "nb", "nn", "nor", "nob", "nno", "non",
    "finnish", "fi", "fin",
    "polish", "pl", "pol", "plk",
    "czech", "cs", "ces", "cze", "csy",
    "slovak", "sk", "slk", "slo", "sky",
    "hungarian", "hu", "hun",
    "russian", "ru", "rus",
    "ukrainian", "uk", "ukr",
    "turkish", "tr", "tur", "trk",
    "greek", "el", "ell", "gre",
    "romanian", "ro", "ron", "rum", "rom",
    "bulgarian", "bg", "bul", "bgr",
    "croatian", "hr", "hrv",
    "slovenian", "sl", "slv",
    "serbian", "sr", "srp",
    "estonian", "et", "est", "eti",
    "latvian", "lv", "lav", "lvi",
    "lithuanian", "lt", "lit", "lth",
    "icelandic", "is", "isl", "ice",
    "catalan", "ca", "cat",
    "basque", "eu", "eus", "baq", "euq",
    "galician", "gl", "glg",
    "indonesian", "id", "ind",
};
constexpr std::string_view kPointLanguages[] = {
    "c", "posix",
    "english", "en", "eng", "enu", "ena", "enc", "enz", "eni",
    "japanese", "ja", "jpn",
    "chinese", "zh", "zho", "chi", "chs", "cht", "chinese-simplified", "chinese-traditional",
    "korean", "ko", "kor",
    "thai", "th", "tha",
    "hebrew", "he", "heb",
    "hindi", "hi", "hin",
    // Windows codes of Swiss and Liechtenstein German, French and Italian, and Mexican Spanish.
    "des", "frs", "its", "dec", "esm",
};
// Countries whose numbers take a point whatever the language.
constexpr std::string_view kPointCountries[] = {
    "switzerland", "ch", "che", "liechtenstein", "li", "lie", "mexico", "mx", "mex",
    "united states", "us", "usa",
};

template <std::size_t N>
bool listed(std::string_view const (&list)[N], std::string_view word) {
    return std::find(std::begin(list), std::end(list), word) != std::end(list);
}

}  // namespace

bool localeDecimalPoint(std::string_view localeName, wchar_t& point) {
    std::string name(localeName);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    // The code page (".1252", ".UTF-8") and a POSIX modifier ("@euro") do not change the point.
    name = name.substr(0, name.find_first_of(".@"));
    std::string_view language = name;
    std::string_view country;
    if (!listed(kCommaLanguages, language) && !listed(kPointLanguages, language)) {
        std::size_t const cut = name.find_first_of("_-");
        if (cut != std::string::npos) {
            language = std::string_view(name).substr(0, cut);
            country = std::string_view(name).substr(cut + 1);
        }
    }
    bool const comma = listed(kCommaLanguages, language);
    if (!comma && !listed(kPointLanguages, language)) return false;
    point = comma && !listed(kPointCountries, country) ? L',' : L'.';
    return true;
}

}  // namespace msvc
