// CP949 for HTML text: a character the code page cannot hold becomes a
// numeric character reference ("&#4352;"), so that nothing typed is lost.
#pragma once

#include <string>
#include <string_view>

namespace qx {

std::string ToCp949WithReferences(std::string_view utf8);

}  // namespace qx
