// The catalogue, held as two tables of rows (declaration tables with their
// working copies, and office and reference tables) expanded once into entries.
#include "storage/catalogue.hpp"

#include <map>
#include <string_view>

namespace tx::storage {

namespace {

struct DeclarationRow {
  int number;
  std::string_view key1;
  std::string_view key2, file2;
  std::string_view key3, file3;
  std::string_view working_key;  // order of the terminal's working copy
};

constexpr DeclarationRow kDeclarations[] = {
    {1, "CPF", {}, {}, {}, {}, "cpf"},
    {2, "CPF", {}, {}, {}, {}, "cpf"},
    {3, "CPF", {}, {}, {}, {}, "cpf"},
    {4, "CPF+str(I7_0,4)", {}, {}, {}, {}, "str(I7_0)"},
    {5, "CPF+str(I8_0,4)", {}, {}, {}, {}, "str(I8_0)"},
    {6, "CPF+str(I6_3,2)", {}, {}, {}, {}, "cpf"},
    {7, "CPF", {}, {}, {}, {}, "STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE"},
    {8, "CPF", {}, {}, {}, {}, "STRZERO(BEM_NRO,2)"},
    {9, "CPF", "UPPER(NOMECONTR)", "IMP0914B", "ESTATUS", "IMP0914C", "cpf"},
    {10, "CPF", {}, {}, {}, {}, "coddesp"},
    {11, "CPF", {}, {}, {}, {}, "codERR"},
    {12, "CPF", {}, {}, {}, {}, "cpf"},
    {13, "CPF", {}, {}, {}, {}, "cpf"},
    {14, "CPF", {}, {}, {}, {}, "cpf"},
    {15, "CPF+ATV_BRASIL", {}, {}, {}, {}, "cpf+ATV_BRASIL"},
    {16, "CPF+ATV_BRASIL", {}, {}, {}, {}, "cpf+ATV_BRASIL"},
    {17, "CPF+ATV_BRASIL", {}, {}, {}, {}, "I8R_0"},
    {18, "CPF+ATV_BRASIL", {}, {}, {}, {}, "I9R_0"},
    {19, "CPF+ATV_BRASIL+DTOS(DT_LC)", {}, {}, {}, {}, "cpf"},
    {20, "CPF", {}, {}, {}, {}, "cpf"},
};

constexpr bool kCreated = true;
constexpr bool kDelivered = false;

struct OfficeRow {
  int number;
  std::string_view name;
  bool per_terminal;
  OpenMode mode;
  bool created;
  std::string_view key1;
  std::string_view key2, file2;
  std::string_view key3, file3;
};

using M = OpenMode;
constexpr OfficeRow kOffice[] = {
    {41, "PRINTS", false, M::Shared, kCreated, {}, {}, {}, {}, {}},
    {42, "CONFIG", false, M::Shared, kCreated, "NRO_TERM", {}, {}, {}, {}},
    {43, "DEFINE", false, M::Shared, kCreated, {}, {}, {}, {}, {}},
    {44, "IMPCORRIG", false, M::Exclusive, kCreated, {}, {}, {}, {}, {}},
    {45, "HELPTXT", false, M::Shared, kDelivered, "UPPER(NOME)", {}, {}, {}, {}},
    {46, "CODBENS", false, M::Shared, kDelivered, "CODBEM", {}, {}, {}, {}},
    {47, "CODEPEN", false, M::Shared, kDelivered, "CODDEP", {}, {}, {}, {}},
    {48, "CODDIVI", false, M::Shared, kDelivered, "CODDIV", {}, {}, {}, {}},
    {49, "DESPESA", false, M::Shared, kDelivered, "CODDES", {}, {}, {}, {}},
    {50, "DIRET", true, M::Exclusive, kCreated, "upper(DIRETOR)", {}, {}, {}, {}},
    {51, "UFIRM", false, M::Shared, kDelivered, "ANOMES", {}, {}, {}, {}},
    {52, "AUXBENS", false, M::Shared, kCreated, "DESCRICAO", {}, {}, {}, {}},
    {53, "AUXPAG", false, M::Shared, kCreated, "NOME", {}, {}, {}, {}},
    {54, "LisErro", false, M::Shared, kCreated, "CODERR", {}, {}, {}, {}},
    {55, "BANCOS", false, M::Shared, kDelivered, "NUMBAN", "NOMEBAN", "BANCOSB", {}, {}},
    {56, "CORES", false, M::Shared, kCreated, "NRO_TERM", {}, {}, {}, {}},
    {57, "CONFIMP", false, M::Shared, kCreated, "NRO_TERM", {}, {}, {}, {}},
    {58, "OCUPACAO", false, M::Shared, kDelivered, "CDPRO", "upper(OCUPACAO)", "OCUPACAB", {}, {}},
    {59, "CODNATUR", false, M::Shared, kDelivered, "CODAT", "UPPER(DESCRAT)", "CODNATB", {}, {}},
    {60, "TABPAIS", false, M::Shared, kDelivered, "CODPAIS", {}, {}, {}, {}},
    {61, "TABEMBA", false, M::Shared, kDelivered, "CD_EX", {}, {}, {}, {}},
    {62, "CONTAS", false, M::Shared, kDelivered, "CDCONTA", {}, {}, {}, {}},
    {63, "FOLHAPG", false, M::Caller, kCreated, "CPF", {}, {}, {}, {}},
    {64, "TABMUNI", false, M::Shared, kDelivered, {}, {}, {}, {}, {}},
    {65, "TABLOGR", false, M::Shared, kDelivered, "upper(nomelogra)", {}, {}, {}, {}},
    {66, "STATUS", false, M::CallerDefaultShared, kDelivered, "cod", {}, {}, {}, {}},
    {67, "BOLETO", false, M::CallerDefaultShared, kCreated, "NOSSONRO", {}, {}, {}, {}},
    {68, "DETALH", true, M::Exclusive, kCreated, {}, {}, {}, {}, {}},
    {69, "CODABENS", false, M::Shared, kDelivered, "CODBEM", {}, {}, {}, {}},
    {70, "LISNOME", false, M::Exclusive, kCreated, "NOMECONTR", "CPF", "LISNOMEB", {}, {}},
    {72, "AGENDA", false, M::Shared, kCreated, "NOMEAG", "HORAG+DTOC(DATAG)", "AGENDAB", "ANOTAG",
     "AGENDAC"},
    {73, "USOLOG", false, M::Shared, kCreated, "NOMEAG", "CPF", "USOLOGB", {}, {}},
    {74, "AUXFON", false, M::Shared, kCreated, "NOME", {}, {}, {}, {}},
    {75, "ECACIDAD", false, M::Shared, kDelivered, "NOME", {}, {}, {}, {}},
};

// The table whose memo file must exist before the table is opened.
constexpr int kMemoTable = 45;

std::string two_digits(int n) {
  std::string s = std::to_string(n);
  return s.size() < 2 ? "0" + s : s;
}

void add_indexes(CatalogueEntry& e, std::string_view key1, std::string_view key2,
                 std::string_view file2, std::string_view key3, std::string_view file3) {
  if (key1.empty()) return;
  e.indexes.push_back({std::string(key1), {}});
  if (key2.empty()) return;
  e.indexes.push_back({std::string(key2), std::string(file2)});
  if (key3.empty()) return;
  e.indexes.push_back({std::string(key3), std::string(file3)});
}

class Catalogue {
 public:
  Catalogue() {
    for (const DeclarationRow& r : kDeclarations) {
      CatalogueEntry master;
      master.number = r.number;
      master.name = "IMP" + two_digits(r.number) + "14";
      master.location = TableLocation::DataFolder;
      master.mode = OpenMode::Caller;
      master.created_when_missing = true;
      master.layout_number = r.number;
      add_indexes(master, r.key1, r.key2, r.file2, r.key3, r.file3);
      entries_.emplace(master.number, std::move(master));

      CatalogueEntry copy;
      copy.number = r.number + 20;
      copy.name = "TMP_" + two_digits(r.number);
      copy.per_terminal = true;
      copy.location = TableLocation::WorkingFolder;
      copy.mode = OpenMode::Exclusive;
      copy.created_when_missing = true;
      copy.layout_number = r.number;
      add_indexes(copy, r.working_key, {}, {}, {}, {});
      entries_.emplace(copy.number, std::move(copy));
    }
    for (const OfficeRow& r : kOffice) {
      CatalogueEntry e;
      e.number = r.number;
      e.name = std::string(r.name);
      e.per_terminal = r.per_terminal;
      e.location = TableLocation::ProgramFolder;
      e.mode = r.mode;
      e.created_when_missing = r.created;
      e.needs_memo = r.number == kMemoTable;
      e.layout_number = r.created ? r.number : 0;
      add_indexes(e, r.key1, r.key2, r.file2, r.key3, r.file3);
      entries_.emplace(e.number, std::move(e));
    }
  }

  const CatalogueEntry* find(int number) const {
    auto it = entries_.find(number);
    return it == entries_.end() ? nullptr : &it->second;
  }

  std::vector<int> numbers() const {
    std::vector<int> out;
    for (const auto& [n, e] : entries_) out.push_back(n);
    return out;
  }

 private:
  std::map<int, CatalogueEntry> entries_;
};

const Catalogue& catalogue() {
  static const Catalogue c;
  return c;
}

}  // namespace

const CatalogueEntry* catalogue_entry(int number) { return catalogue().find(number); }

std::vector<int> catalogue_numbers() { return catalogue().numbers(); }

std::string table_file_name(int number, int terminal) {
  const CatalogueEntry* e = catalogue_entry(number);
  if (e == nullptr) return {};
  if (!e->per_terminal) return e->name;
  if (terminal < 0 || terminal > 99) return {};
  return e->name + two_digits(terminal);
}

std::string index_file_name(int number, int k, int terminal) {
  const CatalogueEntry* e = catalogue_entry(number);
  if (e == nullptr || k < 0 || k >= static_cast<int>(e->indexes.size())) return {};
  std::string table = table_file_name(number, terminal);
  if (table.empty()) return {};
  const IndexSpec& ix = e->indexes[static_cast<std::size_t>(k)];
  if (!ix.file.empty()) return ix.file;
  if (k == 0) return table;
  if (k == 1) return table + "B";
  return table + "C";  // a third index always has its name; this is the convention
}

bool opens_exclusive(OpenMode mode, bool requested) {
  switch (mode) {
    case OpenMode::Shared: return false;
    case OpenMode::Exclusive: return true;
    case OpenMode::Caller:
    case OpenMode::CallerDefaultShared: return requested;
  }
  return false;
}

}  // namespace tx::storage
