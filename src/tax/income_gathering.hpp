// Gathering of the income items into the totals: company income of the
// titular ("J") and of the dependants ("D"), accumulated income ("A"), the
// exempt and exclusive lines the items feed, and the totals I13_44/I13_45.
//
// Interface
//   FI1_T(decl, t)          the items into t: I13_01, I13_02, I13_05, I13_06,
//                           I13_17, I13_27, I13_28, I13_10A/B, I13_25A/B,
//                           I13_34A/B, NPREVTIT, NPREVDEP, EXGSUSP, CGCPAGADOR
//                           and the item-fed lines of t.I3 / t.I4. Each
//                           person's exempt retirement part over 65 is held to
//                           the person's limit; what exceeds it is taxable
//                           income of that person.
//   SOMA_TRIBENAO(decl, t)  the typed lines joined to the gathered ones,
//                           I13_44 = Σ I3_01..I3_24, I13_45 = Σ I4_01..I4_10,
//                           and the titular's and dependants' shares
//   linha_de_item_I3(n)     true when exempt line n is fed by the items
//   linha_de_item_I4(n)     the same for exclusive line n
#pragma once

#include "tax/snapshot.hpp"
#include "tax/totals.hpp"

namespace tx::tax {

bool linha_de_item_I3(int n);
bool linha_de_item_I4(int n);
void FI1_T(const Declaracao& d, Totais& t);
void SOMA_TRIBENAO(const Declaracao& d, Totais& t);

}  // namespace tx::tax
