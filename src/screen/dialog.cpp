#include "screen/dialog.hpp"

#include <algorithm>

#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "screen/field_editor.hpp"
#include "screen/screen.hpp"

namespace tx::screen {

std::string button_caption(std::string_view caption, char* hot, int* hot_pos) {
  std::string shown;
  char letter = 0;
  int pos = -1;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size() && !letter) {
      letter = upper_char(caption[i + 1]);
      pos = static_cast<int>(shown.size());
      continue;
    }
    shown += caption[i];
  }
  bool bare = !shown.empty() && shown.front() != ' ' && shown.back() != ' ';
  if (bare && shown.size() < 10) {
    int pad = (10 - static_cast<int>(shown.size())) / 2;
    if (pos >= 0) pos += pad;
    shown = PADR(std::string(static_cast<std::size_t>(pad), ' ') + shown, 10);
  }
  if (hot) *hot = letter;
  if (hot_pos) *hot_pos = pos;
  return shown;
}

void StatusBar::setText(int index, std::string text, platform::Console* console) {
  for (auto& p : parts)
    if (p.index == index) {
      p.text = std::move(text);
      p.expr = nullptr;
    }
  if (console) draw(*console);
}

void StatusBar::draw(platform::Console& console) const {
  int row = kStatusRow, col = 0;
  console.fill(row, 0, row, platform::kCols - 1, ' ', kStatusAttr);
  for (const auto& p : parts) {
    if (col >= platform::kCols) break;
    std::string t = p.shown();
    int width = p.width > 0 ? p.width : static_cast<int>(t.size());
    console.put_text(row, col, PADR(t, width), kStatusAttr);
    col += width + 1;
  }
}

void Dialog::setKey(int key, KeyBinding action) {
  bool recorded = std::any_of(aSetKey_.begin(), aSetKey_.end(), [&](auto& e) { return e.first == key; });
  if (!recorded) {
    const KeyBinding* old = screen_->key_binding(key);
    aSetKey_.emplace_back(key, old ? std::optional<KeyBinding>(*old) : std::nullopt);
  }
  screen_->set_key(key, std::move(action));
}

bool Dialog::close() { return screen_->close_dialog(*this); }

void Dialog::end(int value) {
  exit_code = 2;
  end_value = value;
}

void Dialog::cancel() {
  exit_code = 1;
}

bool Dialog::activate(bool exit_on_esc) {
  exit_code = 0;
  for (;;) {
    int k = screen_->wait_key();
    if (k == kQuitKey) return false;
    if (exit_code != 0) return exit_code == 2;
    if (k == key::kEsc && exit_on_esc && lExitEsc) return false;
    if (k == key::kEnter && focus >= 0 && focus < static_cast<int>(aControls.size())) {
      press(*aControls[static_cast<std::size_t>(focus)]);
      if (exit_code != 0) return exit_code == 2;
    }
  }
}

bool Dialog::readmodal(std::vector<GetField> fields) {
  const auto entry = static_cast<unsigned char>(ACHACOR(kEntryColour));
  const auto active = static_cast<unsigned char>(ACHACOR(kActiveEntryColour));
  for (auto& f : fields) {
    f.color = entry;
    f.active_color = active;
  }
  ReadOptions opt;
  opt.valid_mode = nsValidRead;
  opt.mouse_or_buttons = !aControls.empty();
  opt.exit_on_esc = lExitEsc;
  opt.upper_plain_texts = lGetUpperCase;
  FieldEditor editor(screen_->console(), std::move(fields), opt);
  ++active_forms;
  bool accepted = editor.read();
  --active_forms;
  return accepted;
}

void Dialog::sbDraw() {
  if (oStatusBar && &screen_->LWindowActive() == this) oStatusBar->draw(screen_->console());
}

void Dialog::sbReset() { oStatusBar.reset(); }

Button& Dialog::add_button(int top, int left, std::string_view caption, std::function<void()> action,
                           bool enabled, std::function<bool()> when) {
  auto b = std::make_unique<Button>();
  int highest = 0;
  for (auto& other : aControls) highest = std::max(highest, other->number);
  b->number = highest + 1;
  b->caption = std::string(caption);
  b->shown = button_caption(caption, &b->hot, &b->hot_pos);
  b->top = b->bottom = top;
  b->left = left;
  b->right = left + static_cast<int>(b->shown.size());
  b->action = std::move(action);
  b->enabled = enabled;
  b->when = std::move(when);
  aControls.push_back(std::move(b));
  return *aControls.back();
}

void Dialog::draw_button(const Button& b) const {
  auto& con = screen_->console();
  bool focused = focus >= 0 && focus < static_cast<int>(aControls.size()) &&
                 aControls[static_cast<std::size_t>(focus)].get() == &b;
  unsigned char attr = !b.usable() ? kButtonOff : focused ? kButtonFocus : kButtonAttr;
  con.put_text(b.top + platform::kScreenTop, b.left, b.shown, attr);
  if (b.hot_pos >= 0 && b.usable())
    con.put(b.top + platform::kScreenTop, b.left + b.hot_pos,
            static_cast<unsigned char>(b.shown[static_cast<std::size_t>(b.hot_pos)]),
            focused ? kButtonHotFocus : kButtonHot);
}

void Dialog::draw_buttons() const {
  for (auto& b : aControls) draw_button(*b);
}

bool Dialog::press(Button& b) {
  if (!b.usable()) return false;
  nLastButton = b.number;
  if (b.action) b.action();
  return true;
}

// ---- Screen: status bar and buttons ------------------------------------------

StatusBar& Screen::LSBDRAW(const std::vector<std::string>& texts) {
  Dialog& d = LWindowLast();
  d.oStatusBar = std::make_unique<StatusBar>();
  int i = 1;
  for (auto& t : texts) d.oStatusBar->parts.push_back(SBPart{i++, t, nullptr, "", 0});
  d.sbDraw();
  return *d.oStatusBar;
}

Button& Screen::LBUTTON(int top, int left, int /*bottom*/, int /*right*/, std::string_view caption,
                        std::function<void()> action, Dialog* window, std::function<bool()> when,
                        bool enabled) {
  Dialog& d = window ? *window : LWindowLast();
  Button& b = d.add_button(top, left, caption, std::move(action), enabled, std::move(when));
  d.draw_button(b);
  return b;
}

}  // namespace tx::screen
