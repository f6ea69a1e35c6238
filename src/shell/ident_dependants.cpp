// Checks of the fields that hold a dependant's or alimony recipient's CPF.
#include "shell/ident_dependants.hpp"

#include "base/codepage.hpp"
#include "base/xbase.hpp"

namespace tx::shell {

namespace {

bool in_kind(Decimal code, int kind) {
  const long long c = code.to_long();
  return kind == 2 ? (c == 98 || c == 99) : c < 98;
}

// True when a person of that kind has the CPF (the area's position is kept).
bool listed(storage::WorkArea& deps, const std::string& cpf, int kind) {
  if (!deps.used()) return false;
  const std::uint32_t keep = deps.recno();
  bool found = false;
  for (deps.go_top(); !deps.eof() && !found; deps.skip())
    found = deps.trimmed("CPFDEPEN") == cpf && in_kind(deps.get_number("CODIDEPEN"), kind);
  if (keep) deps.go(keep);
  return found;
}

}  // namespace

bool VERCPFDEPE(screen::PickList& pick, storage::Tables& tables, std::string_view field, std::string& cpf,
                const IdNotify& notify) {
  if (!VAL_CPF(cpf, false, 0, 0, 0, notify)) return false;
  const int kind = UPPER(field) == "M->CPFALIEN" ? 2 : 1;
  return VE_RELDEP(pick, tables, cpf, field, kind, notify);
}

bool VE_RELDEP(screen::PickList& pick, storage::Tables& tables, std::string& cpf, std::string_view field, int kind,
               const IdNotify& notify) {
  const std::string typed = TIRA_PONTO(cpf);
  storage::WorkArea& deps = tables.area(kDependantsCopy);
  if (!typed.empty() && listed(deps, typed, kind)) {
    if (UPPER(field) == "I1_8" && pick.hooks.put) pick.hooks.put("I1_1", std::string("D"));
    return true;
  }
  if (!typed.empty() && notify)
    notify({"CPF digitado não consta na relação dos "_cp + (kind == 2 ? "alimentandos" : "dependentes")});
  // The list of the field, or of the kind when the field has none of its own.
  const screen::PickDef* def = screen::find_pick_list(field);
  if (!def || def->table != kDependantsCopy) def = screen::find_pick_list(kind == 2 ? "M->CPFALIEN" : "M->CPFDEPEN");
  pick.QUALHLP = std::string(field);
  screen::PickResult r = pick.show(*def);
  for (const auto& [target, value] : r.values)
    if (UPPER(target) == UPPER(field))
      if (auto s = std::get_if<std::string>(&value)) cpf = *s;
  return true;
}

}  // namespace tx::shell
