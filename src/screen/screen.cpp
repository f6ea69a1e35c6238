#include "screen/screen.hpp"

#include <algorithm>

#include "platform/keys.hpp"

namespace tx::screen {

using platform::Event;
using platform::kScreenTop;

Screen::Screen(platform::Console& console) : console_(&console) {
  auto main = std::make_shared<Dialog>(*this, true);
  main->lBoxClose = main->lBoxMaximize = true;
  main->nsValidRead = 2;
  main->open_ = true;
  stack_.push_back(main);
  for (int n = 1; n <= kPanelCount; ++n) DEFINEJAN(n, 48, 112, 7, 0, 0, 24, 79, 1);
}

// ---- dialogs --------------------------------------------------------------

std::shared_ptr<Dialog> Screen::LDLGSHOW(int top, int left, int bottom, int right, std::string_view title,
                                         std::string_view colour) {
  int t = std::max(top, 0), l = std::max(left, 0);
  int b = std::min(bottom, kScreenRows - 1), r = std::min(right, kScreenCols - 1);
  if (b < t || r < l) {
    diagnostic("Erro ao criar a janela " + std::string(title) + " (" + std::to_string(top) + "," +
               std::to_string(left) + "," + std::to_string(bottom) + "," + std::to_string(right) + ")");
    return nullptr;
  }
  auto d = std::make_shared<Dialog>(*this, false);
  d->nTop = t;
  d->nLeft = l;
  d->nBottom = b;
  d->nRight = r;
  d->cTitle = std::string(title);
  d->cColor = std::string(colour);
  d->previous_ = stack_.back();
  d->cursor_row_ = cursor_row_;
  d->cursor_col_ = cursor_col_;
  d->cursor_visible_ = cursor_visible_;
  d->saved_colour_ = colour_;
  // The caption sits on the row above the rectangle (the menu bar row for
  // a dialog at row 0).
  d->under_top_ = t + kScreenTop - 1;
  d->under_ = console_->save(d->under_top_, l, b + kScreenTop, r);
  d->status_row_ = console_->save(platform::kRows - 1, 0, platform::kRows - 1, kScreenCols - 1);
  d->open_ = true;
  stack_.push_back(d);

  auto attr = static_cast<unsigned char>(ACHACOR(d->cColor));
  console_->fill(t + kScreenTop, l, b + kScreenTop, r, ' ', attr);
  std::string caption(d->cTitle.substr(0, static_cast<std::size_t>(r - l + 1)));
  console_->fill(d->under_top_, l, d->under_top_, r, ' ', kCaptionAttr);
  console_->put_text(d->under_top_, l + (r - l + 1 - static_cast<int>(caption.size())) / 2, caption,
                     kCaptionAttr);
  set_cursor(cursor_row_, cursor_col_, false);
  return d;
}

bool Screen::close_dialog(Dialog& d) {
  if (d.is_main()) { diagnostic("LDLGCLOSE: the main window is never closed"); return false; }
  if (!d.open_) { diagnostic("LDLGCLOSE: window already closed"); return false; }
  if (stack_.back().get() != &d) { diagnostic("LDLGCLOSE: window is not the active one"); return false; }
  if (d.active_forms > 0) { diagnostic("LDLGCLOSE: entry fields still active"); return false; }
  for (auto it = d.aSetKey_.rbegin(); it != d.aSetKey_.rend(); ++it) set_key(it->first, it->second);
  d.aSetKey_.clear();
  console_->restore(d.under_top_, d.nLeft, d.nBottom + kScreenTop, d.nRight, d.under_);
  console_->restore(platform::kRows - 1, 0, platform::kRows - 1, kScreenCols - 1, d.status_row_);
  colour_ = d.saved_colour_;
  d.open_ = false;
  auto keep = stack_.back();  // d stays alive until the caller lets it go
  stack_.pop_back();
  set_cursor(d.cursor_row_, d.cursor_col_, d.cursor_visible_);
  discard_typeahead();
  return true;
}

bool Screen::LDLGCLOSE() { return close_dialog(LWindowActive()); }

void Screen::LDLGEND(int value) { LWindowActive().end(value); }

bool Screen::LACTIVATE(bool exit_on_esc) { return LWindowActive().activate(exit_on_esc); }

// ---- key bindings ---------------------------------------------------------

void Screen::set_key(int key, std::optional<KeyBinding> action) {
  if (action && *action) keys_[key] = std::move(*action);
  else keys_.erase(key);
}

const KeyBinding* Screen::key_binding(int key) const {
  auto it = keys_.find(key);
  return it == keys_.end() ? nullptr : &it->second;
}

// ---- waiting --------------------------------------------------------------

void Screen::set_cursor(int row, int col, bool visible) {
  cursor_row_ = row;
  cursor_col_ = col;
  cursor_visible_ = visible;
  console_->set_cursor(row + kScreenTop, col, visible);
}

void Screen::refresh_status() {
  Dialog& d = LWindowActive();
  if (d.oStatusBar && !d.oStatusBar->parts.empty()) d.oStatusBar->draw(*console_);
}

void Screen::discard_typeahead() {
  // Bounded: a console that is gone may answer every poll with a key.
  for (int i = 0; i < 4096 && console_->peek_key(true) != 0; ++i) {
  }
}

bool Screen::dispatch_key(int key) {
  if (auto it = keys_.find(key); it != keys_.end()) {
    // The key is unbound while its own action runs, so the action may wait
    // for keys without calling itself again.
    KeyBinding action = it->second;
    keys_.erase(it);
    action();
    if (!keys_.count(key)) keys_[key] = std::move(action);
    return true;
  }
  if (key == kMenuEventKey) return false;
  Dialog& d = LWindowActive();
  for (auto& b : d.aControls) {
    if (b->hot && key == key::Alt(b->hot) && key != 0) {
      d.press(*b);
      return true;
    }
  }
  if (d.oMenu && d.oMenu->created) {
    if (key == key::F(10)) {
      if (int cmd = run_menu(0)) d.oMenu->event(cmd);
      return true;
    }
    for (std::size_t i = 0; i < d.oMenu->aItem.size(); ++i) {
      char hot = d.oMenu->aItem[i]->hot();
      if (hot && key::Alt(hot) == key) {
        if (int cmd = run_menu(static_cast<int>(i), nullptr, true)) d.oMenu->event(cmd);
        return true;
      }
    }
  }
  return false;
}

Event Screen::wait_event() {
  for (;;) {
    if (quitting_) return Event{Event::Quit};
    if (on_wait) on_wait();
    console_->refresh();
    Event ev = console_->next_event();
    switch (ev.kind) {
      case Event::Quit:
        quitting_ = true;
        return ev;
      case Event::Tick:
        refresh_status();
        continue;
      case Event::Key:
        if (dispatch_key(ev.key)) return Event{};
        return ev;
      case Event::Mouse: {
        Dialog& d = LWindowActive();
        if (ev.row == 0 && d.oMenu && d.oMenu->created && ev.button == 1) {
          if (int cmd = run_menu(-1, &ev)) d.oMenu->event(cmd);
          return Event{};
        }
        if (ev.button == 1)
          for (auto& b : d.aControls)
            if (b->hit(ev.row - kScreenTop, ev.col)) {
              d.press(*b);
              return Event{};
            }
        return ev;
      }
      default:
        continue;
    }
  }
}

int Screen::wait_key() {
  for (;;) {
    Event ev = wait_event();
    if (ev.kind == Event::Quit) return kQuitKey;
    if (ev.kind == Event::Key) return ev.key;
    if (ev.kind == Event::None) return 0;  // handled here (binding, button, menu)
  }
}

void Screen::route_event(int number) {
  Dialog& d = LWindowActive();
  if (number >= 1000 && number <= 1999) {
    if (!d.oMenu || !d.oMenu->created) {
      diagnostic("Erro interno. Nao foi encontrado um menu ativo (LMenuActivate)");
      return;
    }
    d.oMenu->event(number);
  } else if (number >= 2000 && number <= 2999) {
    diagnostic("Erro interno. Nao foi encontrado um toolbar ativo (LTBActivate)");
  } else {
    diagnostic("Unknown event " + std::to_string(number));
  }
}

void Screen::diagnostic(std::string_view english) {
  last_diagnostic = std::string(english);
  MSGALERT({last_diagnostic}, {"OK"}, "N/W", "Error", true);
}

}  // namespace tx::screen
