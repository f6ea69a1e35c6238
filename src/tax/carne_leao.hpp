// The carnê-leão: income from individuals and from abroad is taxed month by
// month with the monthly table, one sheet of twelve months per person.
//
// Interface
//   VE_LEAO(row, m)      month m's (1..12) tax due: monthly table on
//                        individuals + abroad − cash book − deductions
//   FDE_LEAO(decl, n)    every person's sheet and the annual totals, with n
//                        dependants (the dependant amount goes on the
//                        titular's sheet). Modes 1 and 3 build the sheets from
//                        the items, modes 2 and 4 take the typed rows.
//   CORR_DARF(row, pay, selic)  column 8 of a sheet: for each month whose
//                        tax due exceeds the tax paid, the difference D plus
//                        the fine and interest up to the payment date:
//                        due on the last weekday of the next month (moved one
//                        more day back when it falls in December), counted
//                        from the next weekday; fine 0.33 % a day, at most
//                        20 %; interest 1 % plus the SELIC of the months after
//                        the due month and before the payment month (1 % when
//                        paid in the due month, 0 when the due month is later);
//                        no fine and no interest when paid by the due date
//   CarneLeao            the sheets (titular first, then one per dependant
//                        with a CPF, in list order) and the totals they hand
//                        to the annual computation
#pragma once

#include <vector>

#include "tax/snapshot.hpp"

namespace tx::tax {

struct CarneLeao {
  std::vector<LinhaMensal> linhas;
  Decimal I13_03, I13_04, I13_18, I13_29, I13_30, I13_49, I13_50;
  Decimal CARNEINSS, CARNEDEPEN;  // official social security paid by the person
  Decimal PENSAOM;                // titular's alimony of the year
  Decimal NTOTDEP;                // dependant amounts applied in the year
};

// Sheet columns (x of I2_x, less one).
enum ColunaLeao { PES_FISICA = 0, EXTERIOR = 1, LIVRO_CAIXA = 2, DEDUCOES = 3, LEAO_PAGO = 4,
                  LEAO_DEVIDO = 5, CORRIGIDO = 6 };

Decimal VE_LEAO(const LinhaMensal& row, int month);
Meses CORR_DARF(const LinhaMensal& row, Date pagamento, const std::vector<TaxaSelic>& selic);
CarneLeao FDE_LEAO(const Declaracao& d, int n_depen);

}  // namespace tx::tax
