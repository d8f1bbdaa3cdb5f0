#pragma once
// The little JSON the page's answers need: strings quoted, lists of strings.

#include <string>
#include <string_view>
#include <vector>

namespace mk::web {

/// The text as a JSON string, quotes included. Bytes of 0x80 and up pass as they are: the
/// model's texts are UTF-8 or raw bytes that the page shows as best it can.
std::string JsonString(std::string_view text);
std::string JsonStringList(const std::vector<std::string>& texts);

}  // namespace mk::web
