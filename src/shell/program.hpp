// The program's entry, its start-up and its main loop.
//
// run_program(argc, argv) picks the console: the terminal, or the headless
// console when `--headless-script FILE` (or TX2014_HEADLESS_SCRIPT=FILE) is
// given, in which case the final screen is printed to standard output as
// UTF-8 text (exit status 3 when the script ran out before the program
// ended, 2 when the script could not be read or parsed). Command-line
// commands (commands.hpp) run before any screen.
//
// Program holds one run: the screen, the tables, the program-wide Globals,
// the hooks of the subsystems and the command table of the main menu.
// run() is MAIN: the start-up steps in order, then the main loop until the
// operator leaves. Its exit status: 0 when the operator left (or chose to
// end at a question), 1 when the start-up could not go on (configuration
// table held, copy already running on the terminal, entry password
// refused), 2 for a terminal number outside 00-99.
//
// StartEnv is what the start-up reads from outside (environment variables,
// the first argument, the current folder), gathered once so that a test
// can give its own.
//
// Subsystems are the hooks of parts built elsewhere; each has a default
// that does nothing visible: entry password (true: go on), printer
// set-up, today's agenda alarms, the alarm check after every key, the
// reorganisation of a folder after an import, and opening the download page.
//
// Commands: MENUSELECT(command, option) looks the code up in the command
// table; a code without a handler shows "Função ainda não disponível nesta
// versão". set_command() lets a subsystem put its handler in the table.
// Around a handler: codes 21-36 have tables 43 and 42 open (the terminal's
// record current); 73-76 run with table 9 closed and reopen it; after 71,
// and after 73 / 74 when `completed`, the record receives ULTBACK (today +
// 4), XDRIVE and ROTABACK; after 77 / 78 the settings record receives
// PROCESSA and PROGCOMP. None of this happens for a code without handler.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.hpp"
#include "platform/console.hpp"
#include "screen/colour_table.hpp"
#include "screen/screen.hpp"
#include "screen/screen_storage_host.hpp"
#include "shell/globals.hpp"
#include "storage/tables.hpp"

namespace tx::shell {

struct StartEnv {
  // Environment variables (code page 850); none when unset or empty.
  std::optional<std::string> DVE2014, TERMINAL, USUAR, EQUIP;
  std::string parameter;        // the first command-line argument
  std::string current_folder;   // program path of the current folder
  std::string update_setting;   // "host:port" of the update server
  std::string download_page;    // opened when the operator accepts an update
  std::string reference_folder; // delivered reference data (Linux path); "" = search
  std::function<bool(std::string_view)> network_drive;  // default: platform::is_network_drive

  static StartEnv from_process(int argc, char** argv);
};

class Program;

struct Subsystems {
  std::function<bool(Program&)> entry_password;
  std::function<void(Program&)> printer_setup;
  std::function<void(Program&)> load_alarms;
  std::function<void(Program&)> check_alarms;
  std::function<void(Program&)> reorganise_folder;
  std::function<bool(std::string_view)> open_download;
};

inline constexpr std::string_view kNotAvailable = "Função ainda não disponível nesta versão";

class Program {
 public:
  using Command = std::function<void(Program&, int option)>;

  Program(platform::Console& console, StartEnv env, platform::Clock clock = platform::Clock::from_env());
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // MAIN: start-up and main loop; the exit status.
  int run();

  // Start-up pieces (also used by tests).
  std::string INICIOSIS(const std::string& terminal);
  std::string QUAL_USUR();
  bool INTER(int mode);  // true: the program ends for the update
  void draw_background();

  // Main menu and commands.
  void build_menu();
  void MENUSELECT(int command, int option = 0);
  bool ROTSAIDA(int code);
  void set_command(int code, Command handler);
  bool has_command(int code) const { return commands_.count(code) > 0; }
  void not_available();

  bool running() const { return running_; }
  int exit_status() const { return status_; }
  Date today() const { return clock_.DATE(); }

  platform::Console& console;
  platform::Clock clock_;
  StartEnv env;
  screen::Screen screen;
  screen::ScreenStorageHost host;
  storage::Tables tables;
  screen::TableColourStore colour_store;
  Globals g;
  Subsystems subsystems;
  // A handler that did not complete its work says so here (MENUSELECT sets
  // it before each handler); the backup's "compress all" commands count as
  // a backup only when they complete.
  bool completed = true;
  // The commands MENUSELECT ran, in order, with their options.
  std::vector<std::pair<int, int>> command_log;

 private:
  bool start();                 // steps 1-19; false: the program ends
  bool folders_and_terminal();  // step 5
  void backup_reminder();       // step 10
  bool data_folder();           // step 12
  void select_folder();         // step 16
  void main_loop();
  void end(int status);
  void install_commands();
  void print_selection(int command, int option);
  void transfer_option(int command, int option);
  bool ask_status_code(std::string_view question, int& code);
  int choice_window();

  std::map<int, Command> commands_;
  bool running_ = false;
  bool esc_exit_ = false;  // the exit routine runs for Esc in the main loop
  int status_ = 0;
};

// A terminal number as typed ("7", "07", " 12 ") as two digits; none for
// anything outside 00-99.
std::optional<std::string> terminal_number(std::string_view text);

int run_program(int argc, char** argv);

}  // namespace tx::shell
