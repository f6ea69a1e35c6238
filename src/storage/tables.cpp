#include "storage/tables.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/paths.hpp"
#include "storage/catalogue.hpp"
#include "storage/layout.hpp"

namespace tx::storage {

namespace {

constexpr const char* kDbf = ".DBF";
constexpr const char* kCdx = ".CDX";
constexpr const char* kFpt = ".FPT";

// The settings record a new DEFINE receives: the quota due dates and the
// office defaults of the season.
struct DefaultValue {
  const char* field;
  char kind;  // D date dd/mm/yyyy, N number, C text
  const char* value;
};
constexpr DefaultValue kDefineDefaults[] = {
    {"VCTO1", 'D', "30/04/2014"}, {"VCTO2", 'D', "30/05/2014"}, {"VCTO3", 'D', "30/06/2014"},
    {"VCTO4", 'D', "31/07/2014"}, {"VCTO5", 'D', "29/08/2014"}, {"VCTO6", 'D', "30/09/2014"},
    {"VCTO7", 'D', "31/10/2014"}, {"VCTO8", 'D', "28/11/2014"}, {"VAL_SEG", 'N', "4.00"},
    {"VAL_BYTE", 'N', "3.00"},    {"VAL_MIN", 'N', "120"},      {"COMO_SAL", 'N', "2"},
    {"TEMP_SAL", 'N', "15"},      {"TEMP_DES", 'N', "4"},       {"VAL_CPMF", 'N', "0"},
    {"VAL_DOLAR", 'N', "2.0429"}, {"PROCESSA", 'C', "N"},       {"PROGCOMP", 'C', "N"},
};

// Tables whose structure the upgrade brings to the current layout, with the
// corrections their old records need.
constexpr int kUpgraded[] = {1, 2, 7, 9};

std::string linux_path(const std::string& program_path) { return platform::locate(program_path); }

bool file_exists(const std::string& program_path) { return platform::exists(program_path); }

// What was written to a file is on the disk before it replaces another.
bool flush_to_disk(const std::string& program_path) {
  int fd = ::open(linux_path(program_path).c_str(), O_RDONLY);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

std::string two(int n) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", n);
  return b;
}

}  // namespace

std::string upper_path(std::string_view p) { return UPPER(std::string(p)); }

std::string without_backslash(std::string_view p) {
  std::string s(p);
  while (!s.empty() && (s.back() == '\\' || s.back() == '/') && s.size() > 1) s.pop_back();
  return s;
}

std::string base_name(std::string_view p) {
  auto k = p.find_last_of("\\/:");
  return std::string(k == std::string_view::npos ? p : p.substr(k + 1));
}

Tables::Tables(StorageHost& host) : host_(host) {
  for (int n = 1; n <= kAreas; ++n) areas_[static_cast<std::size_t>(n)] = std::make_unique<WorkArea>(n);
}

Tables::~Tables() { FECHA_TUDO(); }

WorkArea& Tables::area(int n) {
  if (n < 1 || n > kAreas) return scratch_;
  return *areas_[static_cast<std::size_t>(n)];
}

WorkArea* Tables::by_alias(std::string_view alias) {
  std::string want = UPPER(std::string(alias));
  for (int n = 1; n <= kAreas; ++n)
    if (area(n).used() && UPPER(area(n).alias()) == want) return &area(n);
  return nullptr;
}

void Tables::set_hide_deleted(bool hide) {
  for (int n = 1; n <= kAreas; ++n) area(n).set_hide_deleted(hide);
}

int Tables::terminal() const {
  const std::string& t = places.NUSU;
  if (t.size() != 2 || t[0] < '0' || t[0] > '9' || t[1] < '0' || t[1] > '9') return -1;
  return (t[0] - '0') * 10 + (t[1] - '0');
}

bool Tables::fail(std::string message, bool show) {
  last_error_ = std::move(message);
  if (show) host_.alert(last_error_);
  return false;
}

std::string Tables::table_path(int number) const {
  const CatalogueEntry* e = catalogue_entry(number);
  int term = terminal();
  if (!e || term < 0) return {};
  std::string name = table_file_name(number, term);
  if (name.empty()) return {};
  switch (e->location) {
    case TableLocation::DataFolder: return places.LOCARQ + name;
    case TableLocation::WorkingFolder: return places.LOCTRAB + name;
    case TableLocation::ProgramFolder: return places.ARQDEF + name;
  }
  return {};
}

// ---- creation ---------------------------------------------------------------

bool Tables::CRIA(int number, const std::string& file) {
  const std::vector<FieldDef>* layout = table_layout(number);
  if (!layout) return false;
  std::string msg = creation_message(number);
  if (!msg.empty()) host_.progress(msg);
  std::string dir = file.substr(0, file.size() - base_name(file).size());
  if (!dir.empty() && !platform::is_dir(dir)) platform::make_dirs(dir);
  DbfStatus st = DbfTable::create(platform::create_path(file + kDbf), *layout);
  if (!msg.empty()) host_.progress_close();
  if (!st) return fail(st.message, true);
  fill_defaults(number, file);
  return true;
}

// A new settings table gets its one record at once.
void Tables::fill_defaults(int number, const std::string& file) {
  if (number != 43) return;
  DbfTable t;
  if (!t.open(linux_path(file + kDbf), DbfTable::Mode::Exclusive)) return;
  if (t.record_count() == 0 && t.append_blank()) {
    for (const auto& d : kDefineDefaults) {
      switch (d.kind) {
        case 'D': t.set_date(d.field, CTOD(d.value)); break;
        case 'N': t.set_number(d.field, Decimal::val(d.value)); break;
        default: t.set_text(d.field, d.value); break;
      }
    }
    t.commit();
  }
  t.close();
}

// ---- opening ----------------------------------------------------------------

bool Tables::NETUSE(const std::string& file, bool exclusive, int seconds) {
  WorkArea& wa = current();
  std::string alias = upper_path(base_name(file));
  if (wa.used() && UPPER(wa.alias()) == alias && wa.exclusive() == exclusive) return true;
  auto mode = exclusive ? DbfTable::Mode::Exclusive : DbfTable::Mode::Shared;
  DbfStatus st = wa.open(linux_path(file + kDbf), mode, alias);
  if (!st && st.code == DbfCode::Busy && !exclusive && seconds > 0) {
    for (double left = seconds; left > 0 && !host_.esc_waiting(); left -= 0.5) {
      host_.pause_half_second();
      st = wa.open(linux_path(file + kDbf), mode, alias);
      if (st || st.code != DbfCode::Busy) break;
    }
  }
  if (!st) {
    last_error_ = st.message;
    return false;
  }
  return true;
}

bool Tables::reopen(WorkArea& wa, const std::string& file, bool exclusive) {
  wa.close();
  return NETUSE(file, exclusive);
}

bool Tables::open_index(WorkArea& wa, const std::string& file, const std::string& key,
                        const std::string& index_file, bool first, bool exclusive) {
  std::string idx = index_file + kCdx;
  bool missing = REFAZ_IND || !file_exists(idx);
  if (missing && first) {
    // The table is packed before its first index is built, which needs it
    // alone for a moment.
    if (!reopen(wa, file, true))
      return fail("Arquivo em uso por outro terminal: "_cp + upper_path(base_name(file)), false);
    if (!file_exists(idx) || REFAZ_IND) {
      DbfStatus st = wa.pack();
      if (!st) return fail(st.message, true);
    }
    if (!reopen(wa, file, exclusive)) return false;
  }
  if (missing) {
    std::string text = "Criando o indice "_cp + upper_path(base_name(index_file)) + kCdx;
    if (text.size() > 79) text.resize(79);
    host_.progress(text);
  }
  DbfStatus st = wa.add_order(platform::create_path(idx), key, REFAZ_IND);
  if (missing) host_.progress_close();
  if (!st) return fail(st.message, true);
  return true;
}

bool Tables::ABREARQ(int area_no, bool exclusive, const std::string& file, const std::string& key1,
                     const std::string& key2, const std::string& file2, const std::string& key3,
                     const std::string& file3) {
  SELECT(area_no);
  WorkArea& wa = current();
  wa.close();
  std::string second = file2.empty() ? file + "B" : file2;
  if (MOS_MENS) host_.progress("Verificando o Arquivo "_cp + upper_path(file));
  if (!file_exists(file + kDbf)) {
    if (MOS_MENS) host_.progress(file + " não localizado está  sendo criado "_cp);
    if (!table_layout(area_no)) {
      // A delivered table that is not there cannot be made up: the opening
      // fails instead of pretending to succeed.
      return fail("Arquivo "_cp + file + " não localizado!"_cp, true);
    }
    if (!CRIA(area_no, file)) return false;
  }
  if (!exclusive && !key1.empty() && !REFAZ_IND && NETUSE(file, true)) {
    // Alone with the table for a moment: its existing indexes are checked
    // against it (a crash or another program may have changed it behind
    // them) before it is shared, since later nobody can tell.
    const std::pair<const std::string*, std::string> orders[] = {
        {&key1, file}, {&key2, second}, {&key3, file3}};
    for (const auto& [key, index_file] : orders)
      if (!key->empty() && file_exists(index_file + kCdx))
        wa.add_order(platform::create_path(index_file + kCdx), *key);
    wa.close();
  }
  if (!NETUSE(file, exclusive, 10)) return false;
  wa.set_hide_deleted(true);
  if (key1.empty()) return true;
  if (!open_index(wa, file, key1, file, true, exclusive)) return false;
  if (!key2.empty() && !open_index(wa, file, key2, second, false, exclusive)) return false;
  if (!key3.empty() && !open_index(wa, file, key3, file3, false, exclusive)) return false;
  wa.set_order(1);
  wa.go_top();
  return true;
}

bool Tables::ABERTURA(int number, bool exclusive) {
  if (terminal() < 0) return fail("Número de terminal inválido: "_cp + places.NUSU, true);
  if (number == 0) {
    FECHA_TUDO();
    missing_reference_.clear();
    if (!ABERTURA(50, true)) return false;
    // Every folder of the list gets its tables upgraded; a folder that is
    // not reachable now is skipped, never removed from the list.
    std::vector<std::string> folders;
    WorkArea& list = area(50);
    for (list.go_top(); !list.eof(); list.skip()) folders.push_back(list.trimmed("DIRETOR"));
    std::string keep = places.LOCARQ;
    for (const auto& f : folders) {
      if (f.empty() || !platform::is_dir(f)) continue;
      places.LOCARQ = f + "\\";
      CORRECAO(0);
    }
    places.LOCARQ = keep;
    static constexpr int kShared[] = {41, 45, 46, 47, 48, 49, 51, 52, 53, 54, 58, 66};
    static constexpr int kMustOpen[] = {41, 46, 47, 48, 49, 51, 52, 53, 54, 58};
    bool ok = true;
    for (int n : kShared) {
      bool opened = ABERTURA(n);
      bool must = false;
      for (int m : kMustOpen) must |= (m == n);
      if (!opened && !table_layout(n) && !file_exists(table_path(n) + kDbf)) {
        missing_reference_.push_back(base_name(table_path(n)));
        continue;  // reported below; the office can still work meanwhile
      }
      if (!opened && must) ok = false;
    }
    FECHA_TUDO();
    if (!missing_reference_.empty()) {
      std::string names;
      for (const auto& m : missing_reference_) names += (names.empty() ? "" : ", ") + m;
      host_.alert("Tabelas de referência não encontradas em "_cp + places.ARQDEF + ": " + names);
    }
    host_.progress_close();
    set_hide_deleted(true);
    if (!ok) return false;
    return ABERTURA(50, true);
  }

  const CatalogueEntry* e = catalogue_entry(number);
  if (!e) return fail("Tabela desconhecida: "_cp + two(number), true);
  std::string file = table_path(number);
  int term = terminal();
  bool excl = opens_exclusive(e->mode, exclusive);
  if (e->needs_memo && (!file_exists(file + kDbf) || !file_exists(file + kFpt))) {
    return false;  // the help texts are optional
  }
  std::string keys[3], files[3];
  for (std::size_t k = 0; k < e->indexes.size() && k < 3; ++k) {
    keys[k] = e->indexes[k].key;
    std::string dir = file.substr(0, file.size() - base_name(file).size());
    files[k] = dir + index_file_name(number, static_cast<int>(k), term);
  }
  bool ok = ABREARQ(number, excl, file, keys[0], keys[1], files[1], keys[2], files[2]);
  if (ok && number == 50) {
    WorkArea& wa = area(50);
    if (wa.reccount() == 0 && wa.append_blank()) {
      wa.replace_text("DIRETOR", without_backslash(places.ARQDEF));
      wa.replace_text("SELEC", "S");
      wa.commit();
    }
  }
  if (number == 42 || number == 43 || (number >= 55 && number <= 67)) {
    host_.progress_close();
    area(number).set_hide_deleted(true);
  }
  return ok;
}

// ---- waits ------------------------------------------------------------------

bool Tables::REC_LOCK(double seconds) {
  WorkArea& wa = current();
  if (!wa.used()) return fail("Área de trabalho não está em uso"_cp.str(), true);
  if (wa.lock_record()) return true;
  host_.status("Aguardando registro ficar disponivel no arquivo "_cp + wa.alias());
  while (seconds > 0 && !host_.esc_waiting()) {
    if (wa.lock_record()) {
      host_.status("");
      return true;
    }
    host_.pause_half_second();
    seconds -= 0.5;
  }
  host_.status("");
  return fail("ATENÇÃO! Registro não ficou disponível. Dado nÃo será gravado."_cp.str(), true);
}

bool Tables::FIL_LOCK(double seconds) {
  WorkArea& wa = current();
  if (!wa.used()) return fail("Área de trabalho não está em uso"_cp.str(), true);
  if (wa.lock_file()) return true;
  host_.status("Aguardando arquivo ficar disponivel"_cp.str());
  bool unlimited = seconds == 0;
  // Without a limit the operator can still give up with Esc.
  while ((unlimited || seconds > 0) && !host_.esc_waiting()) {
    host_.pause_half_second();
    seconds -= 0.5;
    if (wa.lock_file()) {
      host_.status("");
      return true;
    }
  }
  host_.status("");
  return fail("ATENÇÃO! Registro não ficou disponÍvel. Dado não será gravado."_cp.str(), true);
}

bool Tables::ADD_REC(double seconds) {
  WorkArea& wa = current();
  if (!wa.used()) return fail("Área de trabalho não está em uso"_cp.str(), true);
  DbfStatus st = wa.append_blank();
  if (st) return true;
  if (st.code != DbfCode::Busy) return fail(st.message, true);
  host_.status("Aguardando registro ficar disponível"_cp.str());
  bool unlimited = seconds == 0;
  while ((unlimited || seconds > 0) && !host_.esc_waiting()) {
    host_.pause_half_second();
    seconds -= 0.5;
    st = wa.append_blank();
    if (st) {
      host_.status("");
      return true;
    }
    if (st.code != DbfCode::Busy) break;
  }
  host_.status("");
  return fail("ATENÇÃO! Registro não ficou disponível. Dado não será gravado."_cp.str(), true);
}

// ---- structure upgrade ------------------------------------------------------

bool Tables::upgrade_needed(WorkArea& wa, const std::vector<FieldDef>& layout) const {
  const DbfTable& t = wa.table();
  for (const auto& f : layout) {
    int i = t.field_index(f.name);
    if (i < 0) return true;
    const FieldDef& have = t.field(i);
    if (have.type != f.type || have.len != f.len || have.dec != f.dec) return true;
  }
  return false;
}

void Tables::CORRECAO(int) {
  for (int n : kUpgraded) CORRIGE(two(n));
}

bool Tables::CORRIGE(const std::string& nn) {
  int number = std::atoi(nn.c_str());
  const std::vector<FieldDef>* layout = table_layout(number);
  if (!layout) return false;
  std::string file = places.LOCARQ + "IMP" + nn + "14";
  if (!file_exists(file + kDbf)) return true;  // created with the current layout when first opened
  WorkArea old(number);
  if (!old.open(linux_path(file + kDbf), DbfTable::Mode::Shared, "OLD")) return false;
  bool needed = upgrade_needed(old, *layout);
  old.close();
  if (!needed) return true;

  // The old table alone for the copy; when another terminal has it, it stays
  // as it is and is upgraded at a later start.
  if (!old.open(linux_path(file + kDbf), DbfTable::Mode::Exclusive, "OLD")) return false;
  std::string msg = creation_message(number);
  if (!msg.empty()) host_.progress(msg);
  // The new table is written beside the old one under a name of this
  // terminal, flushed and renamed over it.
  std::string tmp = places.LOCARQ + "ACERTO" + places.NUSU;
  platform::remove_file(tmp + kDbf);
  DbfStatus st = DbfTable::create(platform::create_path(tmp + kDbf), *layout);
  WorkArea fresh(number);
  if (st) st = fresh.open(linux_path(tmp + kDbf), DbfTable::Mode::Exclusive, "ACERTO");
  old.set_hide_deleted(true);
  std::vector<int> from(layout->size(), -1);
  for (std::size_t i = 0; i < layout->size(); ++i) {
    int k = old.table().field_index((*layout)[i].name);
    if (k >= 0 && old.table().field(k).type == (*layout)[i].type) from[i] = k;
  }
  for (old.go_top(); st && !old.eof(); old.skip()) {
    st = fresh.append_blank();
    for (std::size_t i = 0; st && i < layout->size(); ++i) {
      if (from[i] < 0) continue;
      const FieldDef& f = (*layout)[i];
      const DbfTable& o = old.table();
      switch (f.type) {
        case 'N': st = fresh.replace_number(f.name, o.get_number(from[i])); break;
        case 'D': st = fresh.replace_date(f.name, o.get_date(from[i])); break;
        case 'L': st = fresh.replace_logical(f.name, o.get_logical(from[i])); break;
        case 'M': {
          std::string memo;
          if (o.get_memo(from[i], memo)) st = fresh.replace_memo(f.name, memo);
          break;
        }
        default: st = fresh.replace_text(f.name, o.get_text(from[i])); break;
      }
    }
    if (!st) break;
    if (number == 7 && ALLTRIM(fresh.get_text("CPFALIEN")).empty() &&
        fresh.get_number("TIPO_BEM") != Decimal(4))
      st = fresh.replace_text("CPFALIEN", fresh.get_text("CPF"));
    if (st && number == 9) {
      bool abroad = fresh.get_text("UF") == std::string_view("EX");
      st = fresh.replace_text("EXTERIOR", abroad ? "S" : "N");
      if (st) st = fresh.replace_text("EBRASIL", abroad ? "N" : "S");
    }
  }
  if (st) st = fresh.close();
  old.close();
  if (!msg.empty()) host_.progress_close();
  if (!st) {
    platform::remove_file(tmp + kDbf);
    return fail(st.message, true);
  }
  std::string err;
  if (!flush_to_disk(tmp + kDbf)) {
    platform::remove_file(tmp + kDbf);
    return fail("Erro ao gravar "_cp + tmp + kDbf, true);
  }
  if (!platform::rename_file(tmp + kDbf, file + kDbf, true, &err)) {
    platform::remove_file(tmp + kDbf);
    return fail(err, true);
  }
  // Its indexes described the old records: they go, and are built again at
  // the next opening.
  for (const auto& name : platform::list(places.LOCARQ, "IMP" + nn + "14*.CDX", platform::ListKind::Files))
    platform::remove_file(places.LOCARQ + name);
  return true;
}

// ---- closing ----------------------------------------------------------------

void Tables::FECHA_PROV() {
  for (int n = 21; n <= 40; ++n) area(n).close();
}

void Tables::FECHA_TODO() {
  for (int n = 1; n <= 20; ++n)
    if (n != 9) area(n).close();
  FECHA_PROV();
}

void Tables::FECHA_TUDO() {
  for (int n = 1; n <= kAreas; ++n) area(n).close();
}

}  // namespace tx::storage
