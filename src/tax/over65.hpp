// The exempt part of retirement income after 65 (column "Isento 65 anos" of
// the company-income lists, I1_17).
//
// Interface
//   TEM_65(birth)          65 or more on 31/12/2013: born on or before
//                          31/12/1948 (an empty date is not)
//   LIMITE_65(birth)       the year's exempt limit: NVALAPOSA, or for someone
//                          born in 1948 NVALAPOSE × (14 − birth month) (the
//                          months from the birthday to December plus the 13th
//                          salary); 0 for someone younger
//   LIMIT3(in)             the check run when the column is typed, with the
//                          operator's answers as inputs. The exempt value kept
//                          never exceeds the limit; the excess either goes into
//                          the item's taxable income (answer "S") or stays in
//                          the column for the operator to move (answer "N"):
//                          it is never dropped, and the annual computation
//                          counts whatever exceeds the limit as taxable.
#pragma once

#include <string>

#include "base/date.hpp"
#include "base/decimal.hpp"

namespace tx::tax {

bool TEM_65(Date birth);
Decimal LIMITE_65(Date birth);

struct Limit3Entrada {
  Decimal valor;          // typed value
  Date nascimento;        // the person's birth date (empty: missing)
  bool titular = true;
  Decimal outros;         // the same column of the person's other items
  std::string CODAT;      // titular's nature of occupation
  bool confirma_codat = false;     // answer to the "aposentados" question when CODAT is not "61"
  bool transfere_excesso = false;  // answer to "Deseja que o programa faça isso?"
};

enum class Limit3Motivo { Aceito, Vazio, FaltaNascimento, Menor65, CodatRecusado, Excesso };

struct Limit3Saida {
  Decimal valor;            // value to store in I1_17
  Decimal somar_tributavel; // to add to the item's I1_4
  Decimal excesso;          // the part above the limit
  Decimal limite;
  bool fez_65_no_ano = false;  // the limit is smaller: birthday in 2013
  Limit3Motivo motivo = Limit3Motivo::Aceito;
};

Limit3Saida LIMIT3(const Limit3Entrada& in);

}  // namespace tx::tax
