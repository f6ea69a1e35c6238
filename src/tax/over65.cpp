#include "tax/over65.hpp"

#include "tax/parameters_2013.hpp"

namespace tx::tax {

bool TEM_65(Date birth) { return !birth.empty() && birth <= NASC_LIMITE_65.date(); }

Decimal LIMITE_65(Date birth) {
  if (!TEM_65(birth)) return Decimal();
  if (birth.year() == NASC_LIMITE_65.y) return NVALAPOSE * Decimal(14 - birth.month());
  return NVALAPOSA;
}

Limit3Saida LIMIT3(const Limit3Entrada& in) {
  Limit3Saida r;
  if (in.valor.is_zero()) { r.motivo = Limit3Motivo::Vazio; return r; }
  if (in.nascimento.empty()) { r.motivo = Limit3Motivo::FaltaNascimento; return r; }
  if (!TEM_65(in.nascimento)) { r.motivo = Limit3Motivo::Menor65; return r; }
  if (in.titular && in.CODAT != "61" && !in.confirma_codat) {
    r.motivo = Limit3Motivo::CodatRecusado;
    return r;
  }
  r.limite = LIMITE_65(in.nascimento);
  r.fez_65_no_ano = in.nascimento.year() == NASC_LIMITE_65.y;
  const Decimal room = max(r.limite - in.outros, Decimal());
  r.valor = in.valor;
  if (in.valor > room) {
    r.motivo = Limit3Motivo::Excesso;
    r.excesso = in.valor - room;
    if (in.transfere_excesso) {
      r.valor = room;
      r.somar_tributavel = r.excesso;
    }
  }
  return r;
}

}  // namespace tx::tax
