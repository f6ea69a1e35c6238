#include "shell/program.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <sstream>
#include <string_view>

#include "base/codepage.hpp"
#include "platform/clock.hpp"
#include "platform/console_headless.hpp"
#include "shell/commands.hpp"

#include <vector>
#include "platform/keys.hpp"

namespace tx::shell {

using platform::Event;
using platform::kCols;
using platform::kRows;

namespace {
constexpr int kMenuRow = 0;
constexpr int kStatusRow = kRows - 1;
constexpr int kClockCol = kCols - 9;  // "hh:mm:ss" and one blank at the right
}  // namespace

Program::Program(platform::Console& console, std::function<std::string()> clock)
    : console_(console), clock_(std::move(clock)) {}

void Program::draw_frame() {
  console_.fill(kMenuRow, 0, kMenuRow, kCols - 1, ' ', kMenuBarAttr);
  console_.put_text(kMenuRow, 0, " TX2014 - IRPF 2014 ", kMenuBarAttr);
  console_.fill(platform::kScreenTop, 0, kStatusRow - 1, kCols - 1, ' ', kDesktopAttr);
  console_.fill(kStatusRow, 0, kStatusRow, kCols - 1, ' ', kStatusAttr);
  console_.put_text(kStatusRow, 1, "Esc: sair", kStatusAttr);
  console_.set_cursor(0, 0, false);
  shown_clock_.clear();
  draw_clock();
}

void Program::draw_clock() {
  std::string now = clock_();
  if (now == shown_clock_) return;
  shown_clock_ = now;
  console_.put_text(kStatusRow, kClockCol, now.substr(0, 8), kStatusAttr);
}

void Program::handle(const Event& ev) {
  switch (ev.kind) {
    case Event::Quit:
      running_ = false;
      break;
    case Event::Key:
      if (ev.key == key::kEsc) running_ = false;
      break;
    case Event::Tick:
      draw_clock();
      break;
    default:
      break;
  }
}

int Program::run() {
  running_ = true;
  draw_frame();
  console_.refresh();
  while (running_) {
    handle(console_.next_event());
    if (running_) console_.refresh();
  }
  return 0;
}

namespace {

int run_headless(const char* path) {
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
  platform::Clock clock = platform::Clock::from_env();
  Program program(console, [&clock] { return clock.TIME(); });
  int status = program.run();
  std::fputs(console.screen_text().c_str(), stdout);
  if (console.script_exhausted()) {
    std::fprintf(stderr, "tx2014: %s\n", console.exhausted_message().c_str());
    return 3;
  }
  return status;
}

int run_terminal() {
  std::string error;
  auto console = platform::make_terminal_console(error);
  if (!console) {
    std::fprintf(stderr, "tx2014: %s\n", error.c_str());
    return 1;
  }
  platform::Clock clock = platform::Clock::from_env();
  Program program(*console, [&clock] { return clock.TIME(); });
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
    return script && *script ? run_headless(script) : run_terminal();
  } catch (const std::exception& e) {
    // The console was destroyed during unwinding, so the terminal is back.
    std::fprintf(stderr, "tx2014: erro interno: %s\n", e.what());
    return 70;
  }
}

}  // namespace tx::shell
