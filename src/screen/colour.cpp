#include "screen/colour.hpp"

#include <cctype>

#include "base/xbase.hpp"

namespace tx::screen {

namespace {

constexpr std::string_view kNames[8] = {"N", "B", "G", "BG", "R", "BR", "GR", "W"};

// Reads one half ("GR+", "W*", "" ...): colour 0-7 plus the marks found.
bool read_half(std::string_view half, int& colour, bool& plus, bool& star) {
  colour = 0;
  std::string letters;
  for (char c : half) {
    if (c == '+') plus = true;
    else if (c == '*') star = true;
    else if (c == ' ') continue;
    else letters += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  if (letters.empty()) return true;
  if (letters == "I") { colour = -1; return true; }  // inverse, handled by caller
  // "RB" and "GB" are accepted spellings of BR and BG.
  if (letters == "RB") letters = "BR";
  if (letters == "GB") letters = "BG";
  for (int i = 0; i < 8; ++i)
    if (letters == kNames[i]) { colour = i; return true; }
  return false;
}

}  // namespace

std::string ACHACOR(int attribute) {
  int a = attribute & 0xFF;
  int fg = a & 0x0F, bg = a >> 4;
  std::string s(kNames[fg & 7]);
  if (fg & 8) s += '+';
  s += '/';
  s += kNames[bg & 7];
  if (bg & 8) s += '*';
  return s;
}

std::optional<int> colour_attr(std::string_view colour) {
  std::string_view first = colour.substr(0, colour.find(','));
  auto slash = first.find('/');
  std::string_view fg_text = first.substr(0, slash);
  std::string_view bg_text = slash == std::string_view::npos ? std::string_view{} : first.substr(slash + 1);
  int fg = 0, bg = 0;
  bool plus = false, star = false;
  if (!read_half(fg_text, fg, plus, star) || !read_half(bg_text, bg, plus, star)) return std::nullopt;
  if (fg < 0 || bg < 0) { fg = 0; bg = 7; }  // "I": inverse video
  int attr = bg * 16 + fg;
  if (plus) attr |= 0x08;
  if (star) attr |= 0x80;
  return attr;
}

int ACHACOR(std::string_view colour) { return colour_attr(colour).value_or(7); }

std::string colour_slot(std::string_view composite, int index) {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    auto comma = composite.find(',', start);
    if (comma == std::string_view::npos) return "";
    start = comma + 1;
  }
  auto end = composite.find(',', start);
  return std::string(composite.substr(start, end == std::string_view::npos ? end : end - start));
}

void ColourScheme::rebuild() {
  CORNORM = COR_SAY + "," + COR_GET + ",N/N,N/N," + COR_SAY;
  CORLIMP = COR_1_CLI + "," + COR_GET + ",N/N,N/N," + COR_SAY;
  CORSELE = COR_CLI_HE + "," + COR_GET + ",N/N,N/N," + COR_SAY;
  CORMENU = COR_1_CLI + "," + COR_ESC_CL + "," + COR_ENCH_C + "," + COR_ENCH_C + "," + COR_2_CLI +
            "," + COR_2_CLI;
}

void ColourScheme::reset_panel_strings() {
  COR_1_CLI = "GR+/B";
  COR_2_CLI = "W+/B";
  COR_INI = "W+/B";
}

#define TX_NUM(n) ColourField{#n, &ColourScheme::n, nullptr, 3}
#define TX_STR(n) ColourField{#n, nullptr, &ColourScheme::n, 10}
const ColourField kColourFields[17] = {
    TX_NUM(COR_TEL1),  TX_NUM(COR_TEL2),  TX_NUM(COR_TEL3),   TX_NUM(COR_MENS),
    TX_NUM(COR_PEGA),  TX_NUM(COR_HELP),  TX_NUM(COR_FERID),  TX_NUM(COR_ESCOL),
    TX_NUM(COR_ENCHE), TX_STR(COR_1_CLI), TX_STR(COR_2_CLI),  TX_STR(COR_INI),
    TX_STR(COR_SAY),   TX_STR(COR_GET),   TX_STR(COR_CLI_HE), TX_STR(COR_ESC_CL),
    TX_STR(COR_ENCH_C),
};
#undef TX_NUM
#undef TX_STR

std::string colour_field_text(const ColourScheme& s, const ColourField& f) {
  if (f.number) return PADL(std::to_string(s.*f.number), f.width);
  return PADR(s.*f.text, f.width);
}

void set_colour_field(ColourScheme& s, const ColourField& f, std::string_view text) {
  std::string t = ALLTRIM(text);
  if (f.number) {
    if (t.empty() || t.size() > 3) return;
    int v = 0;
    for (char c : t) {
      if (c < '0' || c > '9') return;
      v = v * 10 + (c - '0');
    }
    if (v <= 255) s.*f.number = v;
  } else if (!t.empty() && colour_attr(t)) {
    s.*f.text = t;
  }
}

bool CRIACOR(ColourStore& store, std::string_view terminal, ColourScheme& scheme) {
  if (auto found = store.load(terminal)) {
    scheme = *found;
    scheme.rebuild();
    return true;
  }
  scheme = ColourScheme{};
  return store.save(terminal, scheme);
}

bool GRAVACOR(ColourStore& store, std::string_view terminal, const ColourScheme& scheme) {
  return store.save(terminal, scheme);
}

}  // namespace tx::screen
