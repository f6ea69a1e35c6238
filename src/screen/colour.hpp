// Colours: attributes, colour strings and the terminal's colour scheme.
//
// Interface
//   ACHACOR(attribute)  -> colour string "fg/bg": names N B G BG R BR GR W for
//                          0-7, "+" after a bright foreground (8-15), "*" after
//                          a bright background (8-15: blinking is off, so the
//                          blink bit gives the bright background).
//                          30 -> "GR+/B", 112 -> "N/W", 63 -> "W+/BG".
//   ACHACOR(colour)     -> attribute of a colour string. "+" anywhere sets the
//                          bright foreground and "*" anywhere the bright
//                          background ("N/W+" = 120, "W*/B" = 151, "N/W*" = 240);
//                          "I" is N/W; a missing half is black. Only the first
//                          slot of a composite ("W/N,N/W,...") is read. An
//                          unreadable string gives 7 (colour_attr() says so).
//   colour_slot(composite, i) -> slot i (0-based) of a comma list, "" if absent.
//
//   ColourScheme        the seventeen stored variables with their defaults,
//                       the composites rebuilt from them (rebuild()), and the
//                       two fixed composites. kColourFields lists the stored
//                       ones in record order, for the colour table.
//   ColourStore         where a terminal's scheme is kept (one record per
//                       terminal); CRIACOR / GRAVACOR read and write through it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tx::screen {

std::string ACHACOR(int attribute);
int ACHACOR(std::string_view colour);
std::optional<int> colour_attr(std::string_view colour);
std::string colour_slot(std::string_view composite, int index);

struct ColourScheme {
  // Numeric attributes (background * 16 + foreground).
  int COR_TEL1 = 30;   // panel text
  int COR_TEL2 = 31;   // panel frames
  int COR_TEL3 = 63;   // shadows, highlights
  int COR_MENS = 112;  // message line
  int COR_PEGA = 15;   // entry fields
  int COR_HELP = 112;  // help and notice panels
  int COR_FERID = 28;  // emphasis derived from the chosen-item colour
  int COR_ESCOL = 79;  // chosen item of a choice panel
  int COR_ENCHE = 31;  // screen background
  // Colour strings.
  std::string COR_1_CLI = "GR+/B";
  std::string COR_2_CLI = "W+/B";
  std::string COR_INI = "W+/B";
  std::string COR_SAY = "N/W+";
  std::string COR_GET = "W/N";
  std::string COR_CLI_HE = "N/W";
  std::string COR_ESC_CL = "W/R+";
  std::string COR_ENCH_C = "W+/B";
  // Composites, rebuilt by rebuild() (normal, highlighted, border,
  // background, unselected).
  std::string CORNORM, CORLIMP, CORSELE, CORMENU;
  static constexpr std::string_view INVISIVEL = "W/W,W/W,N/N,N/N,W/W";
  static constexpr std::string_view CORATEN = "R/W*";

  ColourScheme() { rebuild(); }
  void rebuild();
  // The three panel strings go back to their defaults whenever a panel is
  // written.
  void reset_panel_strings();
};

// One stored variable: its field name and where it lives in the scheme.
struct ColourField {
  std::string_view name;
  int ColourScheme::*number;          // null for a string variable
  std::string ColourScheme::*text;    // null for a numeric variable
  int width;                          // N 3 or C 10
};
extern const ColourField kColourFields[17];

// Field value as stored text: numbers right-aligned in 3, strings padded to 10.
std::string colour_field_text(const ColourScheme& s, const ColourField& f);
// Sets the field from stored text; a bad number or colour keeps the default.
void set_colour_field(ColourScheme& s, const ColourField& f, std::string_view text);

class ColourStore {
 public:
  virtual ~ColourStore() = default;
  // The terminal's record, or nullopt when it has none.
  virtual std::optional<ColourScheme> load(std::string_view terminal) = 0;
  // Writes (or appends) the terminal's record; false when it could not be
  // locked or written.
  virtual bool save(std::string_view terminal, const ColourScheme& scheme) = 0;
};

// Loads the terminal's scheme into `scheme`; a terminal without a record
// gets one with the defaults. Returns false when that record could not be
// written (the defaults are still used).
bool CRIACOR(ColourStore& store, std::string_view terminal, ColourScheme& scheme);
// Saves the scheme; false when the record could not be locked or written.
bool GRAVACOR(ColourStore& store, std::string_view terminal, const ColourScheme& scheme);

}  // namespace tx::screen
