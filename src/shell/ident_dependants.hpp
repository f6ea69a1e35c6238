// Dependant CPF fields: a field that must hold the CPF of one of the
// taxpayer's dependants (kind 1: CODIDEPEN below 98) or alimony recipients
// (kind 2: CODIDEPEN 98 or 99), looked up in the working copy of the
// dependants (area 23). Used by the income lines (I1_8), the DARF screen
// (M->CPFDEPEN) and the capital-gain screen (M->CPFALIEN).
//
//   VERCPFDEPE(pick, field, cpf, notify)  the CPF's check digits first (a
//           wrong one is told through notify and refused); then VE_RELDEP
//           kind 1 (kind 2 for M->CPFALIEN)
//   VE_RELDEP(pick, cpf, field, kind, notify)  an empty CPF opens the list
//           of those persons at once; a CPF found among them is taken (for
//           I1_8 the line becomes a dependant's, I1_1 "D", through the pick
//           list's put hook); a CPF not found is told ("CPF digitado não
//           consta na relação dos " + "dependentes" / "alimentandos") and
//           the list opens. A choice from the list replaces cpf. The area
//           selected before is selected again and the field is accepted.
#pragma once

#include <string>
#include <string_view>

#include "screen/picklist.hpp"
#include "shell/identifiers.hpp"

namespace tx::shell {

inline constexpr int kDependantsCopy = 23;

bool VERCPFDEPE(screen::PickList& pick, storage::Tables& tables, std::string_view field, std::string& cpf,
                const IdNotify& notify);
bool VE_RELDEP(screen::PickList& pick, storage::Tables& tables, std::string& cpf, std::string_view field, int kind,
               const IdNotify& notify);

}  // namespace tx::shell
