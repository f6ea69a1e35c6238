#include "storage/verify.hpp"

#include <algorithm>
#include <optional>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/paths.hpp"
#include "storage/catalogue.hpp"
#include "storage/cdx_index.hpp"
#include "storage/dbf_table.hpp"
#include "storage/expr.hpp"

namespace tx::storage {

namespace {

std::string stem(const std::string& name) {
  auto dot = name.rfind('.');
  return UPPER(dot == std::string::npos ? name : name.substr(0, dot));
}

std::string join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  char last = folder.back();
  return (last == '/' || last == '\\') ? folder + name : folder + "/" + name;
}

// The table an index file belongs to: the catalogue's name for it (for any
// terminal), else the index's own name, else that name less its last letter.
std::optional<std::string> table_of(const std::string& index_stem,
                                    const std::vector<std::string>& table_stems) {
  auto have = [&](const std::string& s) {
    return std::find(table_stems.begin(), table_stems.end(), s) != table_stems.end();
  };
  for (int n : catalogue_numbers()) {
    const CatalogueEntry* e = catalogue_entry(n);
    int terms = e->per_terminal || (n >= 21 && n <= 40) ? 100 : 1;
    for (int t = 0; t < terms; ++t) {
      for (std::size_t k = 0; k < e->indexes.size(); ++k) {
        if (UPPER(index_file_name(n, static_cast<int>(k), t)) != index_stem) continue;
        std::string table = UPPER(table_file_name(n, t));
        if (have(table)) return table;
      }
    }
  }
  if (have(index_stem)) return index_stem;
  if (index_stem.size() > 1 && have(index_stem.substr(0, index_stem.size() - 1)))
    return index_stem.substr(0, index_stem.size() - 1);
  return std::nullopt;
}

FileCheck check_table(const std::string& folder, const std::string& name) {
  FileCheck c{name, false, {}};
  DbfTable t;
  DbfStatus st = t.open(platform::locate(join(folder, name)), DbfTable::Mode::Shared);
  if (!st) {
    c.detail = st.message;
    return c;
  }
  std::uint32_t n = t.record_count();
  // Every record must be readable.
  for (std::uint32_t r = 1; r <= n; ++r) {
    st = t.go(r);
    if (!st) {
      c.detail = st.message;
      return c;
    }
  }
  c.sound = true;
  c.detail = std::to_string(n) + " registros, " + std::to_string(t.field_count()) + " campos";
  return c;
}

FileCheck check_index(const std::string& folder, const std::string& name, const std::string& table_file) {
  FileCheck c{name, false, {}};
  DbfTable t;
  DbfStatus st = t.open(platform::locate(join(folder, table_file)), DbfTable::Mode::Shared);
  if (!st) {
    c.detail = "tabela "_cp + table_file + ": " + st.message;
    return c;
  }
  try {
    CdxIndex idx = CdxIndex::open(platform::locate(join(folder, name)), CdxSharing::Shared);
    std::string err;
    auto expr = Expr::try_compile(idx.expression(), t, &err);
    if (!expr) {
      c.detail = "expressão "_cp + idx.expression() + ": " + err;
      return c;
    }
    std::uint32_t n = t.record_count();
    CdxVerifyResult r = idx.verify(n, [&](std::uint32_t recno, std::string& key) {
      if (!t.go(recno)) return false;
      key = idx.normalize(expr->key(t));
      return true;
    });
    if (!r.ok) {
      c.detail = std::to_string(r.problem_count) + " problema(s)";
      if (!r.problems.empty()) c.detail += ": " + r.problems.front();
      return c;
    }
    c.sound = true;
    c.detail = std::to_string(r.keys) + " chaves de " + idx.expression();
  } catch (const std::exception& e) {
    c.detail = e.what();
  }
  return c;
}

}  // namespace

std::vector<FileCheck> verify_folder(const std::string& folder) {
  std::vector<FileCheck> out;
  auto tables = platform::list(folder, "*.DBF", platform::ListKind::Files);
  auto indexes = platform::list(folder, "*.CDX", platform::ListKind::Files);
  std::vector<std::string> table_stems;
  for (const auto& t : tables) table_stems.push_back(stem(t));
  for (const auto& t : tables) out.push_back(check_table(folder, t));
  for (const auto& i : indexes) {
    auto owner = table_of(stem(i), table_stems);
    if (!owner) {
      out.push_back({i, false, "tabela do índice não encontrada"_cp.str()});
      continue;
    }
    std::size_t k = static_cast<std::size_t>(
        std::find(table_stems.begin(), table_stems.end(), *owner) - table_stems.begin());
    out.push_back(check_index(folder, i, tables[k]));
  }
  return out;
}

}  // namespace tx::storage
