// MENS, AVISO, the status line and the single-field entry of MENS mode 4.
#include <algorithm>
#include <cctype>

#include "base/codepage.hpp"
#include "base/xbase.hpp"
#include "platform/beep.hpp"
#include "platform/keys.hpp"
#include "screen/field_editor.hpp"
#include "screen/screen.hpp"

namespace tx::screen {

namespace {

std::string show_value(const Variable& v, int width, int decimals) {
  if (auto s = std::get_if<std::string>(&v)) return PADR(*s, width);
  if (auto d = std::get_if<Decimal>(&v)) return STR(*d, width, decimals);
  if (auto d = std::get_if<Date>(&v)) return DTOC(*d);
  return std::get<bool>(v) ? "S" : "N";
}

int value_width(const Variable& v, int width) {
  if (auto s = std::get_if<std::string>(&v)) return std::max(1, static_cast<int>(s->size()));
  if (std::holds_alternative<Decimal>(v)) return width > 0 ? width : 10;
  if (std::holds_alternative<Date>(v)) return 10;
  return 1;
}

}  // namespace

void Screen::status_line(std::string_view text) {
  Dialog& d = LWindowActive();
  if (d.oStatusBar && !d.oStatusBar->parts.empty()) {
    d.oStatusBar->setText(1, std::string(text), console_);
    return;
  }
  console_->put_text(24 + platform::kScreenTop, 0, PADC(text, kScreenCols),
                     static_cast<unsigned char>(ACHACOR(colours.COR_SAY)));
}

void Screen::AVISO(std::string_view text, int row, int column) {
  if (row < 0 || row >= kScreenRows) return;
  console_->put_text(row + platform::kScreenTop, column, text,
                     static_cast<unsigned char>(ACHACOR(colours.COR_CLI_HE)));
}

bool Screen::edit_one_field(int row, int col, Variable& value, int width, int decimals,
                            std::string_view picture, const Validator& valid) {
  if (quitting_) return false;
  GetValue edited = value;
  GetField f;
  f.row = row;
  f.col = col;
  f.value.get = [&] { return edited; };
  f.value.set = [&](const GetValue& v) { edited = v; };
  f.picture = std::string(picture);
  f.width = std::holds_alternative<std::string>(value) || std::holds_alternative<Decimal>(value) ? width : 0;
  f.decimals = decimals;
  if (valid) f.valid = [&] {
    if (valid(edited)) return true;
    platform::BEEP_ERRO(*console_);
    return false;
  };
  f.color = f.active_color = static_cast<unsigned char>(ACHACOR(colours.COR_GET));
  std::vector<GetField> fields;
  fields.push_back(std::move(f));
  FieldEditor editor(*console_, std::move(fields));
  bool accepted = editor.read();
  if (editor.quit()) quitting_ = true;
  set_cursor(row, col, false);
  if (!accepted) return false;
  value = edited;
  return true;
}

std::string Screen::MENS(int code, std::string_view text, const MensOptions& opt) {
  const int mode = code % 10, style = code / 10;
  if (mode == 0) {
    status_line(text.empty() ? SPACE(100) : std::string(text));
    return "";
  }
  if (quitting_ && mode != 3) return "";
  // The notice's rows: the text cut into `lines` rows of equal width (mode
  // 4 puts the field after the text on its one row).
  const int lines = std::clamp(opt.lines, 1, kScreenRows - 3);
  Variable* var = mode == 4 ? opt.variable : nullptr;
  const int field_width = var ? value_width(*var, opt.width) : 0;
  std::string body(text);
  int row_width = std::max(1, (static_cast<int>(body.size()) + lines - 1) / lines);
  if (var) row_width = static_cast<int>(body.size()) + 1 + field_width;
  row_width = std::min(row_width, kScreenCols - 8);
  std::vector<std::string> rows;
  for (int i = 0; i < (var ? 1 : lines); ++i)
    rows.push_back(PADR(SUBSTR(body, 1 + i * row_width, row_width), row_width));
  const bool shadow = style == 7;
  const int frame_width = row_width + 4 + (shadow ? 1 : 0);    // box and blanks
  const int outer = frame_width + (shadow ? 2 : 0);            // with the shade
  int left;
  if (opt.column == "E" || opt.column == "e") left = 2;
  else if (opt.column == "C" || opt.column == "c") left = (kScreenCols - outer) / 2;
  else if (!opt.column.empty() && std::all_of(opt.column.begin(), opt.column.end(), ::isdigit))
    left = std::stoi(opt.column);
  else left = 70 - frame_width + 1;
  left = std::clamp(left, 0, kScreenCols - outer);
  const int height = static_cast<int>(rows.size()) + 2 + (shadow ? 1 : 0);
  const int top = std::clamp(opt.top, 0, kScreenRows - height);
  const int n = opt.panel;

  std::shared_ptr<Dialog> d;
  if (mode != 3) {
    discard_typeahead();
    std::string title(kNoticeTitle);
    if (mode == 9) {
      static const char* const kItems[] = {" dos Bens e Direitos", " das Dividas e Onus",
                                           " dos Bens da Atividade Rural", " das Dividas da Atividade Rural"};
      if (style >= 1 && style <= 4) title = "Item " + std::to_string(opt.item) + kItems[style - 1];
    }
    // The dialog is as wide as the notice, or as its caption when that is
    // wider.
    int dl = left, dr = left + outer - 1;
    int wide = static_cast<int>(title.size());
    if (wide > outer) {
      dl = std::clamp(left - (wide - outer) / 2, 0, std::max(0, kScreenCols - wide));
      dr = std::min(kScreenCols - 1, dl + wide - 1);
    }
    d = LDLGSHOW(top, dl, top + height - 1, dr, title, colours.COR_ENCH_C);
  }
  const int c1 = colours.COR_HELP, c2 = colours.COR_HELP, c3 = 0x08;
  if (shadow) {
    // The shadowed notice draws its own box inside a type-7 panel.
    REDEFJAN(n, c1, c2, c3, top, left, top + height - 2, left + frame_width + 1, 7);
    std::string layout = "\x02\xDA" + REP(frame_width - 2) + "\xC4\xBF";
    for (auto& r : rows) layout += "\x02\xB3\x01 " + r + "  \x02\xB3";
    layout += "\x02\xC0" + REP(frame_width - 2) + "\xC4\xD9";
    ABREJAN(n);
    ESCRJAN(n, layout);
  } else {
    REDEFJAN(n, c1, c2, c3, top, left, top + height - 1, left + frame_width - 1, 2);
    std::string layout;
    for (auto& r : rows) layout += " " + r + " ";
    ABREJAN(n);
    ESCRJAN(n, layout);
  }
  const int text_row = top + 1, text_col = left + 2;
  std::string answer;
  switch (mode) {
    case 1:
    case 5:
    case 9:
      if (mode == 1) platform::BEEP_ERRO(*console_, 1);
      while (wait_key() == 0) {
      }
      break;
    case 2:
      for (;;) {
        int k = wait_key();
        if (k == kQuitKey) break;
        if (k < 32 || k > 255) continue;
        char up = upper_char(static_cast<char>(k));
        if (opt.allowed.find(up) != std::string::npos) {
          answer = std::string(1, up);
          break;
        }
      }
      break;
    case 4:
      if (var) {
        int col = text_col + static_cast<int>(body.size()) + 1;
        if (!edit_one_field(text_row, col, *var, field_width, opt.decimals, opt.picture, opt.valid)) {
          // Left with Esc: the variable is emptied.
          if (std::holds_alternative<std::string>(*var)) *var = std::string();
          else if (std::holds_alternative<Decimal>(*var)) *var = Decimal(0);
          else if (std::holds_alternative<Date>(*var)) *var = today ? today() : Date{};
          else *var = false;
        }
        answer = show_value(*var, field_width, opt.decimals);
      }
      break;
    default:
      break;
  }
  if (mode != 3) {
    FECHAJAN(n);
    if (d) d->close();
  }
  return answer;
}

}  // namespace tx::screen
