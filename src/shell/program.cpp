#include "shell/program.hpp"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <sstream>
#include <string_view>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/console_headless.hpp"
#include "platform/paths.hpp"
#include "platform/process.hpp"
#include "shell/commands.hpp"

namespace tx::shell {

namespace {

std::optional<std::string> env_var(const char* name) {
  const char* v = std::getenv(name);
  if (!v || !*v) return std::nullopt;
  return from_utf8(v);
}

}  // namespace

StartEnv StartEnv::from_process(int argc, char** argv) {
  StartEnv e;
  e.DVE2014 = env_var("DVE2014");
  e.TERMINAL = env_var("TERMINAL");
  e.USUAR = env_var("USUAR");
  e.EQUIP = env_var("EQUIP");
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (a == "--headless-script") { ++i; continue; }
    e.parameter = from_utf8(a);
    break;
  }
  char cwd[4096];
  e.current_folder = getcwd(cwd, sizeof cwd) ? from_utf8(cwd) : std::string(".");
  e.update_setting = env_var("TX2014_ATUALIZA").value_or("");
  e.download_page = env_var("TX2014_ATUALIZA_PAGINA").value_or("");
  e.reference_folder = env_var("TX2014_REFERENCIA").value_or("");
  return e;
}

std::optional<std::string> terminal_number(std::string_view text) {
  std::string t = ALLTRIM(text);
  if (t.empty() || t.size() > 2) return std::nullopt;
  for (char c : t)
    if (c < '0' || c > '9') return std::nullopt;
  return t.size() == 1 ? "0" + t : t;
}

Program::Program(platform::Console& con, StartEnv e, platform::Clock clock)
    : console(con),
      clock_(std::move(clock)),
      env(std::move(e)),
      screen(con),
      host(screen),
      tables(host),
      colour_store(tables) {
  if (!env.network_drive) env.network_drive = [](std::string_view p) { return platform::is_network_drive(p); };
  subsystems.entry_password = [](Program&) { return true; };
  subsystems.printer_setup = [](Program&) {};
  subsystems.load_alarms = [](Program&) {};
  subsystems.check_alarms = [](Program&) {};
  subsystems.reorganise_folder = [](Program&) {};
  subsystems.open_download = [](std::string_view url) { return platform::open_default(url); };
  install_commands();
}

void Program::end(int status) {
  running_ = false;
  status_ = status;
}

int Program::run() {
  running_ = true;
  status_ = 0;
  if (!start()) {
    tables.FECHA_TUDO();
    running_ = false;
    return status_;
  }
  main_loop();
  return status_;
}

namespace {

int run_headless(const char* path, int argc, char** argv) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tx2014: não foi possível ler o roteiro de teclas %s\n", path);
    return 2;
  }
  std::stringstream ss;
  ss << in.rdbuf();
  platform::HeadlessConsole console(ss.str());
  if (!console.script_error().empty()) {
    std::fprintf(stderr, "tx2014: %s: %s\n", path, console.script_error().c_str());
    return 2;
  }
  int status;
  {
    Program program(console, StartEnv::from_process(argc, argv));
    status = program.run();
  }
  std::fputs(console.screen_text().c_str(), stdout);
  if (console.script_exhausted()) {
    std::fprintf(stderr, "tx2014: %s\n", console.exhausted_message().c_str());
    return 3;
  }
  return status;
}

int run_terminal(int argc, char** argv) {
  std::string error;
  auto console = platform::make_terminal_console(error);
  if (!console) {
    std::fprintf(stderr, "tx2014: %s\n", error.c_str());
    return 1;
  }
  Program program(*console, StartEnv::from_process(argc, argv));
  return program.run();
}

}  // namespace

int run_program(int argc, char** argv) {
  int status = run_command(std::vector<std::string>(argv + 1, argv + argc));
  if (status >= 0) return status;
  const char* script = std::getenv("TX2014_HEADLESS_SCRIPT");
  for (int i = 1; i < argc; ++i) {
    std::string_view a = argv[i];
    if (a == "--headless-script") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "tx2014: --headless-script precisa do nome de um arquivo\n");
        return 2;
      }
      script = argv[++i];
    }
  }
  try {
    return script && *script ? run_headless(script, argc, argv) : run_terminal(argc, argv);
  } catch (const std::exception& e) {
    // The console was destroyed during unwinding, so the terminal is back.
    std::fprintf(stderr, "tx2014: erro interno: %s\n", e.what());
    return 70;
  }
}

}  // namespace tx::shell
