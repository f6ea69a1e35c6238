#include "screen/menu.hpp"

#include <algorithm>

#include "base/xbase.hpp"
#include "platform/keys.hpp"
#include "screen/screen.hpp"

namespace tx::screen {

using platform::Event;

namespace {

constexpr unsigned char kBarAttr = 0x70, kBarHot = 0x74, kSelAttr = 0x0F, kSelHot = 0x0E;
constexpr unsigned char kOffAttr = 0x78, kOffSel = 0x08;

std::string strip_amp(std::string_view s) {
  std::string r;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (s[i] != '&' || i + 1 >= s.size()) r += s[i];
  return r;
}

int hot_index(std::string_view s) {
  int shown = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) return shown;
    ++shown;
  }
  return -1;
}

}  // namespace

std::string MenuItem::label() const { return strip_amp(cPrompt); }

char MenuItem::hot() const {
  auto amp = cPrompt.find('&');
  if (amp == std::string::npos || amp + 1 >= cPrompt.size()) return 0;
  return upper_char(cPrompt[amp + 1]);
}

std::vector<std::unique_ptr<MenuItem>>& Menu::level() { return open_.empty() ? aItem : open_.back()->items; }

MenuItem& Menu::subMenu(std::string_view text, std::string_view hint) {
  auto item = std::make_unique<MenuItem>();
  item->cPrompt = std::string(text);
  item->submenu = true;
  item->nSequence = ++nCount;
  item->hint = std::string(hint);
  item->oParent = this;
  MenuItem& ref = *item;
  level().push_back(std::move(item));
  open_.push_back(&ref);
  ++nLevel;
  return ref;
}

MenuItem& Menu::menuItem(std::string_view text, std::function<void(MenuItem&, Dialog&)> action, bool enabled,
                         std::string_view hint) {
  auto item = std::make_unique<MenuItem>();
  item->cPrompt = std::string(text);
  item->bAction = std::move(action);
  item->nSequence = ++nCount;
  item->lEnable = enabled;
  item->hint = std::string(hint);
  item->oParent = this;
  MenuItem& ref = *item;
  level().push_back(std::move(item));
  return ref;
}

void Menu::separator() {
  auto& items = level();
  if (!items.empty()) items.back()->lSeparator = true;
}

void Menu::endMenu() {
  if (!open_.empty()) {
    open_.pop_back();
    --nLevel;
  }
}

void Menu::create() {
  created = true;
  oParent->screen().draw_menu_bar(*this);
}

namespace {
MenuItem* find_in(std::vector<std::unique_ptr<MenuItem>>& items, int number) {
  for (auto& it : items) {
    if (it->nSequence == number) return it.get();
    if (it->submenu)
      if (MenuItem* m = find_in(it->items, number)) return m;
  }
  return nullptr;
}
}  // namespace

MenuItem* Menu::find(int number) { return find_in(aItem, number); }

bool Menu::event(int number) {
  MenuItem* m = find(number);
  if (!m || m->submenu || !m->lEnable || !lCallEvent) return false;
  if (!m->bAction) {
    oParent->screen().diagnostic("Error!! Action is not defined in menuItem");
    return false;
  }
  m->bAction(*m, *oParent);
  return true;
}

// ---- drawing and running ----------------------------------------------------

namespace {

// Columns of the top-level titles on the bar: each title is drawn with one
// blank on either side.
std::vector<int> title_columns(const Menu& m) {
  std::vector<int> cols;
  int c = 1;
  for (auto& it : m.aItem) {
    cols.push_back(c);
    c += static_cast<int>(it->label().size()) + 2;
  }
  return cols;
}

void draw_label(platform::Console& con, int row, int col, const MenuItem& it, int width, bool selected) {
  unsigned char attr = !it.lEnable ? (selected ? kOffSel : kOffAttr) : (selected ? kSelAttr : kBarAttr);
  std::string text = " " + it.label();
  if (it.submenu && width > 0 && it.oParent && row != 0) text = PADR(text, width - 2) + "\x10";
  text = PADR(text, width > 0 ? width : static_cast<long>(text.size()) + 1);
  con.put_text(row, col, text, attr);
  int h = hot_index(it.cPrompt);
  if (h >= 0 && it.lEnable)
    con.put(row, col + 1 + h, static_cast<unsigned char>(it.label()[static_cast<std::size_t>(h)]),
            selected ? kSelHot : kBarHot);
}

// One open popup: where it stands and what it covers.
struct Popup {
  std::vector<std::unique_ptr<MenuItem>>* items;
  int top, left, width, height;  // physical, frame included
  std::vector<platform::Cell> under;
  int selected = 0;
  std::vector<int> item_rows;    // physical row of each entry
};

int popup_width(const std::vector<std::unique_ptr<MenuItem>>& items) {
  std::size_t w = 0;
  for (auto& it : items) w = std::max(w, it->label().size() + (it->submenu ? 3 : 0));
  return static_cast<int>(w) + 4;  // frame and a blank either side
}

void open_popup(platform::Console& con, Popup& p) {
  int rows = 0;
  for (auto& it : *p.items) rows += it->lSeparator ? 2 : 1;
  if (!p.items->empty() && p.items->back()->lSeparator) --rows;  // no line after the last entry
  p.height = rows + 2;
  p.width = popup_width(*p.items);
  // Kept on the screen; a popup too big for it starts at its top-left.
  p.left = std::max(0, std::min(p.left, platform::kCols - p.width));
  p.top = std::max(1, std::min(p.top, platform::kRows - 1 - p.height));
  p.under = con.save(p.top, p.left, p.top + p.height - 1, p.left + p.width - 1);
  p.item_rows.clear();
  int r = p.top + 1;
  for (auto& it : *p.items) {
    p.item_rows.push_back(r);
    r += it->lSeparator ? 2 : 1;
  }
}

void draw_popup(platform::Console& con, const Popup& p) {
  int b = p.top + p.height - 1, rgt = p.left + p.width - 1;
  con.fill(p.top, p.left, b, rgt, ' ', kBarAttr);
  for (int c = p.left + 1; c < rgt; ++c) {
    con.put(p.top, c, 0xC4, kBarAttr);
    con.put(b, c, 0xC4, kBarAttr);
  }
  for (int r = p.top + 1; r < b; ++r) {
    con.put(r, p.left, 0xB3, kBarAttr);
    con.put(r, rgt, 0xB3, kBarAttr);
  }
  con.put(p.top, p.left, 0xDA, kBarAttr);
  con.put(p.top, rgt, 0xBF, kBarAttr);
  con.put(b, p.left, 0xC0, kBarAttr);
  con.put(b, rgt, 0xD9, kBarAttr);
  for (std::size_t i = 0; i < p.items->size(); ++i) {
    auto& it = *(*p.items)[i];
    draw_label(con, p.item_rows[i], p.left + 1, it, p.width - 2, static_cast<int>(i) == p.selected);
    if (it.lSeparator && i + 1 < p.items->size()) {
      int r = p.item_rows[i] + 1;
      con.put(r, p.left, 0xC3, kBarAttr);
      for (int c = p.left + 1; c < rgt; ++c) con.put(r, c, 0xC4, kBarAttr);
      con.put(r, rgt, 0xB4, kBarAttr);
    }
  }
}

void close_popup(platform::Console& con, const Popup& p) {
  con.restore(p.top, p.left, p.top + p.height - 1, p.left + p.width - 1, p.under);
}

}  // namespace

void Screen::draw_menu_bar(const Menu& m, int selected) {
  console_->fill(0, 0, 0, kScreenCols - 1, ' ', kBarAttr);
  auto cols = title_columns(m);
  for (std::size_t i = 0; i < m.aItem.size(); ++i)
    draw_label(*console_, 0, cols[i] - 1, *m.aItem[i], static_cast<int>(m.aItem[i]->label().size()) + 2,
               static_cast<int>(i) == selected);
}

int Screen::run_menu(int title, const Event* click, bool direct) {
  Dialog& d = LWindowActive();
  if (!d.oMenu || d.oMenu->aItem.empty()) return 0;
  Menu& m = *d.oMenu;
  auto cols = title_columns(m);
  int n = static_cast<int>(m.aItem.size());
  auto title_at = [&](int col) {
    for (int i = 0; i < n; ++i)
      if (col >= cols[static_cast<std::size_t>(i)] - 1 &&
          col < cols[static_cast<std::size_t>(i)] + static_cast<int>(m.aItem[static_cast<std::size_t>(i)]->label().size()) + 1)
        return i;
    return -1;
  };
  if (click) {
    title = title_at(click->col);
    if (title < 0) return 0;
  }
  int current = std::clamp(title, 0, n - 1);
  auto status_saved = console_->save(platform::kRows - 1, 0, platform::kRows - 1, kScreenCols - 1);
  std::vector<Popup> popups;
  int chosen = 0;

  auto show_hint = [&](const MenuItem* it) {
    console_->restore(platform::kRows - 1, 0, platform::kRows - 1, kScreenCols - 1, status_saved);
    if (it && !it->hint.empty()) {
      console_->fill(platform::kRows - 1, 0, platform::kRows - 1, kScreenCols - 1, ' ', kStatusAttr);
      console_->put_text(platform::kRows - 1, 0, it->hint, kStatusAttr);
    }
  };
  auto close_all = [&] {
    while (!popups.empty()) {
      close_popup(*console_, popups.back());
      popups.pop_back();
    }
  };
  auto open_title = [&](int i) {
    close_all();
    current = i;
    draw_menu_bar(m, current);
    MenuItem& t = *m.aItem[static_cast<std::size_t>(i)];
    if (t.submenu && !t.items.empty()) {
      Popup p{&t.items, 1, cols[static_cast<std::size_t>(i)] - 1, 0, 0, {}, 0, {}};
      open_popup(*console_, p);
      popups.push_back(std::move(p));
      draw_popup(*console_, popups.back());
      show_hint(t.items.front().get());
    } else {
      show_hint(&t);
    }
  };
  auto selected_item = [&]() -> MenuItem* {
    if (popups.empty()) return m.aItem[static_cast<std::size_t>(current)].get();
    auto& p = popups.back();
    return (*p.items)[static_cast<std::size_t>(p.selected)].get();
  };
  // Enter on the selected entry: a submenu opens, an enabled entry is chosen.
  auto choose = [&](MenuItem* it) -> bool {
    if (it->submenu) {
      if (it->items.empty()) return false;
      if (popups.empty()) { open_title(current); return false; }
      auto& parent = popups.back();
      int row = parent.item_rows[static_cast<std::size_t>(parent.selected)] - 1;
      Popup p{&it->items, row, parent.left + parent.width - 1, 0, 0, {}, 0, {}};
      open_popup(*console_, p);
      popups.push_back(std::move(p));
      draw_popup(*console_, popups.back());
      show_hint(it->items.front().get());
      return false;
    }
    if (!it->lEnable) return false;
    chosen = it->nSequence;
    return true;
  };
  auto move = [&](int delta) {
    auto& p = popups.back();
    int count = static_cast<int>(p.items->size());
    p.selected = (p.selected + delta + count) % count;
    draw_popup(*console_, p);
    show_hint(selected_item());
  };

  open_title(current);
  bool done = false;
  if ((direct || click) && !m.aItem[static_cast<std::size_t>(current)]->submenu)
    done = choose(m.aItem[static_cast<std::size_t>(current)].get());
  while (!done) {
    if (on_wait) on_wait();
    console_->refresh();
    Event ev = console_->next_event();
    if (ev.kind == Event::Quit) { quitting_ = true; break; }
    if (ev.kind == Event::Tick) continue;
    if (ev.kind == Event::Mouse) {
      if (ev.button != 1) continue;
      if (ev.row == 0) {
        int t = title_at(ev.col);
        if (t < 0) break;
        open_title(t);
        if (!m.aItem[static_cast<std::size_t>(t)]->submenu) done = choose(m.aItem[static_cast<std::size_t>(t)].get());
        continue;
      }
      // The innermost popup under the click takes it; a click outside every
      // popup closes the menu.
      bool inside = false;
      for (int pi = static_cast<int>(popups.size()) - 1; pi >= 0 && !inside; --pi) {
        auto& p = popups[static_cast<std::size_t>(pi)];
        if (ev.row < p.top || ev.row >= p.top + p.height || ev.col < p.left || ev.col >= p.left + p.width) continue;
        inside = true;
        while (static_cast<int>(popups.size()) > pi + 1) {
          close_popup(*console_, popups.back());
          popups.pop_back();
        }
        for (std::size_t i = 0; i < p.item_rows.size(); ++i)
          if (p.item_rows[i] == ev.row) {
            p.selected = static_cast<int>(i);
            draw_popup(*console_, p);
            done = choose((*p.items)[i].get());
          }
      }
      if (!inside) break;
      continue;
    }
    if (ev.kind != Event::Key) continue;
    int k = ev.key;
    if (k == key::kEsc) {
      if (popups.size() > 1) {
        close_popup(*console_, popups.back());
        popups.pop_back();
        show_hint(selected_item());
        continue;
      }
      break;
    }
    if (k == key::kLeft || k == key::kRight) {
      if (k == key::kLeft && popups.size() > 1) {
        close_popup(*console_, popups.back());
        popups.pop_back();
        continue;
      }
      if (k == key::kRight && !popups.empty() && selected_item()->submenu) {
        choose(selected_item());
        continue;
      }
      open_title((current + (k == key::kRight ? 1 : n - 1)) % n);
      continue;
    }
    if ((k == key::kUp || k == key::kDown) && !popups.empty()) {
      move(k == key::kDown ? 1 : -1);
      continue;
    }
    if (k == key::kHome && !popups.empty()) { move(-popups.back().selected); continue; }
    if (k == key::kEnd && !popups.empty()) {
      move(static_cast<int>(popups.back().items->size()) - 1 - popups.back().selected);
      continue;
    }
    if (k == key::kEnter) {
      done = choose(selected_item());
      continue;
    }
    // A hot letter: an entry of the open popup, or an Alt letter of a title.
    bool taken = false;
    for (int i = 0; i < n && !taken; ++i)
      if (char h = m.aItem[static_cast<std::size_t>(i)]->hot(); h && key::Alt(h) == k) {
        open_title(i);
        taken = true;
        if (!m.aItem[static_cast<std::size_t>(i)]->submenu) done = choose(m.aItem[static_cast<std::size_t>(i)].get());
      }
    if (taken || popups.empty() || k < 32 || k > 255) continue;
    char up = upper_char(static_cast<char>(k));
    auto& p = popups.back();
    for (std::size_t i = 0; i < p.items->size(); ++i)
      if ((*p.items)[i]->hot() == up) {
        p.selected = static_cast<int>(i);
        draw_popup(*console_, p);
        done = choose((*p.items)[i].get());
        break;
      }
  }
  close_all();
  console_->restore(platform::kRows - 1, 0, platform::kRows - 1, kScreenCols - 1, status_saved);
  draw_menu_bar(m);
  return chosen;
}

Menu& Screen::LMENU(Dialog* window) {
  Dialog& d = window ? *window : LWindowLast();
  d.oMenu = std::make_unique<Menu>(d);
  return *d.oMenu;
}

}  // namespace tx::screen
