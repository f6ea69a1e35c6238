// MENUSELECT: the command table of the main menu, the commands this layer
// serves itself (print selection, transfer options, window mode, colours,
// update check on request) and the exit routine ROTSAIDA.
#include <algorithm>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/paths.hpp"
#include "shell/config_record.hpp"
#include "shell/main_menu.hpp"
#include "shell/office_tools.hpp"
#include "shell/print_selection.hpp"
#include "shell/program.hpp"

namespace tx::shell {

namespace {
constexpr int kStatusTable = 66;
constexpr int kDeclarationTable = 9;
}

void Program::not_available() { screen.AVISOSN(std::string(from_utf8(kNotAvailable))); }

void Program::set_command(int code, Command handler) {
  if (handler) commands_[code] = std::move(handler);
  else commands_.erase(code);
}

void Program::build_menu() {
  build_main_menu(screen.LMENU(&screen.LWindowMain()), g, [this](int c, int o) { MENUSELECT(c, o); });
}

void Program::install_commands() {
  install_office_tools(*this);
  // Leaving.
  set_command(18, [](Program& p, int) { p.ROTSAIDA(18); });
  set_command(91, [](Program& p, int) { p.ROTSAIDA(91); });
  // Colours of the terminal.
  set_command(24, [](Program& p, int o) {
    if (o < 1 || o > 7) return;
    p.screen.MODCOR(o);
    p.draw_background();
  });
  // Update check on request.
  set_command(35, [](Program& p, int) {
    auto a = p.screen.AVISOSN("Deseja fazer essa verificação sempre na entrada?"_cp.str(), 2);
    std::string answer = std::holds_alternative<std::string>(a) ? std::get<std::string>(a) : "N";
    p.g.VER_ATUAL = answer;
    write_setting(p.tables, "VER_ATUAL", answer);
    if (answer == "S" && p.INTER(1)) p.ROTSAIDA(18);
  });
  // Declaration screens in a window or full screen.
  set_command(36, [](Program& p, int) {
    int b = p.choice_window();
    if (b == 1) p.g.OPCIRPF = "J";
    else if (b == 2) p.g.OPCIRPF = "N";
  });
  for (int c : {41, 42, 43, 44, 46, 47, 48})
    set_command(c, [c](Program& p, int o) { p.print_selection(c, o); });
  // Reprint of the last text print: only its absence is this layer's to tell.
  set_command(52, [](Program& p, int) {
    if (!platform::exists(p.g.LOCTRAB + "NAO-DOS.TXT")) {
      p.screen.AVISOSN("Gere antes o arquivo NAO DOS usando no item acima"_cp.str());
      return;
    }
    p.not_available();
  });
  for (int c : {64, 65, 66})
    set_command(c, [c](Program& p, int o) { p.transfer_option(c, o); });
}

int Program::choice_window() {
  auto r = screen.AVISOSN(std::vector<std::string>{"Tela da declaração"_cp.str()}, 6,
                          {"Sim - Tela da declaracao com janela", "Nao - Tela inteira na Declaracao"});
  return std::holds_alternative<int>(r) ? std::get<int>(r) : 0;
}

void Program::MENUSELECT(int command, int option) {
  command_log.emplace_back(command, option);
  g.OPCAO_1 = command;
  int menu_no = command / 10;
  g.NPOSMENU = menu_no > 2 ? menu_no - 1 : menu_no;
  const bool office = command >= 21 && command <= 36;
  if (office) {
    tables.ABERTURA(kSettingsTable);
    tables.ABERTURA(kConfigTable);
    tables.area(kConfigTable).seek(g.NUSU);
  }
  auto it = commands_.find(command);
  if (it == commands_.end()) {
    not_available();
  } else {
    // The folder commands of the backup work with the taxpayer register
    // closed, and get it back whatever their outcome.
    const bool folders = command >= 73 && command <= 76;
    if (folders) tables.area(kDeclarationTable).close();
    completed = true;
    it->second(*this, option);
    if (folders && running_) tables.ABERTURA(kDeclarationTable);
    if (running_ && (command == 71 || ((command == 73 || command == 74) && completed))) {
      g.ULTBACK = today() + 4;
      write_config(tables, g, {"ULTBACK", "XDRIVE", "ROTABACK"});
    }
    if (running_ && (command == 77 || command == 78)) {
      write_setting(tables, "PROCESSA", g.PROCESSA);
      write_setting(tables, "PROGCOMP", g.PROGCOMP);
    }
  }
  if (office && running_) {
    tables.area(kSettingsTable).close();
    tables.area(kConfigTable).close();
  }
  g.last_command = command;
}

void Program::print_selection(int command, int option) {
  switch (command) {
    case 41:
    case 42:
    case 43:
    case 44:
      if (choose_selection(g, command, option)) write_config(tables, g, kSelectionFields);
      break;
    case 46: {
      auto ask = [this](std::string_view q) {
        auto a = screen.AVISOSN(std::string(q), 2);
        return std::holds_alternative<std::string>(a) ? std::get<std::string>(a) : std::string("N");
      };
      g.MOSIMP = ask("Mostre antes de imprimir as Impressoras Existentes");
      g.MOSTEL = ask("Mostre antes de imprimir no video o texto a ser impresso");
      g.MOSCPF = ask("Crie uma copia do arquivo TXT com o CPF do arquivo impresso?");
      apply_selection(g);
      write_config(tables, g, kSelectionFields);
      break;
    }
    case 47: {
      screen::Variable v = Decimal(g.NRO_VIAS);
      screen::MensOptions o;
      o.top = 17;
      o.column = "20";
      o.variable = &v;
      o.width = 1;
      o.picture = "@ 9";
      screen.MENS(4, "Informe o nro vias (vezes) a imprimir", o);
      long n = std::get<Decimal>(v).to_long();
      g.NRO_VIAS = n < 1 ? 1 : static_cast<int>(std::min(n, 9L));
      apply_selection(g);
      write_config(tables, g, kPrintCountFields);
      build_menu();  // the menu shows the number of copies
      break;
    }
    case 48:
      screen.AVISOSN({g.ITEM1, g.ITEM2, g.ITEM3, g.ITEM4, "Impressora " + g.NOMEIMP, g.ITEM7}, 0, {},
                     "Selecao para impressao");
      break;
    default:
      break;
  }
}

bool Program::ask_status_code(std::string_view question, int& code) {
  screen::Variable v = Decimal(code);
  screen::MensOptions o;
  o.top = 15;
  o.column = "5";
  o.variable = &v;
  o.width = 2;
  o.picture = "@Z 99";
  // A code from 1 to 99 that the status table holds (any such code while
  // the office has not filled the table).
  o.valid = [this](const screen::Variable& x) {
    long n = std::get<Decimal>(x).to_long();
    if (n < 1 || n > 99) return false;
    storage::WorkArea& st = tables.area(kStatusTable);
    bool opened_here = !st.used() && tables.ABERTURA(kStatusTable);
    bool ok = true;
    if (st.used() && st.reccount() > 0) {
      ok = false;
      st.set_order(0);
      for (st.go_top(); !st.eof() && !ok; st.skip()) ok = st.get_number("COD").to_long() == n;
      st.set_order(1);
    }
    if (opened_here) st.close();
    return ok;
  };
  screen.MENS(4, question, o);
  long n = std::get<Decimal>(v).to_long();
  if (n < 1 || n > 99) return false;
  code = static_cast<int>(n);
  return true;
}

void Program::transfer_option(int command, int option) {
  auto none = [this] {
    screen.AVISOSN({"A partir de agora nenhuma declaração será transferida"_cp.str(),
                    " para o IRPF ao terminar a declaração"_cp.str()});
  };
  auto by_status = [this] {
    screen.AVISOSN({"A partir de agora somente as declarações com o Status "_cp + STR(Decimal(g.SOESTE), 2),
                    "serão transferidas para o IRPF ao terminar a declaração"_cp.str()});
  };
  if (command == 64 && option == 1) {
    if (!ask_status_code("Informe o código do Estatus para declaração transferida! "_cp.str(), g.SOESTE)) return;
    by_status();
    g.OPTTRAN = 2;
  } else if (command == 64 && option == 2) {
    none();
    g.OPTTRAN = 0;
  } else if (command == 65 && option == 1) {
    screen.AVISOSN({"A partir de agora todas as declarações independente do status"_cp.str(),
                    "serão transferidas para o IRPF ao terminar a declaração"_cp.str()});
    g.OPTTRAN = 1;
  } else if (command == 65 && option == 2) {
    if (g.OPTTRAN == 2) {
      by_status();
    } else {
      g.OPTTRAN = 0;
      none();
    }
  } else if (command == 66) {
    auto a = screen.AVISOSN("Após o envio deseja que o Estatus passe para transmitidas?"_cp.str(), 1);
    if (std::holds_alternative<bool>(a) && std::get<bool>(a)) {
      g.ENV_STAT = 1;
      ask_status_code("Informe o código do Estatus de declaração transmitidas? "_cp.str(), g.OPC_TRAN);
    } else {
      g.ENV_STAT = 0;
    }
  }
}

bool Program::ROTSAIDA(int code) {
  if (code == 91) {
    auto a = screen.AVISOSN("Confirma saída do programa?"_cp.str(), 2);
    if (!std::holds_alternative<std::string>(a) || std::get<std::string>(a) != "S") {
      // Only a console that went away leaves without the answer.
      if (!screen.quitting()) return false;
    }
  }
  // Leaving with Esc right after an import reorganises the folder; leaving
  // through a command records it as the last one, so it never does.
  const bool reorganise = esc_exit_ && g.last_command == 17;
  if (!esc_exit_ && (code == 18 || code == 91)) g.last_command = code;
  if (reorganise) subsystems.reorganise_folder(*this);
  write_config(tables, g, kExitFields);
  tables.FECHA_TUDO();
  screen.ENCHETELA(' ', 7);
  end(0);
  return true;
}

}  // namespace tx::shell
