// The catalogue of item lists: every table list of the item editor as a
// ListDescriptor, by list code and by name.
//
//   catalogue_codes()              the list codes the catalogue holds, ascending
//   catalogue_list(code, ctx)      the descriptor of a list, built for the
//                                  declaration it runs in (ctx); code 0 in the
//                                  result for a code the catalogue does not hold
//   catalogue_list(name, ctx)      the same by catalogue name (variants that
//                                  share a code, such as the three sub-screens
//                                  of the people list, have their own names)
//   catalogue_names()              every name, with the code it runs as
//   register_catalogue(ed, ctx)    puts every named list into ed.catalogue
//   year_captions(ctx)             headings of the two value columns of the
//                                  assets and debts lists
//
// The rows are plain data: the table each list edits (working copy 21-40 of
// the declaration table n-20 for the lists of an open declaration; the office
// and register tables by their number), the filter of its rows, its columns
// (heading, field, shown width, picture, checks by name), window, frozen and
// start columns, ULT_POS, hint line and capabilities. The checks are named
// here and registered by whoever implements them; a name not registered
// leaves the cell unchecked (the value is stored).
//
// Check names used by the rows (besides the named ones of the editor:
// TES_COD, TES_MES, TES_PAIS, TES_SIT, CONF_DEP, VEJA_IMOV, VERAA, VAL_COD,
// VAL_PART, CALUCRO, TROCA_NAO):
//   TOTAIS        store, the income totals recomputed
//   TOT_BENS      store, the asset totals; TOT_DIVIDAS the debt totals;
//                 TOT_DIV_RURAL the rural debt totals
//   CPF_CNPJ      punctuation, CPF or CNPJ check digits; CPF_CNPJ_DEP the same
//                 for a dependant's line; CPF_NIT by the payment code
//   CPF           CPF check digits
//   CPF_DEPEN     CPF check digits, must be a registered dependant (the
//                 registered CPF replaces the typed one)
//   CPF_ALIMENT   CPF check digits, must be a registered alimony receiver
//   LIM_65        the exempt pension limit of a holder aged 65 or more;
//                 LIM_65_DEP the dependant's own limit
//   MOLESTIA      exempt pension for illness: retired holders only, otherwise
//                 kept after a confirmation
//   CALC_RAA      store, tax of the accumulated income recomputed;
//                 CALC_RAA_MESES the same requiring the months
//   MES_RAA       the month of receipt is required
//   IR_CALCULADO  refused: the computed tax cannot be changed
//   CALCULADO     refused: the computed rural results cannot be edited
//   TEM_ALIMENT   (before input) alimony codes need a registered receiver
//   LIM_PAGTO     donation and deduction limits, store
//   NAO_DEDUT     non-deductible part, store
//   DESC_POPUP    the description pop-up of a long description
//   CAIXA_EXT     the abroad column of the cash book is refused
// Display accessors: DESC_STATUS (status description of ESTATUS).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "items/list_descriptor.hpp"

namespace tx::items {

class ItemEditor;

struct CatalogueContext {
  bool exit_declaration = false;  // DECSAIDA = "S"
  bool final_estate = false;      // DECFINAL = "S"
  bool abroad = false;            // rural activity abroad (ATV_BRASIL)
  bool rural = false;             // the taxpayer has rural activity
  bool dependants = false;        // accumulated income and monthly details: a dependant's lines
  std::string dependant_cpf;      // monthly details of a dependant
  int notes_from = 0;             // notes list opened by: 0 the menu, 1 the check, 2 its list of errors
  char kind = 0;                  // column kind of lists 17, 18, 24 and 38
  bool transfer = false;          // taxpayers list: transfer instead of deletion
  bool expense_percent = true;    // details of a total with "% DESP"
  std::string operator_name;      // agenda headings
  std::string agenda_day;         // date and weekday of the agenda of the day
};

struct YearCaptions {
  std::string first;          // CANOAN
  std::string assets_second;  // CANOBA
  std::string debts_second;   // CDIVBA
};
YearCaptions year_captions(const CatalogueContext& ctx);

// Tables of the office lists not given by the item modules themselves.
inline constexpr int kTaxpayerTable = 9;
inline constexpr int kPrintsTable = 41;
inline constexpr int kCorrectedTable = 44;
inline constexpr int kAssetDescTable = 52;
inline constexpr int kContasTable = 62;
inline constexpr int kStatusTable = 66;
inline constexpr int kBoletoTable = 67;
inline constexpr int kDetalhTable = 68;
inline constexpr int kLisNomeTable = 70;
inline constexpr int kAgendaTable = 72;
inline constexpr int kPayersTable = 74;

// Working copy of a declaration table.
constexpr int working(int table) { return table + 20; }

std::vector<int> catalogue_codes();
std::vector<std::pair<std::string, int>> catalogue_names();
ListDescriptor catalogue_list(int code, const CatalogueContext& ctx = {});
ListDescriptor catalogue_list(const std::string& name, const CatalogueContext& ctx = {});
void register_catalogue(ItemEditor& ed, const CatalogueContext& ctx = {});

// The builders, one family per source file.
ListDescriptor declaration_list(int code, const CatalogueContext& ctx);  // code 0: not one
ListDescriptor office_list(int code, const CatalogueContext& ctx);
ListDescriptor people_list(int subscreen, const CatalogueContext& ctx);  // 41, 42, 45

}  // namespace tx::items
