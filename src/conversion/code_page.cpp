#include "code_page.h"

#include "code_page_tables.h"

#include <algorithm>
#include <span>

namespace quorvale::codepage {
namespace {

struct ByteOf
{
    char16_t character;
    std::uint8_t byte;
};

// Bytes 80-FF by character, for the way from Unicode to the page.
constexpr std::array<ByteOf, 128> byCharacter(const std::array<char16_t, 128> &high)
{
    std::array<ByteOf, 128> index{};
    for (std::size_t i = 0; i < high.size(); ++i)
        index[i] = {high[i], static_cast<std::uint8_t>(0x80 + i)};
    std::sort(index.begin(), index.end(),
              [](const ByteOf &a, const ByteOf &b) { return a.character < b.character; });
    return index;
}

struct Page
{
    int number;
    const std::array<char16_t, 128> &high;
    std::array<ByteOf, 128> index;
    std::span<const tables::Composed> composed;
};

// Every table is a constant: nothing is built at start-up.
constexpr std::array<Page, kPages.size()> kTables = {{
    {874, tables::k874, byCharacter(tables::k874), {}},
    {1250, tables::k1250, byCharacter(tables::k1250), {}},
    {1251, tables::k1251, byCharacter(tables::k1251), {}},
    {1252, tables::k1252, byCharacter(tables::k1252), {}},
    {1253, tables::k1253, byCharacter(tables::k1253), {}},
    {1254, tables::k1254, byCharacter(tables::k1254), {}},
    {1255, tables::k1255, byCharacter(tables::k1255), tables::kComposed1255},
    {1256, tables::k1256, byCharacter(tables::k1256), {}},
    {1257, tables::k1257, byCharacter(tables::k1257), {}},
    {1258, tables::k1258, byCharacter(tables::k1258), tables::kComposed1258},
}};

constexpr const Page &pageNumbered(int number)
{
    for (const Page &page : kTables) {
        if (page.number == number)
            return page;
    }
    return pageNumbered(kWestern);
}

const Page *g_page = &pageNumbered(kWestern);

// The languages whose Windows page is single-byte and not Windows-1252, as Windows's own table
// of locales gives them ("lang", "lang@modifier" for another script, "lang_TERRITORY" where the
// region changes the script). Windows has no locale for Latin Belarusian and Tatar, Latin
// Kurmanji or Arabic-script Azerbaijani; they take the page that holds their alphabet.
struct LocalePage
{
    std::string_view name;
    int page;
};
constexpr std::array<LocalePage, 44> kLocales = {{
    {"ar", 1256},          {"az", 1254},         {"az_IR", 1256},
    {"be", 1251},          {"be@latin", 1250},   {"bg", 1251},
    {"bs", 1250},          {"ckb", 1256},        {"cs", 1250},
    {"el", 1253},          {"et", 1257},         {"fa", 1256},
    {"he", 1255},          {"hr", 1250},         {"hu", 1250},
    {"ku", 1254},          {"ky", 1251},         {"lt", 1257},
    {"lv", 1257},          {"mk", 1251},         {"mn", 1251},
    {"pl", 1250},          {"ro", 1250},         {"ru", 1251},
    {"sah", 1251},         {"sd", 1256},         {"sd@devanagari", kWestern},
    {"sk", 1250},          {"sl", 1250},         {"sq", 1250},
    {"sr", 1251},          {"sr@latin", 1250},   {"tg", 1251},
    {"th", 874},           {"tk", 1250},         {"tr", 1254},
    {"tt", 1251},          {"tt@iqtelif", 1254}, {"ug", 1256},
    {"uk", 1251},          {"ur", 1256},         {"uz", 1254},
    {"uz@cyrillic", 1251}, {"vi", 1258},
}};

const LocalePage *localeNamed(std::string_view name)
{
    const auto found = std::find_if(kLocales.begin(), kLocales.end(),
                                    [name](const LocalePage &l) { return l.name == name; });
    return found == kLocales.end() ? nullptr : &*found;
}

constexpr bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Width of the character at text[i] in UTF-16 units: 2 for a complete surrogate pair.
std::size_t unitsAt(std::u16string_view text, std::size_t i)
{
    return isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]) ? 2 : 1;
}

// The page's letter and mark for a character it lacks as one, or null.
const tables::Composed *composedOf(const Page &page, char16_t c)
{
    const auto found = std::lower_bound(
        page.composed.begin(), page.composed.end(), c,
        [](const tables::Composed &entry, char16_t key) { return entry.character < key; });
    return found != page.composed.end() && found->character == c ? &*found : nullptr;
}

// How many bytes of the page the character at text[i] takes.
std::size_t costAt(const Page &page, std::u16string_view text, std::size_t i)
{
    const char16_t c = text[i];
    if (isLineBreak(c))
        return 2;
    if (c < 0x80 || page.composed.empty() || unitsAt(text, i) == 2)
        return 1;
    const tables::Composed *letter = composedOf(page, c);
    return letter == nullptr ? 1 : 1 + (letter->mark != 0) + (letter->secondMark != 0);
}

} // namespace

int forAnsiCodePage(unsigned acp)
{
    return pageNumbered(static_cast<int>(acp)).number;
}

int forLocale(std::string_view name)
{
    // language[_territory][.codeset][@modifier]
    const std::size_t at = name.find('@');
    const std::string_view modifier = at == std::string_view::npos ? "" : name.substr(at + 1);
    const std::string_view withTerritory = name.substr(0, std::min(name.find('.'), at));
    const std::string_view language = withTerritory.substr(0, withTerritory.find('_'));
    if (language.empty())
        return kWestern;
    const LocalePage *found = nullptr;
    if (!modifier.empty())
        found = localeNamed(std::string(language) + '@' + std::string(modifier));
    if (!found && withTerritory.size() > language.size())
        found = localeNamed(withTerritory);
    if (!found)
        found = localeNamed(language);
    return found ? found->page : kWestern;
}

void use(int page)
{
    g_page = &pageNumbered(page);
}

int inUse()
{
    return g_page->number;
}

std::uint8_t fromCodePoint(char32_t codePoint)
{
    if (codePoint < 0x80)
        return static_cast<std::uint8_t>(codePoint);
    if (codePoint > 0xFFFF)
        return kSubstitute;
    const auto &index = g_page->index;
    const auto c = static_cast<char16_t>(codePoint);
    const auto found =
        std::lower_bound(index.begin(), index.end(), c,
                         [](const ByteOf &entry, char16_t key) { return entry.character < key; });
    return found != index.end() && found->character == c ? found->byte : kSubstitute;
}

char16_t toChar(std::uint8_t byte)
{
    return byte < 0x80 ? char16_t{byte} : g_page->high[byte - 0x80];
}

std::string encode(std::u16string_view text)
{
    const Page &page = *g_page;
    std::string bytes;
    bytes.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        const char16_t c = text[i];
        const std::size_t units = unitsAt(text, i);
        if (isLineBreak(c)) {
            bytes.append("\r\n");
        } else if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
        } else if (units == 2 || isHighSurrogate(c) || isLowSurrogate(c)) {
            bytes.push_back(static_cast<char>(kSubstitute));
        } else if (const std::uint8_t byte = fromCodePoint(c); byte != kSubstitute) {
            bytes.push_back(static_cast<char>(byte));
        } else if (const tables::Composed *letter = composedOf(page, c)) {
            bytes.push_back(static_cast<char>(letter->base));
            if (letter->mark != 0)
                bytes.push_back(static_cast<char>(letter->mark));
            if (letter->secondMark != 0)
                bytes.push_back(static_cast<char>(letter->secondMark));
        } else {
            bytes.push_back(static_cast<char>(kSubstitute));
        }
        i += units;
    }
    return bytes;
}

std::size_t length(std::u16string_view text)
{
    const Page &page = *g_page;
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); i += unitsAt(text, i))
        n += costAt(page, text, i);
    return n;
}

std::size_t fittingPrefix(std::u16string_view text, std::size_t room)
{
    const Page &page = *g_page;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t cost = costAt(page, text, i);
        if (cost > room)
            break;
        room -= cost;
        i += unitsAt(text, i);
    }
    return i;
}

} // namespace quorvale::codepage
