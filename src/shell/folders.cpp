// The folder list, the current data folder and the folder settings screens.
#include "shell/folders.hpp"

#include <vector>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "platform/paths.hpp"
#include "screen/field_editor.hpp"
#include "shell/config_record.hpp"

namespace tx::shell {

namespace {

std::string trim(std::string_view s) {
  auto b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  auto e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

bool drive_root(std::string_view p) { return p.size() == 3 && p[1] == ':' && p[2] == '\\'; }

bool is_spouse_field(std::string_view variable) {
  std::string v = UPPER(variable);
  if (v.rfind("M->", 0) == 0) v.erase(0, 3);
  return v == "CPFCONJU";
}

constexpr int kLockSeconds = 5;
constexpr std::string_view kDataLabel = " TX2014";

}  // namespace

// ---- path texts --------------------------------------------------------------

std::string BAR_DIR(std::string_view p) {
  std::string s(p);
  if (s.empty() || s.back() != '\\') s += '\\';
  return s;
}

std::string BAR_FORA(std::string_view p) {
  std::string s(p);
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

std::string BAR_ESQ(std::string_view p) {
  std::string s(p);
  if (s.empty() || s.front() != '\\') s.insert(s.begin(), '\\');
  return s;
}

std::string TIRA_DIR(std::string_view p) {
  auto at = p.rfind('\\');
  return std::string(at == std::string_view::npos ? p : p.substr(at + 1));
}

bool VERDIR(std::string_view p) {
  std::string s = trim(p);
  if (s.empty()) return false;
  if (!drive_root(s)) s = BAR_FORA(s);
  return platform::is_dir(s);
}

bool CONFER_DIR(screen::Screen& screen, std::string_view p) {
  if (VERDIR(p)) return true;
  screen.MENS(0, "<Dir> " + std::string(p) + "não encontrado. Assumindo o padrão!"_cp);
  return false;
}

bool ESPCIF(screen::Screen& screen, std::string_view p) {
  if (p.size() >= 2 && p[1] == ':') return true;
  screen.AVISOSN("Especifique o drive com ':' após a letra"_cp.str());
  return false;
}

// ---- creating folders ----------------------------------------------------------

bool FolderRoutines::CRI_NDIR(std::string_view folder, std::string_view label) {
  std::string f = BAR_FORA(trim(folder));
  if (f.empty()) return false;
  if (VERDIR(f)) return true;
  auto answer = screen_.AVISOSN({"Pasta nova para"_cp + std::string(label) + "?", "Cria a nova pasta?"}, 1);
  if (!std::holds_alternative<bool>(answer) || !std::get<bool>(answer)) return false;
  // make_dirs creates every missing level in turn, from the first one below
  // the root; only the whole path counts.
  if (platform::make_dirs(f) && VERDIR(f)) return true;
  screen_.AVISOSN("Problemas ao criar a pasta "_cp + f);
  return false;
}

// ---- the register of a folder ---------------------------------------------------

bool FolderRoutines::open_register(std::string_view folder) {
  std::string keep = tables_.places.LOCARQ;
  tables_.places.LOCARQ = BAR_DIR(folder);
  storage::WorkArea& r = tables_.area(kRegisterArea);
  if (r.used()) r.close();
  bool ok = tables_.ABERTURA(kRegisterArea, false);
  tables_.places.LOCARQ = keep;
  tables_.SELECT(kRegisterArea);
  return ok;
}

bool FolderRoutines::MUDADIR(std::string_view folder) {
  std::string f = BAR_FORA(folder);
  if (!CRI_NDIR(f, kDataLabel)) return false;
  if (!open_register(f)) return false;
  storage::WorkArea& r = tables_.area(kRegisterArea);
  r.set_order(1);
  std::string cpf = trim(g_.CPF);
  bool found = false;
  if (!cpf.empty()) {
    r.seek(cpf);
    found = r.found();
  }
  if (found) NOMECONTR = PADR(std::string(r.get_text("NOMECONTR")), 53);
  else r.go_top();
  r.set_order(2);
  return true;
}

// ---- the folder list -------------------------------------------------------------

bool FolderRoutines::add_folder(std::string_view folder) {
  storage::WorkArea& list = tables_.area(kFolderListTable);
  if (!list.used() && !tables_.ABERTURA(kFolderListTable, true)) return false;
  std::string f = BAR_FORA(trim(folder));
  if (f.empty()) return false;
  if (!list.append_blank()) return false;
  list.replace_text("DIRETOR", f);
  list.replace_text("SELEC", "N");
  return static_cast<bool>(list.commit());
}

bool FolderRoutines::valid_folder_name(std::string_view folder) {
  if (trim(folder).empty()) {
    screen_.AVISOSN("É necessário preencher o nome da Pasta"_cp.str());
    return false;
  }
  return CRI_NDIR(folder, kDataLabel);
}

// Marks the list's current entry "S" and every other one "N".
bool FolderRoutines::mark_current() {
  storage::WorkArea& list = tables_.area(kFolderListTable);
  const std::uint32_t me = list.recno();
  for (list.go_top(); !list.eof(); list.skip()) {
    if (list.recno() == me || trim(list.get_text("SELEC")) != "S") continue;
    if (!tables_.REC_LOCK(kLockSeconds)) {
      list.go(me);
      return false;
    }
    list.replace_text("SELEC", "N");
    list.commit();
    list.unlock();
  }
  list.go(me);
  if (!tables_.REC_LOCK(kLockSeconds)) return false;
  list.replace_text("SELEC", "S");
  list.commit();
  list.unlock();
  return true;
}

bool FolderRoutines::TROCASIM(int mode) {
  if (mode != 1) return open_register(BAR_FORA(g_.LOCARQ));
  storage::WorkArea& list = tables_.area(kFolderListTable);
  if (!list.used() && !tables_.ABERTURA(kFolderListTable, true)) return false;
  tables_.SELECT(kFolderListTable);
  if (list.reccount() == 0) {
    if (!tables_.ADD_REC(kLockSeconds)) return false;
  } else if (list.eof()) {
    list.go_top();
  }
  std::string folder = BAR_FORA(list.trimmed("DIRETOR"));
  if (folder.empty()) {
    folder = BAR_FORA(g_.ARQDEF);
    list.replace_text("DIRETOR", folder);
    list.commit();
  } else if (!CRI_NDIR(folder, kDataLabel)) {
    // Nothing is unmarked before the folder is known to be there.
    return false;
  }
  tables_.SELECT(kFolderListTable);
  if (!mark_current()) return false;

  g_.ROTADOANO = folder;
  g_.LOCARQ = BAR_DIR(folder);
  tables_.places.LOCARQ = g_.LOCARQ;
  tables_.CORRECAO(0);
  if (!MUDADIR(g_.LOCARQ)) return false;
  write_config(tables_, g_, {"ROTADOANO"});
  tables_.SELECT(kRegisterArea);
  return true;
}

// ---- looking for a taxpayer in the other folders ---------------------------------------

bool FolderRoutines::BUSCA_OUTRO(std::string& value, std::string_view variable, int order, int mode) {
  storage::WorkArea& list = tables_.area(kFolderListTable);
  if (!list.used() && !tables_.ABERTURA(kFolderListTable, true)) return false;
  const std::string current = BAR_FORA(g_.LOCARQ);
  const std::string key = order == 2 ? UPPER(trim(value)) : trim(value);
  struct Entry { std::uint32_t recno; std::string folder; };
  std::vector<Entry> entries;
  for (list.go_top(); !list.eof(); list.skip()) entries.push_back({list.recno(), BAR_FORA(list.trimmed("DIRETOR"))});

  if (!key.empty()) {
    for (const auto& e : entries) {
      if (e.folder.empty() || e.folder == current || !VERDIR(e.folder)) continue;
      if (!platform::resolve(BAR_DIR(e.folder) + "IMP0914.DBF")) continue;
      if (!open_register(e.folder)) continue;
      storage::WorkArea& r = tables_.area(kRegisterArea);
      r.set_order(order == 2 ? 2 : 1);
      r.seek(key);
      if (!r.found()) continue;
      const std::string cpf(r.get_text("CPF"));
      const std::string name(r.get_text("NOMECONTR"));
      if (!is_spouse_field(variable)) {
        list.go(e.recno);
        if (!TROCASIM(1)) break;
      }
      if (mode == 1) {
        value = order == 2 ? name : cpf;
        NOMECONTR = PADR(name, 53);
      }
      tables_.SELECT(kRegisterArea);
      storage::WorkArea& now = tables_.area(kRegisterArea);
      now.set_order(order == 2 ? 2 : 1);
      now.seek(order == 2 ? key : trim(cpf), order == 2);
      return true;
    }
  }
  open_register(current);
  if (mode == 1) NOMECONTR = std::string(53, ' ');
  tables_.area(kRegisterArea).set_order(1);
  return false;
}

// ---- working folder and official program folder ----------------------------------------

bool FolderRoutines::ask_folder(int which, std::string& entry) {
  const bool official = which == 2;
  auto d = screen_.LDLGSHOW(1, 1, 5, 78,
                            official ? "Local do programa da Receita"_cp.str()
                                     : "Pasta de Trabalho dos arquivos auxiliares"_cp.str());
  const std::string now = official ? g_.ROTAJAVA : g_.DIRTRAB;
  auto attr = static_cast<unsigned char>(screen::ACHACOR(d ? d->cColor : std::string("N/W")));
  auto& con = screen_.console();
  const int top = platform::kScreenTop;
  con.put_text(top + 1, 2, PADR("Drive e a Pasta "_cp + " Atual   ", 76), attr);
  con.put_text(top + 2, 2, PADR(BAR_FORA(now), 76), attr);
  con.put_text(top + 3, 2, PADR("Drive e a Pasta "_cp + " Nova    ", 76), attr);
  if (official)
    screen_.MENS(0, "Pasta vazia não transfere p/a Receita. ALT P preenche com o Padrão"_cp.str());

  std::string text(80, ' ');
  screen::GetField f;
  f.row = 4;
  f.col = 2;
  f.name = "NOVA";
  f.value = screen::bind(text);
  f.picture = "@S76";
  f.width = 80;
  screen::FieldEditor fe(con, {f});
  if (official) {
    fe.bind_key(key::Alt('P'), [](screen::FieldEditor& ed) {
      ed.set_active_value(std::string(kDefaultOfficialFolder));
      return screen::KeyAction::Stay;
    });
  }
  bool ok = fe.read() && !fe.quit();
  if (official) screen_.MENS(0, "");
  if (d) d->close();
  entry = trim(text);
  return ok;
}

void FolderRoutines::save_folder_setting(int which, const std::string& entry) {
  if (which == 2) {
    // An empty folder means "no transfer", never the root.
    g_.ROTAJAVA = entry.empty() ? std::string() : BAR_DIR(entry);
    g_.LOCIRPF = g_.ROTAJAVA;
    write_config(tables_, g_, {"ROTAJAVA"});
    return;
  }
  g_.DIRTRAB = drive_root(entry) ? entry : BAR_FORA(entry);
  g_.LOCTRAB = BAR_DIR(g_.DIRTRAB);
  tables_.places.LOCTRAB = g_.LOCTRAB;
  write_config(tables_, g_, {"dirtrab"});
}

bool FolderRoutines::SELAREA(int which) {
  const bool official = which == 2;
  const std::string label = official ? " IRPF" : " TX2014";
  for (;;) {
    std::string entry;
    if (!ask_folder(which, entry)) return false;  // Esc keeps the current value
    if (entry.empty()) {
      if (!official) return false;
      screen_.AVISOSN("Ao deixar em branco NÃO haverá transferência para o programa da receita!"_cp.str());
      save_folder_setting(which, entry);
      return true;
    }
    if (entry.size() == 2) entry += '\\';
    if (entry.size() > 3 && !CRI_NDIR(entry, label)) continue;
    save_folder_setting(which, entry);
    return true;
  }
}

}  // namespace tx::shell
