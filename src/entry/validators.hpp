// The validations shared by the declaration's form screens, as pure checks.
//
// Each check takes the value being left (and, where it needs them, the
// other fields it reads and a reference-table lookup) and answers with a
// CheckResult: accept or refuse, the box to show, the fields it changes,
// the reference list to open for choosing and the texts to display. The
// screens show the box, store the changes and open the list; nothing here
// touches the screen, a file or another record.
//
// Lists opened for choosing: a result with `choose` set names the table
// whose browse opens. When the result refuses, the screen runs the check
// again with the row picked (and keeps the cursor in the field when the
// operator picks nothing); when it accepts, the pick (if any) simply
// replaces the value.
//
// The registry (validators()) holds the same checks by their names for
// the forms and the item editor's named checks; a CheckInput gives them
// the field being left, its value and the rest of the record.
//
// Interface
//   VE_LETRSN ESIMOUNAO MENSSIMNAO SNAO XOUNAO VETITUT VESIGLA VEEST
//   VENROREC VE_RETIF QUALBAN CECK_EXTERIOR VELOGRA VEESTADO VE_PAIS
//   NAT_OCU VERPROF DIZANOS CPF_CONJU PRENC_MANU VESEFINAL VEMORTE
//   VAL_DATDEC VESESAIDA ANO_CERTO
//   receipt_digits(10 digits) -> the two check digits of a receipt number
//   state_code(text)          -> one of the 27 state codes
//   References / MemoryReferences: the lookups over the reference tables
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date.hpp"
#include "base/decimal.hpp"
#include "screen/get_field.hpp"

namespace tx::entry {

using screen::GetValue;

// A field the check changes, with its new value (text "" = blank).
struct Assign {
  std::string field;
  GetValue value;
  friend bool operator==(const Assign&, const Assign&) = default;
};

struct CheckResult {
  bool ok = true;
  std::vector<std::string> message;        // the box: the refusal, or a notice on acceptance
  std::vector<Assign> sets;                // fields changed (the field left included)
  std::string choose;                      // reference table to browse for choosing, "" none
  std::map<std::string, std::string> shown;  // display-only texts, by slot (see each check)
  bool restart = false;                    // the form is entered again, window redrawn
};

// ---- reference tables ------------------------------------------------------

struct RefRow {
  std::string code;
  std::string name;
};

struct BankRow {
  std::string code;
  std::string name;
  bool debit = false;  // takes automatic debit (OK "S")
};

struct MunicipalityRow {
  std::string code;
  std::string name;
  std::string uf;  // blank for the places abroad
};

struct EmbassyRow {
  std::string code;
  std::string city;     // NM_CIDADE
  std::string country;  // NM_PAIS
  std::string rep;      // NM_REP
};

// Codes compare without blanks and, when all digits, by number ("01" = "1");
// names compare upper-cased without surrounding blanks.
class References {
 public:
  virtual ~References() = default;
  // BANCOS: the code is there (only banks taking automatic debit when
  // debit_only).
  virtual bool bank(std::string_view code, bool debit_only) const = 0;
  // TABLOGR: the street type's own text (NOMELOGRA) for a typed text.
  virtual std::optional<std::string> street_type(std::string_view text) const = 0;
  // TABMUNI restricted to a state (blank: the rows with a blank state): the
  // first municipality, in name order, whose name begins with `name`.
  virtual std::optional<MunicipalityRow> municipality(std::string_view uf,
                                                      std::string_view name) const = 0;
  virtual std::optional<RefRow> country(std::string_view code) const = 0;       // TABPAIS
  virtual std::optional<EmbassyRow> embassy(std::string_view code) const = 0;   // TABEMBA
  virtual std::optional<RefRow> nature_by_code(std::string_view code) const = 0;       // CODNATUR
  virtual std::optional<RefRow> nature_by_name(std::string_view name) const = 0;
  virtual std::optional<RefRow> occupation_by_code(std::string_view code) const = 0;   // OCUPACAO
  virtual std::optional<RefRow> occupation_by_name(std::string_view name) const = 0;
};

// The lookups over rows held in memory (loaded from the tables, or given by
// a test).
class MemoryReferences : public References {
 public:
  std::vector<BankRow> banks;
  std::vector<RefRow> street_types;  // code unused; name = NOMELOGRA
  std::vector<MunicipalityRow> municipalities;
  std::vector<RefRow> countries;
  std::vector<EmbassyRow> embassies;
  std::vector<RefRow> natures;
  std::vector<RefRow> occupations;

  bool bank(std::string_view code, bool debit_only) const override;
  std::optional<std::string> street_type(std::string_view text) const override;
  std::optional<MunicipalityRow> municipality(std::string_view uf,
                                              std::string_view name) const override;
  std::optional<RefRow> country(std::string_view code) const override;
  std::optional<EmbassyRow> embassy(std::string_view code) const override;
  std::optional<RefRow> nature_by_code(std::string_view code) const override;
  std::optional<RefRow> nature_by_name(std::string_view name) const override;
  std::optional<RefRow> occupation_by_code(std::string_view code) const override;
  std::optional<RefRow> occupation_by_name(std::string_view name) const override;
};

// The CPF check digits (done by the identifier checks, passed in): ok, and
// the box when refused.
struct IdVerdict {
  bool ok = true;
  std::vector<std::string> message;
};
using CpfCheck = std::function<IdVerdict(std::string_view cpf, bool required)>;

// ---- the checks --------------------------------------------------------------

extern const std::vector<std::string> kStateCodes;  // the 27, in their order
bool state_code(std::string_view text);
std::string receipt_digits(std::string_view base10);  // "" unless 10 digits

// blank, "S", "N"
CheckResult VE_LETRSN(std::string_view v);
// "S", "N"
CheckResult ESIMOUNAO(std::string_view v);
// always refuses; the box is the S/N request followed by `text`
CheckResult MENSSIMNAO(std::string_view text);
CheckResult SNAO(std::string_view v);
// "1" to "3"
CheckResult XOUNAO(std::string_view v);
// mode 2: only "N", silently; else "S" (the titular's) or "N" (dependants')
CheckResult VETITUT(std::string_view v, int mode);
// the 27 states and "EX", silently
CheckResult VESIGLA(std::string_view v);
// the 27 states; then the donation funds of the state (ECACIDAD) are offered
CheckResult VEEST(std::string_view state);
// A receipt number of `field`: empty, 12 digits with the right check
// digits, or 10 digits (completed with them, stored back in `field`).
CheckResult VENROREC(std::string_view number, std::string_view field = "NRORECIBO");
// VE_LETRSN; "S" moves a RECIBOATU number into NRORECIBO
CheckResult VE_RETIF(std::string_view v, std::string_view reciboatu);
// A blank bank, or any value while a screen jump is pending, is accepted;
// otherwise the bank must be in BANCOS (taking automatic debit when there
// is tax to pay and DEBITAUT is "S"), else the note on banks and the list.
CheckResult QUALBAN(const References& refs, std::string_view code, bool jump_pending,
                    bool tax_to_pay, std::string_view debitaut);
enum class Residence { Brazil, Abroad };  // which flag is left: EBRASIL / EXTERIOR
CheckResult CECK_EXTERIOR(std::string_view v, Residence which);
// TIPOEND: skipped abroad; else the street type's own text, or the list
CheckResult VELOGRA(const References& refs, std::string_view text, bool abroad);
// UF / MUNICIPIO (on_state_field: the state is the field left)
CheckResult VEESTADO(const References& refs, std::string_view uf, std::string_view municipio,
                     bool on_state_field);
// CODPAIS / CODEMB: shown "pais" (40 wide) and "embaixada" (62 wide)
CheckResult VE_PAIS(const References& refs, std::string_view codpais, std::string_view codemb);
enum class LookupBy { Code, Name };
// CODAT (by code) / DESCRAT (by description)
CheckResult NAT_OCU(const References& refs, LookupBy by, std::string_view v);
// CDPRO (by code) / OCUPACAO (by name)
CheckResult VERPROF(const References& refs, LookupBy by, std::string_view v);
// Always accepts. shown "anos" (3 wide), "meses" (2 wide) and, near a
// birthday, "aniversario".
CheckResult DIZANOS(Date birth, Date today);
// CPFCONJU: optional CPF; blank turns I9_4 "N" and clears the spouse values
CheckResult CPF_CONJU(std::string_view cpf, const CpfCheck& check);
// I9_5: "S" warns and sets CONJPAD "S"; "N" clears the spouse values
CheckResult PRENC_MANU(std::string_view v);
enum class EstateFlag { Final, Judicial };  // DECFINAL / DECJUDI
// `on_entry`: the flag's value when the form was entered. shown "escritura"
// (the judicial flag's opposite).
CheckResult VESEFINAL(std::string_view v, EstateFlag which, std::string_view on_entry,
                      std::string_view decjudi, Decimal qtd_quota);
CheckResult VEMORTE(std::string_view v);
CheckResult VAL_DATDEC(Date decision, Date partition);
// DECSAIDA
CheckResult VESESAIDA(std::string_view v);
enum class DepartureDate { Departure, Residence };  // DATASAIDA / DATADECIS
CheckResult ANO_CERTO(Date d, DepartureDate which, Date datasaida);

// The spouse values cleared (I13_1C to I13_5C, I9_2, I9_3 zero, I13_43 = I9_2).
std::vector<Assign> clear_spouse_values();

// ---- by name -----------------------------------------------------------------

using FieldGetter = std::function<GetValue(std::string_view field)>;

struct CheckInput {
  std::string field;        // the field being left
  GetValue value;           // its value as typed
  FieldGetter get;          // the record's other fields, as they are now
  FieldGetter on_entry;     // as when the form was entered (empty: `get`)
  std::string arg;          // MENSSIMNAO's text, VETITUT's mode
  const References* refs = nullptr;  // none: every lookup fails
  CpfCheck cpf;             // none: any CPF passes
  Date today;
  bool jump_pending = false;  // a screen key is taking the operator elsewhere
};

using Validator = std::function<CheckResult(const CheckInput&)>;

class Validators {
 public:
  void add(const std::string& name, Validator v) { table_[name] = std::move(v); }
  const Validator* find(std::string_view name) const;
  std::vector<std::string> names() const;

 private:
  std::map<std::string, Validator, std::less<>> table_;
};

// Every check above, by its name.
const Validators& validators();

}  // namespace tx::entry
