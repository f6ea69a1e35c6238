// Expansion of layout rows into fields, and the per-number lookup.
#include "storage/layout.hpp"

#include <cctype>
#include <map>
#include <stdexcept>
#include <string>

#include "storage/layout_rows.hpp"

namespace tx::storage {

namespace {

bool has_counter(const LayoutRow& row) { return row.to >= row.from; }

// Replaces each run of '#' in `pattern` by the counter ("#" plain, "##" two
// digits) and folds the name to upper case.
std::string instantiate(std::string_view pattern, int counter) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    if (pattern[i] == '#') {
      std::size_t run = 0;
      while (i + run < pattern.size() && pattern[i + run] == '#') ++run;
      std::string digits = std::to_string(counter);
      if (digits.size() < run) digits.insert(0, run - digits.size(), '0');
      out += digits;
      i += run;
    } else {
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(pattern[i])));
      ++i;
    }
  }
  return out;
}

// Calls fn for every blank-separated word of `names`.
template <typename Fn>
void for_each_name(std::string_view names, Fn fn) {
  std::size_t i = 0;
  while (i < names.size()) {
    while (i < names.size() && names[i] == ' ') ++i;
    std::size_t j = i;
    while (j < names.size() && names[j] != ' ') ++j;
    if (j > i) fn(names.substr(i, j - i));
    i = j;
  }
}

void emit(const LayoutRow& row, int counter, bool counted, std::vector<FieldDef>& out) {
  bool used_counter = false;
  for_each_name(row.names, [&](std::string_view pattern) {
    bool wants = pattern.find('#') != std::string_view::npos;
    if (wants && !counted)
      throw std::invalid_argument("layout name without counter: " + std::string(pattern));
    used_counter = used_counter || wants;
    out.push_back(FieldDef{instantiate(pattern, counter), row.type, row.len, row.dec});
  });
  if (counted && !used_counter)
    throw std::invalid_argument("layout row repeats names without counter: " +
                                std::string(row.names));
}

}  // namespace

std::span<const LayoutRow> layout_rows(int number) {
  for (auto list : {declaration_table_rows(), office_table_rows()})
    for (const TableRows& t : list)
      if (t.number == number) return t.rows;
  return {};
}

std::vector<FieldDef> expand_layout(std::span<const LayoutRow> rows) {
  std::vector<FieldDef> out;
  for (std::size_t i = 0; i < rows.size();) {
    const LayoutRow& head = rows[i];
    std::size_t span = head.span < 1 ? 1 : static_cast<std::size_t>(head.span);
    if (i + span > rows.size())
      throw std::invalid_argument("layout group runs past the end: " + std::string(head.names));
    for (std::size_t k = 1; k < span; ++k)
      if (has_counter(rows[i + k]))
        throw std::invalid_argument("layout row inside a group has its own range: " +
                                    std::string(rows[i + k].names));
    if (!has_counter(head)) {
      if (span != 1)
        throw std::invalid_argument("layout group without counter: " + std::string(head.names));
      emit(head, 0, false, out);
    } else {
      for (int c = head.from; c <= head.to; ++c)
        for (std::size_t k = 0; k < span; ++k) emit(rows[i + k], c, true, out);
    }
    i += span;
  }
  return out;
}

namespace {

// Every layout, expanded once; immutable afterwards.
class LayoutSet {
 public:
  LayoutSet() {
    for (int n = 1; n <= 99; ++n) {
      auto rows = layout_rows(n);
      if (!rows.empty()) layouts_.emplace(n, expand_layout(rows));
    }
  }
  const std::vector<FieldDef>* find(int number) const {
    if (number >= 21 && number <= 40) number -= 20;  // working copies
    auto it = layouts_.find(number);
    return it == layouts_.end() ? nullptr : &it->second;
  }

 private:
  std::map<int, std::vector<FieldDef>> layouts_;
};

const LayoutSet& layouts() {
  static const LayoutSet set;
  return set;
}

// Progress texts that do not follow the "Criando IMPnn.DBF" rule.
struct SpecialMessage {
  int number;
  std::string_view text;
};
constexpr SpecialMessage kSpecialMessages[] = {
    {15, "Criando IMP15.DBF)"},  // the parenthesis is what operators have always seen
    {50, "Criando DIRETOR.DBF"},
};

}  // namespace

const std::vector<FieldDef>* table_layout(int number) { return layouts().find(number); }

int record_length(const std::vector<FieldDef>& fields) {
  int total = 1;
  for (const FieldDef& f : fields) total += f.len;
  return total;
}

std::string creation_message(int number) {
  // A working copy is created with its table's layout and the same box.
  int table = (number >= 21 && number <= 40) ? number - 20 : number;
  for (const SpecialMessage& m : kSpecialMessages)
    if (m.number == table) return std::string(m.text);
  if (table >= 1 && table <= 20) {
    std::string nn = std::to_string(table);
    if (nn.size() < 2) nn.insert(0, "0");
    return "Criando IMP" + nn + ".DBF";
  }
  return {};
}

}  // namespace tx::storage
