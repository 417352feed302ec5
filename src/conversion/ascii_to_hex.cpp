#include "ascii_to_hex.h"

#include "code_page.h"
#include "hex_form.h"

namespace quorvale {

void PlaceInArray(InputArray &array, std::string_view bytes)
{
    if (bytes.empty())
        return;
    array.resize(bytes.size() + 1);
    for (std::size_t k = 0; k < bytes.size(); ++k)
        array[k + 1].assign(1, codepage::toChar(static_cast<std::uint8_t>(bytes[k])));
}

std::u16string hexText(std::string_view bytes)
{
    std::u16string out;
    if (bytes.empty())
        return out;
    out.reserve(3 * bytes.size());
    if (bytes.size() == 1)
        out.push_back(u' ');
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        if (k > 0)
            out.push_back(u' ');
        appendHexForm(out, static_cast<std::uint8_t>(bytes[k]));
    }
    return out;
}

std::u16string asciiToHex(std::u16string_view text)
{
    return hexText(codepage::encode(text));
}

} // namespace quorvale
