// The declaration's screens and how the operator moves between them.
//
// The catalogue is plain data: every screen (1 to 17, and the zoom screens
// 22 and 23) with its items, the name of its fixed layout, its window on
// the 25 x 80 screen, its headings, the status-line hint it writes and the
// editor that runs it; the index bar of row 0; the two numbered hint sets.
//
// Navigation is one pure function: from the screen and item that just ran,
// the declaration flags that decide what is reachable, and the key that
// ended the screen, it answers with the next screen and item, "leave"
// (back to the declaration's menu bar) or "stay". The screen driver, the
// function-key and Tab handlers and the jump from inside an editor are thin
// wrappers over it. Nothing here draws.
//
// Every screen opened without a menu item of its own opens on the item of
// the fixed default table (default_item), never on screen x 10 + 1: that
// rule breaks for the balance (72), the notes (62) and the rural screens
// (101 to 106).
//
// Interface
//   screen_pages() find_page(screen, item) default_item(screen)
//   screen_of_item(item) headings(page, item, flags, zoom)
//   index_bar() kIndexBarText hints() hint_text(set, number, HintFlags)
//   telamax(rural) settle_screen(screen, rural) next_telant(telant, tela)
//   navigate(state, key)  GIRO's choice of the next screen
//   MUDATEL(state, key)   function keys while a screen runs
//   MUDATAB(state, key)   Tab and Shift+Tab while a screen runs
//   QUETEL(state, screen, as_pgdn)  jump from inside an editor
//   open_item(state, item, why)     a menu item of the declaration's menu bar
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tx::entry {

// ---------------------------------------------------------------- catalogue

// Rows and columns of the 25 x 80 screen, both ends included.
struct Window {
  int top = 0, left = 0, bottom = 0, right = 0;
  friend bool operator==(const Window&, const Window&) = default;
};

// kScreenThree is the exempt-income page's own line (number 1).
enum class HintSet { kNone, kScreen, kRural, kScreenThree };  // MRODAPE / MRODAPER

struct Hint {
  HintSet set = HintSet::kNone;  // kNone: the screen's editor writes its own
  int number = 0;
  friend bool operator==(const Hint&, const Hint&) = default;
};

// When a heading (or the second window) applies.
enum class Variant {
  kAlways,
  kSimplified,   // simplified model
  kComplete,     // complete model
  kBrazil,       // rural activity in Brazil
  kAbroad,       // rural activity abroad
  kAssets,       // zoom screen showing the assets
  kDebts,        // zoom screen showing the debts
  kFinalEstate,  // final estate declaration
  kResident,     // the taxpayer lives in Brazil
  kNonResident,  // the taxpayer lives abroad
};

struct Heading {
  Variant when = Variant::kAlways;
  std::string_view text;
};

enum class Editor { kIncomeLists, kMonthlySheet, kForm, kList, kCapitalGain, kVariableIncome, kRural, kFormAndList };

struct ScreenPage {
  int screen = 0;
  std::vector<int> items;
  std::string_view layout;  // name of the fixed layout drawn before the values
  Window window;
  std::optional<Window> alt_window;  // used when alt_window_when applies
  Variant alt_window_when = Variant::kAlways;
  std::vector<Heading> headings;  // every line that applies is shown
  Hint hint;
  Editor editor = Editor::kForm;
  std::string_view footer;
};

const std::vector<ScreenPage>& screen_pages();
// The page of a screen that holds an item; for an item the screen does not
// have, the screen's first page; nullptr for a screen that does not exist.
const ScreenPage* find_page(int screen, int item);
// The item a screen opens on when it is not opened through a menu item.
// 0 for a screen that does not exist.
int default_item(int screen);
// The screen that shows a menu item (52/53 -> 23, 54/55 -> 22, 62 -> 11,
// 72 -> 10, 101..106 -> 12..17); 0 when no screen shows it.
int screen_of_item(int item);

struct DeclFlags {
  bool rural = false;          // TEMRURAL "S"
  bool rural_abroad = false;   // ATV_BRASIL "N"
  bool simplified = false;     // USAPADRAO "S"
  bool final_estate = false;   // final estate declaration
  bool departure = false;      // definitive departure
  bool lives_abroad = false;   // taxpayer resident abroad
  int dependants = 0;          // QTD_DEP
  friend bool operator==(const DeclFlags&, const DeclFlags&) = default;
};

enum class Zoom { kAssets, kDebts };

// The headings of a page as shown for this item and declaration. Screen 8
// adds " de dependente" to its title for items above 83.
std::vector<std::string> headings(const ScreenPage& page, int item, const DeclFlags& flags, Zoom zoom);
// The window of a page for this declaration.
Window window_of(const ScreenPage& page, const DeclFlags& flags);

struct IndexEntry {
  int screen;
  std::string_view label;
};
inline constexpr std::string_view kIndexBarText =
    "1=PJ 2=PF 3=Ise 4=Pgto 5=Bem 6=Iden 7=Cal 8=GCap 9=RVar 10=Balan 11=notas 12=AAR";
inline constexpr Window kIndexBarWindow{0, 0, 0, 79};
const std::vector<IndexEntry>& index_bar();

struct HintEntry {
  HintSet set;
  int number;
  std::string_view text;
  bool centred = false;
};
const std::vector<HintEntry>& hints();

// What the variable hints depend on.
struct HintFlags {
  bool simplified = false;  // number 7
  int cal_auto = 0;         // number 12: CAL_AUTO
  bool so_rec = false;      // number 12: SO_REC
  bool cash_book = false;   // rural 2: the cash book is in use
};
struct HintLine {
  std::string text;  // empty: the line is cleared
  bool centred = false;
  friend bool operator==(const HintLine&, const HintLine&) = default;
};
HintLine hint_text(HintSet set, int number, const HintFlags& flags = {});

// --------------------------------------------------------------- navigation

// TELAMAX: the highest ordinary screen.
int telamax(bool rural);
// The screen the driver actually runs for a requested one (0: none).
int settle_screen(int screen, bool rural);
// TELANT after showing a screen: the balance screen does not count.
int next_telant(int telant, int tela);

struct NavState {
  int screen = 0;           // TELA
  int item = 0;             // OPCIR_1
  DeclFlags flags;
  bool first_time = false;  // PVEZ
  Zoom zoom22 = Zoom::kAssets;  // ZOOM_BEM / ZOOM_DIV
  Zoom zoom23 = Zoom::kAssets;  // ZOOM_BEM2 / ZOOM_DIV2
};

enum class NavKind {
  kGo,                // run screen/item next
  kLeave,             // back to the declaration's menu bar (TELA 0)
  kStay,              // the key does not change the screen
  kCloseDeclaration,  // leave the declaration altogether (Alt+T)
};

struct NavResult {
  NavKind kind = NavKind::kStay;
  int screen = 0;  // 0 for kLeave and kCloseDeclaration
  int item = 0;    // OPCIR_1 afterwards (kept on leaving: the menu bar opens on its menu)
  bool first_time = false;
  Zoom zoom22 = Zoom::kAssets;
  Zoom zoom23 = Zoom::kAssets;
  friend bool operator==(const NavResult&, const NavResult&) = default;
};

// The next screen after `state.screen` was ended by `key`.
NavResult navigate(const NavState& state, int key);
// The forward (Tab, PgDn) and backward (Shift+Tab, PgUp) moves alone.
NavResult move_forward(const NavState& state);
NavResult move_backward(const NavState& state);

// Function keys while a screen runs: F1-F12, Alt+F1 and Alt+F2 end the
// entry and request a screen; Alt+T leaves the declaration; anything else
// stays (Alt+S, Alt+H and Alt+U are served in place).
NavResult MUDATEL(const NavState& state, int key);
// Tab and Shift+Tab while a screen runs; anything else stays.
NavResult MUDATAB(const NavState& state, int key);
// Jump to `screen` from inside an editor. With as_pgdn the requested
// screen is left at once as if PgDn had ended it: the move goes on forward
// from it.
NavResult QUETEL(const NavState& state, int screen, bool as_pgdn = false);

// Why a menu item does not open its screen.
enum class Refusal { kNone, kUnknownItem, kNoRural, kNoDependants, kSimplified, kNotFinalEstate,
                     kFinalEstate, kDeparture, kRuralAbroad };
// A menu item of the declaration's menu bar: the screen it opens (zoom set
// for 52 to 55) or kStay with the reason when a guard refuses it.
NavResult open_item(const NavState& state, int item, Refusal* why = nullptr);

}  // namespace tx::entry
