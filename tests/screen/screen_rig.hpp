// A screen over a headless console, for the screen tests.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.hpp"
#include "platform/console_headless.hpp"
#include "screen/screen.hpp"

namespace tx::screen::test {

struct Rig {
  explicit Rig(std::string_view script = "")
      : con(platform::make_headless_console(script)), screen(*con) {}
  // Program row as code page 850 bytes, one per column.
  std::string row(int program_row) const { return phys(program_row + platform::kScreenTop); }
  std::string phys(int physical_row) const {
    std::string r;
    for (int c = 0; c < platform::kCols; ++c) r += static_cast<char>(con->get(physical_row, c).ch);
    return r;
  }
  std::vector<platform::Cell> all() const { return con->save(0, 0, platform::kRows - 1, platform::kCols - 1); }
  platform::Cell cell(int program_row, int col) const { return con->get(program_row + platform::kScreenTop, col); }
  // A screen full of different characters and colours, so that any cell
  // left changed shows.
  void pattern() {
    for (int r = 0; r < platform::kRows; ++r)
      for (int c = 0; c < platform::kCols; ++c)
        con->put(r, c, static_cast<unsigned char>('!' + (r * 7 + c) % 90),
                 static_cast<unsigned char>((r * 31 + c * 5) % 256));
  }
  std::unique_ptr<platform::HeadlessConsole> con;
  Screen screen;
};

}  // namespace tx::screen::test
