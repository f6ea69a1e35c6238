#include "tax/balanco.hpp"

#include "tax/carne_leao.hpp"
#include "tax/deductions.hpp"
#include "tax/foreign_tax.hpp"
#include "tax/income_gathering.hpp"
#include "tax/model_choice.hpp"
#include "tax/quotas.hpp"
#include "tax/tax_table.hpp"

namespace tx::tax {

Calculo BALANCO(const Declaracao& d, Date hoje) {
  Calculo c;
  Totais& t = c.totais;
  const bool completo = modelo_completo(d);
  t.USAPADRAO.assign(1, completo ? 'N' : 'S');

  NRODP(d, t);

  CarneLeao leao = FDE_LEAO(d, t.N_DEPEN);
  t.I13(3) = leao.I13_03;
  t.I13(4) = leao.I13_04;
  t.I13(18) = leao.I13_18;
  t.I13(29) = leao.I13_29;
  t.I13(30) = leao.I13_30;
  t.I13(49) = leao.I13_49;
  t.I13(50) = leao.I13_50;
  t.CARNEINSS = leao.CARNEINSS;
  t.CARNEDEPEN = leao.CARNEDEPEN;
  t.PENSAOM = leao.PENSAOM;
  t.NTOTDEP = leao.NTOTDEP;
  c.mensal = std::move(leao.linhas);

  FDE_TUDO(d, t);
  FI1_T(d, t);
  SOMA_TRIBENAO(d, t);

  for (const auto& b : d.bens) { t.I13(39) += b[0]; t.I13(40) += b[1]; }
  for (const auto& b : d.dividas) { t.I13(41) += b[0]; t.I13(42) += b[1]; }
  t.I13(43) = d.I9_2;
  t.I13(46) = d.I13_46;
  t.I13(47) = d.I13_47;
  t.I13(48) = d.I13_48;
  t.I13(7) = d.I13_07;
  t.I13(31) = d.I13_31;
  t.I13(33) = d.I13_33;

  t.I13(9) = t.CARNEINSS + t.CARNEDEPEN + t.NPREVTIT + t.NPREVDEP + t.NFUNPRESP;
  t.I13(8) = t.I13(1) + t.I13(2) + t.I13(3) + t.I13(4) + t.I13(5) + t.I13(6) + t.I13(7) +
             t.I13(49) + t.I13(50);

  // Deductions (shown in both models, counted in the complete one).
  t.I13(11) = FI13_11(t);
  t.I13(12) = FI13_12(t);
  t.I13(13) = FI13_13(d);
  for (int n = 9; n <= 18; ++n) t.I13(19) += t.I13(n);
  t.LIMMAX = max(t.I13(8) - t.I13(19), Decimal());
  t.DESPADRAO = FDESPADRAO(t.I13(8));

  const int meses = MESES_TABELA(d, &t.avisos);
  const Modelo comp = imposto_completo(d, t, t.I13(8), meses);
  const Modelo simp = imposto_simplificado(d, t, t.I13(8), meses);
  t.IMPOSTO_COMPLETO = comp.I13_23 - comp.I13_24;
  t.IMPOSTO_SIMPLIFICADO = simp.I13_21;

  const Modelo& m = completo ? comp : simp;
  t.DESCON = m.DESCONTO;
  t.I13(20) = m.I13_20;
  t.I13(21) = m.I13_21;
  t.I13(22) = m.I13_22;
  t.I13(23) = m.I13_23;
  t.I13(24) = m.I13_24;
  t.I13(26) = m.I13_26;
  t.I6_5 = m.incentivos.I6_5;
  for (std::size_t i = 0; i < d.pagamentos.size(); ++i) {
    const int code = d.pagamentos[i].I6_3;
    if (code < 39 || code > 46) t.I6_5[i] = d.pagamentos[i].I6_5;
  }

  t.I13(32) = completo ? FI13_32(d, t, d.I13_32, meses) : Decimal();
  t.I13(35) = t.I13(27) + t.I13(28) + t.I13(29) + t.I13(30) + t.I13(31) + t.I13(32) +
              t.I13(33) + t.I13(34);

  t.IMPPGRE = t.I13(26) - t.I13(35);
  t.I13(36) = max(t.IMPPGRE, Decimal());
  t.I13(38) = max(-t.IMPPGRE, Decimal());

  QuotaEntrada q;
  q.I13_36 = t.I13(36);
  q.QTD_QUOTA = d.QTD_QUOTA;
  q.DEBITAUT = d.DEBITAUT;
  q.final_espolio_com_data =
      sim(d.DECFINAL) && (!d.DATAPARTI.empty() || !d.DATALAVRA.empty());
  q.saida = sim(d.DECSAIDA);
  q.hoje = hoje;
  QuotaSaida qs = FQTD_QUOTA(q);
  t.QTD_QUOTA = qs.QTD_QUOTA;
  t.I13(37) = qs.I13_37;
  t.quotas = std::move(qs.quotas);
  t.DEBITAUT = qs.DEBITAUT;
  if (qs.aviso_espolio) t.avisos.push_back(Aviso::ParcelamentoEspolio);

  t.conselho = CONSELHO(d, t);
  t.aviso_prejuizo_rural = !completo && (d.I4R_04 > Decimal() || d.I5_08 > Decimal());
  t.DOACAO_DIRETA = completo ? DOACAO_DIRETA(comp.incentivos, comp.I13_21) : Decimal();
  return c;
}

Calculo CALC(int /*what*/, const Declaracao& d, Date hoje) { return BALANCO(d, hoje); }

}  // namespace tx::tax
