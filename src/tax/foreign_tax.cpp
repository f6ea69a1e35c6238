#include "tax/foreign_tax.hpp"

#include "tax/model_choice.hpp"

namespace tx::tax {

Decimal FI13_32(const Declaracao& d, Totais& t, Decimal valor, int meses) {
  t.IMPOSTO_COM_EXTERIOR = t.IMPOSTO_SEM_EXTERIOR = t.LIMITE_EXTERIOR = Decimal();
  const Decimal abroad = t.I13(49) + t.I13(50);
  if (abroad <= Decimal()) return Decimal();
  t.IMPOSTO_COM_EXTERIOR = t.I13(26);
  t.IMPOSTO_SEM_EXTERIOR = imposto_completo(d, t, t.I13(8) - abroad, meses).I13_26;
  t.LIMITE_EXTERIOR = t.IMPOSTO_COM_EXTERIOR - t.IMPOSTO_SEM_EXTERIOR;
  if (t.LIMITE_EXTERIOR <= Decimal()) return Decimal();
  if (valor > t.LIMITE_EXTERIOR) {
    t.avisos.push_back(Aviso::LimiteExterior);
    return t.LIMITE_EXTERIOR;
  }
  return max(valor, Decimal());
}

}  // namespace tx::tax
