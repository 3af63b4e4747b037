#pragma once
// One row of a case mapping table: a character and its simple case partner.

#include <iterator>

namespace orvane::chars {

struct CasePair {
    char32_t from;
    char32_t to;
};

} // namespace orvane::chars
