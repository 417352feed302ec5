#pragma once

#include <string>
#include <vector>

namespace quorvale {

// The converters' work array: after splitting a text of n characters it holds exactly the
// indices 0 to n, element k being the piece that starts at character k. Element 0 is unused.
using InputArray = std::vector<std::u16string>;

} // namespace quorvale
