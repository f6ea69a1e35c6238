#include "screen/get_field.hpp"

namespace tx::screen {

namespace {

template <class T>
GetBinding bind_variable(T& var) {
  return {[&var]() { return GetValue(var); },
          [&var](const GetValue& v) {
            if (const T* p = std::get_if<T>(&v)) var = *p;
          }};
}

}  // namespace

GetBinding bind(std::string& text) { return bind_variable(text); }
GetBinding bind(Decimal& number) { return bind_variable(number); }
GetBinding bind(Date& date) { return bind_variable(date); }
GetBinding bind(bool& logical) { return bind_variable(logical); }

}  // namespace tx::screen
