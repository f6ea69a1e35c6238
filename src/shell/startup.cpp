// Start-up steps 1-19, the main background and the main loop.
#include <algorithm>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "platform/paths.hpp"
#include "platform/process.hpp"
#include "shell/choice_box.hpp"
#include "shell/config_record.hpp"
#include "shell/folders.hpp"
#include "shell/print_selection.hpp"
#include "shell/program.hpp"
#include "shell/reference_data.hpp"

namespace tx::shell {

using storage::WorkArea;

namespace {

constexpr int kLogoPanel = 7;
constexpr int kStatusPanel = 10;
constexpr int kDeclarationTable = 9;

// The block letters of the logo, '#' for a full block.
constexpr std::string_view kLogo[] = {
    "##### #   # ####   ###    #   #  #",
    "  #    # #      # #   #  ##   #  #",
    "  #     #    ###  #   #   #   ####",
    "  #    # #  #     #   #   #      #",
    "  #   #   # #####  ###   ###     #",
};

std::string strip_trailing_separator(std::string p) {
  while (p.size() > 1 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  return p;
}

}  // namespace

// ---- step 5 -------------------------------------------------------------------

std::string Program::QUAL_USUR() {
  if (!env.network_drive(env.current_folder)) return "00";
  auto d = screen.LDLGSHOW(1, 3, 8, 40, "Terminal", screen.colours.COR_ENCH_C);
  auto attr = static_cast<unsigned char>(screen::ACHACOR(screen.colours.COR_ENCH_C));
  const int top = 1 + platform::kScreenTop;
  console.put_text(top + 1, 5, env.USUAR.value_or(""), attr);
  int proposed = 0;
  if (env.EQUIP) proposed = static_cast<int>(Decimal::val(*env.EQUIP).to_long());
  if (proposed < 0 || proposed > 99) proposed = 0;
  std::string ask = std::string(proposed == 0 ? " Informe" : " Confirme") + " o nro. do terminal.";
  console.put_text(top + 3, 5, ask, attr);
  screen::Variable v = Decimal(proposed);
  screen.edit_one_field(5, 5 + static_cast<int>(ask.size()) + 1, v, 2, 0, "@Z 99", {});
  if (d) d->close();
  long n = std::get<Decimal>(v).to_long();
  if (n < 0 || n > 99) n = 0;
  return STRZERO(Decimal(n), 2);
}

bool Program::folders_and_terminal() {
  g.DIRDEF = env.DVE2014.value_or("");
  std::string cwd = strip_trailing_separator(env.current_folder);
  if (g.DIRDEF.empty()) {
    g.ROTADEF = cwd;
  } else if (platform::is_dir(g.DIRDEF)) {
    g.ROTADEF = strip_trailing_separator(g.DIRDEF);
  } else {
    screen.MENS(0, "<Dir> " + g.DIRDEF + "não encontrado. Assumindo o padrão!"_cp);
    g.ROTADEF = cwd;
  }
  g.ARQDEF = g.ROTADEF + "\\";

  // The terminal number reaches file names (DIRETnn, DETALHnn ...), so only
  // 00-99 gets through.
  std::optional<std::string> typed = env.TERMINAL;
  if (!typed && !env.parameter.empty()) typed = env.parameter;
  std::string nusu;
  if (typed) {
    auto t = terminal_number(*typed);
    if (!t) {
      screen.AVISOSN({"Número de terminal inválido: "_cp + *typed, "Use um número de 00 a 99."_cp});
      end(2);
      return false;
    }
    nusu = *t;
  } else {
    nusu = QUAL_USUR();
  }
  g.NUSU = nusu;
  tables.places.NUSU = g.NUSU;
  tables.places.ARQDEF = g.ARQDEF;
  tables.places.LOCARQ = g.ARQDEF;
  tables.places.LOCTRAB = g.ARQDEF;
  screen.terminal = g.NUSU;
  return true;
}

std::string Program::INICIOSIS(const std::string&) {
  // Steps 1-4: the main window and its status bar, the initial globals,
  // deleted records hidden.
  g = Globals{};
  g.HOJE = g.DATCALEN = today();
  screen.today = [this] { return today(); };
  screen.redraw_background = [this] { draw_background(); };
  auto& sb = screen.LSBDRAW({std::string(70, ' ')});
  sb.parts[0].width = 70;
  sb.parts.push_back(screen::SBPart{2, "", [this] { return clock_.TIME(); }, "", 8});
  screen.LWindowMain().sbDraw();
  tables.MOS_MENS = g.MOS_MENS;
  tables.REFAZ_IND = g.REFAZ_IND;
  tables.set_hide_deleted(true);
  // Step 5.
  if (!folders_and_terminal()) return "";
  // A new program folder gets the delivered reference tables.
  install_reference_tables(g.ARQDEF, find_reference_folder(env.reference_folder));
  // Step 6.
  screen::CRIACOR(colour_store, g.NUSU, screen.colours);
  screen.colour_store = &colour_store;
  return g.NUSU;
}

// ---- step 9 -------------------------------------------------------------------

void Program::draw_background() {
  const auto& c = screen.colours;
  screen.ENCHETELA(' ', screen::ACHACOR(c.COR_ENCH_C));
  screen.REDEFJAN(kLogoPanel, c.COR_TEL1, c.COR_TEL2, c.COR_TEL3, 3, 21, 17, 62, 2);
  screen.ABREJAN(kLogoPanel);
  const int width = screen.panel(kLogoPanel).text_width();
  std::string text = SPACE(width);
  for (auto row : kLogo) {
    std::string line(row);
    for (char& ch : line)
      if (ch == '#') ch = '\xDB';
    text += PADC(line, width);
  }
  text += SPACE(width);
  text += PADC("Declaração do Imposto de Renda 2014"_cp.str(), width);
  text += PADC("Ano-calendário 2013"_cp.str(), width);
  text += SPACE(width);
  text += PADC(g.NOMEAG + "     " + " de " + g.CULTIMAVER, width);
  screen.ESCRJAN(kLogoPanel, text);
}

// ---- step 10 ------------------------------------------------------------------

void Program::backup_reminder() {
  Date t = today();
  if (t.year() != 2014 || t.month() > 4) return;
  if (g.ULTBACK.empty()) {
    // No backup date yet: the reminder counts from today.
    g.ULTBACK = t;
    write_config(tables, g, {"ULTBACK"});
    return;
  }
  long n = t - g.ULTBACK;
  if (n <= 3) return;
  std::string days = PADL(std::to_string(std::min(n, 999L)), 3);
  int chosen = choice_box(screen, {" Atenção "_cp + days + " dia" + (n > 1 ? "s" : " ") + " sem fazer o backup compactado.",
                                   " Sim - Obrigado pelo aviso. Vou fazer agora "_cp.str(),
                                   " Não - Novo aviso só daqui 7 dias      "_cp.str()});
  if (chosen == 2) {
    g.ULTBACK = t + 4;
    write_config(tables, g, {"ULTBACK"});
  }
}

// ---- step 12 ------------------------------------------------------------------

bool Program::data_folder() {
  if (g.ROTADOANO.empty() || !platform::is_dir(g.ROTADOANO)) {
    int chosen = choice_box(screen, {"A Pasta "_cp + g.ROTADOANO + " não foi encontrada!"_cp,
                                     "Sim - Assume: "_cp + g.ROTADEF, "Não - Sai do programa!"_cp.str()});
    if (chosen != 1) {
      end(0);
      return false;
    }
    g.ROTADOANO = g.ROTADEF;
    write_config(tables, g, {"ROTADOANO"});
  }
  g.ROTADOANO = strip_trailing_separator(g.ROTADOANO);
  if (g.DIRTRAB.empty() || !platform::is_dir(g.DIRTRAB)) g.DIRTRAB = g.ROTADOANO;
  g.DIRTRAB = strip_trailing_separator(g.DIRTRAB);
  g.LOCARQ = g.ROTADOANO + "\\";
  g.LOCTRAB = g.DIRTRAB + "\\";
  g.DIRORIG = g.LOCARQ;
  // The official program's folder; none when it was never given (an empty
  // folder must not become the root).
  // The folder setting may store it with its final "\" already.
  g.LOCIRPF = !g.ROTARECEI.empty() && !g.ROTAJAVA.empty() ? BAR_DIR(g.ROTAJAVA) : "";
  tables.places.LOCARQ = g.LOCARQ;
  tables.places.LOCTRAB = g.LOCTRAB;
  const auto& c = screen.colours;
  screen.REDEFJAN(kStatusPanel, c.COR_TEL2, c.COR_TEL1, c.COR_TEL2, screen.panel(kStatusPanel).top,
                  screen.panel(kStatusPanel).left, screen.panel(kStatusPanel).bottom,
                  screen.panel(kStatusPanel).right, screen.panel(kStatusPanel).type);
  return true;
}

// ---- step 16 ------------------------------------------------------------------

void Program::select_folder() {
  WorkArea& list = tables.area(kFolderListTable);
  if (!list.used()) return;
  // Folder names keep their case on Linux: compared exactly.
  const std::string wanted = storage::without_backslash(g.LOCARQ);
  bool found = false;
  // Exactly one entry ends up marked: the current folder.
  list.set_order(0);
  for (list.go_top(); !list.eof(); list.skip()) {
    bool same = !found && storage::without_backslash(list.trimmed("DIRETOR")) == wanted;
    std::string mark = list.trimmed("SELEC");
    if (same) {
      found = true;
      if (mark != "S") list.replace_text("SELEC", "S");
    } else if (mark == "S") {
      list.replace_text("SELEC", "N");  // as the folder switch leaves the others
    }
  }
  if (!found && list.append_blank()) {
    list.replace_text("DIRETOR", PADR(storage::without_backslash(g.LOCARQ), 80));
    list.replace_text("SELEC", "S");
  }
  list.commit();
  list.set_order(1);
}

// ---- steps in order -----------------------------------------------------------

bool Program::start() {
  if (INICIOSIS(env.parameter).empty()) return false;
  // Step 7.
  if (!CONFIGURA(tables, g, today())) {
    screen.AVISOSN("Arquivo de configuração sendo usado no momento"_cp.str());
    end(1);
    return false;
  }
  // Step 8.
  load_config(tables.area(kConfigTable), g);
  // Step 9.
  draw_background();
  // Step 10.
  backup_reminder();
  if (screen.quitting()) { end(0); return false; }
  // Step 11.
  if (load_settings(tables, g) && g.VER_ATUAL != "N" && INTER(0)) {
    end(0);
    return false;
  }
  if (screen.quitting()) { end(0); return false; }
  // Step 12.
  if (!data_folder()) return false;
  // Step 13.
  subsystems.printer_setup(*this);
  apply_selection(g);
  // Step 14.
  if (g.QUERSEN) {
    if (!subsystems.entry_password(*this)) {
      end(1);
      return false;
    }
    write_config(tables, g, {"ult_senIR"});
  }
  // Step 15.
  bool verified = tables.ABERTURA(0);
  tables.places.LOCARQ = g.LOCARQ;
  if (!verified) {
    screen.AVISOSN("O programa TX2014 no terminal "_cp + g.NUSU + " está em uso"_cp);
    screen.ENCHETELA(' ', 7);
    end(1);
    return false;
  }
  // Step 16.
  select_folder();
  // Step 17.
  g.NLIN = 1;
  g.NROLINHAS = 60;
  g.NRO_VIAS = 1;
  g.CAL_AUTO = true;
  // Step 18.
  subsystems.load_alarms(*this);
  tables.ABERTURA(kDeclarationTable);
  screen.FECHAJAN(kStatusPanel);
  // Step 19.
  screen.set_key(key::Alt('I'), [this] { MENUSELECT(11); });
  screen.set_key(key::Alt('T'), [this] { MENUSELECT(91); });
  build_menu();
  return true;
}

void Program::main_loop() {
  while (running_) {
    int k = screen.wait_key();
    if (k == screen::kQuitKey) {
      // The terminal went away: leave as the exit routine does, without
      // asking.
      ROTSAIDA(0);
      break;
    }
    if (k == key::kEsc) {
      esc_exit_ = true;
      ROTSAIDA(91);
      esc_exit_ = false;
      continue;
    }
    if (running_) subsystems.check_alarms(*this);
  }
}

}  // namespace tx::shell
