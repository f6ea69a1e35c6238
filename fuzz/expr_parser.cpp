// Arbitrary text as an expression over a fixed record: compiling gives an
// expression or an ExprError; evaluating a compiled one never fails.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "storage/expr.hpp"

namespace {

using tx::storage::FieldDef;

class FixedRecord : public tx::storage::RecordView {
 public:
  FixedRecord() {
    fields_ = {{"CPF", 'C', 11, 0},  {"I7_0", 'N', 4, 0},  {"VALOR", 'N', 12, 2}, {"NOME", 'C', 30, 0},
               {"DT_LC", 'D', 8, 0}, {"ATIVO", 'L', 1, 0}, {"OBS", 'M', 10, 0},   {"VAZIO", 'N', 5, 0}};
    values_ = {"12345678909", "  17", "   -1234.56", "Jos\x82 da Silva                ", "20140430", "T",
               "         1", "*****"};
  }
  int field_count() const override { return static_cast<int>(fields_.size()); }
  int field_index(std::string_view name) const override {
    for (std::size_t i = 0; i < fields_.size(); ++i)
      if (fields_[i].name == name) return static_cast<int>(i);
    return -1;
  }
  const FieldDef& field(int i) const override { return fields_[static_cast<std::size_t>(i)]; }
  std::string_view raw(int i) const override { return values_[static_cast<std::size_t>(i)]; }

 private:
  std::vector<FieldDef> fields_;
  std::vector<std::string> values_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const FixedRecord rec;
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  auto e = tx::storage::Expr::try_compile(text, rec, &error);
  if (!e) {
    if (error.empty()) __builtin_trap();  // a refusal always says why
    return 0;
  }
  tx::storage::Value v = e->eval(rec);
  if (v.type != e->type()) __builtin_trap();
  std::string key = e->key(rec);
  if (e->type() == 'C' && key.size() != static_cast<std::size_t>(e->width())) __builtin_trap();
  if ((e->type() == 'N' || e->type() == 'D') && key.size() != 8) __builtin_trap();
  return 0;
}
