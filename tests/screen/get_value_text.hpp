// A readable form of an entry field's value, for test failure messages.
#pragma once

#include <string>

#include "base/date.hpp"
#include "screen/get_field.hpp"

namespace tx::screen {

inline std::string shown(const GetValue& v) {
  switch (kind_of(v)) {
    case GetKind::Text: return "\"" + std::get<std::string>(v) + "\"";
    case GetKind::Number: return std::get<Decimal>(v).str(4);
    case GetKind::Date: return DTOC(std::get<Date>(v));
    case GetKind::Logical: return std::get<bool>(v) ? ".T." : ".F.";
  }
  return "?";
}

}  // namespace tx::screen
